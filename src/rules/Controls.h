#pragma once
#include "rules/KeyState.h"

struct RoundState;

// One tick's keyboard handling: reads the tick's time, then both players' keys in their fixed
// order, then key 0.
void frameUpdate(RoundState& round, const KeyState& keys);
// Returns at most one player hit by a blast or a creature to its start, player 1 first.
void handleRespawns(RoundState& round);
