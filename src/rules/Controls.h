#pragma once
#include "rules/KeyState.h"

struct RoundState;

// One tick's keyboard handling: reads the tick's time, then both players' keys in their fixed
// order, then key 0.
void frameUpdate(RoundState& round, const KeyState& keys);
// Where a key would send player n now, as a unit ground heading. In the arena: the heading a
// step on that key walks along, from the camera and the key-angle table the controls use. In the
// labyrinth: forward keeps the heading, back walks against it, left and right give the heading
// after the key's turn.
struct KeyHeading {
    float x, y;
};
KeyHeading keyHeading(const RoundState& round, int n, PlayerKey key);
// Returns at most one player hit by a blast or a creature to its start, player 1 first.
void handleRespawns(RoundState& round);
