#pragma once
#include <cstdint>

struct TextureTable;

// Season step k = 5 x season + step for a phase, changing `current` only inside the blend
// windows and above 0.28, as the round's season cycle wants.
int32_t selectSeasonStep(float phase, int32_t current);

// Whether cell (i, j) lies in the view wedge of a player standing in cell (px, py) heading
// (dirX, dirY): one cell behind, three to each side, widening by one per row ahead.
bool inViewWedge(int32_t px, int32_t py, float dirX, float dirY, int32_t i, int32_t j);

// The arena's unmoving surroundings: ground and roads, buildings, hedges and the backdrop, all
// compiled into display lists once.
class Scenery {
  public:
    Scenery(float tessellation, float arenaSize, float unused);

    void build(const TextureTable* textures, int32_t roadSlot, int32_t roadVSlot,
               const int32_t groundBase[3], const int32_t backgroundBase[3],
               const int32_t orthogonalBase[3]);
    // The backdrop, ground and roads of the season step showing now.
    void drawOverviewGround() const;
    void drawViewGround(float x, float y, float dirX, float dirY) const;
    void drawDecoration() const;
    // Season step selection for the round's phase, once a tick.
    void selectStep(float phase);

    float tessellation;
    float arenaSize;
    const TextureTable* textures = nullptr;
    int32_t backgroundBase[3] = {15, 20, 25};
    int32_t groundBase[3] = {0, 5, 10};
    int32_t orthogonalBase[3] = {30, 35, 40};
    unsigned int decorationList = 0;
    unsigned int roadVList = 0;
    unsigned int roadVTurnedList = 0;
    unsigned int roadList = 0;
    unsigned int backdrop3List = 0;
    unsigned int tileList = 0;
    unsigned int backdrop4List = 0;
    unsigned int backgroundLists[15] = {};
    unsigned int orthogonalLists[15] = {};
    unsigned int groundLists[15] = {};
    unsigned int cottageList = 0;
    unsigned int hutList = 0;
    unsigned int houseCornerList = 0;
    unsigned int bushList = 0;
    unsigned int currentGround = 0;
    unsigned int currentOrthogonal = 0;
    unsigned int currentBackground = 0;
    int32_t step = 0;
};
