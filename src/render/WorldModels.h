#pragma once
#include <cstdint>

struct TextureTable;
class MazeGenerator;

// The display lists of what lies in the world: an upright card for each power-up kind, the
// coin, the cheese wedge, and one labyrinth wall segment and one labyrinth floor cell at each
// grid level.
//
// The labyrinth is lit by the player's lamp, a narrow spot light worked out at the corners of
// what is drawn: its walls and floor are cut into grids fine enough that the lamp's pool shows
// wherever it falls. Level 0 is finest, for what lies near the lamp, where the pool is smallest.
struct WorldModels {
    static constexpr int gridLevels = 3;
    // Squares along a cell at each level.
    static constexpr int gridCuts[gridLevels] = {10, 5, 2};
    unsigned int itemLists[9] = {}; // by item kind; none for the coin
    unsigned int coinList = 0;
    unsigned int labyrinthWall = 0; // the finest level's
    unsigned int labyrinthWalls[gridLevels] = {};
    unsigned int labyrinthFloors[gridLevels] = {};

    // Needs a GL context; a second call does nothing. The wall takes the labyrinth's size.
    void build(const TextureTable* textures, const MazeGenerator& maze);
    unsigned int itemList(int32_t kind) const {
        return kind >= 0 && kind < 9 ? itemLists[kind] : 0;
    }
};
