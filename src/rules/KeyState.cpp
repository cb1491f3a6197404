#include "rules/KeyState.h"

uint16_t packKeys(const KeyState& keys) {
    uint16_t packed = 0;
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < playerKeyCount; ++k)
            if (keys.player[p][k])
                packed |= static_cast<uint16_t>(1u << (p * playerKeyCount + k));
    if (keys.shadowToggle)
        packed |= static_cast<uint16_t>(1u << (2 * playerKeyCount));
    return packed;
}

KeyState unpackKeys(uint16_t packed) {
    KeyState keys;
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < playerKeyCount; ++k)
            keys.player[p][k] = (packed >> (p * playerKeyCount + k)) & 1u;
    keys.shadowToggle = (packed >> (2 * playerKeyCount)) & 1u;
    return keys;
}
