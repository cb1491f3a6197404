#pragma once
#include <cstdint>

class MazeGenerator;

// What a player has seen of the labyrinth this round: a cell counts as seen once the player
// stood in it, looked into it through an open side of the cell it stood in, or looked down a
// corridor at it along its heading. A seen cell's walls are known; nothing else is.
struct LabyrinthSight {
    static constexpr int32_t side = 9;
    bool seen[side * side] = {};

    bool hasSeen(int32_t column, int32_t row) const {
        return column >= 0 && column < side && row >= 0 && row < side && seen[column + side * row];
    }
};

// Whether a player can pass from labyrinth cell (column, row) to its neighbour (dx, dy apart,
// one of them 0): no wall between, and both inside the labyrinth.
bool labyrinthOpen(const MazeGenerator& maze, int32_t column, int32_t row, int32_t dx, int32_t dy);

// Adds what a player at (x, y) heading (dirX, dirY) sees now; nothing outside the labyrinth.
void lookAround(LabyrinthSight& sight, const MazeGenerator& maze, float x, float y, float dirX,
                float dirY);
