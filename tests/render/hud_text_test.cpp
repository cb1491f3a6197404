#include "actors/Player.h"
#include "render/Hud.h"
#include "render/ViewLayout.h"
#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"
#include <gtest/gtest.h>

TEST(RoundResult, DecidedByPointsAlone) {
    EXPECT_STREQ(resultText(12, 11), "PLAYER 1 WINS!!");
    EXPECT_STREQ(resultText(0, 1), "PLAYER 2 WINS!!");
    EXPECT_STREQ(resultText(20, 20), "  ROUND DRAW!");
}

TEST(HudColumns, FreshAndCollectingPlayers) {
    RandomGenerator random(5);
    MazeWorld world;
    Player p(1, 0.5f, 0.5f, 0, 1, 1, 0);
    const char* fresh[] = {"Bombs : 1", "Fire  : 2", "Speed : 0", "Walls : 0",
                           "Traps : 0", "Cheese: 0", "Points: 0"};
    for (int i = 0; i < hudLineCount; ++i)
        EXPECT_EQ(hudLine(p, i), fresh[i]);
    p.fireItems = 3;
    EXPECT_EQ(hudLine(p, 1), "Fire  : 5");
    p.maxFireItems = 1;
    EXPECT_EQ(hudLine(p, 1), "Fire  : MAX");
    p.cheese = 2;
    p.points = 23;
    EXPECT_EQ(hudLine(p, 5), "Cheese: 2");
    EXPECT_EQ(hudLine(p, 6), "Points: 23");
}

TEST(ShadowMatrix, ProjectsPointsOntoTheGroundAlongRaysFromTheLight) {
    const float light[4] = {7.5f, 7.5f, 10.0f, 1.0f};
    const float plane[4] = {0, 0, 1, 1};
    float m[16];
    shadowMatrix(plane, light, m);
    const float points[][3] = {{3, 4, 0.5f}, {7.5f, 7.5f, 2}, {12, 1, 0.26f}};
    for (const auto& p : points) {
        float out[4];
        for (int row = 0; row < 4; ++row)
            out[row] = m[0 * 4 + row] * p[0] + m[1 * 4 + row] * p[1] + m[2 * 4 + row] * p[2] +
                       m[3 * 4 + row];
        float x = out[0] / out[3], y = out[1] / out[3], z = out[2] / out[3];
        EXPECT_NEAR(z, -1, 1e-5) << "the plane z = -1";
        // Collinear with the light: the shadow lies on the ray from L through the point.
        float t = (light[2] - z) / (light[2] - p[2]);
        EXPECT_NEAR(x, light[0] + (p[0] - light[0]) * t, 1e-4);
        EXPECT_NEAR(y, light[1] + (p[1] - light[1]) * t, 1e-4);
    }
}
