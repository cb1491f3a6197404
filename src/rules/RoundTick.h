#pragma once
#include "rules/KeyState.h"
#include "world/Tuning.h"
#include <cstdint>

struct RoundState;

// The round advances in fixed ticks, each one frame of the game at 60 frames a second; drawing
// only shows the state the last tick left.
constexpr double tickMs = 1000.0 / tuning::ticksPerSecond;
// The round's six minutes in ticks.
using tuning::ticksPerRound;

// Game time in milliseconds at the start of tick n (tick 0 runs at 0).
inline float tickTime(uint32_t n) {
    return static_cast<float>(n * 1000.0 / tuning::ticksPerSecond);
}

// Which views a frame of the game draws, read off the state once the tick has served respawns.
// A creature steps, the snow and the fire move, the items turn and each player's feet swing and
// bombs tick once per view that shows them, so the tick repeats those steps per view.
struct TickViews {
    bool shadowPass; // the overview's shadow pass shows the players and creatures once more
    bool inLabyrinth[2];
};
TickViews tickViews(const RoundState& round);

// Advances the round by one tick with these keys: the time, the controls, the round's end, the
// respawns, then the steps of each view in the order the frame draws them. What happened on the
// way is told in round.events() until the next tick.
void tickRound(RoundState& round, const KeyState& keys);
