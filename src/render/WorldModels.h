#pragma once
#include <cstdint>

struct TextureTable;
class MazeGenerator;

// The display lists of what lies in the world: an upright card for each power-up kind, the
// cheese wedge and one labyrinth wall segment.
struct WorldModels {
    unsigned int itemLists[9] = {}; // by item kind; none for the coin
    unsigned int labyrinthWall = 0;

    // Needs a GL context; a second call does nothing. The wall takes the labyrinth's size.
    void build(const TextureTable* textures, const MazeGenerator& maze);
    unsigned int itemList(int32_t kind) const {
        return kind >= 0 && kind < 9 ? itemLists[kind] : 0;
    }
};
