#include "world/Bomb.h"
#include "world/ArenaLayout.h"

namespace {
constexpr float pulseHigh = tuning::bombPulseHigh;
constexpr float pulseLow = tuning::bombPulseLow;
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
    if (lying && now - dropTime >= tuning::fuseMs)
        exploding = true;
    if (!exploding && lying)
        return false;
    if (exploding) {
        if (now - blastTime >= tuning::burnMs) {
            dropTime = 0;
            ready = true;
            exploding = false;
        }
        return true;
    }
    return false;
}
