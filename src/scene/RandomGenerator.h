#pragma once
#include <cstdint>

// RANROT type W: a lagged-Fibonacci ring of 17 word pairs with rotations 19 and 27 and lags 17
// and 10. Every random choice of the game goes through one instance, so a seed fixes a whole run.
class RandomGenerator {
  public:
    explicit RandomGenerator(uint32_t seed);

    void init(uint32_t seed);
    uint32_t nextBits();
    double nextUnit();
    // Both bounds inclusive; an empty or overflowing span answers INT32_MIN and draws nothing.
    int32_t nextInt(int32_t low, int32_t high);

    int32_t indexA = 0;
    int32_t indexB = 0;
    union {
        double value;
        uint32_t words[2];
    } lastBits{};
    uint32_t ring[17][2]{};
    uint32_t snapshot[34][2]{};
    int32_t layoutMode = 0;
};
