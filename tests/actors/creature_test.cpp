#include "ActorWorld.h"
#include "actors/Creature.h"
#include <gtest/gtest.h>

namespace {
struct CreatureField : ActorWorld {
    Creature creature;
    CreatureField() : ActorWorld(33), creature(1, random) {
        clearArena();
        placePlayer(1, 0.5f, 0.5f);
        placePlayer(2, 14.5f, 0.5f);
    }

    // Sets the creature running along (dx, dy) from (x, y) with plenty of run left.
    void stand(float x, float y, float dx, float dy) {
        creature.x = x;
        creature.y = y;
        creature.dirX = dx;
        creature.dirY = dy;
        creature.runLeft = 5;
    }

    // One step that must end the run without moving, with the run drawn in its order.
    void expectNewRunInPlace(const char* what) {
        RandomGenerator expected = random;
        const float runLeft = static_cast<float>(expected.nextInt(1, 6));
        const int32_t dir = expected.nextInt(0, 3);
        const float dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        const float x = creature.x, y = creature.y;
        creature.roam(world, random);
        EXPECT_EQ(creature.x, x) << what;
        EXPECT_EQ(creature.y, y) << what;
        EXPECT_EQ(creature.runLeft, runLeft) << what;
        EXPECT_EQ(creature.dirX, dirs[dir][0]) << what;
        EXPECT_EQ(creature.dirY, dirs[dir][1]) << what;
    }
};

bool touchesHouse(float x, float y, float r) {
    return x + r >= 6 && x - r <= 9 && y + r >= 8 && y - r <= 11;
}

// The home cells are (0, 0) and (14, 0).
bool reachesAHome(float x, float y, float r) {
    return y - r < 1 && (x - r < 1 || x + r > 14);
}
} // namespace

TEST(Creature, ConstructionDrawsTheFirstRunLength) {
    RandomGenerator random(77);
    Creature c(3, random);
    RandomGenerator expected(77);
    EXPECT_EQ(c.runLeft, static_cast<float>(expected.nextInt(1, 6)));
    EXPECT_EQ(c.number, 3);
    EXPECT_FLOAT_EQ(c.heading, 90);
    EXPECT_FLOAT_EQ(c.dirX, 1);
    EXPECT_NEAR(c.shape.earHeight, 0.70f, 1e-6);
    EXPECT_EQ(std::vector<float>({c.colourR, c.colourG, c.colourB}), std::vector<float>({1, 1, 0}));
}

TEST(Creature, StepsAlongItsRun) {
    CreatureField f;
    f.stand(2.5f, 4.5f, 0, 1);
    f.creature.roam(f.world, f.random);
    EXPECT_NEAR(f.creature.y, 4.63f, 1e-6);
    EXPECT_FLOAT_EQ(f.creature.x, 2.5f);
    EXPECT_NEAR(f.creature.runLeft, 4.87f, 1e-6);
}

TEST(Creature, EveryObstacleEndsTheRunWithoutAStep) {
    CreatureField f;
    f.stand(2.5f, 4.5f, 0, 1);
    f.creature.runLeft = 0.1f;
    f.expectNewRunInPlace("run used up");

    f.world.cells[3][2].hasObstacle = true;
    f.stand(2.7f, 2.5f, 1, 0);
    f.expectNewRunInPlace("obstacle");
    f.world.cells[3][2].hasObstacle = false;

    f.stand(2.7f, 3.5f, 1, 0);
    f.expectNewRunInPlace("pillar");

    // From the approach cell the door cell itself may be walked on, but not the house's square.
    f.stand(5.65f, 9.5f, 1, 0);
    f.expectNewRunInPlace("house");

    Bomb bomb;
    f.world.cells[3][2].bomb = 0;
    f.stand(2.9f, 2.5f, 1, 0); // bombs and laid walls count once the centre would enter
    f.expectNewRunInPlace("bomb");
    f.world.cells[3][2].bomb = Cell::none;

    f.world.placeWall(3.5f, 2.5f);
    f.stand(2.9f, 2.5f, 1, 0);
    f.expectNewRunInPlace("laid wall");

    f.stand(14.65f, 4.5f, 1, 0);
    f.expectNewRunInPlace("+x edge");
    f.stand(4.5f, 0.38f, 0, -1);
    f.expectNewRunInPlace("-y edge");
}

TEST(Creature, WalksOffTheBombItStandsOn) {
    CreatureField f;
    Bomb bomb;
    f.world.cells[2][4].bomb = 0;
    f.stand(2.5f, 4.5f, 0, 1);
    f.creature.roam(f.world, f.random);
    EXPECT_NEAR(f.creature.y, 4.63f, 1e-6);
}

TEST(Creature, SpringsATrapAndIsPlacedAnew) {
    CreatureField f;
    Item* trapItem = &f.world.items[45];
    trapItem->x = trapItem->y = -1;
    trapItem->taken = 1;
    f.world.placeTrap(3.5f, 2.5f);
    ASSERT_NE(f.world.cells[3][2].trap, Cell::none);
    f.stand(2.9f, 2.5f, 1, 0);
    f.creature.roam(f.world, f.random);
    EXPECT_EQ(f.world.cells[3][2].trap, Cell::none);
    EXPECT_EQ(trapItem->taken, 0);
    EXPECT_EQ(f.lyingInArena(kindTrap), 1);
    EXPECT_GT(f.creature.y, 2);
    EXPECT_FLOAT_EQ(f.creature.x - static_cast<int>(f.creature.x), 0.5f);
}

TEST(Creature, PlacedOnlyOnFreeCellsAwayFromTheHomeRows) {
    ActorWorld w(44);
    // Bombs, walls and traps across a band of the arena that placement must avoid.
    Bomb bomb;
    for (int cx = 0; cx < 15; cx += 2) {
        w.world.cells[cx][4].bomb = 0;
        w.world.placeWall(cx + 0.5f, 6.5f);
        w.world.placeTrap(cx + 0.5f, 12.5f);
    }
    Creature c(2, w.random);
    bool sawRowTwo = false;
    for (int i = 0; i < 400; ++i) {
        c.place(w.world, w.random);
        ASSERT_GT(c.y, 2);
        sawRowTwo = sawRowTwo || static_cast<int>(c.y) == 2;
        EXPECT_TRUE(w.world.isPassable(c.x, c.y, 0));
        EXPECT_TRUE(w.world.canPlace(c.x, c.y)) << c.x << ", " << c.y;
    }
    EXPECT_TRUE(sawRowTwo);
}

TEST(Creature, LongRoamsKeepOutOfTheHouseAndTheHomesAndOffOtherBombs) {
    ActorWorld w(55);
    const int bombCells[3][2] = {{2, 6}, {10, 4}, {12, 12}};
    for (int i = 0; i < 3; ++i)
        w.world.cells[bombCells[i][0]][bombCells[i][1]].bomb = static_cast<int8_t>(i);
    w.world.placeWall(4.5f, 4.5f);
    Creature creatures[4] = {Creature(1, w.random), Creature(2, w.random), Creature(3, w.random),
                             Creature(4, w.random)};
    for (Creature& c : creatures)
        c.place(w.world, w.random);
    for (int step = 0; step < 4000; ++step) {
        for (Creature& c : creatures) {
            const int fromX = static_cast<int>(c.x), fromY = static_cast<int>(c.y);
            c.roam(w.world, w.random);
            const float r = c.bodyRadius;
            ASSERT_FALSE(touchesHouse(c.x, c.y, r)) << c.x << ", " << c.y;
            ASSERT_FALSE(reachesAHome(c.x, c.y, r)) << c.x << ", " << c.y;
            ASSERT_TRUE(c.x - r >= 0 && c.x + r <= 15 && c.y - r >= 0 && c.y + r <= 15);
            ASSERT_TRUE(w.world.isPassable(c.x, c.y, r));
            const Cell& now = w.world.cells[static_cast<int>(c.x)][static_cast<int>(c.y)];
            if (static_cast<int>(c.x) != fromX || static_cast<int>(c.y) != fromY) {
                ASSERT_EQ(now.bomb, Cell::none);
                ASSERT_EQ(now.wall, Cell::none);
            }
        }
    }
}

TEST(Creature, TurnsAwayAtTheEdgeOfAHomeCell) {
    // Heading into player 1's home along the bottom row, and into player 2's from above: the
    // creature turns where its body would reach into the cell, and stands still that step.
    struct Approach {
        float x, y;
        int32_t dirX, dirY;
    } approaches[2] = {{1.3f, 0.5f, -1, 0}, {14.5f, 1.3f, 0, -1}};
    for (const Approach& a : approaches) {
        ActorWorld w(8);
        for (int x = 0; x < 15; ++x)
            for (int y = 0; y < 3; ++y)
                if (!w.world.cell(x, y).pillar)
                    w.world.cell(x, y).hasObstacle = false;
        Creature c(1, w.random);
        c.x = a.x, c.y = a.y, c.dirX = a.dirX, c.dirY = a.dirY;
        c.runLeft = 5;
        c.roam(w.world, w.random);
        EXPECT_FLOAT_EQ(c.x, a.x);
        EXPECT_FLOAT_EQ(c.y, a.y);
        // However long it roams from there, it never reaches into a home cell.
        for (int step = 0; step < 2000; ++step) {
            c.roam(w.world, w.random);
            ASSERT_FALSE(reachesAHome(c.x, c.y, c.bodyRadius)) << c.x << ", " << c.y;
        }
    }
}

TEST(Creature, TouchSendsAPlayerHomeUntilTheCreatureIsHit) {
    CreatureField f;
    // Players that have made their first move: no grace of the round's start.
    f.world.homeShelter[0] = f.world.homeShelter[1] = false;
    f.stand(4.5f, 4.5f, 1, 0);
    f.placePlayer(1, 5.0f, 4.5f);
    f.placePlayer(2, 4.86f, 4.86f); // 0.509 away on the diagonal
    f.creature.touchTest(f.world, f.figures);
    EXPECT_TRUE(f.world.respawnRequest[0]);
    EXPECT_TRUE(f.world.respawnRequest[1]);

    f.world.respawnRequest[0] = f.world.respawnRequest[1] = false;
    f.placePlayer(1, 5.03f, 4.5f);
    f.placePlayer(2, 4.5f, 3.97f);
    f.creature.touchTest(f.world, f.figures);
    EXPECT_FALSE(f.world.respawnRequest[0]);
    EXPECT_FALSE(f.world.respawnRequest[1]);

    // Staying close asks again on every draw.
    f.placePlayer(1, 4.9f, 4.5f);
    f.creature.touchTest(f.world, f.figures);
    EXPECT_TRUE(f.world.respawnRequest[0]);
    f.world.respawnRequest[0] = false;
    f.creature.touchTest(f.world, f.figures);
    EXPECT_TRUE(f.world.respawnRequest[0]);

    f.world.respawnRequest[0] = false;
    f.world.creatureHit[0] = true;
    RandomGenerator before = f.random;
    f.creature.touchTest(f.world, f.figures);
    f.creature.roam(f.world, f.random);
    EXPECT_FALSE(f.world.respawnRequest[0]);
    EXPECT_FLOAT_EQ(f.creature.x, 4.5f);
    EXPECT_EQ(before.nextInt(0, 1000000), f.random.nextInt(0, 1000000));
}

TEST(Creature, HeadingAndFeetAdvancePerDraw) {
    CreatureField f;
    const struct {
        float dx, dy, heading;
    } cases[] = {{1, 0, 90}, {-1, 0, 270}, {0, 1, 180}, {0, -1, 0}};
    for (const auto& c : cases) {
        f.creature.dirX = c.dx;
        f.creature.dirY = c.dy;
        f.creature.advanceAnimation();
        EXPECT_FLOAT_EQ(f.creature.heading, c.heading);
    }
    // Four draws from -0.06 with step 0.01.
    EXPECT_NEAR(f.creature.shape.footSwing, -0.02f, 1e-6);
}
