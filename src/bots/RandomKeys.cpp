#include "bots/RandomKeys.h"
#include <algorithm>

RandomKeys::RandomKeys(uint32_t roundSeed, int32_t playerNumber)
    : self(playerNumber), random(roundSeed ^ (0x85EBCA6Bu * static_cast<uint32_t>(playerNumber))) {}

void RandomKeys::press(KeyState& keys) {
    bool* k = keys.player[self - 1];
    std::fill(k, k + playerKeyCount, false);
    if (hold <= 0) {
        key = random.nextInt(0, playerKeyCount - 1);
        hold = random.nextInt(1, 12);
    }
    --hold;
    k[key] = true;
    if (random.nextInt(0, 7) == 0)
        k[random.nextInt(0, playerKeyCount - 1)] = true;
}
