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
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

// The quick way of drawing (levels of detail, far things as pictures, culled far sides, the blast
// drawn once a frame as pictures of its slices, the overview's unchanging part kept as a picture)
// against the full way, for the same round at the same tick: each view may differ by rasterisation,
// shading and the far pictures within a measured tolerance, never by a missing or misplaced object.
// The figures of every view are printed.
namespace {

// A player view, where the levels of detail are: the mean absolute difference per channel (0 to
// 255), and the worst mean of a 16 by 16 pixel square at every frame size. One obstacle or figure
// gone, or a far picture showing the wrong side, moves a square's mean by far more than 14. The
// aim is 12; what still reaches 12.4 to 13.7 is the far hedge, its bushes drawn as pictures
// crowding into a few pixels at the horizon, and the backdrop's trees, narrowed for the eye and
// so sharper than the full drawing's filter leaves them.
constexpr double playerViewLimit = 1.5;
constexpr int playerPatch = 16;
constexpr double playerPatchLimit = 14.0;
// The overview, drawn from its kept picture and with the blast as pictures: its squares grow
// with the frame (everything there is drawn larger in proportion).
constexpr int overviewPatch = 16;
constexpr double overviewLimit = 2.0;
constexpr double overviewPatchLimit = 32.0;

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

// With TUVO_PICTURE_DIR set, each view is written there as PPM pictures: drawn in full, drawn the
// quick way, and their difference made eight times as strong.
void writeViews(const std::string& scene, const char* view, int w, int h,
                const std::vector<uint8_t>& full, const std::vector<uint8_t>& quick) {
    const char* folder = std::getenv("TUVO_PICTURE_DIR");
    if (folder == nullptr)
        return;
    std::string base = std::string(folder) + "/" + scene + "-" + view;
    std::replace_if(
        base.begin() + static_cast<long>(std::string(folder).size()) + 1, base.end(),
        [](char c) { return c == ' ' || c == ',' || c == '/'; }, '_');
    std::vector<uint8_t> diff(full.size());
    for (size_t i = 0; i < full.size(); ++i)
        diff[i] = static_cast<uint8_t>(std::min(255, 8 * std::abs(full[i] - quick[i])));
    const std::pair<const char*, const std::vector<uint8_t>*> pictures[3] = {
        {"full", &full}, {"lod", &quick}, {"diff", &diff}};
    for (const auto& [name, rgb] : pictures) {
        FILE* f = std::fopen((base + "-" + name + ".ppm").c_str(), "wb");
        if (f == nullptr)
            continue;
        std::fprintf(f, "P6\n%d %d\n255\n", w, h);
        for (int row = h - 1; row >= 0; --row)
            std::fwrite(&(*rgb)[static_cast<size_t>(row) * w * 3], 1, static_cast<size_t>(w) * 3,
                        f);
        std::fclose(f);
    }
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
        const bool overview = view == 0;
        const int patch =
            overview
                ? std::max(overviewPatch,
                           static_cast<int>(std::lround(overviewPatch * game.look.frame.scale())))
                : playerPatch;
        ASSERT_EQ(quick.rgb.size(), full.rgb.size());
        double total = 0, worstPatch = 0;
        int worstX = 0, worstY = 0;
        for (int py = 0; py + patch <= h; py += patch) {
            for (int px = 0; px + patch <= w; px += patch) {
                double sum = 0;
                for (int y = py; y < py + patch; ++y)
                    for (int x = px; x < px + patch; ++x)
                        for (int c = 0; c < 3; ++c) {
                            const size_t i = (static_cast<size_t>(y) * w + x) * 3 + c;
                            sum += std::abs(full.rgb[i] - quick.rgb[i]);
                        }
                if (sum / (patch * patch * 3) > worstPatch) {
                    worstPatch = sum / (patch * patch * 3);
                    worstX = px;
                    worstY = h - py - patch;
                }
            }
        }
        for (size_t i = 0; i < full.rgb.size(); ++i)
            total += std::abs(full.rgb[i] - quick.rgb[i]);
        const double mean = total / static_cast<double>(full.rgb.size());
        std::printf("%-32s %-9s %4d x %-4d mean %.3f, worst %d-pixel square %.2f at (%d, %d)\n",
                    scene.c_str(), names[view], w, h, mean, patch, worstPatch, worstX, worstY);
        writeViews(scene, names[view], w, h, full.rgb, quick.rgb);
        EXPECT_LE(mean, overview ? overviewLimit : playerViewLimit) << scene << ", " << names[view];
        EXPECT_LE(worstPatch, overview ? overviewPatchLimit : playerPatchLimit)
            << scene << ", " << names[view];
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
