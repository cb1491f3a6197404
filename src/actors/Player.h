#pragma once
#include "actors/FigureShape.h"
#include "scene/Vector3.h"
#include <cstdint>

class MazeWorld;
class slScheduler;
class slSample;

// One bomb slot of a player.
struct Bomb {
    float x = -1, y = -1;
    float dropTime = 0;  // ms; 0 when not lying
    float blastTime = 0; // ms
    bool ready = true;
    int32_t reach = 2;
    bool exploding = false;
    bool blastApplied = false;
    float pulseRadius = 0.25f;
    float pulseStep = 0.02f;

    // The pulse of one tick's look at the bomb.
    void pulse();
    // Advances the bomb to time now; answers true while exploding.
    bool update(float now);
    bool lyingUnexploded() const { return !ready && !exploding; }
    // Draws the lying bomb (needs GL).
    void drawModel() const;
};

class Player {
  public:
    Player(int32_t number, float x, float y, float dirX, float dirY, float sideX, float sideY,
           MazeWorld& world);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Record operations.
    void setDirections(const Vector3& forward, const Vector3& side);
    bool spendTrap();
    bool spendWall();
    void dropBomb();
    void returnToStart();
    void loadSounds(slScheduler* scheduler);
    // Requests an effect on the scheduler (priority 1, abort mode); silent without a scheduler.
    void playEffect(slSample* sample);
    // Plays the effects this player's steps raised since the last call, then forgets them.
    void playRaisedSounds();

    // Movement rules.
    bool arenaStep();
    void teleportToRandomCell();
    bool freeRoamStep(int direction);
    void applyPickUp(int32_t type);

    // Model and drawing.
    void buildModel();
    // Heading and foot swing: one step per view that shows the player.
    void advanceAnimation();
    // The figure, and outside the shadow pass the bombs it has lying.
    void draw(bool shadowPass) const;
    // Advances every bomb slot of this player: fuses, blasts and spent slots.
    void tickBombs();

    float bodyRadius = 0.26f;
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
    float stepLength = 0.1f;
    float freeMoveTime = -1;
    bool carryingCheese = false;
    int32_t number;
    float colourR, colourG, colourB, colourA;
    float tessellation = 20;
    float sideX, sideY;
    MazeWorld& world;
    Bomb* bombs[10];
    int32_t bombsReady = 1;
    int32_t bombCapacity = 1;
    FigureShape shape;
    float heading = 90;
    unsigned int bodyList = 0, headList = 0, faceList = 0;
    slScheduler* scheduler = nullptr;
    slSample* blastSample = nullptr;
    slSample* bounceSample = nullptr;
    // How many blast and bounce effects this player's steps have raised in all, and how many
    // wait to be played by the frame.
    int32_t blastSoundRequests = 0;
    int32_t bounceSoundRequests = 0;
    int32_t blastSoundsRaised = 0;
    int32_t bounceSoundsRaised = 0;
};
