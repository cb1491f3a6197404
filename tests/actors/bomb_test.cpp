#include "ActorWorld.h"
#include <gtest/gtest.h>

namespace {
// An empty arena with player 1 at (3.4, 2.7) and player 2 at (5.5, 2.5), both recorded, so a
// blast from cell (3, 2) with reach 2 reaches (5, 2) along +x.
struct BombField : ActorWorld {
    BombField() : ActorWorld(21) {
        clearArena();
        player1.x = 3.4f;
        player1.y = 2.7f;
        player2.x = 5.5f;
        player2.y = 2.5f;
        // Recorded positions far away, so the blasts below hit nobody.
        world.recordPlayerPosition(13.5f, 12.5f, 1);
        world.recordPlayerPosition(12.5f, 13.5f, 2);
    }
};
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
    p.dropBomb();
    const Bomb& b = p.bombs[0];
    EXPECT_FALSE(b.ready);
    EXPECT_FALSE(b.blastApplied);
    EXPECT_FLOAT_EQ(b.x, 3.5f);
    EXPECT_FLOAT_EQ(b.y, 2.5f);
    EXPECT_FLOAT_EQ(b.dropTime, 1000);
    EXPECT_FLOAT_EQ(b.blastTime, 4500);
    EXPECT_EQ(p.bombsReady, 0);
    EXPECT_EQ(f.world.cells[3][2].bomb, &b);
    EXPECT_FLOAT_EQ(f.world.bombX[0], 3.5f);
    EXPECT_FLOAT_EQ(f.world.bombY[0], 2.5f);

    // Nothing ready: nothing happens.
    p.x = 4.5f;
    p.dropBomb();
    EXPECT_EQ(f.world.cells[4][2].bomb, nullptr);

    // A second slot, but the cell already holds a bomb: refused, nothing spent.
    p.applyPickUp(kindBomb);
    p.x = 3.6f;
    p.dropBomb();
    EXPECT_TRUE(p.bombs[1].ready);
    EXPECT_EQ(p.bombsReady, 1);

    p.x = 4.5f;
    p.dropBomb();
    EXPECT_FALSE(p.bombs[1].ready);
    EXPECT_EQ(f.world.cells[4][2].bomb, &p.bombs[1]);
    EXPECT_EQ(p.bombsReady, 0);

    // Player 2's slots take entries 10 to 19.
    f.player2.dropBomb();
    EXPECT_FLOAT_EQ(f.world.bombX[10], 5.5f);
    EXPECT_EQ(f.world.cells[5][2].bomb, &f.player2.bombs[0]);
}

TEST(BombLife, LiesExplodesOnceAndIsReadyHalfASecondLater) {
    BombField f;
    Player& p = f.player1;
    p.dropBomb();
    Bomb& b = p.bombs[0];

    f.clock.set(4499);
    p.tickBombs();
    EXPECT_FALSE(b.exploding);
    EXPECT_EQ(p.bombsReady, 0);
    EXPECT_TRUE(f.world.blastCells.empty());

    f.clock.set(4500);
    p.tickBombs();
    EXPECT_TRUE(b.exploding);
    EXPECT_TRUE(b.blastApplied);
    EXPECT_EQ(p.blastSoundRequests, 1);
    ASSERT_FALSE(f.world.blastCells.empty());
    EXPECT_EQ(f.world.blastCells.front().x, 3);
    EXPECT_EQ(f.world.blastCells.front().y, 2);

    const size_t burning = f.world.blastCells.size();
    f.clock.set(4999);
    p.tickBombs();
    EXPECT_EQ(p.blastSoundRequests, 1);
    EXPECT_EQ(f.world.blastCells.size(), burning);
    EXPECT_FALSE(b.ready);
    EXPECT_EQ(f.world.cells[3][2].bomb, &b);

    f.clock.set(5000);
    p.tickBombs();
    EXPECT_TRUE(b.ready);
    EXPECT_FALSE(b.exploding);
    EXPECT_FLOAT_EQ(b.dropTime, 0);
    EXPECT_EQ(f.world.cells[3][2].bomb, nullptr);
    EXPECT_FLOAT_EQ(f.world.bombX[0], -1);
    EXPECT_FLOAT_EQ(b.x, 3.5f); // a spent slot keeps its last place
    // The slot that came back during this tick is counted from the next tick on.
    EXPECT_EQ(p.bombsReady, 0);
    p.tickBombs();
    EXPECT_EQ(p.bombsReady, 1);
    EXPECT_EQ(p.blastSoundRequests, 1);
}

TEST(BombLife, OnlySlotsWithinCapacityCountAsReady) {
    BombField f;
    Player& p = f.player1;
    p.bombCapacity = 3;
    p.bombsReady = 7;
    p.tickBombs();
    EXPECT_EQ(p.bombsReady, 3);
    p.dropBomb();
    p.tickBombs();
    EXPECT_EQ(p.bombsReady, 2);
}

TEST(BombLife, ABombDroppedAtTheFirstInstantStillGoesOff) {
    BombField f;
    f.clock.set(0);
    Player& p = f.player1;
    p.dropBomb();
    f.clock.set(3499);
    p.tickBombs();
    EXPECT_FALSE(p.bombs[0].exploding);
    f.clock.set(3500);
    p.tickBombs();
    EXPECT_TRUE(p.bombs[0].blastApplied);
    f.clock.set(4000);
    p.tickBombs();
    EXPECT_TRUE(p.bombs[0].ready);
    EXPECT_EQ(f.world.cells[3][2].bomb, nullptr);
}

TEST(BombLife, EachBombSoundsOnceEvenInTheSameFrame) {
    BombField f;
    Player& p = f.player1;
    p.bombCapacity = 2;
    p.bombsReady = 2;
    p.dropBomb();
    p.x = 1.5f; // cell (1, 4): out of the first bomb's flames
    p.y = 4.5f;
    p.dropBomb();
    f.clock.set(4500);
    p.tickBombs();
    EXPECT_EQ(p.blastSoundRequests, 2);
    p.tickBombs();
    EXPECT_EQ(p.blastSoundRequests, 2);
}

TEST(BombLife, AFlameSetsOffAnotherPlayersBombAtOnce) {
    BombField f;
    f.player1.dropBomb(); // (3, 2) at 1000, reach 2: its flame reaches (5, 2)
    f.clock.set(2000);
    f.player2.dropBomb(); // (5, 2) at 2000, would go off at 5500
    Bomb& second = f.player2.bombs[0];

    f.clock.set(4500);
    f.player1.tickBombs();
    EXPECT_TRUE(second.exploding);
    EXPECT_FLOAT_EQ(second.blastTime, 4500);
    EXPECT_FALSE(second.blastApplied);
    EXPECT_EQ(f.player2.blastSoundRequests, 0);

    f.player2.tickBombs();
    EXPECT_TRUE(second.blastApplied);
    EXPECT_EQ(f.player2.blastSoundRequests, 1);

    f.clock.set(5000);
    f.player2.tickBombs();
    EXPECT_TRUE(second.ready);
    EXPECT_EQ(f.world.cells[5][2].bomb, nullptr);
    EXPECT_FLOAT_EQ(f.world.bombX[10], -1);
}
