// Computer players in set-up situations (a dead end under its own bomb, a blast on the way, a
// creature across the way, an item in reach, the way home from the labyrinth, an arena with
// nothing left in it, a second target a hair better, a blast too soon for a slow eye), what
// they may know, and that the same round gives the same keys and replays exactly.
#include "bots/Bot.h"
#include "bots/BotArena.h"
#include "rules/WorldHash.h"
#include "rules/Controls.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <gtest/gtest.h>
#include <vector>

namespace {
// The keys of each tick of a round and its fingerprint at the end.
struct Played {
    std::vector<uint16_t> keys;
    uint64_t finalHash = 0;
};

} // namespace

TEST_F(BotArena, EscapesItsOwnBombOutOfADeadEnd) {
    // Column 0 is shut at rows 3 and 7 and beside row 6: the bomb at the dead end burns rows 4
    // to 6 of the column, and the only cell out of its reach is (1, 4), round the corner.
    for (BotLevel level : {BotLevel::easy, BotLevel::normal, BotLevel::hard}) {
        SetUp();
        obstacle(0, 7);
        obstacle(1, 6);
        obstacle(0, 3);
        obstacle(2, 4);
        place(1, 0.5f, 6.5f);
        bomb(1, 0, 6, tuning::fuseMs);
        Bot bot(level, round.seed, 1);
        play(bot, 240);
        EXPECT_EQ(round.player1.tally.hitByOwn, 0) << botLevelName(level);
        EXPECT_EQ(cellX(1), 1) << botLevelName(level) << " ends in the side way, not at "
                               << round.player1.x << ", " << round.player1.y;
        EXPECT_EQ(cellY(1), 4) << botLevelName(level);
    }
}

TEST_F(BotArena, WaitsForABlastOnTheWayToGoOffFirst) {
    // A coin three cells along row 0; player 2's bomb at (2, 1) burns (2, 0) in 0.6 s, too soon
    // to be crossed at a walk. The computer player waits, never stands in the fire, and fetches
    // the coin once it is out.
    lay(kindCoin, 4, 0);
    place(1, 0.5f, 0.5f);
    place(2, 14.5f, 14.5f);
    bomb(2, 2, 1, 600);
    Bot bot(BotLevel::hard, round.seed, 1);
    bool enteredBeforeBlast = false;
    play(bot, 400, [&] {
        if (cellX(1) >= 2 && !round.world.anyBurning() && round.player2.bombsReady == 0)
            enteredBeforeBlast = true;
        EXPECT_FALSE(burning(cellX(1), cellY(1))) << "tick " << round.ticks;
        return round.player1.tally.coins == 0;
    });
    EXPECT_FALSE(enteredBeforeBlast);
    EXPECT_EQ(round.player1.tally.coins, 1);
    EXPECT_EQ(round.player1.tally.hitByOther, 0);
}

TEST_F(BotArena, WaitsForACreatureToPass) {
    // A creature runs +x along row 2, across the way from (2, 0) up to a coin at (2, 4). The
    // computer player keeps out of row 2 until the creature is past, then fetches the coin.
    lay(kindCoin, 2, 4);
    place(1, 2.5f, 0.5f);
    Creature& c = round.creature(1);
    round.world.creatureHit[0] = false;
    c.x = 0.5f;
    c.y = 2.5f;
    c.dirX = 1;
    c.dirY = 0;
    c.runLeft = 13;
    Bot bot(BotLevel::hard, round.seed, 1);
    bool crossedAhead = false;
    play(bot, 600, [&] {
        if (c.x < 2.5f && c.x > 0 && cellY(1) >= 2)
            crossedAhead = true;
        return round.player1.tally.coins == 0;
    });
    EXPECT_FALSE(crossedAhead);
    EXPECT_EQ(round.player1.tally.caught, 0);
    EXPECT_EQ(round.player1.tally.coins, 1);
}

TEST_F(BotArena, PicksUpAnItemInReachAtEveryLevel) {
    for (BotLevel level : {BotLevel::easy, BotLevel::normal, BotLevel::hard}) {
        SetUp();
        place(1, 0.5f, 0.5f);
        lay(kindFire, 0, 4);
        Bot bot(level, round.seed, 1);
        play(bot, 600, [&] { return round.player1.fireItems == 0; });
        EXPECT_EQ(round.player1.fireItems, 1) << botLevelName(level);
        EXPECT_EQ(round.player1.bombs[0].reach, 3) << botLevelName(level);
    }
}

TEST_F(BotArena, FindsItsWayHomeFromTheLabyrinthWithCheese) {
    // Deep in the labyrinth with a piece of cheese, having seen only its own cell: it finds a
    // door, walks home and scores the ten points.
    Player& p = round.player1;
    p.x = 104.5f;
    p.y = 104.5f;
    p.dirX = 0;
    p.dirY = 1;
    round.world.freeRoam[0] = true;
    round.player1Camera.place(p.x, p.y - p.bodyRadius - 0.5f, 0.9f, p.x, p.y, 0.85f, 0, 0, 1);
    Item* piece = &round.world.items[MazeWorld::firstCheese];
    piece->taken = 1;
    --round.player2.cheese;
    piece->x = piece->y = -1;
    p.carryingCheese = true;
    Bot bot(BotLevel::normal, round.seed, 1);
    play(bot, 60 * 60, [&] { return p.cheese == 0; });
    EXPECT_EQ(p.cheese, 1);
    EXPECT_EQ(p.points, 10);
    EXPECT_FALSE(round.world.freeRoam[0]);
}

TEST_F(BotArena, WithTheArenaBareGoesAfterTheOtherPlayerAndNeverStandsLong) {
    // Nothing to fetch and no cheese left: normal and hard walk and bomb their way to the other
    // player, easy walks on; every level stands still only as long as a blast of its own takes to
    // go off and burn out (3.5 s and 0.5 s; five seconds at most inside a box of 1.2 cells), and
    // turns straight back no more than about once a second (not at every step at the edge of
    // closing in).
    for (BotLevel level : {BotLevel::easy, BotLevel::normal, BotLevel::hard}) {
        SetUp();
        place(1, 0.5f, 0.5f);
        // The other player has stepped out of its home's shelter and has points to lose.
        round.world.homeShelter[1] = false;
        round.player2.points = 30;
        Bot bot(level, round.seed, 1);
        float lowX = 99, highX = -1, lowY = 99, highY = -1, lastX = 0.5f, lastY = 0.5f;
        float stepX = 0, stepY = 0;
        int since = 0, longest = 0, reversals = 0;
        play(bot, 60 * 60, [&] {
            const Player& p = round.player1;
            const float dx = p.x - lastX, dy = p.y - lastY;
            if (std::abs(dx) + std::abs(dy) > 1e-4f && std::abs(dx) + std::abs(dy) < 1) {
                reversals += dx * stepX + dy * stepY < 0;
                stepX = dx, stepY = dy;
            }
            lastX = p.x, lastY = p.y;
            lowX = std::min(lowX, p.x), highX = std::max(highX, p.x);
            lowY = std::min(lowY, p.y), highY = std::max(highY, p.y);
            if (highX - lowX > 1.2f || highY - lowY > 1.2f) {
                lowX = highX = p.x;
                lowY = highY = p.y;
                since = static_cast<int>(round.ticks);
            }
            longest = std::max(longest, static_cast<int>(round.ticks) - since);
            return true;
        });
        EXPECT_LE(longest, 5 * 60) << botLevelName(level) << " stood " << longest << " ticks";
        EXPECT_LE(reversals, 60) << botLevelName(level) << " in a minute";
        // A beginner does not hunt; the others reach the other player with a bomb.
        if (level == BotLevel::easy)
            EXPECT_EQ(round.player2.tally.hitByOther, 0) << "easy went after the other player";
        else
            EXPECT_GE(round.player2.tally.hitByOther, 1)
                << botLevelName(level) << " never reached the other player with a bomb";
    }
}

TEST_F(BotArena, ShutsTheOtherPlayerInWithASecondBombAndNoThird) {
    // The other player (a hard computer player) stands in the one-cell way (2, 1) between two
    // pillars; a bomb of player 1 at (2, 0), due in 3 s with a reach of one cell, shuts its
    // south end. Walking out north through (2, 2) it is safe; hard and normal, standing on
    // (2, 2), lay their next bomb there and shut it in, and lay no third while it cannot get out.
    for (int hunter : {0, 1, 2}) {
        SetUp();
        round.player1.bombCapacity = round.player1.bombsReady = 3;
        round.player1.bombs[0].reach = 1;
        round.player2.points = 20;
        // A minute into the round, both long past their first look at the arena.
        round.ticks = 60 * 60;
        place(1, 2.5f, 2.5f);
        place(2, 2.5f, 1.5f);
        bomb(1, 2, 0, 3000);
        Bot other(BotLevel::hard, round.seed, 2);
        Bot bot(hunter == 2 ? BotLevel::normal : BotLevel::hard, round.seed, 1);
        int mostLying = 0;
        for (int t = 0; t < 4 * 60; ++t) {
            KeyState keys;
            if (hunter > 0)
                bot.press(round, keys);
            other.press(round, keys);
            tickRound(round, keys);
            if (!round.world.anyBurning())
                mostLying = std::max(mostLying, 3 - round.player1.bombsReady);
        }
        if (hunter == 0) {
            EXPECT_EQ(round.player2.tally.hitByOther, 0) << "with the north end open it walks out";
            continue;
        }
        EXPECT_EQ(round.player2.tally.hitByOther, 1) << bot.doing();
        EXPECT_EQ(mostLying, 2) << "bombs laid before the first blast";
        EXPECT_EQ(round.player1.tally.hitByOwn, 0);
    }
}

TEST_F(BotArena, BehindLateWithLessToLoseItShutsTheOtherInAtItsOwnCost) {
    // As above, the hunter on (2, 2) at the foot of a dead end (walls beside it, an obstacle on
    // (2, 4)): a bomb there shuts both in. A hit costs 5 points, never below 0: with none to lose
    // against 20, 300 s into the round (1:00 on the clock), the trade pays; level on points, or
    // 60 s in (5:00 on the clock) with the arena still to open, it does not.
    for (BotLevel level : {BotLevel::normal, BotLevel::hard})
        for (const auto& [own, seconds, lays] :
             {std::tuple{0, 300, true}, {20, 300, false}, {0, 60, false}}) {
            SetUp();
            round.ticks = static_cast<uint32_t>(seconds * 60);
            round.clock.set(tickTime(round.ticks));
            round.gameTime = round.clock.now();
            round.player1.points = own;
            round.player2.points = 20;
            round.player1.bombCapacity = round.player1.bombsReady = 3;
            round.player1.bombs[0].reach = 1;
            obstacle(2, 4);
            round.world.placeWall(1.5f, 2.5f);
            round.world.placeWall(3.5f, 2.5f);
            place(1, 2.5f, 2.5f);
            place(2, 2.5f, 1.5f);
            bomb(1, 2, 0, 3000);
            Bot bot(level, round.seed, 1);
            play(bot, 60, [&] { return round.player1.bombsReady > 1; });
            EXPECT_EQ(round.player1.bombsReady == 1, lays)
                << botLevelName(level) << " with " << own << " points at " << seconds << " s";
        }
}

TEST_F(BotArena, WalledInAtADoorOrInACornerItGetsOut) {
    // In front of the house's east door (8, 9) with obstacles on its other three sides, and
    // nothing in the arena worth its while: the door is a way out of its own blast and into
    // the labyrinth, so it neither stays nor is caught by its own bomb. In the home corner with
    // laid walls shutting it into two cells, it bombs its way out (sent home by its blast at
    // worst) rather than standing there.
    for (BotLevel level : {BotLevel::easy, BotLevel::normal, BotLevel::hard}) {
        SetUp();
        obstacle(9, 8);
        obstacle(10, 9);
        obstacle(9, 10);
        place(1, 9.5f, 9.5f);
        Bot bot(level, round.seed, 1);
        bool out = false;
        play(bot, 40 * 60, [&] {
            out = !round.world.freeRoam[0] && std::abs(cellX(1) - 9) + std::abs(cellY(1) - 9) >= 2;
            return !out;
        });
        EXPECT_TRUE(out) << botLevelName(level) << " still at " << round.player1.x << ", "
                         << round.player1.y;
        EXPECT_EQ(round.player1.tally.hitByOwn, 0) << botLevelName(level);
    }
    // The same pocket of laid walls with the way on from every other door shut: the labyrinth
    // leads back here, so it is not walked in and out of again and again; a bomb opens it. So
    // too four cells at the north door, (7, 7) and about, shut by pillars and walls on (6, 6)
    // and (8, 6): too roomy to count as standing still, but with no way on.
    const std::vector<std::pair<int, int>> pockets[2] = {
        {{9, 8}, {10, 9}, {9, 10}, {7, 7}, {7, 11}, {5, 9}},
        {{6, 6}, {8, 6}, {5, 9}, {9, 9}, {7, 11}}};
    for (int pocket : {0, 1})
        for (BotLevel level : {BotLevel::easy, BotLevel::normal, BotLevel::hard}) {
            SetUp();
            for (const auto& [x, y] : pockets[pocket])
                round.world.placeWall(x + 0.5f, y + 0.5f);
            const int sx = pocket == 0 ? 9 : 7, sy = pocket == 0 ? 9 : 7;
            place(1, sx + 0.5f, sy + 0.5f);
            Bot bot(level, round.seed, 1);
            int entries = 0;
            bool inside = false, out = false;
            play(bot, 60 * 60, [&] {
                entries += round.world.freeRoam[0] && !inside;
                inside = round.world.freeRoam[0];
                out = !inside && !MazeWorld::isHouseDoor(cellX(1), cellY(1)) &&
                      std::abs(cellX(1) - sx) + std::abs(cellY(1) - sy) >= 2;
                return !out;
            });
            EXPECT_TRUE(out) << botLevelName(level) << " still at " << round.player1.x << ", "
                             << round.player1.y << ", " << bot.doing();
            EXPECT_LE(entries, 2) << botLevelName(level) << " went in and out of the door";
        }
    for (BotLevel level : {BotLevel::easy, BotLevel::normal, BotLevel::hard}) {
        SetUp();
        round.world.placeWall(2.5f, 0.5f);
        round.world.placeWall(0.5f, 1.5f);
        place(1, 0.5f, 0.5f);
        Bot bot(level, round.seed, 1);
        int bombs = 0;
        play(bot, 20 * 60, [&] {
            bombs += round.player1.bombsReady < round.player1.bombCapacity;
            return bombs == 0;
        });
        EXPECT_GT(bombs, 0) << botLevelName(level) << " stood in the corner";
    }
}

TEST_F(BotArena, GoesIntoTheLabyrinthForCheeseLeftThere) {
    // One piece of cheese still in the labyrinth and nothing in the arena: normal and hard set
    // off at once, easy too but at its own pace (its first trip no sooner than two minutes
    // into the round).
    for (BotLevel level : {BotLevel::hard, BotLevel::normal, BotLevel::easy}) {
        SetUp();
        round.world.items[MazeWorld::firstCheese].taken = 0;
        round.player2.cheese -= 1;
        place(1, 7.5f, 4.5f);
        Bot bot(level, round.seed, 1);
        int ticks = 0;
        play(bot, 150 * 60, [&] {
            ++ticks;
            return !round.world.freeRoam[0];
        });
        EXPECT_TRUE(round.world.freeRoam[0]) << botLevelName(level);
        if (level == BotLevel::easy)
            EXPECT_GE(ticks, 120 * 60);
        else
            EXPECT_LE(ticks, 15 * 60) << botLevelName(level);
    }
}

TEST_F(BotArena, KeepsToTheItemItChoseWhenOneAHairBetterTurnsUp) {
    // Walking to a coin, two cells short of it, a bomb item turns up two cells behind: worth a
    // little more to a player with one bomb, no nearer. The coin is taken first.
    place(1, 4.5f, 0.5f);
    lay(kindCoin, 7, 0);
    Bot bot(BotLevel::hard, round.seed, 1);
    play(bot, 120, [&] { return cellX(1) < 5; });
    ASSERT_EQ(cellX(1), 5) << "on its way to the coin";
    lay(kindBomb, 3, 0, 1);
    int coinFirst = -1;
    play(bot, 300, [&] {
        if (coinFirst < 0 && (round.player1.tally.coins > 0 || round.player1.bombCapacity > 1))
            coinFirst = round.player1.tally.coins;
        return round.player1.bombCapacity == 1;
    });
    EXPECT_EQ(coinFirst, 1) << "it turned back for the bomb item";
    EXPECT_EQ(round.player1.bombCapacity, 2) << "and then fetched the bomb item too";
}

TEST_F(BotArena, HardTakesInANewBombAsQuicklyAsAPersonEasyLater) {
    // Walking about an empty arena (the other player is in the labyrinth), a bomb of the other
    // player's, of the longest reach, turns up on its very cell. Hard starts out of its fire within
    // a quick person's reaction (about 150 ms, and no sooner than 100 ms), easy no sooner than 500
    // ms.
    for (BotLevel level : {BotLevel::hard, BotLevel::easy}) {
        SetUp();
        round.world.freeRoam[1] = true;
        place(1, 6.5f, 4.5f);
        Bot bot(level, round.seed, 1);
        play(bot, 90);
        // Its flames reach across the arena: walking on along its row or column is no way out.
        for (Bomb& b : round.player2.bombs)
            b.reach = 14;
        const uint32_t laid = round.ticks;
        bomb(2, cellX(1), cellY(1), tuning::fuseMs);
        uint32_t seen = 0;
        play(bot, 120, [&] {
            if (std::string(bot.doing()) == "getting out of the fire")
                seen = round.ticks;
            return seen == 0;
        });
        ASSERT_GT(seen, 0u) << botLevelName(level);
        const double ms = (seen - laid) * tickMs;
        if (level == BotLevel::hard) {
            EXPECT_GE(ms, 100) << "faster than a person";
            EXPECT_LE(ms, 250);
        } else {
            EXPECT_GE(ms, 500);
        }
        EXPECT_EQ(round.player1.tally.hitByOther, 0) << botLevelName(level);
    }
}

TEST(Bot, KnowsNeitherHiddenItemsNorUnseenLabyrinthWalls) {
    // Two rounds that differ only in what no player can see yet (the kind of every item under a
    // standing obstacle, and the labyrinth's walls) get the same keys for as long as that stays
    // unseen.
    RoundState a(77), b(77);
    setUpRound(a);
    setUpRound(b);
    for (int i = 0; i < MazeWorld::obstacleTotal; ++i)
        b.world.items[i].type = b.world.items[i].type == kindCoin ? kindSpeed : kindCoin;
    for (int k = 0; k < 81; ++k) {
        b.world.maze.wallPosX[k] = static_cast<uint8_t>(!b.world.maze.wallPosX[k]);
        b.world.maze.wallPosY[k] = static_cast<uint8_t>(!b.world.maze.wallPosY[k]);
    }
    auto hidden = [](const RoundState& r) {
        for (int i = 0; i < MazeWorld::obstacleTotal; ++i) {
            const Item* item = &r.world.items[i];
            if (item->taken == 0 && item->x >= 0 &&
                !r.world.cell(static_cast<int>(item->x), static_cast<int>(item->y)).hasObstacle)
                return false;
        }
        return !r.world.freeRoam[0] && !r.world.freeRoam[1];
    };
    Bot botA(BotLevel::hard, 77, 1), botB(BotLevel::hard, 77, 1);
    int compared = 0;
    while (hidden(a) && hidden(b)) {
        KeyState ka, kb;
        botA.press(a, ka);
        botB.press(b, kb);
        ASSERT_EQ(packKeys(ka), packKeys(kb)) << "tick " << a.ticks;
        tickRound(a, ka);
        tickRound(b, kb);
        ++compared;
    }
    EXPECT_GT(compared, 120) << "the first obstacle opens after a bomb's fuse at the earliest";
}

TEST(Bot, TheSameRoundGivesTheSameKeys) {
    auto play = [](uint32_t seed, int ticks) {
        RoundState round(seed);
        setUpRound(round);
        Bot one(BotLevel::hard, seed, 1), two(BotLevel::normal, seed, 2);
        Played r;
        for (int t = 0; t < ticks; ++t) {
            KeyState keys;
            one.press(round, keys);
            two.press(round, keys);
            tickRound(round, keys);
            r.keys.push_back(packKeys(keys));
        }
        r.finalHash = hashWorld(round);
        return r;
    };
    const Played first = play(31337, 6000), again = play(31337, 6000);
    EXPECT_EQ(first.keys, again.keys);
    EXPECT_EQ(first.finalHash, again.finalHash);
    int moving = 0;
    for (uint16_t k : first.keys)
        moving += k != 0;
    EXPECT_GT(moving, 3000) << "both computer players play";
    EXPECT_NE(play(31338, 6000).keys, first.keys) << "another round, other keys";
}

TEST(Bot, KeysWalkWhereTheControlsSayWhateverTheCamera) {
    // Whatever the camera's turn after walking, the key the computer player picks for a way is
    // the key whose step goes that way: keyHeading answers from the controls' own tables.
    RoundState round(5);
    setUpRound(round);
    const PlayerKey keys[4] = {keyForward, keyBack, keyLeft, keyRight};
    for (int step = 0; step < 40; ++step) {
        const PlayerKey k = keys[(step * 7 / 3) % 4];
        const KeyHeading h = keyHeading(round, 1, k);
        const float x = round.player1.x, y = round.player1.y;
        KeyState press;
        press.player[0][k] = true;
        tickRound(round, press);
        const float dx = round.player1.x - x, dy = round.player1.y - y;
        if (dx == 0 && dy == 0)
            continue; // against a wall: the heading still turned, but nothing to compare
        EXPECT_NEAR(h.x * dy - h.y * dx, 0, 1e-4) << "step " << step;
        EXPECT_GT(h.x * dx + h.y * dy, 0) << "step " << step;
    }
}

TEST_F(BotArena, LeavesAlonePlayersWithNothingToLoseOrShelteredAtHome) {
    // The arena bare, the other player standing still a few cells away: with no points and no
    // cheese it has nothing to lose, and sheltered at home no blast can send it anywhere; no
    // level lays its fire over it in twenty seconds. With points, out in the open, normal and
    // hard do.
    struct Case {
        int points;
        bool sheltered;
        bool bombed;
    };
    for (BotLevel level : {BotLevel::easy, BotLevel::normal, BotLevel::hard})
        for (const Case c : {Case{0, false, false}, Case{20, true, false}, Case{20, false, true}}) {
            SetUp();
            round.ticks = 60 * 60;
            place(1, 4.5f, 2.5f);
            place(2, 0.5f, 0.5f);
            round.player2.points = c.points;
            round.world.homeShelter[1] = c.sheltered;
            Bot bot(level, round.seed, 1);
            bool fireOver = false;
            play(bot, 20 * 60, [&] {
                fireOver = fireOver || burning(0, 0);
                return true;
            });
            const bool expected = c.bombed && level != BotLevel::easy;
            EXPECT_EQ(fireOver, expected) << botLevelName(level) << " with " << c.points
                                          << " points, sheltered " << c.sheltered;
        }
}
