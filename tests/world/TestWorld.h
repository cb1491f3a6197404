#pragma once
#include "scene/GameClock.h"
#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"
#include <cstring>

// A world set up the way the game sets it up, from a seed of the test's choosing, with a
// hand-driven clock and bomb slots of its own for the cells to name.
struct TestWorld {
    RandomGenerator random;
    MazeWorld world;
    GameClock clock;
    Bomb bombs[2][10];
    // Where the players and creatures stand for the blasts the test sets off.
    FigurePlaces figures;

    explicit TestWorld(uint32_t seed) : random(seed) {
        world.createWallBlocks();
        world.generateLabyrinth(random);
        world.createBlastParticles(random);
        world.placeItems(random);
        clock.set(0);
        figures.playerRadius = 0.26f;
        // Players far from everything the tests burn, creatures off the arena.
        placePlayer(1, 14.5f, 14.5f);
        placePlayer(2, 14.5f, 13.5f);
    }
    void placePlayer(int n, float x, float y) {
        figures.playerX[n - 1] = x;
        figures.playerY[n - 1] = y;
    }
    void placeCreature(int n, float x, float y) {
        figures.creatureX[n - 1] = x;
        figures.creatureY[n - 1] = y;
    }

    BombRack rack() { return BombRack{{bombs[0], bombs[1]}, figures}; }
    // The world's operations at the clock's time.
    void blast(Bomb& bomb, int32_t owner = 0) {
        world.blast(bomb, owner, rack(), clock.now(), random);
    }
    bool burnCell(int32_t x, int32_t y, float time) {
        return world.burnCell(x, y, time, rack(), clock.now(), random);
    }

    // Knocks down every obstacle and takes every item away, leaving only pillars and house.
    void clearArena() {
        for (auto& column : world.cells)
            for (Cell& c : column) {
                c.obstacle = Cell::none;
                c.item = Cell::none;
                c.hasObstacle = false;
            }
    }
};

inline bool sameGeneratorState(const RandomGenerator& a, const RandomGenerator& b) {
    return a.indexA == b.indexA && a.indexB == b.indexB &&
           std::memcmp(a.ring, b.ring, sizeof a.ring) == 0;
}
