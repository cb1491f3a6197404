#pragma once
#include "rules/KeyState.h"
#include <string>
#include <vector>

struct RoundState;

// What happened over a round, counted from the world's state between frames.
struct RoundEvents {
    int pickups[9] = {}; // by item kind
    int bombsDropped = 0;
    int obstaclesDestroyed = 0;
    int wallsLaid = 0;
    int trapsLaid = 0;
    int trapsSprung = 0;
    int sentHomeByBlast = 0;
    int sentHomeByCreature = 0;
    int labyrinthEntries = 0;
    int cheeseTaken = 0;
    int cheeseDelivered = 0;
    int ticksWithSnow = 0;
    int ticksWithBlast = 0;
};

// Drives a round through the real tick, counting what happens.
class RoundDriver {
  public:
    explicit RoundDriver(RoundState& round);

    // One tick with these keys.
    void tick(const KeyState& keys);
    float now() const;
    const RoundEvents& events() const { return counted; }

  private:
    struct Snapshot {
        int obstacles, wallsLaid, trapsLaid, delivered, cheeseHeld;
        int taken[9];
        bool freeRoam[2];
        int bombsLying;
    };
    Snapshot snapshot() const;
    void noteHits();
    void count(const Snapshot& before);

    RoundState& round;
    RoundEvents counted;
};

// A scripted player: plans over the world's cells with a breadth-first search and steers with
// the keys toward the next cell centre. In the arena it bombs obstacles, collects what they
// leave, lays its walls and traps and keeps out of blasts; in the labyrinth it fetches a piece
// of cheese and carries it home.
class PlayerBot {
  public:
    PlayerBot(RoundState& round, int number);

    // From this game time on the player heads for the labyrinth whenever it carries no cheese.
    float labyrinthFrom = 1e9f;
    bool layWalls = true;
    bool layTraps = true;
    // When the door cannot be reached 15 s after the labyrinth is due, the player is put on the
    // cell in front of it (the arena may still be blocked by obstacles); counts how often.
    int putAtDoor = 0;
    // Sets this player's keys for the coming tick.
    void decide(KeyState& keys);
    // What the bot is doing, for failure messages.
    std::string doing;

  private:
    void arena(bool* keys);
    void labyrinth(bool* keys);
    // Sets the key that moves the player along (dx, dy) in the arena, given the camera.
    void steerArena(bool* keys, int dx, int dy);
    // Steps toward the centre of the next cell along a path; answers false when already there.
    void walkTowards(bool* keys, int cx, int cy, int nx, int ny);

    RoundState& round;
    int number;
    // Until when a cell is no place to bomb from (no way out of the blast was in reach there).
    float noBombUntil[15][15] = {};
};

// Random keys for both players, for soaks: each key held for a random run of ticks.
class RandomKeys {
  public:
    explicit RandomKeys(unsigned seed) : state(seed ? seed : 1) {}
    KeyState next();

  private:
    unsigned nextBits();
    unsigned state;
    int hold[2] = {0, 0};
    int key[2] = {0, 0};
};
