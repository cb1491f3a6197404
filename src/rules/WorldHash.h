#pragma once
#include <cstdint>
#include <span>

struct RoundState;

// A fingerprint of the whole round: every field of RoundState and of what it holds, but for the
// few named in fingerprintLeavesOut. Two rounds that hash alike play on alike; a replay or a
// peer that drifted anywhere is caught. A field added to the round fails the build (the sizes
// are checked where the fingerprint is made) until it is hashed or named as left out.
uint64_t hashWorld(const RoundState& round);

// A part of the round the fingerprint leaves out on purpose, and why.
struct LeftOutOfFingerprint {
    const char* field;
    const char* why;
};
std::span<const LeftOutOfFingerprint> fingerprintLeavesOut();
