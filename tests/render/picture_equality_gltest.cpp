#include "FrameScenes.h"
#include "app/Game.h"
#include "render/GlState.h"
#include "render/ViewLayout.h"
#include "render/Views.h"
#include "support/GlContext.h"
#include <GL/gl.h>
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

// The quick way of drawing (levels of detail, culled far sides, the blast drawn once as a
// picture, the overview's unchanging part kept as a picture) against the full way, for the same
// round at the same tick: each view may differ by rasterisation and shading, never by a missing or
// misplaced object.
namespace {

// Each square of this many pixels of a 1024 by 735 frame (in proportion in a larger one, where
// everything is drawn larger) is compared on its own, so that one object gone from a view shows
// even where the view's mean hardly moves.
constexpr int framePatch = 16;
// Mean absolute difference per channel, 0 to 255.
constexpr double viewLimit = 2.0;
// A figure or an item is larger than a patch in every view; gone, it changes the patch's mean by
// far more than this.
constexpr double patchLimit = 32.0;

struct ViewPicture {
    GLint rect[4];
    std::vector<uint8_t> rgb;
};

ViewPicture drawView(const Game& game, int view) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ++game.look.frameNumber;
    if (view == 0)
        drawOverview(roundView(game));
    else
        drawPlayerView(roundView(game), view);
    ViewPicture p;
    glGetIntegerv(GL_VIEWPORT, p.rect);
    glFinish();
    p.rgb = glContext().readRgb(p.rect[0], p.rect[1], p.rect[2], p.rect[3]);
    return p;
}

void expectAlike(Game& game, const std::string& scene) {
    static const char* const names[3] = {"overview", "player 1", "player 2"};
    for (int view = 0; view < 3; ++view) {
        game.look.fullDetail = true;
        const ViewPicture full = drawView(game, view);
        game.look.fullDetail = false;
        // The first quick drawing may make the overview's unchanging picture (or find the one
        // kept from the scene before, which must then be made anew); the second shows it kept.
        const ViewPicture first = drawView(game, view);
        const ViewPicture quick = drawView(game, view);
        ASSERT_EQ(first.rgb, quick.rgb) << scene << ", " << names[view];
        const int w = full.rect[2], h = full.rect[3];
        const int patch = std::max(
            framePatch, static_cast<int>(std::lround(framePatch * game.look.frame.scale())));
        ASSERT_EQ(quick.rgb.size(), full.rgb.size());
        double total = 0, worstPatch = 0;
        for (int py = 0; py + patch <= h; py += patch) {
            for (int px = 0; px + patch <= w; px += patch) {
                double sum = 0;
                for (int y = py; y < py + patch; ++y)
                    for (int x = px; x < px + patch; ++x)
                        for (int c = 0; c < 3; ++c) {
                            const size_t i = (static_cast<size_t>(y) * w + x) * 3 + c;
                            sum += std::abs(full.rgb[i] - quick.rgb[i]);
                        }
                worstPatch = std::max(worstPatch, sum / (patch * patch * 3));
            }
        }
        for (size_t i = 0; i < full.rgb.size(); ++i)
            total += std::abs(full.rgb[i] - quick.rgb[i]);
        const double mean = total / static_cast<double>(full.rgb.size());
        EXPECT_LT(mean, viewLimit) << scene << ", " << names[view];
        EXPECT_LT(worstPatch, patchLimit) << scene << ", " << names[view];
    }
}

} // namespace

TEST(PictureEquality, QuickDrawingShowsWhatFullDrawingShows) {
    glContext();
    setInitialGlState(1024, 735);
    Game game(1, false);
    runSetUp(game);
    framescenes::roundStart(game);
    expectAlike(game, "round start");
    ASSERT_GT(framescenes::crossingBlast(game), 20);
    expectAlike(game, "reach-14 blast");
    game.round.shadowsOn = false;
    framescenes::midWinter(game);
    expectAlike(game, "mid-winter");
    framescenes::intoLabyrinth(game);
    expectAlike(game, "labyrinth");
    // Each scene above changes what the overview's kept picture shows (obstacles destroyed, the
    // season); a smaller window moves and shrinks the frame, and the picture must follow too.
    game.look.frame = frameRect(700, 600);
    expectAlike(game, "labyrinth in a smaller window");
}

// The same at the frame of a 1920 by 1080 screen (1504 by 1080), where the player views are
// drawn the largest and the far pictures and cut figures stand closest to their limits.
TEST(PictureEquality, QuickDrawingShowsWhatFullDrawingShowsOnAFullHdScreen) {
    GlContext& context = glContext();
    auto* window = static_cast<SDL_Window*>(context.window);
    constexpr int width = 1504, height = 1080;
    SDL_SetWindowSize(window, width, height);
    // The context takes the window's new size when it is made current again.
    SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(context.context));
    setInitialGlState(width, height);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    ASSERT_EQ(viewport[2], width);
    Game game(1, false);
    runSetUp(game);
    game.look.frame = frameRect(width, height);
    ASSERT_EQ(game.look.frame.width, width);
    ASSERT_EQ(game.look.frame.height, height);
    framescenes::roundStart(game);
    expectAlike(game, "round start, 1504 x 1080");
    ASSERT_GT(framescenes::crossingBlast(game), 20);
    expectAlike(game, "reach-14 blast, 1504 x 1080");
    game.round.shadowsOn = false;
    framescenes::midWinter(game);
    expectAlike(game, "mid-winter, 1504 x 1080");
    framescenes::intoLabyrinth(game);
    expectAlike(game, "labyrinth, 1504 x 1080");
    SDL_SetWindowSize(window, context.width, context.height);
    SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(context.context));
    setInitialGlState(context.width, context.height);
}
