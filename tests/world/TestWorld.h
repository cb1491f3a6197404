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

    explicit TestWorld(uint32_t seed) : random(seed) {
        world.createWallBlocks();
        world.generateLabyrinth(random);
        world.createBlastParticles(random);
        world.placeItems(random);
        clock.set(0);
        world.playerRadius = 0.26f;
        // Players far from everything the tests burn, creatures off the arena.
        world.recordPlayerPosition(14.5f, 14.5f, 1);
        world.recordPlayerPosition(14.5f, 13.5f, 2);
    }

    BombRack rack() { return BombRack{{bombs[0], bombs[1]}}; }
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
                c.setObstacle(false);
            }
    }
};

inline bool sameGeneratorState(const RandomGenerator& a, const RandomGenerator& b) {
    return a.indexA == b.indexA && a.indexB == b.indexB &&
           std::memcmp(a.ring, b.ring, sizeof a.ring) == 0;
}
