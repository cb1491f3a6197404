// What the running game hands the frame to draw, read without a window.
#include "app/Game.h"
#include "render/Overlays.h"
#include <gtest/gtest.h>

// Under the pause menu the overview's band does not say "PAUSED" a second time, behind the
// panel; the result band of a round over stays.
TEST(RoundViewOfTheGame, ThePauseMenuHidesThePausedBandAndTheResultStays) {
    Game g(1, false);
    g.round.paused = true;
    EXPECT_TRUE(bandLinesOf(roundView(g)).empty());
    g.round.roundOver = true;
    ASSERT_FALSE(bandLinesOf(roundView(g)).empty());
    EXPECT_NE(bandLinesOf(roundView(g)).front().text, "PAUSED");
}
