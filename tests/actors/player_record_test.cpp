#include "ActorWorld.h"
#include <gtest/gtest.h>
#include <vector>

TEST(PlayerRecord, FreshPlayersStartAsTheRoundBegins) {
    ActorWorld w(11);
    const Player& p1 = w.player1;
    const Player& p2 = w.player2;
    EXPECT_FLOAT_EQ(p1.x, 0.5f);
    EXPECT_FLOAT_EQ(p1.y, 0.5f);
    EXPECT_FLOAT_EQ(p2.x, 14.5f);
    EXPECT_FLOAT_EQ(p2.y, 0.5f);
    EXPECT_EQ(p1.number, 1);
    EXPECT_EQ(p2.number, 2);
    EXPECT_FLOAT_EQ(p1.dirY, 1);
    EXPECT_FLOAT_EQ(p1.sideX, 1);

    // The heads-up display shows bombItems + 1 and fireItems + 2: one bomb of reach two.
    EXPECT_EQ(p1.bombsReady, 1);
    EXPECT_EQ(p1.bombCapacity, 1);
    for (const Bomb& b : p1.bombs) {
        EXPECT_TRUE(b.ready);
        EXPECT_EQ(b.reach, 2);
        EXPECT_FLOAT_EQ(b.x, -1);
        EXPECT_FLOAT_EQ(b.pulseRadius, 0.25f);
    }
    EXPECT_EQ(p1.points + p1.cheese + p1.speedItems + p1.wallItems + p1.trapItems, 0);
    EXPECT_FLOAT_EQ(p1.stepLength, 0.1f);
    EXPECT_FLOAT_EQ(p1.freeMoveTime, -1);
    EXPECT_FALSE(p1.carryingCheese);

    EXPECT_EQ(std::vector<float>({p1.colourR, p1.colourG, p1.colourB, p1.colourA}),
              std::vector<float>({237, 74, 89, 255}));
    EXPECT_EQ(std::vector<float>({p2.colourR, p2.colourG, p2.colourB, p2.colourA}),
              std::vector<float>({74, 151, 237, 255}));
    EXPECT_FLOAT_EQ(p1.bodyRadius, 0.26f);
}

TEST(PlayerRecord, DerivedShapeFollowsBodyAndHead) {
    ActorWorld w(11);
    const FigureShape& s = w.player1.shape;
    EXPECT_NEAR(s.handForward, -0.13f, 1e-6);
    EXPECT_NEAR(s.handHeight, 0.30f, 1e-6);
    EXPECT_NEAR(s.noseHeight, 0.42f, 1e-6);
    EXPECT_NEAR(s.noseForward, -0.23f, 1e-6);
    EXPECT_NEAR(s.earHeight, 0.70f, 1e-6);
    EXPECT_NEAR(s.eyeHeight, 0.48f, 1e-6);
    EXPECT_NEAR(s.eyeForward, -0.218f, 1e-6);
    EXPECT_NEAR(s.whiskerHeightUpper, 0.43f, 1e-6);
    EXPECT_NEAR(s.whiskerHeightLower, 0.41f, 1e-6);
    EXPECT_NEAR(s.whiskerForward, -0.231f, 1e-6);
    EXPECT_NEAR(s.tailBack, 0.21f, 1e-6);
    EXPECT_NEAR(s.tailHeight, 0.12f, 1e-6);
}

TEST(PlayerRecord, DirectionsAreFlattenedAndNormalised) {
    ActorWorld w(11);
    Player& p = w.player1;
    p.setDirections(Vector3(3, 4, -2), Vector3(0, -2, 5));
    EXPECT_FLOAT_EQ(p.dirX, 0.6f);
    EXPECT_FLOAT_EQ(p.dirY, 0.8f);
    EXPECT_FLOAT_EQ(p.sideX, 0);
    EXPECT_FLOAT_EQ(p.sideY, -1);

    // A camera turned by a right angle carries rounding noise; the heading is exactly an axis.
    p.setDirections(Vector3(-4.371139e-8f, -1.0f, -0.1f), Vector3(-0.99999994f, 2.0e-7f, 0));
    EXPECT_EQ(p.dirX, 0);
    EXPECT_EQ(p.dirY, -1);
    EXPECT_EQ(p.sideX, -1);
    EXPECT_EQ(p.sideY, 0);
    // A 5-degree heading is kept as it is.
    p.setDirections(Vector3(0.08715574f, 0.9961947f, 0), Vector3(0.9961947f, -0.08715574f, 0));
    EXPECT_NEAR(p.dirX, 0.08715574f, 1e-7);
    EXPECT_NEAR(p.dirY, 0.9961947f, 1e-7);
    p.setDirections(Vector3(3, 4, -2), Vector3(0, -2, 5));

    // Straight down has no ground direction: the old heading stays rather than becoming NaN.
    p.setDirections(Vector3(0, 0, -1), Vector3(1, 0, 0));
    EXPECT_FLOAT_EQ(p.dirX, 0.6f);
    EXPECT_FLOAT_EQ(p.dirY, 0.8f);
    EXPECT_FLOAT_EQ(p.sideX, 1);
}

TEST(PlayerRecord, SpendingTrapsAndWalls) {
    ActorWorld w(11);
    Player& p = w.player1;
    EXPECT_FALSE(p.spendTrap());
    EXPECT_FALSE(p.spendWall());
    EXPECT_EQ(p.trapItems, 0);
    EXPECT_EQ(p.wallItems, 0);
    p.trapItems = 2;
    p.wallItems = 1;
    EXPECT_TRUE(p.spendTrap());
    EXPECT_TRUE(p.spendWall());
    EXPECT_FALSE(p.spendWall());
    EXPECT_EQ(p.trapItems, 1);
    EXPECT_EQ(p.wallItems, 0);
}

TEST(PlayerPickUps, BombItemsRaiseCapacityUpToTen) {
    ActorWorld w(11);
    Player& p = w.player1;
    for (int i = 1; i <= 12; ++i) {
        p.applyPickUp(kindBomb);
        EXPECT_EQ(p.bombItems, i);
        EXPECT_EQ(p.bombCapacity, std::min(1 + i, 10));
        EXPECT_EQ(p.bombsReady, std::min(1 + i, 10));
    }
}

TEST(PlayerPickUps, FireGrowsReachToFourteen) {
    ActorWorld w(11);
    Player& p = w.player1;
    p.bombs[3].reach = 13; // a slot already near the limit stops at 14 too
    for (int i = 1; i <= 13; ++i)
        p.applyPickUp(kindFire);
    EXPECT_EQ(p.fireItems, 13);
    for (const Bomb& b : p.bombs)
        EXPECT_EQ(b.reach, 14);

    Player& q = w.player2;
    for (int i = 0; i < 11; ++i)
        q.applyPickUp(kindFire);
    EXPECT_EQ(q.bombs[0].reach, 13);
    q.applyPickUp(kindFire);
    EXPECT_EQ(q.bombs[9].reach, 14);

    ActorWorld v(12);
    v.player1.applyPickUp(kindMaxFire);
    EXPECT_EQ(v.player1.maxFireItems, 1);
    for (const Bomb& b : v.player1.bombs)
        EXPECT_EQ(b.reach, 14);
}

TEST(PlayerPickUps, SpeedStopsAtFortyFiveHundredths) {
    ActorWorld w(11);
    Player& p = w.player1;
    for (int i = 0; i < 14; ++i)
        p.applyPickUp(kindSpeed);
    EXPECT_NEAR(p.stepLength, 0.45f, 1e-6);
    const float fastest = p.stepLength;
    p.applyPickUp(kindSpeed);
    EXPECT_EQ(p.stepLength, fastest);
    EXPECT_EQ(p.speedItems, 15);
}

TEST(PlayerPickUps, CoinsTrapsWallsAndCheese) {
    ActorWorld w(11);
    Player& p = w.player1;
    p.applyPickUp(kindCoin);
    p.applyPickUp(kindCoin);
    p.applyPickUp(kindTrap);
    p.applyPickUp(kindWall);
    EXPECT_EQ(p.points, 2);
    EXPECT_EQ(p.trapItems, 1);
    EXPECT_EQ(p.wallItems, 1);
    p.applyPickUp(kindCheese);
    EXPECT_TRUE(p.carryingCheese);
    p.applyPickUp(-1);
    EXPECT_EQ(p.points, 2);
}

TEST(PlayerReturn, SendsHomeWithPenaltyAndGivesItemsBack) {
    ActorWorld w(5);
    Player& p = w.player2;
    // Take real items out of the arena, as walking over them would.
    const int entries[] = {0, 1, 20, 35, 37, 38, 45, 52};
    for (int i : entries) {
        Item* item = &w.world.items[i];
        const int32_t kind = item->type;
        w.world.takeItem(item->x, item->y, 2);
        p.applyPickUp(kind);
    }
    p.points = 3;
    p.cheese = 2;
    p.x = 4.5f;
    p.y = 6.5f;
    p.dirX = 1;
    p.dirY = 0;
    p.sideX = 0;
    p.sideY = -1;
    w.returnToStart(p);

    EXPECT_EQ(p.points, 0);
    EXPECT_EQ(p.cheese, 2);
    EXPECT_FLOAT_EQ(p.x, 14.5f);
    EXPECT_FLOAT_EQ(p.y, 0.5f);
    EXPECT_FLOAT_EQ(p.dirX, 0);
    EXPECT_FLOAT_EQ(p.dirY, 1);
    EXPECT_FLOAT_EQ(p.sideY, -1);
    EXPECT_EQ(p.bombItems + p.fireItems + p.maxFireItems + p.speedItems + p.trapItems + p.wallItems,
              0);
    EXPECT_EQ(p.bombCapacity, 1);
    EXPECT_EQ(p.bombsReady, 1);
    EXPECT_FLOAT_EQ(p.stepLength, 0.1f);
    for (const Bomb& b : p.bombs)
        EXPECT_EQ(b.reach, 2);
    for (int i : entries) {
        const Item* item = &w.world.items[i];
        EXPECT_EQ(item->taken, 0) << "entry " << i;
        ASSERT_GE(item->x, 0) << "entry " << i;
        EXPECT_EQ(w.world.cells[int(item->x)][int(item->y)].item, i) << "entry " << i;
    }

    p.points = 12;
    w.returnToStart(p);
    EXPECT_EQ(p.points, 7);
}

TEST(PlayerReturn, CarriedCheeseStaysInPlay) {
    ActorWorld w(5);
    Player& p = w.player1;
    Item* piece = &w.world.items[90];
    piece->taken = 1;
    piece->x = piece->y = -1;
    p.carryingCheese = true;
    w.world.cells[3][2].item = Cell::none;
    p.x = 3.4f;
    p.y = 2.7f;
    w.returnToStart(p);
    EXPECT_FALSE(p.carryingCheese);
    EXPECT_EQ(piece->taken, 0);
    EXPECT_FLOAT_EQ(piece->x, 3.5f);
    EXPECT_FLOAT_EQ(piece->y, 2.5f);
    EXPECT_EQ(w.world.itemIn(w.world.cells[3][2]), piece);
}

TEST(PlayerReturn, ACaughtPlayerNoLongerSteersThroughTheLabyrinth) {
    ActorWorld w(5);
    Player& p = w.player1;
    w.world.freeRoam[0] = true;
    w.world.freeRoam[1] = true;
    p.x = 104.5f;
    p.y = 103.5f;
    w.returnToStart(p);
    EXPECT_FALSE(w.world.freeRoam[0]);
    EXPECT_TRUE(w.world.freeRoam[1]);
    EXPECT_FLOAT_EQ(p.x, 0.5f);
}

TEST(PlayerAnimation, HeadingFollowsTheDirection) {
    ActorWorld w(11);
    Player& p = w.player1;
    const struct {
        float dx, dy, heading;
    } cases[] = {{0, 1, 180},
                 {1, 0, 90},
                 {0, -1, 0},
                 {-1, 0, 270},
                 {0.7071f, 0.7071f, 135},
                 {-0.7071f, 0.7071f, 225},
                 {0.7071f, -0.7071f, 45}};
    for (const auto& c : cases) {
        p.dirX = c.dx;
        p.dirY = c.dy;
        p.advanceAnimation();
        EXPECT_NEAR(p.heading, c.heading, 1e-3) << c.dx << ", " << c.dy;
    }
    p.dirX = p.dirY = 0;
    p.advanceAnimation();
    EXPECT_NEAR(p.heading, 45, 1e-3);
}

TEST(PlayerAnimation, FeetSwingWithPeriodTwentyEight) {
    ActorWorld w(11);
    Player& p = w.player1;
    // In hundredths: up from -5 to 1, down from 0 to -13, up from -12 to 1, and so on.
    std::vector<int> expected;
    for (int v = -5; v <= 1; ++v)
        expected.push_back(v);
    for (int round = 0; round < 3; ++round) {
        for (int v = 0; v >= -13; --v)
            expected.push_back(v);
        for (int v = -12; v <= 1; ++v)
            expected.push_back(v);
    }
    std::vector<float> seen;
    for (size_t i = 0; i < expected.size(); ++i) {
        p.advanceAnimation();
        seen.push_back(p.shape.footSwing);
        EXPECT_NEAR(p.shape.footSwing, expected[i] / 100.0f, 1e-5) << "draw " << i + 1;
    }
    for (size_t i = 0; i + 28 < seen.size(); ++i)
        EXPECT_NEAR(seen[i], seen[i + 28], 1e-5);
}
