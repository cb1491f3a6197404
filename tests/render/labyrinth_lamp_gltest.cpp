#include "FrameScenes.h"
#include "app/Game.h"
#include "render/GlState.h"
#include "render/OverviewScene.h"
#include "render/Views.h"
#include "world/MazeGenerator.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>
#include <gtest/gtest.h>

// The lamp a player carries in the labyrinth is a narrow spot light along the view. Its pool must
// show on the wall in front, however the wall's corners fall: a wall whose corners all lie
// outside the cone is still lit where the cone meets it.
TEST(LabyrinthLamp, WallAheadIsLitInTheMiddleOfTheView) {
    glContext();
    setInitialGlState(1024, 735);
    // As in the game, only the view's own light is on while it draws, whatever ran before.
    for (GLenum light = GL_LIGHT0; light <= GL_LIGHT7; ++light)
        glDisable(light);
    Game game(1, false);
    runSetUp(game);
    framescenes::roundStart(game);
    // Player 1 in the middle of the south door's cell at y 100.5, its eye 0.9 behind at height
    // 0.9, looking north.
    framescenes::intoLabyrinth(game);
    MazeGenerator& maze = game.round.world.maze;
    const int n = maze.size, col = n / 2;
    const float x = 104.5f, faceOffset = maze.wallThickness / 2;
    // Nothing stands between the player and the wall: the cheese is taken.
    for (int i = MazeWorld::firstCheese; i < game.round.world.itemCount; ++i)
        game.round.world.items[i].taken = 1;

    // Brightness of the view's middle column on the wall at `wallY`, 0.7 high: inside the cone,
    // above the player's own head.
    auto wallBrightness = [&](float wallY, float lampDiffuse) {
        const float diffuse[4] = {lampDiffuse, lampDiffuse, lampDiffuse, 1};
        const float specular[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
        if (lampDiffuse == 0)
            glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawPlayerView(roundView(game), 1);
        glFinish();
        const ScreenPoint p = projectPoint(x, wallY - faceOffset, 0.7);
        game.look.setLights();
        EXPECT_TRUE(p.onScreen);
        return brightness(pixelAt(p));
    };
    // The wall closing the player's own cell, its corners 12 degrees off the lamp's axis; then the
    // wall closing the next cell.
    for (int row : {0, 1}) {
        for (int k = 0; k < n * n; ++k)
            maze.wallPosX[k] = maze.wallPosY[k] = false;
        maze.wallPosY[row * n + col] = true;
        const float wallY = 101.0f + static_cast<float>(row);
        const int lit = wallBrightness(wallY, 0.9f);
        const int dark = wallBrightness(wallY, 0);
        EXPECT_GT(lit, dark * 3 / 2 + 30)
            << "wall at y " << wallY << ": lit " << lit << ", without the lamp " << dark;
    }
}
