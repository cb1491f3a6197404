#include "render/BackdropFilter.h"
#include "render/ObjectDrawing.h"
#include "world/MazeWorld.h"
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

// An obstacle's arches reach 0.3 from their middle and its wheels 0.1: a polygon of n corners on
// a circle of R pixels strays R (1 - cos(pi / n)) from it, to be kept within half a pixel.
TEST(ObstacleCut, RoundPiecesGetTheCornersTheirSizeOnScreenNeeds) {
    const Obstacle obstacle;
    // No size given: the full cut.
    EXPECT_EQ(obstacleCutFor(obstacle, 0).arch, 24);
    EXPECT_EQ(obstacleCutFor(obstacle, 0).wheel, 24);
    // Close before the eye (300 and 100 pixels): more than the full cut would be needed, and the
    // full cut is the most there is.
    EXPECT_EQ(obstacleCutFor(obstacle, 1000).arch, 24);
    EXPECT_EQ(obstacleCutFor(obstacle, 1000).wheel, 24);
    // About eight cells ahead in a 200-pixel view (30 pixels a unit): arches of 9 pixels stray
    // 0.69 with 8 corners and 0.31 with 12; wheels of 3 pixels stray 0.40 with 6.
    EXPECT_EQ(obstacleCutFor(obstacle, 30).arch, 12);
    EXPECT_EQ(obstacleCutFor(obstacle, 30).wheel, 6);
    // Never coarser for an obstacle seen larger.
    ObstacleCut last = obstacleCutFor(obstacle, 1);
    for (float size = 1; size < 400; size *= 1.1f) {
        const ObstacleCut cut = obstacleCutFor(obstacle, size);
        EXPECT_GE(cut.arch, last.arch) << size;
        EXPECT_GE(cut.wheel, last.wheel) << size;
        last = cut;
    }
}
