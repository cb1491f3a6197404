// The path search of a computer player, on a bare arena (pillars on the cells of odd column and
// odd row): a way out of a blast sideways and back only once it is out, a bomb about to be laid,
// traps as ends of a way, and cells kept from a creature for the first cells of the way.
#include "bots/BotArena.h"
#include "bots/PathSearch.h"
#include "rules/RoundTick.h"
#include <gtest/gtest.h>

namespace {
// A fresh player's walk: a step of 0.1 cell a tick, 166.7 ms a cell, with no margin kept.
const Pace freshWalk{static_cast<float>(tickMs) / tuning::freshStepLength, 0, 40};
constexpr int8_t plusX = 0, plusY = 2;
} // namespace

TEST_F(BotArena, SearchLeavesABlastSidewaysAndComesBackOnlyOnceItIsOut) {
    // From (0, 0), a bomb at (2, 0) of reach 2 due in 0.45 s burns row 0 from column 0 to 4
    // and column 2 down to row 2, until 0.95 s from now. (0, 1) is out of it, a step away.
    place(1, 0.5f, 0.5f);
    bomb(1, 2, 0, 450);
    Reach reach;
    searchReach(round, burnMap(round), nullptr, 0, 0, freshWalk, reach);
    EXPECT_EQ(reach.safeLayer[0][1], 1);
    EXPECT_EQ(reach.safeMove[0][1], plusY);
    EXPECT_EQ(reach.layer[1][0], 1) << "a step into the blast, long before it goes off";
    // Out at 0.95 s, 5.7 cells' walk; a cell is passed from 0.6 of a walk before its layer.
    EXPECT_GE(reach.safeLayer[1][0], 7);
    EXPECT_EQ(reach.layer[2][0], -1) << "a bomb's cell cannot be walked into";
}

TEST_F(BotArena, ABombAboutToBeLaidShutsItsCellButLeavesAWayOutOfItsOwn) {
    place(1, 0.5f, 0.5f);
    const float now = tickTime(round.ticks);
    Reach reach;
    const PlannedBomb ahead{0, 1, 2, now + tuning::fuseMs};
    searchReach(round, burnMap(round, &ahead), nullptr, 0, 0, freshWalk, reach, &ahead);
    EXPECT_EQ(reach.layer[0][1], -1);
    EXPECT_EQ(reach.layer[1][0], 1);
    // Laid where it stands: row 0 and column 0 burn to 2 cells; (2, 1) is the nearest cell out
    // of the flames, three steps on by (1, 0) and (2, 0).
    const PlannedBomb here{0, 0, 2, now + tuning::fuseMs};
    searchReach(round, burnMap(round, &here), nullptr, 0, 0, freshWalk, reach, &here);
    EXPECT_EQ(reach.layer[0][0], 0);
    EXPECT_EQ(reach.safeLayer[2][1], 3);
    EXPECT_EQ(reach.safeMove[2][1], plusX);
    // Its flames are out 4 s from now, 24 cells' walk.
    for (int x = 0; x <= 2; ++x)
        EXPECT_GE(reach.safeLayer[x][0], 25) << x;
}

TEST_F(BotArena, ATrapCanBeWalkedIntoButNotThrough) {
    // (0, 2) is two steps from (0, 0) through (0, 1), six round the pillar at (1, 1).
    place(1, 0.5f, 0.5f);
    Reach reach;
    searchReach(round, burnMap(round), nullptr, 0, 0, freshWalk, reach);
    EXPECT_EQ(reach.layer[0][2], 2);
    round.world.placeTrap(0.5f, 1.5f);
    searchReach(round, burnMap(round), nullptr, 0, 0, freshWalk, reach);
    EXPECT_EQ(reach.layer[0][1], 1);
    EXPECT_EQ(reach.layer[0][2], 6);
}

TEST_F(BotArena, CellsKeptFromACreatureAreShutForTheFirstThreeCellsOfTheWay) {
    // (2, 0) is two steps from (0, 0); kept from a creature it is entered at the fourth step
    // at the soonest, and the cells beyond it are not held up by more than that.
    place(1, 0.5f, 0.5f);
    CreatureMap creatures;
    creatures.near[2][0] = true;
    Reach reach;
    searchReach(round, burnMap(round), nullptr, 0, 0, freshWalk, reach);
    EXPECT_EQ(reach.layer[2][0], 2);
    EXPECT_EQ(reach.layer[4][0], 4);
    searchReach(round, burnMap(round), &creatures, 0, 0, freshWalk, reach);
    EXPECT_EQ(reach.layer[1][0], 1);
    EXPECT_EQ(reach.layer[2][0], 4);
    EXPECT_EQ(reach.layer[4][0], 6);
}
