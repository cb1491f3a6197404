#pragma once
#include "actors/FigureShape.h"
#include "world/Tuning.h"
#include <cstdint>

class MazeWorld;
struct FigurePlaces;
class RandomGenerator;

// A roaming creature: a figure with a yellow head that runs straight along the axes, springs
// traps and sends players it touches home. It takes one step per view that shows it. It draws
// its runs from the round's generator and sees the players through the world.
class Creature {
  public:
    // Draws the length of its first run.
    Creature(int32_t number, RandomGenerator& random);

    void place(MazeWorld& world, RandomGenerator& random);
    // One 0.13-cell movement step.
    void roam(MazeWorld& world, RandomGenerator& random);
    // Heading and foot swing of one step.
    void advanceAnimation();
    // Sends home a player it touches, unless that player is sheltered at home. `figures`: where
    // the players stand.
    void touchTest(MazeWorld& world, const FigurePlaces& figures);
    // One step of a view that shows the creature: roam, animate, touch test; nothing once hit.
    void step(MazeWorld& world, const FigurePlaces& figures, RandomGenerator& random);
    // False once a blast has removed it.
    bool inPlay(const MazeWorld& world) const;

    float bodyRadius = tuning::bodyRadius;
    float x = -1, y = -1;
    int32_t number;
    float colourR = 1, colourG = 1, colourB = 0, colourA = 1;
    float tessellation = 20;
    float dirX = 1, dirY = 0;
    FigureShape shape;
    float heading = 90;
    float runLeft;
};
