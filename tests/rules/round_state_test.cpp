// The round as a value: a copy taken at any moment of a played round runs on exactly as the
// original does with the same keys, and shares nothing with it.
#include "rules/WorldHash.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "support/RoundDriver.h"
#include "world/ArenaLayout.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
std::vector<KeyState> keyRun(unsigned seed, int ticks) {
    RandomKeys random(seed);
    std::vector<KeyState> run;
    for (int t = 0; t < ticks; ++t)
        run.push_back(random.next());
    return run;
}

void play(RoundState& round, const std::vector<KeyState>& keys) {
    for (const KeyState& k : keys)
        tickRound(round, k);
}

// Player 1 through the first door into the labyrinth, where the rules put a player that walks
// in: at the door's labyrinth cell, looking in, steering freely.
void intoLabyrinth(RoundState& round) {
    const arena::HouseDoor& door = arena::houseDoors[0];
    Player& p = round.player1;
    p.x = door.labyrinthX;
    p.y = door.labyrinthY;
    p.dirX = static_cast<float>(-door.outX);
    p.dirY = static_cast<float>(-door.outY);
    round.world.freeRoam[0] = true;
    round.player1Camera.place(p.x, p.y - 0.76f, 0.9f, p.x, p.y, 0.85f, 0, 0, 1);
}

bool somethingBurns(const RoundState& round) {
    return round.world.anyBurning();
}

// How many cells hold a bomb: a look must catch bombs lying, so their cells' links are copied.
int cellsHoldingBombs(const RoundState& round) {
    int bombs = 0;
    for (const auto& column : round.world.cells)
        for (const Cell& c : column)
            bombs += c.bomb != Cell::none;
    return bombs;
}
} // namespace

TEST(RoundState, ACopyRunsOnLikeTheOriginalAndAloneFromIt) {
    RoundState round(6060);
    setUpRound(round);
    intoLabyrinth(round);
    // Player 2 drops a bomb 215 ticks before each look, so that its blast burns then; player 1
    // walks and turns in the labyrinth.
    const int looks[] = {300, 4000, 10300};
    int tick = 0;
    RandomKeys random(17);
    for (int look : looks) {
        while (tick < look) {
            KeyState k = random.next();
            for (bool& held : k.player[0])
                held = false;
            k.player[0][tick % 90 < 60 ? keyForward : keyLeft] = true;
            for (bool& held : k.player[1])
                held = held && tick < look - 230;
            k.player[1][keyBomb] = tick == look - 215;
            tickRound(round, k);
            ++tick;
        }
        ASSERT_TRUE(somethingBurns(round)) << "tick " << look;
        ASSERT_TRUE(round.world.freeRoam[0]) << "tick " << look;
        if (look == 10300) {
            ASSERT_TRUE(round.particles.snowVisible(round.seasonPhase));
        }

        const uint64_t atLook = hashWorld(round);
        RoundState copy = round;
        EXPECT_EQ(hashWorld(copy), atLook);
        RoundState assigned(1);
        setUpRound(assigned);
        assigned = round;
        EXPECT_GT(cellsHoldingBombs(copy), 0) << "tick " << look;

        const std::vector<KeyState> keys = keyRun(look, 600);
        RoundState original = round;
        play(original, keys);
        play(copy, keys);
        play(assigned, keys);
        EXPECT_NE(hashWorld(original), atLook) << "tick " << look;
        EXPECT_EQ(hashWorld(copy), hashWorld(original)) << "tick " << look;
        EXPECT_EQ(hashWorld(assigned), hashWorld(original)) << "tick " << look;

        // A copy played with other keys, and then thrown away, leaves the round as it was.
        {
            RoundState fork = round;
            play(fork, keyRun(look + 1, 300));
            EXPECT_NE(hashWorld(fork), atLook);
        }
        EXPECT_EQ(hashWorld(round), atLook) << "tick " << look;
    }
}

TEST(RoundState, AFreshRoundOfASeedIsTheSameWhateverCameBefore) {
    RoundState played(77);
    setUpRound(played);
    play(played, keyRun(3, 2000));
    startRound(played, 99);
    RoundState fresh(99);
    setUpRound(fresh);
    EXPECT_EQ(hashWorld(played), hashWorld(fresh));
    const std::vector<KeyState> keys = keyRun(4, 1500);
    play(played, keys);
    play(fresh, keys);
    EXPECT_EQ(hashWorld(played), hashWorld(fresh));
}
