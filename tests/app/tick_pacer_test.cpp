// The pacer turns real time into due ticks: a round plays the same whatever the frame rate.
#include "app/TickPacer.h"
#include "rules/RoundState.h"
#include "rules/WorldHash.h"
#include "support/RoundDriver.h"
#include <cmath>
#include <gtest/gtest.h>

TEST(TickPacer, HoldingForwardWalksSixCellsASecondAtEveryDrawRate) {
    // The keyboard is read once a drawn frame: real time decides how many ticks that frame
    // runs. Forward is held for the first second of real time.
    uint64_t worldAfter[4] = {};
    const int rates[4] = {5, 30, 60, 144};
    for (int r = 0; r < 4; ++r) {
        RoundState g{4711};
        setUpRound(g);
        // Column 0 is open all the way up.
        for (int y = 0; y < MazeWorld::arenaSize; ++y) {
            Cell& c = g.world.cell(0, y);
            c.obstacle = Cell::none;
            c.hasObstacle = false;
        }
        TickPacer pacer;
        for (int frame = 0; g.ticks < 180; ++frame) {
            KeyState keys;
            keys.player[0][keyForward] = frame < rates[r]; // the frames of the first second
            for (int due = pacer.due(frame * 1000.0 / rates[r]); due > 0 && g.ticks < 180; --due)
                tickRound(g, keys);
        }
        EXPECT_EQ(g.ticks, 180u);
        // 60 steps of 0.1 cells; the key is let go by the first frame drawn after it went up,
        // which may come up to one frame's ticks early or late.
        const int frameTicks = static_cast<int>(std::ceil(60.0 / rates[r]));
        EXPECT_NEAR(g.player1.y, 6.5f, 0.1f * frameTicks + 0.01f) << rates[r] << " frames a second";
        EXPECT_EQ(g.player1.x, 0.5f);
        worldAfter[r] = hashWorld(g);
    }
    // Where the frames let go of the key on the same tick, the worlds agree.
    EXPECT_EQ(worldAfter[2], worldAfter[3]);
}

TEST(TickPacer, TenSecondsOfPlayComeOutTheSameAtEveryDrawRate) {
    // Both players' keys follow a script of game time; frames come at 5 to 144 a second.
    auto play = [](int rate) {
        RoundState g{1234};
        setUpRound(g);
        RandomKeys script(99);
        KeyState keys;
        TickPacer pacer;
        double now = 0;
        for (int frame = 0; now <= 10000; now = ++frame * 1000.0 / rate)
            for (int due = pacer.due(now); due > 0; --due) {
                if (g.ticks % 10 == 0)
                    keys = script.next();
                tickRound(g, keys);
            }
        EXPECT_EQ(g.ticks, 601u) << rate << " frames a second";
        return hashWorld(g);
    };
    const uint64_t at60 = play(60);
    EXPECT_EQ(play(5), at60);
    EXPECT_EQ(play(30), at60);
    EXPECT_EQ(play(144), at60);
}

TEST(TickPacer, RunsSixtyTicksASecondAndSlowsEvenlyBelowFourFrames) {
    TickPacer pacer;
    EXPECT_EQ(pacer.due(1000), 1) << "the first tick is due at once";
    EXPECT_EQ(pacer.due(1010), 0);
    EXPECT_EQ(pacer.due(1000 + 1000.0 / 60), 1);
    // A second of frames at 144 Hz runs 60 ticks, however the frames fall.
    int ticks = 0;
    double now = 1000 + 1000.0 / 60;
    for (int f = 0; f < 144; ++f)
        ticks += pacer.due(now += 1000.0 / 144);
    EXPECT_EQ(ticks, 60);
    // A frame of a whole second runs 15 ticks; the rest of that second is let go.
    EXPECT_EQ(pacer.due(now += 1000), TickPacer::maxPerFrame);
    EXPECT_EQ(pacer.due(now += 1000.0 / 60), 1);
    // A new round starts with a tick at once again.
    pacer.restart();
    EXPECT_EQ(pacer.due(now + 5000), 1);
}
