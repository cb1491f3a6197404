#pragma once
#include "actors/FigureShape.h"
#include "world/Bomb.h"
#include "world/Tuning.h"
#include "scene/Vector3.h"
#include <cstdint>

class MazeWorld;
class RandomGenerator;
struct BombRack;

// What happened to a player this round, counted as it happens: for the result and the feedback.
struct RoundTally {
    int32_t caught = 0;     // by a creature
    int32_t hitByOwn = 0;   // by a blast of its own bomb
    int32_t hitByOther = 0; // by a blast of the other player's bomb
    int32_t coins = 0;
    int32_t cheeseLost = 0;
    int32_t pointsLost = 0;
};

class Player {
  public:
    Player(int32_t number, float x, float y, float dirX, float dirY, float sideX, float sideY);

    // Record operations. `now` is the round's game time.
    void setDirections(const Vector3& forward, const Vector3& side);
    bool spendTrap();
    bool spendWall();
    void dropBomb(MazeWorld& world, float now);
    void returnToStart(MazeWorld& world, RandomGenerator& random);

    void applyPickUp(int32_t type);

    // Heading and foot swing: one step per view that shows the player.
    void advanceAnimation();
    // Advances every bomb slot of this player to `now`: fuses, blasts and spent slots. A blast
    // sets off the bombs of `rack` its flames reach.
    void tickBombs(MazeWorld& world, const BombRack& rack, float now, RandomGenerator& random);

    float bodyRadius = tuning::bodyRadius;
    float x, y;
    float dirX, dirY;
    float stepX = 0, stepY = 0;
    int32_t bombItems = 0;
    int32_t fireItems = 0;
    int32_t maxFireItems = 0;
    int32_t speedItems = 0;
    int32_t trapItems = 0;
    int32_t wallItems = 0;
    int32_t cheese = 0;
    int32_t points = 0;
    float stepLength = tuning::freshStepLength;
    float freeMoveTime = -1;
    // The direction key whose step moved the player on its last tick in the arena, -1: none.
    // With steering help, a player let go between two cell middles walks on to the next one.
    int32_t glideKey = -1;
    bool carryingCheese = false;
    int32_t number;
    float colourR, colourG, colourB, colourA;
    float tessellation = 20;
    float sideX, sideY;
    Bomb bombs[tuning::bombSlots];
    int32_t bombsReady = 1;
    int32_t bombCapacity = 1;
    FigureShape shape;
    float heading = 90;
    RoundTally tally;
};
