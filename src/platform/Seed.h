#pragma once
#include <cstdint>
#include <cstdio>

// The round's seed: the text of TUVO_SEED when it is a whole number from 0 to 4294967295, else
// the clock's seed. Anything else given (a sign, letters, a number too large) is reported on
// `warnings` and ignored rather than read as some other number. Unset or empty means the clock.
uint32_t chooseRoundSeed(const char* text, uint32_t clockSeed, std::FILE* warnings);
// The seed of the round after one with `previous`: the calendar time, moved on so that two rounds
// started within the same second still differ.
uint32_t nextRoundSeed(uint32_t previous);
