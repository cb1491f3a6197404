#pragma once
#include "actors/FigureShape.h"
#include <cstdint>

class MazeWorld;

// A roaming creature: a figure with a yellow head that runs straight along the axes, springs
// traps and sends players it touches home. It takes one step per view that shows it.
class Creature {
  public:
    Creature(int32_t number, MazeWorld& world);

    void place();
    // One 0.13-cell movement step.
    void roam();
    // Heading and foot swing of one step.
    void advanceAnimation();
    void touchTest();
    // One step of a view that shows the creature: roam, animate, touch test; nothing once hit.
    void step();
    // False once a blast has removed it.
    bool inPlay() const;

    float bodyRadius = 0.26f;
    float x = -1, y = -1;
    int32_t number;
    float colourR = 1, colourG = 1, colourB = 0, colourA = 1;
    float tessellation = 20;
    float dirX = 1, dirY = 0;
    MazeWorld* world;
    FigureShape shape;
    float heading = 90;
    float runLeft;
};
