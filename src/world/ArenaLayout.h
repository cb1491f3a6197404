#pragma once
#include "world/Tuning.h"
#include <cstdint>

// The arena's fixed geometry, in cells.
namespace arena {

constexpr int32_t size = tuning::arenaSize;
// The players' homes, at the bottom corners: player 1 at the left, player 2 at the right.
constexpr float homeX[2] = {0.5f, tuning::lastCell + 0.5f};
constexpr float homeY = 0.5f;
// The labyrinth's cells lie from (labyrinthOrigin, labyrinthOrigin) on; anything beyond
// labyrinthOrigin on x is inside it.
constexpr float labyrinthOrigin = 100;
// The labyrinth's first and last cell on either axis.
constexpr int32_t labyrinthFirst = 100, labyrinthLast = 108;
// The house's four doors, south, north, west and east. A door cell lies between the house's
// centre and its approach cell, one step out; walking in, a player arrives in the labyrinth at
// the door's own entry, facing in.
struct HouseDoor {
    int32_t column, row; // the door cell
    int32_t outX, outY;  // out of the house
    float labyrinthX, labyrinthY;

    float centreX() const { return static_cast<float>(column) + 0.5f; }
    float centreY() const { return static_cast<float>(row) + 0.5f; }
};
constexpr HouseDoor houseDoors[4] = {{7, 8, 0, -1, 104.5f, 100.5f},
                                     {7, 10, 0, 1, 104.5f, 108.5f},
                                     {6, 9, -1, 0, 100.5f, 104.5f},
                                     {8, 9, 1, 0, 108.5f, 104.5f}};

// The door whose cell is (column, row), or none.
inline const HouseDoor* doorAt(int32_t column, int32_t row) {
    for (const HouseDoor& d : houseDoors)
        if (d.column == column && d.row == row)
            return &d;
    return nullptr;
}

inline float homeXOf(int32_t playerNumber) {
    return homeX[playerNumber == 2 ? 1 : 0];
}

} // namespace arena
