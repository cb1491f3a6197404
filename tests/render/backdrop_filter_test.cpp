#include "render/BackdropFilter.h"
#include <gtest/gtest.h>
#include <cmath>

// The player views' backdrop box: walls at -2 and 17 round the 15 by 15 arena. A view 512 by 200
// pixels wide with the 45-degree height sees 46.7 degrees to each side of where it looks.
TEST(BackdropFilter, OnlyWallsSeenAslantTakeTheFilteringAlongTheSqueeze) {
    const float halfWidth = std::atan(512.0f / 200.0f * std::tan(22.5f * 3.14159265f / 180));
    const float farWall[4] = {-2, 17, 17, 17}, leftWall[4] = {-2, -2, -2, 17},
                nearWall[4] = {17, -2, -2, -2};
    auto aslant = [&](const BackdropEye& eye, const float* w) {
        return wallSeenAslant(eye, w[0], w[1], w[2], w[3]);
    };
    // From the middle looking up the arena: the far wall is seen squarely, the left one only
    // near the corner, at 43 degrees off square, and the wall behind not at all.
    const BackdropEye middle{7.5f, 7.5f, 0, 1, halfWidth};
    EXPECT_FALSE(aslant(middle, farWall));
    EXPECT_FALSE(aslant(middle, leftWall));
    EXPECT_FALSE(aslant(middle, nearWall));
    // From a corner of the arena, 2.5 from the left wall: it runs away from the eye, seen 81
    // degrees off square at its far end.
    const BackdropEye corner{0.5f, 0.5f, 0, 1, halfWidth};
    EXPECT_TRUE(aslant(corner, leftWall));
    EXPECT_FALSE(aslant(corner, farWall));
    // Turned to look along the far wall from near it, that wall is the one seen edge-on; the
    // length of the look direction does not matter.
    const BackdropEye alongFar{0.5f, 14.5f, 5, 0, halfWidth};
    EXPECT_TRUE(aslant(alongFar, farWall));
    EXPECT_FALSE(aslant(alongFar, nearWall));
    // A view half as wide sees the left wall from the corner only farther off, still aslant.
    EXPECT_TRUE(aslant({0.5f, 0.5f, 0, 1, halfWidth / 2}, leftWall));
}
