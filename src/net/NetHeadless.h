#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

struct Replay;

// One side of a round over the network without a window or sound, for tests, benchmarks and
// finding faults: this machine's keys come from a key script (a recording; either player's keys
// in it play this machine's player), the round runs at a player's pace (60 ticks a second) for
// as many ticks as the script holds, and the confirmed world's fingerprint is written to `out`
// with what corrections cost. The round as played (both players' keys) is written to recordPath
// when one is given. Answers 0, 4 when the other side left first, 5 when the worlds came out of
// step, 2 when no round could be played (no lobby, a wrong code, no path: said on standard
// error).
struct NetHeadlessOptions {
    bool host = true;
    std::string address; // to join; on the host, the address to open (empty: all)
    uint16_t port = 7710;
    std::string recordPath;
    uint32_t waitForPeerMs = 30000;
    // Online: the way to the other side is found through the lobby (room codes, ICE); `address`
    // and `port` then name the lobby. The host prints "room code: CODE" as soon as it has one,
    // each side "path: direct" or "path: relayed" once connected.
    bool online = false;
    std::string code; // the room to join
    bool alwaysRelay = false;
};
int playNetHeadless(const Replay& script, const NetHeadlessOptions& options, std::FILE* out);
