#include "app/Game.h"
#include "render/GlState.h"
#include "render/Hud.h"
#include "render/ViewFrustum.h"
#include "render/Views.h"
#include "support/GlContext.h"
#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {
void expectPerspective(double aspect, double nearPlane, double farPlane) {
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / std::tan(22.5 * 3.14159265358979 / 180.0);
    EXPECT_NEAR(m[5], f, 1e-4);
    EXPECT_NEAR(m[0], f / aspect, 1e-4);
    EXPECT_NEAR(m[10], (farPlane + nearPlane) / (nearPlane - farPlane), 1e-4);
    EXPECT_NEAR(m[14], 2 * farPlane * nearPlane / (nearPlane - farPlane), 1e-4);
}

void expectViewport(int x, int y, int w, int h) {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    EXPECT_EQ(v[0], x);
    EXPECT_EQ(v[1], y);
    EXPECT_EQ(v[2], w);
    EXPECT_EQ(v[3], h);
}

// A whole game set up from its generated pictures, as the program does it, without sound.
Game& setUpGame() {
    static Game* game = nullptr;
    if (!game) {
        glContext();
        game = new Game(777, false);
        setInitialGlState(1024, 735);
        runSetUp(*game);
        game->round.clock.set(0);
        game->gameRunning = true;
    }
    return *game;
}
} // namespace

TEST(GlState, InitialPipelineState) {
    glContext();
    glClearColor(0.3f, 0.2f, 0.1f, 0.5f);
    glDisable(GL_LIGHTING);
    setInitialGlState(1024, 735);
    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0);
    EXPECT_EQ(clear[1], 0);
    EXPECT_EQ(clear[2], 0);
    EXPECT_EQ(clear[3], 1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLint value;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    glGetIntegerv(GL_POINT_SMOOTH_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    expectViewport(0, 0, 1024, 735);
    expectPerspective(1024.0 / 735.0, 0.5, 150);
}

TEST(GlState, ZeroHeightWindowUsesHeightOne) {
    glContext();
    setProjection(640, 0);
    expectViewport(0, 0, 640, 1);
    expectPerspective(640.0, 0.5, 150);
    setProjection(1024, 735);
}

TEST(Lights, EnablingALightThatIsOnAnswersFalse) {
    glContext();
    Light light(GL_LIGHT3);
    light.disable();
    EXPECT_TRUE(light.enable());
    EXPECT_FALSE(light.enable());
    EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
    light.disable();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
}

TEST(Lights, SpotValuesReachOnlyAPositionalLight) {
    glContext();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    Light directional(GL_LIGHT4);
    directional.setPosition(1, 2, 3, false);
    directional.setSpot(0, 0, -1, 10, 2);
    float cutoff;
    glGetLightfv(GL_LIGHT4, GL_SPOT_CUTOFF, &cutoff);
    EXPECT_EQ(cutoff, 180) << "stored but not sent";
    EXPECT_EQ(directional.spotCutoff, 10);
    Light positional(GL_LIGHT5);
    positional.setPosition(0, 0, 1, true);
    positional.setSpot(0, 0, -1, 10, 2);
    glGetLightfv(GL_LIGHT5, GL_SPOT_CUTOFF, &cutoff);
    EXPECT_EQ(cutoff, 10);
    float pos[4];
    glGetLightfv(GL_LIGHT5, GL_POSITION, pos);
    EXPECT_EQ(pos[3], 1);
}

TEST(GameFrame, EachViewSetsItsViewportProjectionAndLight) {
    Game& g = setUpGame();
    drawOverview(roundView(g));
    expectViewport(0, 200, 1024, 535);
    expectPerspective(1024.0 / 535.0, 1, 150);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0)) << "each view switches its light off again";

    drawPlayerView(roundView(g), 1);
    expectViewport(0, 0, 512, 200);
    expectPerspective(2.56, 0.5, 150);
    drawPlayerView(roundView(g), 2);
    expectViewport(512, 0, 512, 200);
    expectPerspective(2.56, 0.5, 150);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
}

TEST(GameFrame, ThreeViewsFillTheWindow) {
    Game& g = setUpGame();
    GlContext& gl = glContext();
    drawGameFrame(roundView(g));
    // Something is drawn in each of the three views: not a black window.
    auto litPixels = [&](int x, int y, int w, int h) {
        std::vector<uint8_t> rgb = gl.readRgb(x, y, w, h);
        int lit = 0;
        for (size_t i = 0; i < rgb.size(); i += 3)
            lit += rgb[i] + rgb[i + 1] + rgb[i + 2] > 60;
        return lit * 100 / (w * h);
    };
    EXPECT_GT(litPixels(0, 200, 1024, 535), 80);
    EXPECT_GT(litPixels(0, 0, 512, 200), 50);
    EXPECT_GT(litPixels(512, 0, 512, 200), 50);
}

TEST(GameFrame, HudTextIsWrittenInTheOverviewsTopStrip) {
    Game& g = setUpGame();
    GlContext& gl = glContext();
    drawGameFrame(roundView(g));
    // The clock at (470, 30) from the overview's top left; rows counted from the window bottom.
    const int top = 735 - 30;
    std::vector<uint8_t> rgb = gl.readRgb(470, top - 2, 90, 12);
    int dark = 0, white = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        dark += rgb[i] < 30 && rgb[i + 1] < 30 && rgb[i + 2] < 30;
        white += rgb[i] > 230 && rgb[i + 1] > 230 && rgb[i + 2] > 230;
    }
    EXPECT_GT(dark, 20) << "black letters";
    EXPECT_GT(white, 20) << "their white rim";
}

// The letters come from their picture exactly as written, and are written into it only when
// what they say changes.
TEST(GameFrame, HudLettersFromTheirPictureAreTheWrittenOnes) {
    Game& g = setUpGame();
    GlContext& gl = glContext();
    auto letters = [&](bool full) {
        g.look.fullDetail = full;
        glViewport(0, 200, 1024, 535);
        glClearColor(0.2f, 0.4f, 0.6f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawHud(roundView(g));
        glFinish();
        g.look.fullDetail = false;
        return gl.readRgb(0, 200, 1024, 535);
    };
    // A clock no other test shows, so the picture has to be written.
    g.round.gameTime = 61000;
    const int before = g.look.hudPicture.writes();
    EXPECT_EQ(letters(false), letters(true)) << "a minute in";
    EXPECT_EQ(letters(false), letters(true));
    EXPECT_EQ(g.look.hudPicture.writes(), before + 1) << "the same texts are not written again";
    g.round.gameTime += 1000;
    EXPECT_EQ(letters(false), letters(true)) << "a second later";
    EXPECT_EQ(g.look.hudPicture.writes(), before + 2);
    g.round.paused = true;
    EXPECT_EQ(letters(false), letters(true)) << "paused";
    g.round.paused = false;
    g.round.roundOver = true;
    g.round.player1.points = 12;
    EXPECT_EQ(letters(false), letters(true)) << "the result and the play-again line";
    g.round.roundOver = false;
    g.round.player1.points = 0;
    g.round.gameTime = 0;
    glClearColor(0, 0, 0, 1);
}

TEST(ViewFrustum, KeepsWhatTheCameraSeesAndDropsWhatLiesBehindOrBeside) {
    glContext();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A player view: 45 degrees high, 2.56 wide, so about 93 degrees across.
    gluPerspective(45, 2.56, 0.5, 150);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(5, 5, 0.9, 5, 6, 0.7, 0, 0, 1);
    const ViewFrustum f = ViewFrustum::current();
    EXPECT_TRUE(f.mayShow(5, 10, 0.4f, 0.1f)) << "straight ahead";
    EXPECT_TRUE(f.mayShow(8, 8, 0.4f, 0.1f)) << "45 degrees to the right, inside the 46";
    EXPECT_FALSE(f.mayShow(5, 2, 0.4f, 0.9f)) << "behind";
    EXPECT_FALSE(f.mayShow(-5, 6, 0.4f, 0.9f)) << "far to the left";
    EXPECT_FALSE(f.mayShow(5, 5.2f, 0.4f, 0.1f)) << "nearer than the near plane";
    EXPECT_TRUE(f.mayShow(-5, 6, 0.4f, 8)) << "a ball large enough reaches in";
    glLoadIdentity();
}
