#pragma once
#include "actors/Player.h"
#include "scene/GameClock.h"
#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"

// A world set up as the game sets it up from a seed, with a hand-driven clock and the two
// players built as the game builds them.
struct ActorWorld {
    RandomGenerator random;
    MazeWorld world;
    GameClock clock;
    Player player1;
    Player player2;
    // Where blasts and creatures find the players (at their homes unless a test places them)
    // and the creatures (nowhere unless placed).
    FigurePlaces figures;

    explicit ActorWorld(uint32_t seed)
        : random(seed), player1(1, 0.5f, 0.5f, 0, 1, 1, 0), player2(2, 14.5f, 0.5f, 0, 1, 1, 0) {
        figures.playerRadius = player1.bodyRadius;
        placePlayer(1, player1.x, player1.y);
        placePlayer(2, player2.x, player2.y);
        world.createWallBlocks();
        world.generateLabyrinth(random);
        world.createBlastParticles(random);
        world.placeItems(random);
        clock.set(1000);
    }

    void placePlayer(int n, float x, float y) {
        figures.playerX[n - 1] = x;
        figures.playerY[n - 1] = y;
    }

    BombRack rack() { return BombRack{{player1.bombs, player2.bombs}, figures}; }
    // What the round does with a player, at the clock's time.
    void dropBomb(Player& p) { p.dropBomb(world, clock.now()); }
    void tickBombs(Player& p) { p.tickBombs(world, rack(), clock.now(), random); }
    void returnToStart(Player& p) { p.returnToStart(world, random); }

    // Removes every obstacle with its hidden item, leaving pillars and the house.
    void clearArena() {
        for (auto& column : world.cells)
            for (Cell& c : column) {
                c.obstacle = Cell::none;
                c.item = Cell::none;
                c.hasObstacle = false;
            }
    }

    // Lays item entry i, lying free, into cell (cx, cy).
    Item* putItem(int i, int cx, int cy) {
        Item* item = &world.items[i];
        item->x = cx + 0.5f;
        item->y = cy + 0.5f;
        item->taken = 0;
        world.cells[cx][cy].item = static_cast<int8_t>(i);
        return item;
    }

    // Counts the items of a kind lying free in arena cells.
    int lyingInArena(int32_t kind) const {
        int n = 0;
        for (const auto& column : world.cells)
            for (const Cell& c : column)
                if (const Item* item = world.itemIn(c))
                    if (item->type == kind && item->taken == 0)
                        ++n;
        return n;
    }
};
