#pragma once
#include "rules/KeyState.h"
#include "rules/RoundState.h"
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

// One machine's side of a round that two machines play: this machine's keys act on the next
// tick, whatever the round trip. The other player's keys for ticks not heard of yet are guessed
// (the keys it last held); when its real keys come and differ from the guess, the round is put
// back to the last tick whose keys were all known and run again to the present. The present is
// the round shown and heard; the confirmed round is the one both machines agree on, never more
// than `window` ticks behind. What a tick made happen (a blast, a bounce, a catch) is handed
// on once: a tick run again after a correction hands on only what it did not tell before.
class Rollback {
  public:
    // How far the present may run ahead of the confirmed round: a third of a second.
    static constexpr uint32_t window = 20;

    // localPlayer: 1 on the host, 2 on the guest. `present` is the round as set up to start.
    Rollback(int localPlayer, RoundState& present);

    // Whether the present may run another tick before more of the other side's keys come.
    bool canAdvance() const { return present.ticks - confirmed.ticks < window; }
    // Runs the present's next tick with this machine's keys (either key set, or a pad, plays
    // this machine's player) and the other player's known or guessed ones. Needs canAdvance().
    void advance(const KeyState& own);
    // The other side's keys for a tick. False, keeping nothing, for keys of another player, a
    // tick further ahead than the other side can be, or other keys for a tick already heard.
    bool addRemote(uint32_t tick, uint16_t packed);
    // The other side holds this machine's ticks before `ack`. False for a tick not yet run here.
    bool acknowledged(uint32_t ack);
    // Runs the confirmed round over every tick whose keys are now all known, handing each to
    // `confirmedTick` with the round after it, and runs the present again from there when a
    // guess turned out wrong.
    void settle(const std::function<void(const RoundState&, const KeyState&)>& confirmedTick);
    // The events of the present's ticks run since the last call, each handed on once, in the
    // order they happened: what the frame shows and plays.
    std::vector<RoundEvent> takeEvents();

    const RoundState& confirmedRound() const { return confirmed; }
    // The other side's ticks held from 0 without a gap: what this side acknowledges.
    uint32_t heardTicks() const;
    // This machine's keys the other side has not acknowledged, from firstUnacknowledged() on.
    uint32_t firstUnacknowledged() const { return ackedByOther; }
    uint16_t ownKeys(uint32_t tick) const { return own.at(tick); }
    // The latest tick the other side has sent keys for (0 before any).
    uint32_t latestRemoteTick() const { return latestRemote; }

    // What corrections cost: how many, the ticks run again in all and at most at once, and the
    // events a tick run again told that had already been handed on.
    uint32_t corrections = 0, ticksRunAgain = 0, deepestCorrection = 0, eventsKept = 0;

  private:
    uint16_t guess(uint32_t tick) const;
    void step();

    int localPlayer;
    RoundState& present;
    RoundState confirmed;
    // This machine's keys from the earlier of the first unacknowledged and the first unconfirmed
    // tick on; the other side's beyond the confirmed round, as heard; the other side's keys each
    // present tick ran with.
    std::map<uint32_t, uint16_t> own, remote, used;
    uint16_t lastRemote = 0;
    uint32_t latestRemote = 0;
    uint32_t ackedByOther = 0;
    // The events each unconfirmed tick has handed on, and those the frame has not taken yet (at
    // most twice freshKept: a side that never takes them keeps only the latest).
    std::map<uint32_t, std::vector<RoundEvent>> handedOn;
    std::vector<RoundEvent> fresh;
    static constexpr size_t freshKept = 4096;
};
