// Another round in the same window: the world made again is exactly a fresh start's with that
// seed, twenty times over, and the memory in use stays level (under the sanitizers, the leak
// check sees every allocation).
#include "app/Game.h"
#include "rules/RoundTick.h"
#include "rules/WorldHash.h"
#include "support/RoundDriver.h"
#include <gtest/gtest.h>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
constexpr bool countingAllocator = false; // the sanitizer keeps its own books
#else
constexpr bool countingAllocator = true;
#endif

TEST(NewRound, EachRoundIsAFreshStartAndNothingIsLeftBehind) {
    Game game(1001, false);
    setUpWorld(game);
    game.gameRunning = true;
    size_t inUseAfterFirst = 0;
    for (uint32_t round = 0; round < 20; ++round) {
        // Play a while: bombs, blasts, items and creatures leave their traces everywhere.
        RandomKeys keys(round + 5);
        for (int t = 0; t < 1200; ++t)
            tickRound(game.round, keys.next());

        const uint32_t seed = 7000 + round;
        startNewRound(game, seed);
        {
            Game fresh(seed, false);
            setUpWorld(fresh);
            fresh.gameRunning = true;
            ASSERT_EQ(hashWorld(game.round), hashWorld(fresh.round)) << "round " << round;
            EXPECT_FALSE(game.round.roundOver);
            EXPECT_EQ(game.round.gameTime, 0);
            EXPECT_EQ(game.round.player1.points + game.round.player2.points, 0);
            // And they play on alike.
            for (int t = 0; t < 300; ++t) {
                tickRound(game.round, KeyState{});
                tickRound(fresh.round, KeyState{});
            }
            ASSERT_EQ(hashWorld(game.round), hashWorld(fresh.round)) << "round " << round;
        }
        if (round == 1)
            inUseAfterFirst = mallinfo2().uordblks;
    }
    // A round's world is some hundred kilobytes: one left behind each time would show here.
    if (countingAllocator) {
        EXPECT_LT(mallinfo2().uordblks, inUseAfterFirst + 64 * 1024);
    }
}
