#include "scene/RandomGenerator.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
uint32_t rotl(uint32_t v, int n) {
    return (v << n) | (v >> (32 - n));
}
} // namespace

RandomGenerator::RandomGenerator(uint32_t seed) {
    init(seed);
    lastBits.value = 1.0;
    if (lastBits.words[1] == 0x3FF00000u)
        layoutMode = 0;
    else if (lastBits.words[0] == 0x3FF00000u)
        layoutMode = 1;
    else
        layoutMode = 2;
}

void RandomGenerator::init(uint32_t seed) {
    uint32_t s = seed;
    for (int i = 0; i < 17; ++i)
        for (int j = 0; j < 2; ++j) {
            s = s * 2891336453u + 1u;
            ring[i][j] = s;
        }
    lastBits.words[0] = 0x00000000u;
    lastBits.words[1] = 0x3FF00000u;
    indexA = 0;
    indexB = 10;
    std::memcpy(snapshot[0], ring, sizeof ring);
    std::memcpy(snapshot[17], ring, sizeof ring);
    for (int i = 0; i < 31; ++i)
        nextBits();
}

uint32_t RandomGenerator::nextBits() {
    uint32_t z = rotl(ring[indexA][0], 19) + ring[indexB][0];
    uint32_t y = rotl(ring[indexA][1], 27) + ring[indexB][1];
    ring[indexA][0] = y;
    ring[indexA][1] = z;
    if (--indexA < 0)
        indexA = 16;
    if (--indexB < 0)
        indexB = 16;
    // The state has come back to a rotation of its seeded state: the sequence would repeat.
    if (ring[indexA][0] == snapshot[0][0] &&
        std::memcmp(ring, snapshot[17 - indexA], sizeof ring) == 0) {
        if ((indexB - indexA + 17) % 17 == 10)
            std::fputs("Random number generator returned to initial state", stdout);
        else
            std::fputs("Random number generator not initialized", stdout);
        std::fflush(stdout);
        std::exit(1);
    }
    lastBits.words[0] = y;
    lastBits.words[1] = z;
    return y;
}

double RandomGenerator::nextUnit() {
    uint32_t y = nextBits();
    switch (layoutMode) {
    case 0:
        lastBits.words[1] = 0x3FF00000u | (y & 0x000FFFFFu);
        return lastBits.value - 1.0;
    case 1:
        lastBits.words[0] = 0x3FF00000u | (lastBits.words[0] & 0x000FFFFFu);
        return lastBits.value - 1.0;
    default:
        return y * 2.3283064365386963e-10;
    }
}

int32_t RandomGenerator::nextInt(int32_t low, int32_t high) {
    int32_t n = static_cast<int32_t>(static_cast<uint32_t>(high) - static_cast<uint32_t>(low) + 1u);
    if (n <= 0)
        return INT32_MIN;
    int32_t i = static_cast<int32_t>(nextUnit() * n);
    if (i >= n)
        i = n - 1;
    return static_cast<int32_t>(static_cast<uint32_t>(low) + static_cast<uint32_t>(i));
}
