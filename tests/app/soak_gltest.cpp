// A round of random keys for both players at a fast clock, every frame drawn in full and the
// world's bookkeeping checked after each. In the sanitized build this is what the address and
// undefined-behaviour checks watch.
#include "app/Game.h"
#include "render/GlState.h"
#include "support/Bookkeeping.h"
#include "support/GlContext.h"
#include "support/RoundDriver.h"
#include <GL/gl.h>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(Soak, RandomKeysThroughAWholeRoundAtAFastClock) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    GlContext& gl = glContext();
    setInitialGlState(gl.width, gl.height);
    Game game(977, true);
    runSetUp(game);
    // 1.5 s of game time a frame: 240 frames for the round, each bomb lying for two or three.
    RoundDriver driver(game, 1500);
    RandomKeys random(4242);
    int frames = 0;
    while (!game.roundOver && frames < 300) {
        driver.frame(random.next());
        ++frames;
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "frame " << frames;
        const std::vector<std::string> faults = bookkeepingFaults(game);
        ASSERT_TRUE(faults.empty()) << "frame " << frames << ": " << faults.front();
    }
    EXPECT_TRUE(game.roundOver);
    EXPECT_EQ(frames, 240);
    EXPECT_GT(driver.events().bombsDropped, 0);
}
