#pragma once
#include <cstdint>

// The arena's fixed geometry and the round's timing, in cells and milliseconds.
namespace arena {

constexpr int32_t size = 15;
// The players' homes, at the bottom corners: player 1 at the left, player 2 at the right.
constexpr float homeX[2] = {0.5f, 14.5f};
constexpr float homeY = 0.5f;
// The labyrinth's cells lie from (labyrinthOrigin, labyrinthOrigin) on; anything beyond
// labyrinthOrigin on x is inside it.
constexpr float labyrinthOrigin = 100;
// The house's four door cells (column, row), in the order south, north, west, east.
struct DoorCell {
    int32_t column, row;
};
constexpr DoorCell houseDoors[4] = {{7, 8}, {7, 10}, {6, 9}, {8, 9}};

constexpr float fuseMs = 3500;  // from the drop to the blast
constexpr float burnMs = 500;   // a cell burns this long after its blast
constexpr float labyrinthLockMs = 2000; // no walking this long after the last labyrinth step
constexpr float roundMs = 360000;

inline float homeXOf(int32_t playerNumber) {
    return homeX[playerNumber == 2 ? 1 : 0];
}

} // namespace arena
