#pragma once
#include <cstdint>

// Season step k = 5 x season + step for a phase, changing `current` only inside the blend
// windows and above 0.28, as the round's season cycle wants.
int32_t selectSeasonStep(float phase, int32_t current);

// Whether the step showing at `phase` (`current`) gives way to another by `phase + ahead`: the
// time to have the next step's pictures ready.
bool seasonStepChangesBy(float phase, float ahead, int32_t current);

// The ground and backdrop step showing now: 0 (spring and summer), 5 (autumn), 10 (winter) and
// the blend steps between them. Chosen once a tick from the round's phase.
struct Seasons {
    int32_t step = 0;
    void select(float phase) { step = selectSeasonStep(phase, step); }
};

// Whether cell (i, j) lies in the view wedge of a player standing in cell (px, py) heading
// (dirX, dirY): one cell behind, three to each side, widening by one per row ahead.
bool inViewWedge(int32_t px, int32_t py, float dirX, float dirY, int32_t i, int32_t j);
