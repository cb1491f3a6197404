// What the tick tells of a round: each thing that happened once, by the player it happened to,
// in agreement with what the round's state keeps of it.
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "support/RoundDriver.h"
#include <gtest/gtest.h>
#include <map>

namespace {
int told(const RoundState& round, RoundEvent::Kind kind, int player = -1) {
    int n = 0;
    for (const RoundEvent& e : round.events())
        n += e.kind == kind && (player < 0 || e.player == player);
    return n;
}

// A round with its obstacles cleared and the creatures out of play, the clock past the grace.
struct QuietRound : testing::Test {
    RoundState round{9090};
    void SetUp() override {
        setUpRound(round);
        for (auto& column : round.world.cells)
            for (Cell& c : column)
                if (c.obstacle != Cell::none) {
                    round.world.obstacles[c.obstacle].destroyed = true;
                    c.obstacle = Cell::none;
                    c.hasObstacle = false;
                    c.item = Cell::none;
                }
        for (bool& hit : round.world.creatureHit)
            hit = true;
    }
    void tick(const KeyState& keys = {}) { tickRound(round, keys); }
};
} // namespace

TEST_F(QuietRound, LayingTellsWhoLaidWhatWhereAndATickForgetsTheLastOnesEvents) {
    round.player1.wallItems = 1;
    round.player2.trapItems = 1;
    KeyState keys;
    keys.player[0][keyBomb] = true;
    keys.player[0][keyWall] = true; // the keys in their order: the wall before the bomb
    keys.player[1][keyTrap] = true;
    tick(keys);
    ASSERT_EQ(round.events().size(), 3u);
    EXPECT_EQ(round.events()[0], RoundEvent::of(RoundEvent::wallLaid, 1, 0, 0));
    EXPECT_EQ(round.events()[1], RoundEvent::of(RoundEvent::bombLaid, 1, 0, 0));
    EXPECT_EQ(round.events()[2], RoundEvent::of(RoundEvent::trapLaid, 2, 14, 0));

    // Held on, nothing more is laid and nothing more is told.
    tick(keys);
    EXPECT_TRUE(round.events().empty());

    // A wall with one block left in the pool, and one more with the pool's blocks all laid.
    round.player1.x = 4.5f;
    round.player1.wallItems = 2;
    for (int i = 2; i < MazeWorld::poolSize; ++i)
        ASSERT_TRUE(round.world.placeWall(2.5f + 2 * i, 14.5f));
    KeyState wall;
    wall.player[0][keyWall] = true;
    tick(wall);
    EXPECT_EQ(told(round, RoundEvent::wallLaid, 1), 1);
    round.player1.x = 6.5f;
    tick(wall);
    EXPECT_EQ(told(round, RoundEvent::wallLaid), 0) << "the pool is empty";
}

TEST_F(QuietRound, ABlastTellsItselfOnceAndWhoItSentHome) {
    // Some seconds in, player 1 away from its home and player 2 two cells along its row.
    for (int t = 0; t < 180; ++t)
        tick();
    round.player1.x = 4.5f;
    round.player2.x = 6.5f;
    KeyState bomb;
    bomb.player[0][keyBomb] = true;
    tick(bomb);
    round.player2.points = 3;
    round.world.homeShelter[0] = round.world.homeShelter[1] = false;
    int blasts = 0, sentHome = 0;
    std::map<int, RoundEvent> homeOf;
    for (int t = 0; t < 300; ++t) {
        tick();
        blasts += told(round, RoundEvent::blast, 1);
        for (const RoundEvent& e : round.events())
            if (e.kind == RoundEvent::sentHome) {
                ++sentHome;
                homeOf[e.player] = e;
            }
    }
    EXPECT_EQ(blasts, 1) << "the bomb blasts once, however many views show it";
    ASSERT_EQ(sentHome, 2);
    // Player 1 on its own bomb, player 2 in its flame: each sent home with what it lost.
    EXPECT_EQ(homeOf[1], RoundEvent::of(RoundEvent::sentHome, 1, 4, 0, causeBombOf1, 0));
    EXPECT_EQ(homeOf[2], RoundEvent::of(RoundEvent::sentHome, 2, 6, 0, causeBombOf1, 3));
    EXPECT_EQ(round.player2.tally.hitByOther, 1);
}

// A whole round of two scripted players: what the events tell adds up to what the round kept.
TEST(RoundEvents, AddUpOverAWholeRoundToWhatTheRoundKept) {
    RoundState round(20261209);
    setUpRound(round);
    RoundDriver driver(round);
    PlayerBot bots[2] = {{round, 1}, {round, 2}};
    bots[0].labyrinthFrom = 60000;
    bots[1].labyrinthFrom = 90000;
    int obstaclesAtStart = 0;
    for (const auto& column : round.world.cells)
        for (const Cell& c : column)
            obstaclesAtStart += c.hasObstacle;
    std::map<RoundEvent::Kind, int> total;
    int coins[3] = {}, cheeseHome[3] = {}, cheeseLost[3] = {}, pointsLost[3] = {}, home[3] = {};
    int overflow = 0;
    while (!round.roundOver) {
        KeyState keys;
        bots[0].decide(keys);
        bots[1].decide(keys);
        driver.tick(keys);
        overflow += round.world.events.overflow;
        for (const RoundEvent& e : round.events()) {
            ++total[e.kind];
            const int p = e.player >= 1 && e.player <= 2 ? e.player : 0;
            coins[p] += e.kind == RoundEvent::itemTaken && e.detail == kindCoin;
            cheeseHome[p] += e.kind == RoundEvent::cheeseHome;
            cheeseLost[p] += e.kind == RoundEvent::cheeseLost;
            home[p] += e.kind == RoundEvent::sentHome;
            if (e.kind == RoundEvent::sentHome)
                pointsLost[p] += e.points;
        }
    }
    EXPECT_EQ(overflow, 0);
    int obstaclesLeft = 0;
    for (const auto& column : round.world.cells)
        for (const Cell& c : column)
            obstaclesLeft += c.hasObstacle;
    EXPECT_EQ(total[RoundEvent::obstacleOpened], obstaclesAtStart - obstaclesLeft);
    EXPECT_GT(total[RoundEvent::obstacleOpened], 10);
    EXPECT_GT(total[RoundEvent::blast], 10);
    EXPECT_GE(total[RoundEvent::bombLaid], total[RoundEvent::blast]);
    EXPECT_EQ(total[RoundEvent::obstacleOpened], driver.events().obstaclesDestroyed);
    for (int n = 1; n <= 2; ++n) {
        const Player& p = round.player(n);
        EXPECT_EQ(coins[n], p.tally.coins) << n;
        EXPECT_EQ(cheeseHome[n], p.cheese) << n;
        EXPECT_EQ(cheeseLost[n], p.tally.cheeseLost) << n;
        EXPECT_EQ(pointsLost[n], p.tally.pointsLost) << n;
        EXPECT_EQ(home[n], p.tally.caught + p.tally.hitByOwn + p.tally.hitByOther) << n;
    }
    EXPECT_GT(cheeseHome[1] + cheeseHome[2], 0) << "the bots fetched cheese";
    EXPECT_EQ(coins[0] + cheeseHome[0] + home[0], 0) << "nothing of a player's without one";
}
