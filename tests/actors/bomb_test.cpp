#include "ActorWorld.h"
#include <gtest/gtest.h>

namespace {
// An empty arena with player 1 at (3.4, 2.7) and player 2 at (5.5, 2.5), so a blast from cell
// (3, 2) with reach 2 reaches (5, 2) along +x.
struct BombField : ActorWorld {
    BombField() : ActorWorld(21) {
        clearArena();
        player1.x = 3.4f;
        player1.y = 2.7f;
        player2.x = 5.5f;
        player2.y = 2.5f;
        // Blasts and creatures look for them far away, so the blasts below hit nobody.
        placePlayer(1, 13.5f, 12.5f);
        placePlayer(2, 12.5f, 13.5f);
    }
};

// The blasts of a player's bombs the world has told of.
int blastsTold(const MazeWorld& world, int player) {
    int n = 0;
    for (const RoundEvent& e : world.events.all())
        n += e.kind == RoundEvent::blast && e.player == player;
    return n;
}
} // namespace

TEST(BombPulse, RunsBetweenTwentyThreeAndThirtyOneHundredths) {
    Bomb b;
    const float expected[] = {0.27f, 0.29f, 0.31f, 0.29f, 0.27f, 0.25f, 0.23f,
                              0.25f, 0.27f, 0.29f, 0.31f, 0.29f, 0.27f, 0.25f};
    for (float e : expected) {
        b.pulse();
        EXPECT_NEAR(b.pulseRadius, e, 1e-5);
    }
    // Every advance pulses, whether the bomb lies or not.
    Bomb idle;
    idle.update(0);
    EXPECT_NEAR(idle.pulseRadius, 0.27f, 1e-5);
}

TEST(BombDrop, ArmsTheFirstReadySlotInThePlayersCell) {
    BombField f;
    Player& p = f.player1;
    f.dropBomb(p);
    const Bomb& b = p.bombs[0];
    EXPECT_FALSE(b.ready);
    EXPECT_FALSE(b.blastApplied);
    EXPECT_FLOAT_EQ(b.x, 3.5f);
    EXPECT_FLOAT_EQ(b.y, 2.5f);
    EXPECT_FLOAT_EQ(b.dropTime, 1000);
    EXPECT_FLOAT_EQ(b.blastTime, 4500);
    EXPECT_EQ(p.bombsReady, 0);
    EXPECT_EQ(f.world.cells[3][2].bomb, 0) << "player 1's slot 0";
    EXPECT_FLOAT_EQ(f.world.bombX[0], 3.5f);
    EXPECT_FLOAT_EQ(f.world.bombY[0], 2.5f);

    // Nothing ready: nothing happens.
    p.x = 4.5f;
    f.dropBomb(p);
    EXPECT_EQ(f.world.cells[4][2].bomb, Cell::none);

    // A second slot, but the cell already holds a bomb: refused, nothing spent.
    p.applyPickUp(kindBomb);
    p.x = 3.6f;
    f.dropBomb(p);
    EXPECT_TRUE(p.bombs[1].ready);
    EXPECT_EQ(p.bombsReady, 1);

    p.x = 4.5f;
    f.dropBomb(p);
    EXPECT_FALSE(p.bombs[1].ready);
    EXPECT_EQ(f.world.cells[4][2].bomb, 1) << "player 1's slot 1";
    EXPECT_EQ(p.bombsReady, 0);

    // Player 2's slots take entries 10 to 19.
    f.dropBomb(f.player2);
    EXPECT_FLOAT_EQ(f.world.bombX[10], 5.5f);
    EXPECT_EQ(f.world.cells[5][2].bomb, 10) << "player 2's slot 0";
}

TEST(BombLife, LiesExplodesOnceAndIsReadyHalfASecondLater) {
    BombField f;
    Player& p = f.player1;
    f.dropBomb(p);
    Bomb& b = p.bombs[0];

    f.clock.set(4499);
    f.tickBombs(p);
    EXPECT_FALSE(b.exploding);
    EXPECT_EQ(p.bombsReady, 0);
    EXPECT_TRUE(!f.world.anyBurning());

    f.clock.set(4500);
    f.tickBombs(p);
    EXPECT_TRUE(b.exploding);
    EXPECT_TRUE(b.blastApplied);
    EXPECT_EQ(blastsTold(f.world, 1), 1);
    ASSERT_FALSE(!f.world.anyBurning());
    EXPECT_EQ(f.world.burning().front().x, 3);
    EXPECT_EQ(f.world.burning().front().y, 2);

    const size_t burning = f.world.blastCellCount;
    f.clock.set(4999);
    f.tickBombs(p);
    EXPECT_EQ(blastsTold(f.world, 1), 1);
    EXPECT_EQ(f.world.blastCellCount, burning);
    EXPECT_FALSE(b.ready);
    EXPECT_EQ(f.world.cells[3][2].bomb, 0) << "player 1's slot 0";

    f.clock.set(5000);
    f.tickBombs(p);
    EXPECT_TRUE(b.ready);
    EXPECT_FALSE(b.exploding);
    EXPECT_FLOAT_EQ(b.dropTime, 0);
    EXPECT_EQ(f.world.cells[3][2].bomb, Cell::none);
    EXPECT_FLOAT_EQ(f.world.bombX[0], -1);
    EXPECT_FLOAT_EQ(b.x, 3.5f); // a spent slot keeps its last place
    // The slot that came back during this tick is counted from the next tick on.
    EXPECT_EQ(p.bombsReady, 0);
    f.tickBombs(p);
    EXPECT_EQ(p.bombsReady, 1);
    EXPECT_EQ(blastsTold(f.world, 1), 1);
}

TEST(BombLife, OnlySlotsWithinCapacityCountAsReady) {
    BombField f;
    Player& p = f.player1;
    p.bombCapacity = 3;
    p.bombsReady = 7;
    f.tickBombs(p);
    EXPECT_EQ(p.bombsReady, 3);
    f.dropBomb(p);
    f.tickBombs(p);
    EXPECT_EQ(p.bombsReady, 2);
}

TEST(BombLife, ABombDroppedAtTheFirstInstantStillGoesOff) {
    BombField f;
    f.clock.set(0);
    Player& p = f.player1;
    f.dropBomb(p);
    f.clock.set(3499);
    f.tickBombs(p);
    EXPECT_FALSE(p.bombs[0].exploding);
    f.clock.set(3500);
    f.tickBombs(p);
    EXPECT_TRUE(p.bombs[0].blastApplied);
    f.clock.set(4000);
    f.tickBombs(p);
    EXPECT_TRUE(p.bombs[0].ready);
    EXPECT_EQ(f.world.cells[3][2].bomb, Cell::none);
}

TEST(BombLife, EachBombSoundsOnceEvenInTheSameFrame) {
    BombField f;
    Player& p = f.player1;
    p.bombCapacity = 2;
    p.bombsReady = 2;
    f.dropBomb(p);
    p.x = 1.5f; // cell (1, 4): out of the first bomb's flames
    p.y = 4.5f;
    f.dropBomb(p);
    f.clock.set(4500);
    f.tickBombs(p);
    EXPECT_EQ(blastsTold(f.world, 1), 2);
    f.tickBombs(p);
    EXPECT_EQ(blastsTold(f.world, 1), 2);
}

TEST(BombLife, AFlameSetsOffAnotherPlayersBombAtOnce) {
    BombField f;
    f.dropBomb(f.player1); // (3, 2) at 1000, reach 2: its flame reaches (5, 2)
    f.clock.set(2000);
    f.dropBomb(f.player2); // (5, 2) at 2000, would go off at 5500
    Bomb& second = f.player2.bombs[0];

    f.clock.set(4500);
    f.tickBombs(f.player1);
    EXPECT_TRUE(second.exploding);
    EXPECT_FLOAT_EQ(second.blastTime, 4500);
    EXPECT_FALSE(second.blastApplied);
    EXPECT_EQ(blastsTold(f.world, 2), 0);

    f.tickBombs(f.player2);
    EXPECT_TRUE(second.blastApplied);
    EXPECT_EQ(blastsTold(f.world, 2), 1);

    f.clock.set(5000);
    f.tickBombs(f.player2);
    EXPECT_TRUE(second.ready);
    EXPECT_EQ(f.world.cells[5][2].bomb, Cell::none);
    EXPECT_FLOAT_EQ(f.world.bombX[10], -1);
}
