// One whole six-minute round played by two scripted players through the real tick, with the
// world's bookkeeping checked after every tick.
//
// Played by the keys alone: walking, bombing obstacles and fleeing the blasts, collecting what
// they leave (coins, bonuses, walls and traps), laying walls and traps, the way into the
// labyrinth, the walk to a piece of cheese and out again, and the delivery at home. The players
// decide anew every tick, and the seasons, the snowfall and the end at 0:00 come on time.
//
// Put in place by the test rather than played: a player still shut out of the labyrinth door
// 15 s after it meant to go is set down in front of it (the count is printed), and should no
// creature have caught anyone by 4:30 played, one is moved onto player 2. Everything that
// follows (the catch, the walk home, the points) is the game's own doing.
#include "app/Game.h"
#include "render/GlState.h"
#include "render/Hud.h"
#include "support/Bookkeeping.h"
#include "support/GlContext.h"
#include "support/GameFrame.h"
#include "support/RoundDriver.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {
constexpr uint32_t roundSeed = 20240607;
// A frame is drawn every 1.2 s of game time, so the round fits in a couple of minutes of the
// software renderer; drawing changes nothing, so how often it happens does not matter to play.
constexpr int drawEvery = 72;

// Where the round's pictures go: TUVO_SCREENSHOTS names a folder (the README's pictures are
// made with docs/screenshots); by default a folder in the build directory.
std::string screenshotFolder() {
    const char* chosen = std::getenv("TUVO_SCREENSHOTS");
    std::string folder = chosen && *chosen ? chosen : "screenshots";
    std::filesystem::create_directories(folder);
    return folder;
}

const char* expectedResult(int points1, int points2) {
    if (points1 > points2)
        return "PLAYER 1 WINS!!";
    if (points2 > points1)
        return "PLAYER 2 WINS!!";
    return "  ROUND DRAW!";
}

// The points each player should have, kept from what the frames show: a coin is one point, a
// delivered piece of cheese ten, and being sent home costs five but never goes below zero.
struct PointsModel {
    int points[3] = {};
    int coins[3] = {};
    int cheese[3] = {};

    static int coinsHeld(Game& g, int n) {
        int held = 0;
        for (const Item& item : g.round.world.items)
            held += item.type == kindCoin && item.taken == n;
        return held;
    }
    void after(Game& g, const bool wasRequested[2]) {
        for (int n = 1; n <= 2; ++n) {
            const int c = coinsHeld(g, n);
            points[n] += (c - coins[n]) + 10 * (g.round.player(n).cheese - cheese[n]);
            coins[n] = c;
            cheese[n] = g.round.player(n).cheese;
            // A hit is served in a later tick, after that tick's keys.
            if (wasRequested[n - 1] && !g.round.world.respawnRequest[n - 1])
                points[n] = std::max(0, points[n] - 5);
        }
    }
};

struct Shots {
    std::string folder = screenshotFolder();
    bool start = false, blast = false, labyrinth = false, winter = false;
    void take(const char* name) {
        const GlContext& gl = glContext();
        EXPECT_TRUE(saveScreenshot(folder + "/round-" + name + ".png", gl.width, gl.height))
            << name;
    }
};
} // namespace

TEST(PlayThrough, AWholeRoundKeepsItsBookkeepingAndEndsWithTheRightResult) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    GlContext& gl = glContext();
    setInitialGlState(gl.width, gl.height);
    Game game(roundSeed, true);
    runSetUp(game);
    RoundDriver driver(game.round);
    PlayerBot bot1(game.round, 1), bot2(game.round, 2);
    bot1.labyrinthFrom = 45000;
    bot2.labyrinthFrom = 120000;
    PointsModel model;
    Shots shots;
    int deliveredBy[3] = {};
    bool forcedCatch = false;
    bool sawEndFrame = false;
    int frameNumber = 0;

    while (driver.now() < 360000) {
        KeyState keys;
        bot1.decide(keys);
        bot2.decide(keys);
        const bool requested[2] = {game.round.world.respawnRequest[0],
                                   game.round.world.respawnRequest[1]};
        const bool drawn = ++frameNumber % drawEvery == 0;
        driver.tick(keys);
        if (drawn)
            drawFrame(game);
        model.after(game, requested);

        const std::vector<std::string> faults = bookkeepingFaults(game.round);
        ASSERT_TRUE(faults.empty())
            << "at " << driver.now() << " ms: " << faults.front() << " (player 1 " << bot1.doing
            << ", player 2 " << bot2.doing << ")";

        // Each player goes back for more cheese a while after delivering a piece.
        for (int n = 1; n <= 2; ++n)
            if (game.round.player(n).cheese > deliveredBy[n]) {
                deliveredBy[n] = game.round.player(n).cheese;
                (n == 1 ? bot1 : bot2).labyrinthFrom = driver.now() + 60000;
            }

        // The creatures roam at random; should none have caught a player by 4:30 played, one
        // is put in player 2's way.
        if (!forcedCatch && driver.now() >= 270000 && driver.events().sentHomeByCreature == 0) {
            for (int c = 1; c <= 4; ++c) {
                Creature& cr = game.round.creature(c);
                if (game.round.world.creatureHit[c - 1] || game.round.world.freeRoam[1])
                    continue;
                cr.x = game.round.player2.x;
                cr.y = game.round.player2.y;
                forcedCatch = true;
                break;
            }
        }

        if (drawn && !shots.start && driver.now() >= 1000) {
            shots.start = true;
            shots.take("start");
        }
        if (drawn && !shots.blast && driver.now() >= 10000 &&
            game.round.world.blastCellCount >= 5) {
            shots.blast = true;
            shots.take("blast");
        }
        if (drawn && !shots.labyrinth && game.round.world.freeRoam[0] &&
            game.round.player1.carryingCheese) {
            shots.labyrinth = true;
            shots.take("labyrinth");
        }
        if (drawn && !shots.winter && driver.now() >= 234000) {
            shots.winter = true;
            EXPECT_TRUE(game.round.particles.snowVisible(game.round.seasonPhase));
            shots.take("winter");
        }
        // The clock reads 0:01 up to 359 s; the first tick after it reads 0:00 and ends the
        // round.
        if (driver.now() <= 359000)
            ASSERT_FALSE(game.round.roundOver) << "over early at " << driver.now();
        else if (!sawEndFrame) {
            sawEndFrame = true;
            EXPECT_TRUE(game.round.roundOver) << "not over at " << driver.now();
        }
    }
    ASSERT_TRUE(game.round.roundOver);
    shots.take("result");

    // Keys do nothing once the round is over.
    const float x1 = game.round.player1.x, y1 = game.round.player1.y;
    for (int i = 0; i < 10; ++i) {
        KeyState keys;
        keys.player[0][i % 2 == 0 ? keyForward : keyLeft] = true;
        keys.player[0][keyBomb] = true;
        driver.tick(keys);
        drawFrame(game);
    }
    EXPECT_EQ(game.round.player1.x, x1);
    EXPECT_EQ(game.round.player1.y, y1);

    const RoundEvents& e = driver.events();
    EXPECT_GT(e.bombsDropped, 5);
    EXPECT_GT(e.obstaclesDestroyed, 5);
    EXPECT_GT(e.pickups[kindCoin], 0);
    EXPECT_GT(e.pickups[kindBomb] + e.pickups[kindFire] + e.pickups[kindSpeed], 0);
    EXPECT_GT(e.wallsLaid + e.trapsLaid, 0);
    EXPECT_GE(e.labyrinthEntries, 2);
    EXPECT_GE(e.cheeseTaken, 2);
    EXPECT_GE(e.cheeseDelivered, 2);
    EXPECT_GT(e.sentHomeByBlast + e.sentHomeByCreature, 0);
    EXPECT_GT(e.sentHomeByCreature, 0);
    EXPECT_GT(e.ticksWithSnow, 0);
    EXPECT_GT(e.ticksWithBlast, 0);
    EXPECT_EQ(game.round.player1.cheese + game.round.player2.cheese, e.cheeseDelivered);

    EXPECT_EQ(game.round.player1.points, model.points[1]);
    EXPECT_EQ(game.round.player2.points, model.points[2]);
    EXPECT_STREQ(resultText(game.round.player1.points, game.round.player2.points),
                 expectedResult(model.points[1], model.points[2]));

    std::printf("round: p1 %d points %d cheese, p2 %d points %d cheese; bombs %d, obstacles %d, "
                "coins %d, walls %d, traps %d laid %d sprung, home by blast %d by creature %d%s, "
                "labyrinth %d, snow ticks %d\n",
                game.round.player1.points, game.round.player1.cheese, game.round.player2.points,
                game.round.player2.cheese, e.bombsDropped, e.obstaclesDestroyed,
                e.pickups[kindCoin], e.wallsLaid, e.trapsLaid, e.trapsSprung, e.sentHomeByBlast,
                e.sentHomeByCreature, forcedCatch ? " (one forced)" : "", e.labyrinthEntries,
                e.ticksWithSnow);
    std::printf("put at the door: player 1 %d times, player 2 %d times\n", bot1.putAtDoor,
                bot2.putAtDoor);
}
