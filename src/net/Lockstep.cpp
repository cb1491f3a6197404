#include "net/Lockstep.h"
#include "record/Replay.h"
#include "rules/RoundTick.h"
#include <algorithm>
#include <cmath>

namespace {
// The bits of one player's keys in a packed key state, and key 0's.
uint16_t playerBits(int player) {
    return static_cast<uint16_t>(((1u << playerKeyCount) - 1) << (playerKeyCount * (player - 1)));
}
constexpr uint16_t shadowBit = 1u << (2 * playerKeyCount);
// How far the other side can be ahead of this one: its delay's worth, and a margin.
constexpr uint32_t farthestAhead = 64;
} // namespace

Lockstep::Lockstep(int player, uint32_t inputDelay)
    : localPlayer(player == 2 ? 2 : 1), delay(inputDelay), nextLocal(inputDelay) {}

uint32_t Lockstep::addLocal(const KeyState& keys, uint16_t& packed) {
    KeyState own;
    for (int k = 0; k < playerKeyCount; ++k)
        own.player[localPlayer - 1][k] = keys.player[0][k] || keys.player[1][k];
    own.shadowToggle = keys.shadowToggle;
    packed = packKeys(own);
    const uint32_t tick = nextLocal++;
    local[tick] = packed;
    return tick;
}

bool Lockstep::addRemote(uint32_t tick, uint16_t packed) {
    const int remotePlayer = 3 - localPlayer;
    if (tick < std::max(nextToRun, delay) || tick - nextToRun > delay + farthestAhead)
        return false;
    if ((packed & ~(playerBits(remotePlayer) | shadowBit)) != 0 || remote.count(tick))
        return false;
    remote[tick] = packed;
    return true;
}

bool Lockstep::ready(uint32_t tick) const {
    if (tick < delay)
        return true;
    return local.count(tick) && remote.count(tick);
}

KeyState Lockstep::take(uint32_t tick) {
    uint16_t both = 0;
    if (auto l = local.find(tick); l != local.end()) {
        both |= l->second;
        local.erase(l);
    }
    if (auto r = remote.find(tick); r != remote.end()) {
        both |= r->second;
        remote.erase(r);
    }
    nextToRun = tick + 1;
    return unpackKeys(both);
}

uint32_t inputDelayFor(uint32_t roundTripMs) {
    const auto ticks = static_cast<uint32_t>(std::ceil(roundTripMs / 2.0 / tickMs)) + 1;
    return std::clamp<uint32_t>(ticks, 2, 10);
}
