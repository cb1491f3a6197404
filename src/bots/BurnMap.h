#pragma once
#include "world/Tuning.h"
#include <cstdint>

struct RoundState;

// When each arena cell will burn, as anyone watching the arena can tell: from the bombs lying
// and their fuses, the reach of their flames, what stops a flame (pillars, obstacles, laid
// walls, other bombs, which it sets off) and the cells burning now. A cell burns from its
// blast for burnMs. Where several blasts reach a cell it burns from `start` to `firstEnd` and
// from `lastStart` to `end`, and is clear in between (the same span when there is no gap): a
// way crosses a row between two blasts.
struct BurnMap {
    static constexpr int32_t side = 15;
    static constexpr float never = 1e30f;
    float start[side][side];
    float firstEnd[side][side];
    float lastStart[side][side];
    float end[side][side];
    bool any = false;

    bool burnsDuring(int32_t x, int32_t y, float from, float to) const {
        return (start[x][y] <= to && firstEnd[x][y] >= from) ||
               (lastStart[x][y] <= to && end[x][y] >= from);
    }
    // Nothing burns here at `from` or at any time after.
    bool clearFrom(int32_t x, int32_t y, float from) const { return end[x][y] < from; }
};

// A bomb not laid yet, to try what laying it would do.
struct PlannedBomb {
    int32_t x, y, reach;
    float blastTime;
};

// A watcher needs a moment to take in a new bomb: the bombs of player `other` laid after
// `othersSeenUntil` (ms) are left out.
BurnMap burnMap(const RoundState& round, const PlannedBomb* planned = nullptr, int32_t other = 0,
                float othersSeenUntil = BurnMap::never);

// The most cells one blast burns: its own and a full reach each way.
inline constexpr int32_t mostBlastCells = 4 * tuning::fullReach + 1;

// The cells a bomb at (x, y) of this reach would burn in the arena as it stands now, up to
// mostBlastCells, into cells[][2]; answers how many. Obstacles it would open are counted in
// `opened`.
int32_t blastCellsOf(const RoundState& round, int32_t x, int32_t y, int32_t reach,
                     int32_t cells[][2], int32_t& opened);
