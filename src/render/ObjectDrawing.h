#pragma once
#include <cstdint>

class MazeWorld;
struct Item;
struct Obstacle;
struct WallBlock;
struct Trap;
struct WorldModels;
struct TextureTable;
class BlastSprite;
class ViewFrustum;
class ObstacleLists;
class ObstaclePictures;

// The stencil bit of the pixels where an obstacle shows in the overview's still layer: the fire,
// drawn before the obstacles when all is drawn, stays off them.
constexpr int obstacleStencil = 0x80;

// What drawing the world's objects needs besides the world: its compiled models and pictures.
struct WorldLook {
    const WorldModels& models;
    const TextureTable* textures;
    // When given, the blast fire is shown through it, drawn once for `frame`.
    BlastSprite* blastSprite = nullptr;
    uint32_t frame = 0;
    // When given, objects of a player's view wholly outside it are left out.
    const ViewFrustum* frustum = nullptr;
    // When given, obstacles replay their compiled shapes instead of building them anew.
    ObstacleLists* obstacleLists = nullptr;
    // When given, the (x, y) of the view's eye; with the way it looks along the ground (`ahead`,
    // of unit length) and `pixelsPerUnitAtOne` (the pixels a world unit spans one unit before
    // the eye) the obstacles are cut to their size on screen.
    const float* eye = nullptr;
    const float* ahead = nullptr;
    float pixelsPerUnitAtOne = 0;
    // When given (with `eye`, `ahead` and `pixelsPerUnitAtOne`), obstacles seen no larger than
    // their pictures are drawn as pictures.
    ObstaclePictures* obstaclePictures = nullptr;
    // The obstacles are in the picture already (the overview's still layer), their pixels
    // marked by `obstacleStencil`.
    bool obstaclesShown = false;
};

// Which of the world's objects a drawing takes: all of them in their order, only the solid ones
// (obstacles, items, walls, cheese), or only what is laid over what lies behind it (the blast
// fire, drawn without depth, and the see-through traps).
enum class ObjectPass { all, solid, overlaid };

// Drawing of what lies in the maze world; nothing changes here.
void drawArenaItems(const MazeWorld& world, const WorldLook& look);
void drawItemsAround(const MazeWorld& world, const WorldLook& look, float px, float py, float dirX,
                     float dirY, ObjectPass pass = ObjectPass::all);
// The labyrinth and its cheese; `eye` (x, y), when given, is where the lamp shines from, and the
// walls and floor far from it are cut more coarsely.
void drawLabyrinthView(const MazeWorld& world, const WorldLook& look, const float* eye = nullptr);
// The fire burst at every burning cell: through `sprite` when given (drawn once for `frame`),
// else particle by particle. With the (x, y) of a view's `eye` and the pixels a unit spans one
// unit before it, the cells near the eye show the burst's slices.
void drawBlastCells(const MazeWorld& world, const TextureTable* textures,
                    BlastSprite* sprite = nullptr, uint32_t frame = 0, const float* eye = nullptr,
                    float pixelsPerUnitAtOne = 0);
// Makes `sprite` show this frame's burst, if anything burns, before the frame draws anything.
void prepareBlastPictures(const MazeWorld& world, const TextureTable* textures,
                          BlastSprite& sprite, uint32_t frame);

// How finely an obstacle's round pieces are cut: the pieces a whole circle of its arches and of
// its wheels would have (arches take half of theirs).
struct ObstacleCut {
    int arch = 24;
    int wheel = 24;
};
// The cut that keeps an obstacle's arches and wheels within half a pixel of their true round
// when a world unit spans `pixelsPerUnit` pixels where it stands; 0 means the full cut.
ObstacleCut obstacleCutFor(const Obstacle& obstacle, float pixelsPerUnit);

// The light an obstacle is drawn in: all of it, or for its pictures only the part its colour
// scales (the body white without its shine, the wheels black) or only the rest (the body black
// with its shine, the wheels as they are). The two parts add up to the whole, the first times
// the obstacle's colour, so that one pair of pictures serves every colour.
enum class ObstacleLight { whole, colourScaled, unscaled };

// The single objects, each at its own position.
void drawObstacle(const Obstacle& obstacle, ObstacleLists* lists = nullptr, ObstacleCut cut = {},
                  ObstacleLight light = ObstacleLight::whole);
void drawItem(const Item& item, const WorldModels& models);
void drawCheese(const Item& cheese, const WorldModels& models);
void drawWallBlock(const WallBlock& wall, const TextureTable* textures);
void drawTrap(const Trap& trap);
