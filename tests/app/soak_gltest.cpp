// A round of random keys for both players, a frame drawn in full every 1.5 s of game time and the
// world's bookkeeping checked after every tick. In the sanitized build this is what the address and
// undefined-behaviour checks watch.
#include "app/Game.h"
#include "rules/RoundTick.h"
#include "render/GlState.h"
#include "support/Bookkeeping.h"
#include "support/GlContext.h"
#include "support/GameFrame.h"
#include "support/RoundDriver.h"
#include <GL/gl.h>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(Soak, RandomKeysThroughAWholeRoundDrawnSparsely) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    GlContext& gl = glContext();
    setInitialGlState(gl.width, gl.height);
    Game game(977, true);
    runSetUp(game);
    // 90 ticks between drawn frames: 240 frames for the round, each bomb lying for two or three.
    RoundDriver driver(game.round);
    RandomKeys random(4242);
    KeyState keys;
    int frames = 0;
    uint32_t ticks = 0;
    while (!game.round.roundOver && ticks < ticksPerRound + 10) {
        if (ticks % 6 == 0)
            keys = random.next();
        driver.tick(keys);
        ++ticks;
        const std::vector<std::string> faults = bookkeepingFaults(game.round);
        ASSERT_TRUE(faults.empty()) << "tick " << ticks << ": " << faults.front();
        if (ticks % 90 == 0 || game.round.roundOver) {
            drawFrame(game);
            ++frames;
            ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "frame " << frames;
        }
    }
    EXPECT_TRUE(game.round.roundOver);
    // The clock reads 0:00 once past 359 s: tick 21,541 (the 21,542nd, at 359,016.7 ms) is the
    // first there and ends the round.
    EXPECT_EQ(ticks, 21542u);
    EXPECT_GT(driver.events().bombsDropped, 0);
}
