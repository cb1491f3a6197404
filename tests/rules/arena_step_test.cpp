#include "../actors/ActorWorld.h"
#include "rules/Movement.h"
#include <gtest/gtest.h>

namespace {
// An arena without obstacles; player 1 is moved by hand for each case.
struct Arena : ActorWorld {
    Arena() : ActorWorld(61) { clearArena(); }

    Player& at(float x, float y, float dx, float dy) {
        player1.x = x;
        player1.y = y;
        player1.dirX = dx;
        player1.dirY = dy;
        return player1;
    }

    // Walls the cell (4, 4) in with obstacles on its four sides.
    void boxInCellFourFour() {
        world.cells[4][5].hasObstacle = true;
        world.cells[4][3].hasObstacle = true;
        world.cells[5][4].hasObstacle = true;
        world.cells[3][4].hasObstacle = true;
    }

    // Where teleportToRandomCell must land, from a copy of the generator: the first drawn cell
    // that can be walked on and holds no wall, trap or bomb, and is not a door of the house.
    void expectTeleportLanding(RandomGenerator copy, const Player& p) {
        for (;;) {
            const int c = copy.nextInt(0, 14);
            const int r = copy.nextInt(0, 14);
            const Cell& cell = world.cells[c][r];
            const bool door = (c == 7 && (r == 8 || r == 10)) || (r == 9 && (c == 6 || c == 8));
            if (cell.open() && !door && cell.wall == Cell::none && cell.trap == Cell::none &&
                cell.bomb == Cell::none) {
                EXPECT_FLOAT_EQ(p.x, c + 0.5f);
                EXPECT_FLOAT_EQ(p.y, r + 0.5f);
                return;
            }
        }
    }
};
} // namespace

TEST(ArenaStep, StepsAlongTheHeadingAndStopsFlushAtTheBorder) {
    Arena a;
    Player& p = a.at(0.5f, 0.5f, 0, -1);
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_NEAR(p.y, 0.4f, 1e-6);
    EXPECT_NEAR(p.stepY, -0.1f, 1e-6);
    EXPECT_EQ(p.stepX, 0);

    p.y = 0.3f;
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_NEAR(p.y, 0.27f, 1e-6);
    EXPECT_NEAR(p.stepY, -0.03f, 1e-6);
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_NEAR(p.y, 0.27f, 1e-6);

    // A fast player covers its own step length; the far border stops the body at 14.73.
    Player& q = a.at(14.5f, 0.5f, 1, 0);
    q.stepLength = 0.2f;
    EXPECT_TRUE(arenaStep(q, a.world, a.random));
    EXPECT_NEAR(q.x, 14.7f, 1e-5);
    EXPECT_TRUE(arenaStep(q, a.world, a.random));
    EXPECT_NEAR(q.x, 14.73f, 1e-5);

    // No heading, no step.
    Player& s = a.at(2.5f, 2.5f, 0, 0);
    EXPECT_TRUE(arenaStep(s, a.world, a.random));
    EXPECT_FLOAT_EQ(s.x, 2.5f);
    EXPECT_FLOAT_EQ(s.y, 2.5f);
}

TEST(ArenaStep, RefusedStepsPushFlushAgainstEachSide) {
    Arena a;
    a.boxInCellFourFour();
    const struct {
        float x, y, dx, dy, wantX, wantY;
    } cases[] = {{4.5f, 4.7f, 0, 1, 4.5f, 4.73f},
                 {4.5f, 4.3f, 0, -1, 4.5f, 4.27f},
                 {4.7f, 4.5f, 1, 0, 4.73f, 4.5f},
                 {4.3f, 4.5f, -1, 0, 4.27f, 4.5f},
                 {4.7f, 4.7f, 0.7071f, 0.7071f, 4.73f, 4.73f}};
    for (const auto& c : cases) {
        Player& p = a.at(c.x, c.y, c.dx, c.dy);
        EXPECT_TRUE(arenaStep(p, a.world, a.random));
        EXPECT_NEAR(p.x, c.wantX, 1e-5) << c.dx << ", " << c.dy;
        EXPECT_NEAR(p.y, c.wantY, 1e-5) << c.dx << ", " << c.dy;
        EXPECT_NEAR(p.stepX, c.wantX - c.x, 1e-5);
        EXPECT_NEAR(p.stepY, c.wantY - c.y, 1e-5);
    }

    // On a diagonal only the blocked axis is pushed; the free one keeps its value.
    a.world.cells[4][5].hasObstacle = false;
    Player& p = a.at(4.7f, 4.5f, 0.7071f, 0.7071f);
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_NEAR(p.x, 4.73f, 1e-5);
    EXPECT_FLOAT_EQ(p.y, 4.5f);
}

TEST(ArenaStep, LaidBombsAndWallsStopAtTheCentrePoint) {
    Arena a;
    Bomb bomb;
    a.world.placeWall(4.5f, 5.5f); // a wall cannot be laid on a bomb, so the wall comes first
    ASSERT_NE(a.world.cells[4][5].wall, Cell::none);
    a.world.cells[4][5].bomb = 0;
    Player& p = a.at(4.5f, 4.95f, 0, 1);
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_FLOAT_EQ(p.y, 4.95f);
    EXPECT_EQ(p.stepY, 0);

    // A bomb alone snaps the player back flush; the next press steps to 4.83 again.
    a.world.walls[a.world.cells[4][5].wall].free = true;
    a.world.cells[4][5].wall = Cell::none;
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_NEAR(p.y, 4.73f, 1e-5);
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_NEAR(p.y, 4.83f, 1e-5);

    // Standing on a bomb, the player may walk off it.
    a.world.cells[4][5].bomb = Cell::none;
    a.world.cells[2][2].bomb = 0;
    Player& q = a.at(2.5f, 2.5f, 1, 0);
    EXPECT_TRUE(arenaStep(q, a.world, a.random));
    EXPECT_NEAR(q.x, 2.6f, 1e-6);
}

TEST(ArenaStep, CheeseIsDeliveredOnlyWithTheBodyInsideTheHomeCell) {
    const struct {
        int number;
        float x, y;
        bool delivers;
    } cases[] = {{1, 0.7f, 0.7f, true},
                 {1, 0.75f, 0.5f, false},
                 {2, 14.3f, 0.5f, true},
                 {2, 14.25f, 0.5f, false},
                 {1, 0.5f, 0.3f, true}};
    for (const auto& c : cases) {
        Arena fresh;
        Player& p = c.number == 1 ? fresh.player1 : fresh.player2;
        Item* piece = &fresh.world.items[92];
        piece->taken = c.number;
        p.carryingCheese = true;
        p.x = c.x;
        p.y = c.y;
        p.dirX = 0;
        p.dirY = -1; // toward the border: from y 0.3 the step itself is refused
        arenaStep(p, fresh.world, fresh.random);
        EXPECT_EQ(p.cheese, c.delivers ? 1 : 0) << c.x << ", " << c.y;
        EXPECT_EQ(p.points, c.delivers ? 10 : 0);
        EXPECT_EQ(p.carryingCheese, !c.delivers);
        EXPECT_EQ(piece->taken, c.delivers ? 3 : c.number);
    }
}

TEST(ArenaStep, HouseDoorsLeadIntoTheLabyrinth) {
    const float eye = 0.26f + 0.5f;
    const struct {
        float x, y, dx, dy;
        float toX, toY, headX, headY, stepX, stepY;
    } doors[] = {{7.5f, 8.6f, 0, 1, 104.5f, 100.5f, 0, 1, 0, -eye},
                 {7.5f, 10.4f, 0, -1, 104.5f, 108.5f, 0, -1, 0, eye},
                 {6.6f, 9.5f, 1, 0, 100.5f, 104.5f, 1, 0, -eye, 0},
                 {8.4f, 9.5f, -1, 0, 108.5f, 104.5f, -1, 0, eye, 0}};
    for (const auto& d : doors) {
        Arena a;
        Player& p = a.at(d.x, d.y, d.dx, d.dy);
        EXPECT_FALSE(arenaStep(p, a.world, a.random)) << d.x << ", " << d.y;
        EXPECT_FLOAT_EQ(p.x, d.toX);
        EXPECT_FLOAT_EQ(p.y, d.toY);
        EXPECT_FLOAT_EQ(p.dirX, d.headX);
        EXPECT_FLOAT_EQ(p.dirY, d.headY);
        EXPECT_FLOAT_EQ(p.stepX, d.stepX);
        EXPECT_FLOAT_EQ(p.stepY, d.stepY);
    }

    // Walking down from the approach cell: every step stays in the arena until the centre has
    // passed below the middle of the door cell; the next press goes through.
    Arena a;
    Player& p = a.at(7.5f, 11.5f, 0, -1);
    float before = p.y;
    int steps = 0;
    while (arenaStep(p, a.world, a.random)) {
        ASSERT_LT(++steps, 20);
        before = p.y;
    }
    EXPECT_TRUE(before > 10 && before < 10.5f) << before;
    EXPECT_FLOAT_EQ(p.x, 104.5f);
    EXPECT_FLOAT_EQ(p.y, 108.5f);

    // Beside the door the body would reach into the house: refused.
    EXPECT_FALSE(a.world.isPassable(7.2f, 10.5f, 0.26f));
    Player& q = a.at(7.2f, 11.0f, 0, -1);
    EXPECT_TRUE(arenaStep(q, a.world, a.random));
    EXPECT_GT(q.y, 11.0f);
}

TEST(ArenaStep, PickUpsTakeTheItemOnce) {
    Arena a;
    Player& p = a.at(2.5f, 2.95f, 0, 1);
    p.bombCapacity = 10;
    p.bombsReady = 10;
    Item* bombItem = a.putItem(0, 2, 3);
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_EQ(p.bombItems, 1);
    EXPECT_EQ(p.bombCapacity, 10);
    EXPECT_EQ(bombItem->taken, 1);
    EXPECT_FLOAT_EQ(bombItem->x, -1);
    EXPECT_EQ(a.world.cells[2][3].item, Cell::none);

    // Carrying cheese, a lying piece stays where it is.
    Item* piece = a.putItem(91, 2, 4);
    p.carryingCheese = true;
    p.y = 3.95f;
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_EQ(piece->taken, 0);
    EXPECT_EQ(a.world.itemIn(a.world.cells[2][4]), piece);

    p.carryingCheese = false;
    p.y = 3.95f;
    EXPECT_TRUE(arenaStep(p, a.world, a.random));
    EXPECT_TRUE(p.carryingCheese);
    EXPECT_EQ(piece->taken, 1);
    EXPECT_EQ(a.world.cells[2][4].item, Cell::none);
}

TEST(ArenaStep, TrapsSpringOnEntryAfterThePickUp) {
    Arena a;
    Item* trapItem = &a.world.items[46];
    trapItem->taken = 2;
    trapItem->x = trapItem->y = -1;
    a.world.placeTrap(3.5f, 2.5f);
    ASSERT_NE(a.world.cells[3][2].trap, Cell::none);
    const Trap* trap = &a.world.traps[a.world.cells[3][2].trap];
    Item* coin = a.putItem(60, 3, 2);

    Player& p = a.at(2.95f, 2.5f, 1, 0);
    EXPECT_FALSE(arenaStep(p, a.world, a.random));
    EXPECT_EQ(p.points, 1);
    EXPECT_EQ(coin->taken, 1);
    EXPECT_EQ(a.world.cells[3][2].trap, Cell::none);
    EXPECT_TRUE(trap->free);
    EXPECT_EQ(trapItem->taken, 0);
    EXPECT_EQ(a.lyingInArena(kindTrap), 1);
    EXPECT_FLOAT_EQ(p.stepX, 0);
    EXPECT_FLOAT_EQ(p.stepY, -2);
    EXPECT_LT(p.x, 100);
    const Cell& landing = a.world.cells[int(p.x)][int(p.y)];
    EXPECT_TRUE(landing.open());
    EXPECT_TRUE(landing.trap == Cell::none && landing.wall == Cell::none &&
                landing.bomb == Cell::none);

    // Between two trap cells, and out of the one a player stands on, nothing springs.
    a.world.placeTrap(5.5f, 2.5f);
    a.world.placeTrap(6.5f, 2.5f);
    Player& q = a.at(5.95f, 2.5f, 1, 0);
    EXPECT_TRUE(arenaStep(q, a.world, a.random));
    EXPECT_NE(a.world.cells[6][2].trap, Cell::none);
    Player& r = a.at(6.95f, 2.5f, 1, 0);
    EXPECT_TRUE(arenaStep(r, a.world, a.random));
    EXPECT_NE(a.world.cells[6][2].trap, Cell::none);
}

TEST(ArenaStep, TeleportLandsOnlyOnFreeWalkableCells) {
    Arena a;
    // Crowd the arena so that many draws are refused.
    Bomb bomb;
    for (int c = 0; c < 15; ++c) {
        for (int r = 0; r < 15; ++r) {
            if ((c + r) % 3 == 0)
                a.world.cells[c][r].hasObstacle = true;
            else if ((c + r) % 3 == 1 && c < 7)
                a.world.cells[c][r].bomb = 0;
        }
    }
    for (int i = 0; i < 7; ++i)
        a.world.placeWall(8.5f + i, 1.5f + i % 2 * 3);
    for (int i = 0; i < 7; ++i)
        a.world.placeTrap(8.5f + i, 5.5f);
    Player& p = a.player1;
    for (int i = 0; i < 200; ++i) {
        const RandomGenerator copy = a.random;
        teleportToRandomCell(p, a.world, a.random);
        a.expectTeleportLanding(copy, p);
        const int c = int(p.x), r = int(p.y);
        ASSERT_FALSE(a.world.isHouseDoor(c, r));
        ASSERT_TRUE(a.world.cells[c][r].open());
    }
}
