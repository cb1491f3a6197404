// The tick: how many steps each view's worth of state takes per tick, equal play at any draw
// rate, and the pacing of ticks against real time.
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "rules/WorldHash.h"
#include "support/RoundDriver.h"
#include <gtest/gtest.h>

namespace {
// A game whose arena is open (obstacles gone), with creature 1 running +x along row 2 from
// (2.5, 2.5) with a long run ahead and the others out of play.
struct OpenRound : testing::Test {
    RoundState game{4711};

    void SetUp() override {
        setUpRound(game);
        for (auto& column : game.world.cells)
            for (Cell& c : column) {
                if (c.obstacle != Cell::none)
                    game.world.obstacles[c.obstacle].destroyed = true;
                c.obstacle = Cell::none;
                c.hasObstacle = false;
            }
        for (int n = 2; n <= 4; ++n) {
            game.world.creatureHit[n - 1] = true;
        }
        Creature& c = game.creature(1);
        c.x = 2.5f;
        c.y = 2.5f;
        c.dirX = 1;
        c.dirY = 0;
        c.runLeft = 100;
    }
    // Steps creature 1 and player 1's feet took during one tick with no keys.
    struct Steps {
        int creature, feet;
    };
    Steps oneTick() {
        const float x = game.creature(1).x;
        const FigureShape before = game.player1.shape;
        tickRound(game, KeyState{});
        FigureShape swing = before;
        int feet = 0;
        while (swing.footSwing != game.player1.shape.footSwing ||
               swing.footSwingStep != game.player1.shape.footSwingStep) {
            swing.swingFeet();
            if (++feet > 10)
                break;
        }
        return {static_cast<int>(std::lround((game.creature(1).x - x) / 0.13f)), feet};
    }
};
} // namespace

TEST_F(OpenRound, EachViewThatShowsAThingStepsItOncePerTick) {
    // The overview and both player views show the creature; player 1's feet are drawn in the
    // overview, in its own view and in player 2's.
    Steps s = oneTick();
    EXPECT_EQ(s.creature, 3);
    EXPECT_EQ(s.feet, 3);

    // The shadow pass draws every figure once more.
    game.shadowsOn = true;
    s = oneTick();
    EXPECT_EQ(s.creature, 4);
    EXPECT_EQ(s.feet, 4);
    game.shadowsOn = false;

    // Player 1 in the labyrinth: its view shows no creature, player 2's view does not show it.
    game.world.freeRoam[0] = true;
    s = oneTick();
    EXPECT_EQ(s.creature, 2);
    EXPECT_EQ(s.feet, 2);

    // Both in the labyrinth: each view shows the other player, no view but the overview the
    // creature.
    game.world.freeRoam[1] = true;
    s = oneTick();
    EXPECT_EQ(s.creature, 1);
    EXPECT_EQ(s.feet, 3);
}

TEST_F(OpenRound, TheClockCountsTicksAndTheRoundEndsAtZero) {
    tickRound(game, KeyState{});
    EXPECT_EQ(game.gameTime, 0) << "the first tick runs at 0";
    for (int i = 0; i < 209; ++i)
        tickRound(game, KeyState{});
    EXPECT_NEAR(game.gameTime, 3483.33f, 0.01f);
    tickRound(game, KeyState{});
    EXPECT_EQ(game.gameTime, 3500) << "210 ticks are exactly a bomb's fuse";

    // 0:01 shows up to 359,000 ms (tick 21,540); the next tick reads 0:00 and ends the round.
    game.ticks = 21540;
    tickRound(game, KeyState{});
    EXPECT_FALSE(game.roundOver);
    tickRound(game, KeyState{});
    EXPECT_TRUE(game.roundOver);
    EXPECT_NEAR(game.gameTime, 359016.67f, 0.01f);
}

TEST_F(OpenRound, APlayerIsShelteredAtHomeFromCreaturesAndBlastsUntilItsFirstStep) {
    Player& p = game.player1;
    Creature& c = game.creature(1);
    // A creature put beside player 1 at its home before every tick, half a cell away, out of
    // the flames' reach (a creature never walks in there of itself).
    auto creatureAtHome = [&] {
        c.x = 1.0f;
        c.y = 0.5f;
        c.dirX = 1;
        c.dirY = 0;
        c.runLeft = 100;
    };
    // A flame in the home cell, as a blast's reach would burn it.
    auto flameAtHome = [&] { game.world.hitTest(0, 0, figurePlaces(game)); };
    game.world.blastOwner = 2;
    p.points = 20;
    // From the round's first tick, standing still for ten seconds beside the creature and in
    // the flames: neither catches it.
    for (int t = 0; t < 600; ++t) {
        creatureAtHome();
        if (t % 60 == 0)
            flameAtHome();
        tickRound(game, KeyState{});
    }
    EXPECT_EQ(p.tally.caught, 0);
    EXPECT_EQ(p.tally.hitByOther, 0);
    EXPECT_EQ(p.points, 20);
    EXPECT_TRUE(game.world.sheltered(1));

    // One step, and the creature beside it catches it.
    KeyState forward;
    forward.player[0][keyForward] = true;
    creatureAtHome();
    tickRound(game, forward);
    EXPECT_FALSE(game.world.sheltered(1));
    creatureAtHome();
    tickRound(game, KeyState{});
    EXPECT_EQ(p.tally.caught, 1);
    EXPECT_EQ(p.points, 15);
    EXPECT_TRUE(game.world.sheltered(1));
    EXPECT_FLOAT_EQ(p.x, 0.5f);

    // Sent home, it is sheltered again for as long as it stands still.
    for (int t = 0; t < 600; ++t) {
        creatureAtHome();
        if (t % 60 == 30)
            flameAtHome();
        tickRound(game, KeyState{});
    }
    EXPECT_EQ(p.tally.caught, 1);
    EXPECT_EQ(p.points, 15);

    // A step out, and a flame sends it home like anyone else.
    c.x = c.y = 7.5f;
    tickRound(game, forward);
    const int cellX = static_cast<int>(p.x), cellY = static_cast<int>(p.y);
    game.world.hitTest(cellX, cellY, figurePlaces(game));
    tickRound(game, KeyState{});
    EXPECT_EQ(p.tally.hitByOther, 1);
    EXPECT_EQ(p.points, 10);
}
