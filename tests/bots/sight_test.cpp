// What a computer player reads of the creatures: the cells they stand in, those within its
// berth of them, and the cells ahead of one as far as it runs, stopped by what stands there.
#include "bots/BotArena.h"
#include "bots/Sight.h"
#include <gtest/gtest.h>

namespace {
struct CreatureSight : BotArena {
    // Creature 1 on the centre of (4, 4), running along +x.
    void SetUp() override {
        BotArena::SetUp();
        round.world.creatureHit[0] = false;
        Creature& c = round.creature(1);
        c.x = c.y = 4.5f;
        c.dirX = 1;
        c.dirY = 0;
    }
};
} // namespace

TEST_F(CreatureSight, CellsAroundACreatureAndAheadOfIt) {
    const CreatureMap wide = creaturesAbout(round, 1);
    EXPECT_TRUE(wide.cell[4][4]);
    for (auto [x, y] : {std::pair{4, 4}, {3, 4}, {5, 4}, {4, 3}, {4, 5}, {6, 4}, {7, 4}})
        EXPECT_TRUE(wide.near[x][y]) << x << ", " << y;
    for (auto [x, y] : {std::pair{8, 4}, {3, 3}, {4, 6}, {2, 4}})
        EXPECT_FALSE(wide.near[x][y]) << x << ", " << y;

    const CreatureMap close = creaturesAbout(round, 0);
    EXPECT_FALSE(close.near[3][4]) << "no berth";
    EXPECT_TRUE(close.near[7][4]) << "but still the cells it runs into";

    round.world.placeWall(6.5f, 4.5f);
    const CreatureMap walled = creaturesAbout(round, 0);
    EXPECT_TRUE(walled.near[5][4]);
    EXPECT_FALSE(walled.near[6][4]) << "it cannot run through a wall";
    EXPECT_FALSE(walled.near[7][4]);

    round.world.creatureHit[0] = true;
    const CreatureMap gone = creaturesAbout(round, 2);
    EXPECT_FALSE(gone.cell[4][4]) << "a creature blasted away is no more";
    EXPECT_FALSE(gone.near[4][4]);
}
