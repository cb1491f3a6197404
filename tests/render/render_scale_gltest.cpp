#include "FrameScenes.h"
#include "app/Game.h"
#include "render/ViewLayout.h"
#include "rules/LabyrinthSight.h"
#include "render/Views.h"
#include "support/GlContext.h"
#include <GL/gl.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

// The round's views drawn at a share of the frame's pixels and stretched over it, the texts over
// them at the frame's own size.
namespace {

struct Picture {
    int width, height;
    std::vector<uint8_t> rgb; // the whole window, rows from the bottom

    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

Picture drawnAt(Game& game, int percent) {
    GlContext& context = glContext();
    game.look.renderPercent = percent;
    // A frame's own pictures (the blast's) are made for the frame being drawn.
    drawGameFrame(roundView(game));
    glFinish();
    return {context.width, context.height, context.readRgb(0, 0, context.width, context.height)};
}

// Mean absolute difference per channel (0 to 255) over a rectangle of two pictures.
double meanDifference(const Picture& a, const Picture& b, const FrameRect::Pixels& r) {
    long sum = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(a.at(x, y)[c] - b.at(x, y)[c]);
    return static_cast<double>(sum) / (3.0 * r.width * r.height);
}

// The share of a rectangle's pixels that are not black.
double litShare(const Picture& p, const FrameRect::Pixels& r) {
    long lit = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            lit += p.at(x, y)[0] + p.at(x, y)[1] + p.at(x, y)[2] > 0;
    return static_cast<double>(lit) / (static_cast<double>(r.width) * r.height);
}

// A view's rectangle cut down to a strip `depth` pixels deep along one of its sides.
FrameRect::Pixels strip(FrameRect::Pixels r, int side, int depth) {
    switch (side) {
    case 0: // left
        r.width = depth;
        break;
    case 1: // right
        r.x += r.width - depth;
        r.width = depth;
        break;
    case 2: // bottom
        r.height = depth;
        break;
    default: // top
        r.y += r.height - depth;
        r.height = depth;
        break;
    }
    return r;
}

class RenderScaleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        glContext();
        runSetUp(game);
        // A frame narrower than the window and lower than it, as a window of another shape
        // shows it: black bars to each side and above.
        game.look.frame = frameRect(1024, 600);
        framescenes::roundStart(game);
    }
    Game game{1, false};
};
} // namespace

TEST_F(RenderScaleTest, ScaledPlayerViewsFillTheirRectanglesAndTheOverviewKeepsItsPixels) {
    const FrameRect& frame = game.look.frame;
    ASSERT_GT(frame.x, 0);
    ASSERT_LT(frame.height, glContext().height);
    const FrameRect::Pixels overview =
        frame.place(0, splitHeight, windowWidth, windowHeight - splitHeight);
    const FrameRect::Pixels views[2] = {
        frame.place(0, 0, windowWidth / 2, splitHeight),
        frame.place(windowWidth / 2, 0, windowWidth / 2, splitHeight)};
    // The scaled frames first, in a fresh game: what the views make once while they are drawn
    // into the scaled picture (the far bushes' pictures) must leave the window to be read.
    const int percents[3] = {85, 70, 50};
    std::vector<Picture> scaled;
    for (int percent : percents) {
        scaled.push_back(drawnAt(game, percent));
        // The scaled picture holds the strip of player views at the largest scale drawn, 85 %,
        // kept for the smaller ones: never the whole frame.
        EXPECT_NEAR(game.look.sceneBuffer.width(), frame.width * 0.85, 1);
        EXPECT_NEAR(game.look.sceneBuffer.height(), views[0].height * 0.85, 1);
    }
    const Picture full = drawnAt(game, 100);
    // At full size the picture's memory is given back.
    EXPECT_EQ(game.look.sceneBuffer.width(), 0);

    // A player view a little softer: the mean difference per channel grows as the scale shrinks
    // (about 3, 3.7 and 5 at the three scales), where a view moved, shrunk or left out differs
    // by tens along its edges.
    const double viewLimit[3] = {5, 6, 8};
    for (int k = 0; k < 3; ++k) {
        const int percent = percents[k];
        const Picture& picture = scaled[static_cast<size_t>(k)];
        // The overview is drawn at full size whatever the scale, its texts included.
        EXPECT_LT(meanDifference(full, picture, overview), 0.05) << percent;
        for (int v = 0; v < 2; ++v) {
            SCOPED_TRACE(std::to_string(percent) + " %, player " + std::to_string(v + 1));
            EXPECT_LT(meanDifference(full, picture, views[v]), viewLimit[k]);
            // Out to each edge: a view drawn short of its rectangle leaves a dark strip there,
            // one drawn past it covers its neighbour's edge.
            for (int side = 0; side < 4; ++side) {
                const FrameRect::Pixels edge = strip(views[v], side, 3);
                EXPECT_NEAR(litShare(picture, edge), litShare(full, edge), 0.02) << side;
                EXPECT_LT(meanDifference(full, picture, edge), 2 * viewLimit[k]) << side;
            }
        }
        // The bars beside and above the frame stay black.
        const FrameRect::Pixels left{0, 0, frame.x, picture.height};
        const FrameRect::Pixels right{frame.x + frame.width, 0,
                                      picture.width - frame.x - frame.width, picture.height};
        const FrameRect::Pixels above{0, frame.y + frame.height, picture.width,
                                      picture.height - frame.y - frame.height};
        for (const FrameRect::Pixels& bar : {left, right, above})
            EXPECT_EQ(litShare(picture, bar), 0.0) << percent;
    }
}

TEST_F(RenderScaleTest, TheLabyrinthMapOverAScaledViewIsDrawnAtTheFramesOwnSize) {
    framescenes::intoLabyrinth(game);
    const Player& p = game.round.player1;
    lookAround(game.round.sight[0], game.round.world.maze, p.x, p.y, p.dirX, p.dirY);
    const Picture full = drawnAt(game, 100);
    const Picture half = drawnAt(game, 50);
    // The map's walls: lines a pixel or two wide in one dark olive, pixel for pixel where they
    // are at full size. Stretched from half the pixels they would be smeared into the cells.
    const FrameRect::Pixels view = game.look.frame.place(0, 0, windowWidth / 2, splitHeight);
    const int wall[3] = {51, 64, 38};
    int wallPixels = 0, kept = 0;
    for (int y = view.y; y < view.y + view.height; ++y)
        for (int x = view.x; x < view.x + view.width; ++x) {
            const uint8_t* p = full.at(x, y);
            if (std::abs(p[0] - wall[0]) > 1 || std::abs(p[1] - wall[1]) > 1 ||
                std::abs(p[2] - wall[2]) > 1)
                continue;
            ++wallPixels;
            const uint8_t* q = half.at(x, y);
            kept += q[0] == p[0] && q[1] == p[1] && q[2] == p[2];
        }
    EXPECT_GT(wallPixels, 40);
    EXPECT_GE(kept, wallPixels * 99 / 100);
}
