// Many rounds of random keys without a display, through the real tick, with the world's
// bookkeeping checked after every tick.
#include "app/Game.h"
#include "rules/RoundTick.h"
#include "support/Bookkeeping.h"
#include "support/RoundDriver.h"
#include <gtest/gtest.h>

TEST(HeadlessSoak, RandomKeysKeepTheBookkeepingOverManyRounds) {
    // Keys change every few ticks: from a quick tapper to one who holds keys down.
    const struct {
        uint32_t seed;
        int ticksPerKeys;
    } rounds[] = {{1, 6}, {2, 4}, {77, 15}, {31337, 2}};
    for (const auto& r : rounds) {
        Game game(r.seed, false);
        setUpWorld(game);
        RoundDriver driver(game.round);
        RandomKeys random(r.seed * 7919u + 1);
        KeyState keys;
        uint32_t ticks = 0;
        while (!game.round.roundOver && ticks < ticksPerRound + 10) {
            if (ticks % r.ticksPerKeys == 0)
                keys = random.next();
            driver.tick(keys);
            ++ticks;
            const std::vector<std::string> faults = bookkeepingFaults(game.round);
            ASSERT_TRUE(faults.empty())
                << "seed " << r.seed << " tick " << ticks << ": " << faults.front();
        }
        EXPECT_TRUE(game.round.roundOver) << "seed " << r.seed;
        const RoundEvents& e = driver.events();
        EXPECT_GT(e.bombsDropped, 0) << "seed " << r.seed;
        EXPECT_GT(e.ticksWithBlast, 0) << "seed " << r.seed;
    }
}

// Scripted players in a headless round: they clear the arena, lay what they pick up, fetch
// cheese from the labyrinth and bring it home, and the bookkeeping holds throughout.
TEST(HeadlessSoak, ScriptedPlayersDeliverCheeseWithoutLosingAnything) {
    Game game(5150, false);
    setUpWorld(game);
    RoundDriver driver(game.round);
    PlayerBot bot1(game.round, 1), bot2(game.round, 2);
    bot1.labyrinthFrom = 30000;
    bot2.labyrinthFrom = 90000;
    // Walls could shut a player out of its own corner for the rest of the round.
    bot1.layWalls = bot2.layWalls = false;
    while (!game.round.roundOver) {
        KeyState keys;
        bot1.decide(keys);
        bot2.decide(keys);
        driver.tick(keys);
        const std::vector<std::string> faults = bookkeepingFaults(game.round);
        ASSERT_TRUE(faults.empty()) << driver.now() << " ms: " << faults.front();
    }
    const RoundEvents& e = driver.events();
    EXPECT_GT(e.obstaclesDestroyed, 5);
    EXPECT_GE(e.cheeseDelivered, 1);
    EXPECT_EQ(game.round.player1.cheese + game.round.player2.cheese, e.cheeseDelivered);
}
