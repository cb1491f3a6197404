#pragma once
#include "bots/BurnMap.h"
#include "bots/Sight.h"
#include <cstdint>

struct RoundState;

// Where a player can be, layer by layer (one layer a cell's walk), keeping out of fire.
struct Reach {
    static constexpr int32_t side = BurnMap::side;
    // The move of standing where it is, beside the four steps of stepX and stepY.
    static constexpr int8_t stay = 4;
    int16_t layer[side][side];     // first layer the cell is reached at; -1: not
    int8_t move[side][side];       // the first move on that way (0..3, or stay)
    int16_t safeLayer[side][side]; // first layer it is reached with no fire due after
    int8_t safeMove[side][side];
};

// How a walk is reckoned.
struct Pace {
    float msPerCell; // a cell's walk, with the turns and centring on the way
    float guardMs;   // kept clear of a blast on either side of its burning
    int32_t layers;  // cells of the way looked at, at most
};

// The ways of a player from cell (sx, sy), starting now, through cells clear of `fire` at the
// time it would be in them. Doors of the house and traps can be walked into but not through;
// bombs, walls and obstacles not at all. With `creatures`, the cells kept from them are shut
// for the first cells of the way. `laid`: a bomb about to be laid, which shuts its cell to a
// player not standing on it. It stops before `pace.layers` once the ways grow no more and the
// last fire is out.
void searchReach(const RoundState& round, const BurnMap& fire, const CreatureMap* creatures,
                 int32_t sx, int32_t sy, const Pace& pace, Reach& reach,
                 const PlannedBomb* laid = nullptr);
