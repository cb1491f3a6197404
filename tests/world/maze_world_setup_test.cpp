#include "world/TestWorld.h"
#include <gtest/gtest.h>
#include <cmath>
#include <set>
#include <tuple>
#include <utility>

namespace {

bool isApproach(int x, int y) {
    return (x == 5 && y == 9) || (x == 7 && y == 7) || (x == 9 && y == 9) || (x == 7 && y == 11);
}

bool isHouse(int x, int y) {
    return x >= 6 && x <= 8 && y >= 8 && y <= 10;
}

} // namespace

TEST(MazeWorldConstruction, PillarsHouseAndDefaults) {
    MazeWorld world;
    int pillars = 0;
    for (int x = 0; x < 15; ++x)
        for (int y = 0; y < 15; ++y) {
            const Cell& c = world.cell(x, y);
            bool expected = (x % 2 == 1 && y % 2 == 1 && !isApproach(x, y)) || isHouse(x, y);
            EXPECT_EQ(c.pillar, expected) << x << "," << y;
            EXPECT_EQ(c.open(), !expected) << x << "," << y;
            pillars += c.pillar;
        }
    // 44 pillars outside the house and the 9 house cells.
    EXPECT_EQ(pillars, 53);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(world.bombX[i], -1.0f);
        EXPECT_EQ(world.bombY[i], -1.0f);
    }
    for (const Trap& trap : world.traps) {
        EXPECT_TRUE(trap.free);
        EXPECT_EQ(trap.x, -1.0f);
    }
}

TEST(MazeWorldSetUp, ObstaclesAndItemsFollowThePlacementRules) {
    for (uint32_t seed : {11u, 2024u, 99999u}) {
        TestWorld t(seed);
        MazeWorld& w = t.world;
        std::set<std::pair<int, int>> used;
        for (int i = 0; i < 90; ++i) {
            const Obstacle* o = &w.obstacles[i];
            const Item* item = &w.items[i];
            int x = static_cast<int>(o->x), y = static_cast<int>(o->y);
            EXPECT_EQ(o->x, x + 0.5f);
            EXPECT_EQ(item->x, o->x);
            EXPECT_EQ(item->y, o->y);
            EXPECT_EQ(item->taken, 0);
            EXPECT_TRUE(used.insert({x, y}).second) << "two obstacles in " << x << "," << y;
            EXPECT_GT(y, 0);
            EXPECT_FALSE(y == 1 && (x == 0 || x == 14));
            EXPECT_FALSE(isApproach(x, y));
            EXPECT_FALSE(isHouse(x, y));
            EXPECT_TRUE(x % 2 == 0 || y % 2 == 0);
            const Cell& c = w.cell(x, y);
            EXPECT_EQ(c.obstacle, i);
            EXPECT_EQ(w.itemIn(c), item);
            EXPECT_TRUE(c.hasObstacle);
            EXPECT_FALSE(c.open());
            EXPECT_FALSE(o->destroyed);
        }
        for (int x = 0; x < 15; ++x)
            for (int y = 0; y < 15; ++y) {
                const Cell& c = w.cell(x, y);
                // Only obstacle cells hold an item after set-up.
                EXPECT_EQ(c.item != Cell::none, c.hasObstacle);
                EXPECT_EQ(c.bomb, Cell::none);
            }
    }
}

TEST(MazeWorldSetUp, ItemTableKindsTexturesAndColours) {
    TestWorld t(5);
    MazeWorld& w = t.world;
    const int counts[9] = {0, 20, 15, 2, 8, 7, 7, 31, 5};
    // Texture slots per kind: bomb, speed, max fire, fire, trap, wall cards; coins none.
    const int slots[9] = {0, 50, 51, 53, 52, 55, 54, -1, 49};
    int seen[9] = {};
    int previousKind = 1;
    for (int i = 0; i < 95; ++i) {
        const Item* item = &w.items[i];
        ASSERT_NE(item, nullptr);
        ASSERT_GE(item->type, 1);
        ASSERT_LE(item->type, 8);
        EXPECT_GE(item->type, previousKind) << "kinds are grouped by entry";
        previousKind = item->type;
        ++seen[item->type];
        EXPECT_EQ(itemPictureSlot(item->type), slots[item->type]) << "entry " << i;
        EXPECT_EQ(item->spin, 0);
    }
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(seen[k], counts[k]) << "kind " << k;
    EXPECT_EQ(w.items[19].type, kindBomb);
    EXPECT_EQ(w.items[35].type, kindMaxFire);
    EXPECT_EQ(w.items[37].type, kindFire);
    EXPECT_EQ(w.items[59].type, kindCoin);

    const std::set<std::tuple<float, float, float>> palette = {
        {255, 127, 255}, {255, 255, 255}, {127, 127, 255}, {255, 255, 127},
        {127, 255, 255}, {255, 204, 127}, {127, 255, 127}};
    for (const Obstacle& o : w.obstacles)
        EXPECT_TRUE(palette.count({o.colourR, o.colourG, o.colourB}));
    for (const WallBlock& b : w.walls)
        EXPECT_TRUE(b.free);
}

TEST(MazeWorldSetUp, CheeseLiesInFiveDistinctLabyrinthCells) {
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        TestWorld t(seed);
        std::set<std::pair<float, float>> cells;
        for (int i = 90; i < 95; ++i) {
            const Item* cheese = &t.world.items[i];
            EXPECT_EQ(cheese->type, kindCheese);
            EXPECT_EQ(cheese->taken, 0);
            EXPECT_GE(cheese->x, 100.5f);
            EXPECT_LE(cheese->x, 108.5f);
            EXPECT_GE(cheese->y, 100.5f);
            EXPECT_LE(cheese->y, 108.5f);
            EXPECT_EQ(cheese->x - static_cast<int>(cheese->x), 0.5f);
            cells.insert({cheese->x, cheese->y});
        }
        EXPECT_EQ(cells.size(), 5u) << "seed " << seed;
    }
}

TEST(MazeWorldSetUp, DrawsComeInTheirOrder) {
    // Replay the generator by hand from the state just before each set-up step.
    RandomGenerator random(4321);
    MazeWorld world;
    world.createWallBlocks();
    world.generateLabyrinth(random);

    RandomGenerator replay = random;
    world.createBlastParticles(random);
    const Particle& first = world.blastParticles.particles[0];
    EXPECT_FLOAT_EQ(first.fade, replay.nextInt(0, 100) / 1000.0f + 0.003f);
    EXPECT_EQ(first.vx, replay.nextInt(0, 40) - 20);
    EXPECT_EQ(first.vy, replay.nextInt(0, 40) - 20);
    EXPECT_EQ(first.vz, replay.nextInt(0, 40) - 20);
    for (const Particle& p : world.blastParticles.particles) {
        EXPECT_TRUE(p.alive);
        EXPECT_EQ(p.alpha, 0.4f);
        EXPECT_GE(p.fade, 0.003f);
        EXPECT_LE(p.fade, 0.1031f);
        EXPECT_EQ(p.px, 0.0f);
        EXPECT_LE(std::abs(p.vz), 20.0f);
    }

    replay = random;
    world.placeItems(random);
    const float colours[7][3] = {{255, 127, 255}, {255, 255, 255}, {127, 127, 255}, {255, 255, 127},
                                 {127, 255, 255}, {255, 204, 127}, {127, 255, 127}};
    int colour = replay.nextInt(0, 6);
    EXPECT_EQ(world.obstacles[0].colourR, colours[colour][0]);
    EXPECT_EQ(world.obstacles[0].colourG, colours[colour][1]);
    EXPECT_EQ(world.obstacles[0].colourB, colours[colour][2]);
    // The first obstacle finds an empty arena: the first draw pair on an allowed cell wins.
    int x, y;
    do {
        x = replay.nextInt(0, 14);
        y = replay.nextInt(0, 14);
    } while (y == 0 || (y == 1 && (x == 0 || x == 14)) || isApproach(x, y) ||
             (x % 2 == 1 && y % 2 == 1) || isHouse(x, y));
    EXPECT_EQ(world.obstacles[0].x, x + 0.5f);
    EXPECT_EQ(world.obstacles[0].y, y + 0.5f);
}

TEST(MazeWorldSetUp, SeedDecidesTheWholeWorld) {
    TestWorld a(600), b(600), c(601);
    bool differs = false;
    for (int i = 0; i < 95; ++i) {
        EXPECT_EQ(a.world.items[i].x, b.world.items[i].x);
        EXPECT_EQ(a.world.items[i].y, b.world.items[i].y);
        differs = differs || a.world.items[i].x != c.world.items[i].x ||
                  a.world.items[i].y != c.world.items[i].y;
    }
    for (int i = 0; i < 90; ++i)
        EXPECT_EQ(a.world.obstacles[i].colourR, b.world.obstacles[i].colourR);
    for (int k = 0; k < 81; ++k)
        EXPECT_EQ(a.world.maze.wallPosX[k], b.world.maze.wallPosX[k]);
    EXPECT_TRUE(sameGeneratorState(a.random, b.random));
    EXPECT_TRUE(differs);
}
