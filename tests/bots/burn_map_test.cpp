// When the arena's cells will burn, as a watcher reckons it: two blasts on one cell with a gap
// between, a bomb set off by another's flames, flames stopped by an obstacle, and a new bomb of
// the other player's taken in only after a reaction time.
#include "bots/BotArena.h"
#include "bots/BurnMap.h"
#include "rules/RoundTick.h"
#include <gtest/gtest.h>

TEST_F(BotArena, SeesTheGapBetweenTwoBlastsOnACell) {
    // Bombs at (4, 0) (reach 2, due in 0.6 s) and (8, 0) (reach 3, due in 2.6 s) both reach
    // (6, 0): it burns 0.6 to 1.1 s and 2.6 to 3.1 s from now, and can be crossed in between.
    round.player1.bombCapacity = round.player1.bombsReady = 2;
    round.player1.bombs[1].reach = 3;
    bomb(1, 4, 0, 600);
    bomb(1, 8, 0, 2600);
    const BurnMap fire = burnMap(round);
    const float now = tickTime(round.ticks);
    EXPECT_TRUE(fire.burnsDuring(6, 0, now + 700, now + 800));
    EXPECT_FALSE(fire.burnsDuring(6, 0, now + 1200, now + 2500)) << "the gap";
    EXPECT_TRUE(fire.burnsDuring(6, 0, now + 2700, now + 2800));
    EXPECT_FALSE(fire.burnsDuring(7, 0, now + 700, now + 2500)) << "beyond the first blast";
    EXPECT_FALSE(fire.clearFrom(6, 0, now + 2000));
}

TEST_F(BotArena, ABlastSetsOffTheBombsInItsFlamesATickLaterAndStopsAtAnObstacle) {
    // (2, 0) goes off in 0.6 s, its flames reach (4, 0), whose own fuse has 3 s left: it goes
    // off a tick after the first, so (6, 0), reached only by the second, burns from about
    // 0.62 s to 1.12 s and never at 3 s. Down column 2 the first flame stops at the obstacle on
    // (2, 1), which burns; (2, 2) behind it does not.
    round.player1.bombCapacity = round.player1.bombsReady = 2;
    obstacle(2, 1);
    bomb(1, 2, 0, 600);
    bomb(1, 4, 0, 3000);
    const BurnMap fire = burnMap(round);
    const float now = tickTime(round.ticks);
    EXPECT_FALSE(fire.burnsDuring(6, 0, now, now + 600)) << "not before the first blast";
    EXPECT_TRUE(fire.burnsDuring(6, 0, now + 700, now + 1000)) << "set off with the first";
    EXPECT_TRUE(fire.clearFrom(6, 0, now + 1200)) << "and out long before its own fuse";
    EXPECT_TRUE(fire.burnsDuring(2, 1, now + 700, now + 800)) << "the obstacle burns";
    EXPECT_TRUE(fire.clearFrom(2, 2, now)) << "behind the obstacle";
    EXPECT_TRUE(fire.clearFrom(7, 0, now)) << "beyond the second bomb's reach of 2";
}

TEST_F(BotArena, ANewBombOfTheOtherPlayerIsSeenOnlyAfterTheReactionTime) {
    // Player 2 lays a bomb at (10, 0) now: a watcher that has taken in what happened until
    // 0.3 s ago does not know of it yet; one that has taken in everything until now does. One
    // of its own it always knows.
    bomb(2, 10, 0, tuning::fuseMs);
    const float now = tickTime(round.ticks);
    EXPECT_TRUE(burnMap(round, nullptr, 2, now - 300).clearFrom(11, 0, now));
    EXPECT_FALSE(burnMap(round, nullptr, 2, now).clearFrom(11, 0, now));
    EXPECT_FALSE(burnMap(round, nullptr, 1, now - 300).clearFrom(11, 0, now));
}
