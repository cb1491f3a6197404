// Many rounds of random keys without a display: the steps the draws advance (feet, bombs,
// creatures, burning cells, snow) run as the frame would run them, and the world's bookkeeping
// is checked after every frame.
#include "app/Game.h"
#include "support/Bookkeeping.h"
#include "support/RoundDriver.h"
#include <gtest/gtest.h>

TEST(HeadlessSoak, RandomKeysKeepTheBookkeepingOverManyRounds) {
    const struct {
        uint32_t seed;
        float stepMs;
    } rounds[] = {{1, 100}, {2, 60}, {77, 250}, {31337, 40}};
    for (const auto& r : rounds) {
        Game game(r.seed, false);
        setUpWorld(game);
        RoundDriver driver(game, r.stepMs);
        RandomKeys random(r.seed * 7919u + 1);
        int frames = 0;
        while (!game.roundOver && frames < 20000) {
            driver.headlessFrame(random.next());
            ++frames;
            const std::vector<std::string> faults = bookkeepingFaults(game);
            ASSERT_TRUE(faults.empty())
                << "seed " << r.seed << " frame " << frames << ": " << faults.front();
        }
        EXPECT_TRUE(game.roundOver) << "seed " << r.seed;
        const RoundEvents& e = driver.events();
        EXPECT_GT(e.bombsDropped, 0) << "seed " << r.seed;
        EXPECT_GT(e.framesWithBlast, 0) << "seed " << r.seed;
    }
}

// Scripted players in a headless round: they clear the arena, lay what they pick up, fetch
// cheese from the labyrinth and bring it home, and the bookkeeping holds throughout.
TEST(HeadlessSoak, ScriptedPlayersDeliverCheeseWithoutLosingAnything) {
    Game game(5150, false);
    setUpWorld(game);
    RoundDriver driver(game, 100);
    PlayerBot bot1(game, 1), bot2(game, 2);
    bot1.labyrinthFrom = 30000;
    bot2.labyrinthFrom = 90000;
    // Walls could shut a player out of its own corner for the rest of the round.
    bot1.layWalls = bot2.layWalls = false;
    while (!game.roundOver) {
        KeyState keys;
        bot1.decide(keys);
        bot2.decide(keys);
        driver.headlessFrame(keys);
        const std::vector<std::string> faults = bookkeepingFaults(game);
        ASSERT_TRUE(faults.empty()) << driver.now() << " ms: " << faults.front();
    }
    const RoundEvents& e = driver.events();
    EXPECT_GT(e.obstaclesDestroyed, 5);
    EXPECT_GE(e.cheeseDelivered, 1);
    EXPECT_EQ(game.player1.cheese + game.player2.cheese, e.cheeseDelivered);
}
