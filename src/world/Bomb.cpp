#include "world/Bomb.h"
#include "world/ArenaLayout.h"

namespace {
constexpr float pulseHigh = 0.3f;
constexpr float pulseLow = 0.25f;
} // namespace

void Bomb::pulse() {
    pulseRadius += pulseStep;
    if (pulseRadius > pulseHigh || pulseRadius < pulseLow)
        pulseStep = -pulseStep;
}

bool Bomb::update(float now) {
    pulse();
    // A dropped slot is lying until it is spent. Judging that by !ready rather than by a
    // non-zero dropTime keeps a bomb dropped at time 0 (the first game frame) from lying forever.
    const bool lying = !ready;
    if (lying && now - dropTime >= arena::fuseMs)
        exploding = true;
    if (!exploding && lying)
        return false;
    if (exploding) {
        if (now - blastTime >= arena::burnMs) {
            dropTime = 0;
            ready = true;
            exploding = false;
        }
        return true;
    }
    return false;
}
