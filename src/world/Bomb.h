#pragma once
#include "world/Tuning.h"
#include <cstdint>

// One bomb slot of a player.
struct Bomb {
    float x = -1, y = -1;
    float dropTime = 0;  // ms; 0 when not lying
    float blastTime = 0; // ms
    bool ready = true;
    int32_t reach = tuning::freshReach;
    bool exploding = false;
    bool blastApplied = false;
    float pulseRadius = tuning::bombPulseLow;
    float pulseStep = 0.02f;

    // The pulse of one tick's look at the bomb.
    void pulse();
    // Advances the bomb to time now; answers true while exploding.
    bool update(float now);
    bool lyingUnexploded() const { return !ready && !exploding; }
};
