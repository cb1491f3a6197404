#pragma once
#include <cstdint>

struct RoundState;

// A fingerprint of everything a tick can change: players, bombs, creatures, cells, items,
// pools, fire, snow, the random generator, cameras, the clock and the round's flags. Two games
// that hash alike play on alike.
uint64_t hashWorld(const RoundState& round);
