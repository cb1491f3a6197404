#pragma once
#include "rules/KeyState.h"
#include <cstdint>
#include <string>
#include <vector>

// A recorded round: the seed and every tick's keys, with the fingerprint of the world after the
// last tick so that a replay can tell whether it came out the same.
struct Replay {
    uint32_t seed = 0;
    std::vector<uint16_t> keys; // one packed key state per tick, from tick 0
    uint64_t finalHash = 0;
    // The round was played with steering help.
    bool steeringHelp = false;
};

// The file's bytes, and back. decodeReplay never trusts a size or a count it has not checked
// against the bytes it has; on failure `wrong` says what is wrong, in a few words.
std::string encodeReplay(const Replay& replay);
bool decodeReplay(const std::string& bytes, Replay& replay, std::string& wrong);

// On failure `message` names the file and what is wrong. Writing goes through a temporary file
// beside the target, so a failed write leaves no half file behind.
bool readReplayFile(const std::string& path, Replay& replay, std::string& message);
bool writeReplayFile(const std::string& path, const Replay& replay, std::string& message);

// More ticks than any round runs (a round ends after 21,600) mean a damaged file.
constexpr uint32_t replayTickLimit = 1u << 20;
