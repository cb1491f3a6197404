#pragma once
#include <cstdint>
#include <vector>

class MazeWorld;
class Player;
struct LabyrinthSight;

// What a player's small map of the labyrinth shows: the cells it has seen this round with their
// walls, the cheese lying in them, and where it stands and which way it faces. Nothing of a cell
// it has not seen.
struct LabyrinthMap {
    static constexpr int side = 9;
    enum Side : uint8_t { east = 1, north = 2, west = 4, south = 8 };
    bool seen[side * side] = {};
    uint8_t walls[side * side] = {}; // the Side bits of each seen cell's walls
    struct Cell {
        int column, row;
    };
    std::vector<Cell> cheese;
    float column = 0, row = 0; // where the player stands, in cells from the labyrinth's corner
    float dirX = 0, dirY = 1;
};

LabyrinthMap labyrinthMapOf(const MazeWorld& world, const LabyrinthSight& sight,
                            const Player& player);
