#pragma once
#include "actors/FigureShape.h"

class Player;
class Creature;
class MazeWorld;
struct Bomb;
struct WorldModels;

// A figure compiled once at several levels of detail: body with hands and tail, head, face and
// one foot (the feet swing, so each is placed anew at every draw). Level 0 is the full count;
// each further level is cut for figures seen at most `levelPixelsPerUnit` on screen (level 1
// for a player's own figure just ahead of its camera).
struct FigureModel {
    static constexpr int levelCount = 6;
    static constexpr float levelPixelsPerUnit[levelCount] = {0, 512, 256, 128, 64, 32};
    struct Level {
        unsigned int body = 0, head = 0, face = 0, foot = 0;
    };
    Level levels[levelCount];
    // What the model was built from: it fits every figure of the same shape and size.
    FigureShape shape;
    float bodyRadius = 0;
    int tessellation = 0;

    // Needs a GL context; a second call does nothing.
    void build(const Player& player);
    void build(const FigureShape& shape, float bodyRadius, int tessellation);
    bool fits(const FigureShape& other, float otherBodyRadius, int otherTessellation) const;
    // The coarsest level still fine enough for a figure seen at that many pixels per unit; 0
    // (or less) asks for the full count.
    static int levelFor(float pixelsPerUnit);
};

// One level of a model at the origin, its feet placed by `shape`'s swing: the body white, the
// head in `head` (RGBA bytes), the face black; in the shadow pass all in the current colour.
void drawFigureModel(const FigureModel::Level& level, const FigureShape& shape, bool shadowPass,
                     const unsigned char head[4]);
// The figure where the player stands, turned to its heading, with the cheese it carries; outside
// the shadow pass in its colours and with the bombs it has lying. `pixelsPerUnit` is the
// figure's size on screen (0: drawn at the full count).
void drawPlayer(const Player& player, const FigureModel& model, const WorldModels& models,
                bool shadowPass, float pixelsPerUnit = 0);
// A creature, unless a blast of `world` has removed it; from `model` when it fits the creature's
// shape, else gathered piece by piece at the full count.
void drawCreature(const MazeWorld& world, const Creature& creature, bool shadowPass,
                  const FigureModel* model = nullptr, float pixelsPerUnit = 0);
// A lying bomb, pulsing on its cell.
void drawBomb(const Bomb& bomb);
