#pragma once
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include "bots/Bot.h"
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

// A round with the arena opened up: no obstacles, no items lying about, no creatures, all the
// cheese delivered by player 2 (nothing draws a computer player into the labyrinth), and player
// 2 standing still at home unless a test moves it.
struct BotArena : testing::Test {
    RoundState round{2024};

    void SetUp() override {
        round = RoundState(2024);
        setUpRound(round);
        for (auto& column : round.world.cells)
            for (Cell& c : column) {
                if (c.obstacle != Cell::none)
                    round.world.obstacles[c.obstacle].destroyed = true;
                c.obstacle = Cell::none;
                c.hasObstacle = false;
                c.item = Cell::none;
            }
        for (int i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i)
            round.world.items[i].taken = 3;
        round.player2.cheese = MazeWorld::itemTotal - MazeWorld::firstCheese;
        for (int n = 1; n <= 4; ++n) {
            round.world.creatureHit[n - 1] = true;
            round.creature(n).x = round.creature(n).y = -1;
        }
    }
    // Stands player n on the centre of cell (x, y), its camera behind it as after a respawn.
    void place(int n, float x, float y) {
        Player& p = round.player(n);
        p.x = x;
        p.y = y;
        // Put there as if it had walked: out of its home's shelter.
        round.world.homeShelter[n - 1] = false;
        round.playerCamera(n).place(x, y - 1.5f, 0.9f, x, y, 0.7f, 0, 0, 1);
        const float facing[4] = {0, 180, 90, -90};
        std::copy(facing, facing + 4, round.keyAngle[n - 1]);
    }
    void obstacle(int x, int y) { round.world.cell(x, y).hasObstacle = true; }
    // An item of a kind lying open on cell (x, y): one of the round's own items, moved there.
    void lay(int kind, int x, int y, int index = 0) {
        Item* item = &round.world.items[index];
        item->type = kind;
        item->taken = 0;
        item->x = static_cast<float>(x) + 0.5f;
        item->y = static_cast<float>(y) + 0.5f;
        round.world.cell(x, y).item = static_cast<int8_t>(index);
    }
    // A bomb of player n on cell (x, y) that goes off `fuseLeft` ms after the next tick.
    void bomb(int n, int x, int y, float fuseLeft) {
        Player& p = round.player(n);
        const float px = p.x, py = p.y;
        p.x = static_cast<float>(x) + 0.5f;
        p.y = static_cast<float>(y) + 0.5f;
        p.dropBomb(round.world, round.clock.now());
        for (Bomb& b : p.bombs)
            if (!b.ready && b.x == p.x && b.y == p.y) {
                b.dropTime = tickTime(round.ticks) + fuseLeft - tuning::fuseMs;
                b.blastTime = b.dropTime + tuning::fuseMs;
            }
        p.x = px;
        p.y = py;
    }
    // Ticks with bot playing its player, calling `each` after every tick; stops early when
    // `each` answers false.
    void play(
        Bot& bot, int ticks, const std::function<bool()>& each = [] { return true; }) {
        for (int t = 0; t < ticks; ++t) {
            KeyState keys;
            bot.press(round, keys);
            tickRound(round, keys);
            if (!each())
                return;
        }
    }
    bool burning(int x, int y) const {
        for (const BurningCell& b : round.world.burning())
            if (b.x == x && b.y == y)
                return true;
        return false;
    }
    int cellX(int n) const { return static_cast<int>(round.player(n).x); }
    int cellY(int n) const { return static_cast<int>(round.player(n).y); }
};
