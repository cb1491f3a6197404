#pragma once
#include "rules/LabyrinthSight.h"
#include <cstdint>

struct MazeGenerator;

// The labyrinth's cells that lead out, the way out, and the arena cell in front of that door.
struct LabyrinthExit {
    int32_t column, row, outX, outY, arenaX, arenaY;
};
inline constexpr LabyrinthExit labyrinthExits[4] = {
    {4, 0, 0, -1, 7, 7}, {4, 8, 0, 1, 7, 11}, {0, 4, -1, 0, 5, 9}, {8, 4, 1, 0, 9, 9}};

// The exit of the door at arena cell (x, y) or just in front of it, or -1.
int32_t exitNear(int32_t x, int32_t y);

// The ways through the labyrinth from one cell over what a player has seen: a seen cell's
// walls are known, so a way leads on from it; a cell not seen is reached but not passed.
struct LabyrinthWays {
    static constexpr int32_t side = LabyrinthSight::side;
    int32_t dist[side][side]; // steps from the start; -1: no known way
    int32_t from[side][side]; // the cell before on the way, column * side + row; -1: none

    // The cell next to the start on the way to (column, row), which the way must reach; the
    // start itself when that is the start.
    void firstStepTo(int32_t column, int32_t row, int32_t& nextColumn, int32_t& nextRow) const;
};
LabyrinthWays labyrinthWays(const LabyrinthSight& sight, const MazeGenerator& maze, int32_t column,
                            int32_t row);
