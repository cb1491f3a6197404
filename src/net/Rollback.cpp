#include "net/Rollback.h"
#include "record/Replay.h"
#include "rules/RoundTick.h"
#include <algorithm>

namespace {
// The bits of one player's keys in a packed key state, and key 0's.
uint16_t playerBits(int player) {
    return static_cast<uint16_t>(((1u << playerKeyCount) - 1) << (playerKeyCount * (player - 1)));
}
constexpr uint16_t shadowBit = 1u << (2 * playerKeyCount);
} // namespace

Rollback::Rollback(int player, RoundState& round)
    : localPlayer(player == 2 ? 2 : 1), present(round), confirmed(round) {}

uint16_t Rollback::guess(uint32_t tick) const {
    auto known = remote.upper_bound(tick);
    if (known == remote.begin())
        return lastRemote;
    --known;
    return known->second;
}

void Rollback::step() {
    const uint32_t tick = present.ticks;
    const uint16_t other = guess(tick);
    used[tick] = other;
    tickRound(present, unpackKeys(own.at(tick) | other));
    // What the tick told now, against what it told when it ran before: each event handed on
    // then stands for one like it now, and only the rest is new.
    std::vector<RoundEvent>& before = handedOn[tick];
    std::vector<bool> matched(before.size(), false);
    for (const RoundEvent& e : present.events()) {
        size_t i = 0;
        while (i < before.size() && (matched[i] || !(before[i] == e)))
            ++i;
        if (i < before.size()) {
            matched[i] = true;
            ++eventsKept;
            continue;
        }
        before.push_back(e);
        matched.push_back(true);
        fresh.push_back(e);
    }
    // Let go in batches, so a side that never takes them does not move the list every tick.
    if (fresh.size() > 2 * freshKept)
        fresh.erase(fresh.begin(), fresh.end() - freshKept);
}

void Rollback::advance(const KeyState& keys) {
    KeyState mine;
    for (int k = 0; k < playerKeyCount; ++k)
        mine.player[localPlayer - 1][k] = keys.player[0][k] || keys.player[1][k];
    mine.shadowToggle = keys.shadowToggle;
    own[present.ticks] = packKeys(mine);
    step();
}

bool Rollback::addRemote(uint32_t tick, uint16_t packed) {
    const int remotePlayer = 3 - localPlayer;
    if ((packed & ~(playerBits(remotePlayer) | shadowBit)) != 0)
        return false;
    // The other side runs at most a window past what it has of this side's keys.
    if (tick >= present.ticks + 2 * window)
        return false;
    // Sent again and again until acknowledged: a tick already confirmed is old news.
    if (tick < confirmed.ticks)
        return true;
    auto [at, added] = remote.emplace(tick, packed);
    if (!added)
        return at->second == packed;
    latestRemote = std::max(latestRemote, tick);
    return true;
}

bool Rollback::acknowledged(uint32_t ack) {
    if (ack > present.ticks)
        return false;
    ackedByOther = std::max(ackedByOther, ack);
    const uint32_t keepFrom = std::min(ackedByOther, confirmed.ticks);
    own.erase(own.begin(), own.lower_bound(keepFrom));
    return true;
}

uint32_t Rollback::heardTicks() const {
    uint32_t heard = confirmed.ticks;
    for (auto r = remote.find(heard); r != remote.end() && r->first == heard; ++r)
        ++heard;
    return heard;
}

void Rollback::settle(
    const std::function<void(const RoundState&, const KeyState&)>& confirmedTick) {
    bool wrong = false;
    while (confirmed.ticks < present.ticks) {
        const uint32_t tick = confirmed.ticks;
        auto heard = remote.find(tick);
        if (heard == remote.end())
            break;
        wrong = wrong || used.at(tick) != heard->second;
        const KeyState keys = unpackKeys(own.at(tick) | heard->second);
        // The present hands events on; the confirmed round's are nobody's to show.
        tickRound(confirmed, keys);
        lastRemote = heard->second;
        remote.erase(heard);
        used.erase(tick);
        handedOn.erase(tick);
        if (tick < ackedByOther)
            own.erase(tick);
        if (confirmedTick)
            confirmedTick(confirmed, keys);
    }
    // Keys heard beyond a gap may already show a guess wrong.
    for (auto r = remote.begin(); !wrong && r != remote.end() && r->first < present.ticks; ++r)
        wrong = used.at(r->first) != r->second;
    if (!wrong)
        return;
    const uint32_t to = present.ticks;
    const bool paused = present.paused;
    present = confirmed;
    present.paused = paused;
    ++corrections;
    ticksRunAgain += to - confirmed.ticks;
    deepestCorrection = std::max(deepestCorrection, to - confirmed.ticks);
    while (present.ticks < to)
        step();
}

std::vector<RoundEvent> Rollback::takeEvents() {
    std::vector<RoundEvent> taken;
    taken.swap(fresh);
    return taken;
}
