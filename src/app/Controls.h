#pragma once
#include "app/KeyState.h"

struct Game;

// One game frame's keyboard handling: both players' keys in their fixed order, then key 0.
void frameUpdate(Game& game, const KeyState& keys);
// Returns at most one player hit by a blast or a creature to its start, player 1 first.
void handleRespawns(Game& game);
