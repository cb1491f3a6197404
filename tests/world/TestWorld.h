#pragma once
#include "scene/GameClock.h"
#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"
#include <cstring>

// A world set up the way the game sets it up, from a seed of the test's choosing.
struct TestWorld {
    RandomGenerator random;
    MazeWorld world;
    GameClock clock;

    explicit TestWorld(uint32_t seed) : random(seed), world(&random) {
        world.createWallBlocks();
        world.generateLabyrinth();
        world.createBlastParticles();
        world.placeItems();
        world.clock = &clock;
        clock.set(0);
        world.playerRadius = 0.26f;
        // Players far from everything the tests burn, creatures off the arena.
        world.recordPlayerPosition(14.5f, 14.5f, 1);
        world.recordPlayerPosition(14.5f, 13.5f, 2);
    }

    // Knocks down every obstacle and takes every item away, leaving only pillars and house.
    void clearArena() {
        for (auto& column : world.cells)
            for (Cell& c : column) {
                c.obstacle = nullptr;
                c.item = nullptr;
                c.setObstacle(false);
            }
    }
};

inline bool sameGeneratorState(const RandomGenerator& a, const RandomGenerator& b) {
    return a.indexA == b.indexA && a.indexB == b.indexB &&
           std::memcmp(a.ring, b.ring, sizeof a.ring) == 0;
}
