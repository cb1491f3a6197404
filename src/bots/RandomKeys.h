#pragma once
#include "rules/KeyState.h"
#include "scene/RandomGenerator.h"
#include <cstdint>

// A player who presses random keys, each held for a random run of ticks, now and then with a
// second one: the yardstick the computer players are measured against.
class RandomKeys {
  public:
    RandomKeys(uint32_t roundSeed, int32_t playerNumber);
    void press(KeyState& keys);

  private:
    int32_t self;
    RandomGenerator random;
    int32_t key = 0, hold = 0;
};
