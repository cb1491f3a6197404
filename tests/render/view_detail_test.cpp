#include "render/BackdropFilter.h"
#include "render/ObjectDrawing.h"
#include "world/MazeWorld.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <vector>

// The player views' backdrop box: walls at -2 and 17 round the 15 by 15 arena. A wall's picture
// has 0.69 times as many texels a unit along it as up it, and the view's look up or down the
// wall squeezes a little more (0.9): a stretch seen at distance r from an eye standing d from
// the wall shows the picture 0.62 r / d times as squeezed along as up, and takes the picture
// narrowed by the power of two nearest to that.
TEST(BackdropWallRuns, EachStretchShowsThePictureNarrowedAsTheEyeSeesItSqueezed) {
    const float farWall[4] = {-2, 17, 17, 17}, leftWall[4] = {-2, -2, -2, 17};
    auto runsOf = [](float x, float y, const float* w) {
        BackdropRun runs[backdropWallPieces];
        const int count = backdropWallRuns(x, y, w[0], w[1], w[2], w[3], runs);
        std::vector<BackdropRun> out(runs, runs + std::max(count, 0));
        // The runs cover the wall from end to end, and neighbours differ.
        EXPECT_FALSE(out.empty());
        for (size_t k = 0; k < out.size(); ++k) {
            EXPECT_FLOAT_EQ(out[k].from, k == 0 ? 0.0f : out[k - 1].to);
            EXPECT_LT(out[k].from, out[k].to);
            if (k > 0) {
                EXPECT_NE(out[k].narrowing, out[k - 1].narrowing);
            }
        }
        EXPECT_FLOAT_EQ(out.back().to, 1.0f);
        return out;
    };
    // From the middle the far wall is at most 45 degrees off square (squeezed 0.88 times at its
    // ends): the picture itself all along.
    const std::vector<BackdropRun> square = runsOf(7.5f, 7.5f, farWall);
    ASSERT_EQ(square.size(), 1u);
    EXPECT_EQ(square[0].narrowing, 0);
    // From a corner cell, 2.5 from the left wall: square where the eye stands (a seventh of the
    // way along), 81 degrees off square at the far end (r / d = 6.2, squeezed 3.9 times: the
    // picture narrowed 4 times), and never less narrowed farther along.
    const std::vector<BackdropRun> corner = runsOf(0.5f, 0.5f, leftWall);
    ASSERT_EQ(corner.size(), 3u);
    EXPECT_EQ(corner.front().narrowing, 0);
    EXPECT_GT(corner.front().to, 2.5f / 19);
    EXPECT_EQ(corner[1].narrowing, 1);
    EXPECT_EQ(corner.back().narrowing, 2);
    // An eye 1 from that wall sees its far end 86.5 degrees off square (squeezed 10 times): the
    // narrowest picture there is, 8 times; the wall read the other way gives the same stretches
    // mirrored.
    const std::vector<BackdropRun> close = runsOf(-1, 0.5f, leftWall);
    EXPECT_EQ(close.back().narrowing, backdropNarrowings);
    const float reversed[4] = {leftWall[2], leftWall[3], leftWall[0], leftWall[1]};
    const std::vector<BackdropRun> back = runsOf(-1, 0.5f, reversed);
    ASSERT_EQ(back.size(), close.size());
    for (size_t k = 0; k < close.size(); ++k) {
        EXPECT_EQ(back[back.size() - 1 - k].narrowing, close[k].narrowing);
        EXPECT_FLOAT_EQ(back[back.size() - 1 - k].from, 1 - close[k].to);
    }
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
