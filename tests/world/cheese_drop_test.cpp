#include "world/TestWorld.h"
#include <gtest/gtest.h>

namespace {

class CheeseDrop : public ::testing::Test {
  protected:
    CheeseDrop() : t(31) { t.clearArena(); }
    TestWorld t;
    MazeWorld& w = t.world;
    Item* cheese(int entry) { return &w.items[entry]; }
};

} // namespace

TEST_F(CheeseDrop, DoorCellsSendThePieceToTheirApproachCell) {
    struct Case {
        float x, y;
        int cellX, cellY;
    };
    const Case cases[] = {
        {7.5f, 8.6f, 7, 7}, {7.4f, 10.2f, 7, 11}, {6.8f, 9.5f, 5, 9}, {8.3f, 9.1f, 9, 9}};
    for (const Case& c : cases) {
        cheese(92)->taken = 2;
        w.dropCheese(c.x, c.y, 2, t.random);
        EXPECT_EQ(cheese(92)->taken, 0);
        EXPECT_EQ(cheese(92)->x, c.cellX + 0.5f);
        EXPECT_EQ(cheese(92)->y, c.cellY + 0.5f);
        EXPECT_EQ(w.itemIn(w.cell(c.cellX, c.cellY)), cheese(92));
        EXPECT_EQ(w.itemTypeAt(c.cellX + 0.5f, c.cellY + 0.5f), kindCheese);
        // The next player to step in picks it up like any item.
        w.takeItem(c.cellX + 0.5f, c.cellY + 0.5f, 1);
        EXPECT_EQ(cheese(92)->taken, 1);
        cheese(92)->taken = 0;
    }
}

TEST_F(CheeseDrop, AnyOtherFreeCellTakesThePieceAtItsCentre) {
    cheese(90)->taken = 3;
    cheese(91)->taken = 1;
    RandomGenerator before = t.random;
    w.dropCheese(3.9f, 6.2f, 1, t.random);
    EXPECT_EQ(cheese(91)->x, 3.5f);
    EXPECT_EQ(cheese(91)->y, 6.5f);
    EXPECT_EQ(cheese(91)->taken, 0);
    EXPECT_EQ(w.itemIn(w.cell(3, 6)), cheese(91));
    EXPECT_TRUE(sameGeneratorState(before, t.random));
    EXPECT_EQ(cheese(90)->taken, 3) << "a delivered piece is not the carried one";
}

TEST_F(CheeseDrop, OccupiedCellSendsThePieceBackIntoTheLabyrinth) {
    Item& coin = w.items[60];
    coin = Item{};
    coin.type = kindCoin;
    w.cell(4, 2).item = 60;
    for (int round = 0; round < 200; ++round) {
        cheese(94)->taken = 1;
        w.dropCheese(4.5f, 2.5f, 1, t.random);
        EXPECT_EQ(w.itemIn(w.cell(4, 2)), &coin);
        EXPECT_EQ(cheese(94)->taken, 0);
        float x = cheese(94)->x, y = cheese(94)->y;
        EXPECT_GE(x, 100.5f);
        EXPECT_LE(x, 108.5f);
        EXPECT_GE(y, 100.5f);
        EXPECT_LE(y, 108.5f);
        EXPECT_EQ(x - static_cast<int>(x), 0.5f);
        for (int lower = 90; lower < 94; ++lower)
            EXPECT_FALSE(cheese(lower)->x == x && cheese(lower)->y == y)
                << "landed on piece " << lower;
        // It lies alone in its cell, so the labyrinth step finds it there.
        EXPECT_TRUE(w.takeCheese(x, y, 2));
        EXPECT_EQ(cheese(94)->taken, 2);
    }
}

TEST_F(CheeseDrop, NowhereToLieInTheArenaMeansTheLabyrinth) {
    // A pillar cell and a labyrinth position have no arena cell to hold the piece.
    cheese(90)->taken = 2;
    w.dropCheese(1.5f, 1.5f, 2, t.random);
    EXPECT_EQ(w.cell(1, 1).item, Cell::none);
    EXPECT_GE(cheese(90)->x, 100.5f);
    EXPECT_EQ(cheese(90)->taken, 0);

    cheese(90)->taken = 2;
    w.dropCheese(104.5f, 103.5f, 2, t.random);
    EXPECT_GE(cheese(90)->x, 100.5f);
    EXPECT_EQ(cheese(90)->taken, 0);
}

TEST_F(CheeseDrop, DeliveredOrUncarriedCheeseNeverMoves) {
    for (int i = 90; i < 95; ++i)
        cheese(i)->taken = 3;
    float x = cheese(90)->x, y = cheese(90)->y;
    RandomGenerator before = t.random;
    w.dropCheese(3.5f, 3.5f, 1, t.random);
    w.dropCheese(3.5f, 3.5f, 3, t.random);
    EXPECT_EQ(cheese(90)->x, x);
    EXPECT_EQ(cheese(90)->y, y);
    EXPECT_EQ(cheese(90)->taken, 3);
    EXPECT_EQ(w.cell(3, 3).item, Cell::none);
    EXPECT_TRUE(sameGeneratorState(before, t.random));
}

TEST_F(CheeseDrop, TakeCheeseWantsTheExactCellCentre) {
    cheese(90)->x = 104.5f;
    cheese(90)->y = 102.5f;
    cheese(93)->x = 104.5f;
    cheese(93)->y = 102.5f;
    EXPECT_FALSE(w.takeCheese(104.5f, 103.0f, 1));
    EXPECT_FALSE(w.takeCheese(103.99f, 102.5f, 1));
    // Anywhere in the cell finds the piece at its centre, the lowest entry first.
    EXPECT_TRUE(w.takeCheese(104.05f, 102.95f, 1));
    EXPECT_EQ(cheese(90)->taken, 1);
    EXPECT_EQ(cheese(93)->taken, 0);
    EXPECT_TRUE(w.takeCheese(104.9f, 102.1f, 2));
    EXPECT_EQ(cheese(93)->taken, 2);
    EXPECT_FALSE(w.takeCheese(104.5f, 102.5f, 1));

    // A piece off the centre (never made by the game) is not found.
    cheese(91)->x = 105.25f;
    cheese(91)->y = 105.5f;
    EXPECT_FALSE(w.takeCheese(105.25f, 105.5f, 1));
}
