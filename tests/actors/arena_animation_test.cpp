#include "actors/ArenaAnimation.h"
#include "world/MazeWorld.h"
#include <gtest/gtest.h>

TEST(ItemSpin, EachDrawTurnsTenDegreesAndWrapsAtAFullTurn) {
    Item item;
    ASSERT_EQ(item.spin, 0);
    advanceItemSpin(item);
    EXPECT_EQ(item.spin, 10);
    for (int draw = 2; draw <= 35; ++draw)
        advanceItemSpin(item);
    EXPECT_EQ(item.spin, 350);
    advanceItemSpin(item);
    EXPECT_EQ(item.spin, 0);

    Item odd;
    odd.spin = 355;
    advanceItemSpin(odd);
    EXPECT_EQ(odd.spin, 5);
}
