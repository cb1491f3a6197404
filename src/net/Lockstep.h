#pragma once
#include "rules/KeyState.h"
#include <cstdint>
#include <map>

// Two machines, one round: a tick runs only when both players' keys for it are known. Each
// machine's own keys are scheduled `delay` ticks ahead, so that on a normal connection they are
// on the other side before they are needed; the first `delay` ticks hold no keys on either side.
class Lockstep {
  public:
    // localPlayer: 1 on the host, 2 on the guest.
    Lockstep(int localPlayer, uint32_t delay);

    // Whether this machine's keys are to be taken before `tick` runs.
    bool wantsLocalKeys(uint32_t tick) const { return nextLocal <= tick + delay; }
    // This machine's keys, either key set (or a pad) playing its own player, for the next tick
    // scheduled; answers that tick and the keys packed for sending.
    uint32_t addLocal(const KeyState& keys, uint16_t& packed);
    // The other side's keys for a tick. False, keeping nothing, for a tick already run, one
    // further ahead than the other side can be, one already known, or keys of another player.
    bool addRemote(uint32_t tick, uint16_t packed);
    bool ready(uint32_t tick) const;
    // Both players' keys for the tick, forgotten once taken.
    KeyState take(uint32_t tick);

    uint32_t inputDelay() const { return delay; }

  private:
    int localPlayer;
    uint32_t delay;
    uint32_t nextLocal;
    uint32_t nextToRun = 0;
    std::map<uint32_t, uint16_t> local, remote;
};

// The input delay for a measured round trip: half of it in ticks, one more for the frame the
// keys wait in, held to 2 to 10.
uint32_t inputDelayFor(uint32_t roundTripMs);
