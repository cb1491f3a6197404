#include "actors/Creature.h"
#include "render/OverviewScene.h"
#include "actors/Player.h"
#include "render/FigureModels.h"
#include "render/WorldModels.h"
#include "world/TestWorld.h"
#include <gtest/gtest.h>

namespace {
// The top of the head, the body's flank facing the camera, and the ground beside the figure.
struct FigurePoints {
    ScreenPoint head, body, beside;
};

FigurePoints pointsAround(float x, float y) {
    return {projectPoint(x, y, 0.72), projectPoint(x, y - 0.2, 0.26),
            projectPoint(x + 0.8, y, 0.3)};
}

// No lights and a fresh world: only the figure under test is drawn.
struct FigureScene : ::testing::Test {
    TestWorld t{42};
    WorldModels models;
    void SetUp() override {
        glContext();
        t.clearArena();
        models.build(nullptr, t.world.maze);
    }
    void draw(const Player& p, bool shadowPass) {
        FigureModel model;
        model.build(p);
        drawPlayer(p, model, models, shadowPass);
    }
};
} // namespace

TEST_F(FigureScene, PlayersAppearAtTheirPositionsInTheirColours) {
    Player one(1, 4.5f, 4.5f, 0, 1, 1, 0);
    Player two(2, 10.5f, 4.5f, 0, 1, 1, 0);
    // A view's step turns each figure to its heading; drawing shows it.
    one.advanceAnimation();
    two.advanceAnimation();
    beginOverviewFrame();
    draw(one, false);
    draw(two, false);

    const FigurePoints p1 = pointsAround(4.5f, 4.5f);
    const FigurePoints p2 = pointsAround(10.5f, 4.5f);
    EXPECT_TRUE(shadeOf(pixelAt(p1.head), Rgb{237, 74, 89}, 30));
    EXPECT_TRUE(shadeOf(pixelAt(p2.head), Rgb{74, 151, 237}, 30));
    EXPECT_TRUE(shadeOf(pixelAt(p1.body), Rgb{255, 255, 255}, 10));
    EXPECT_TRUE(shadeOf(pixelAt(p2.body), Rgb{255, 255, 255}, 10));
    EXPECT_LT(brightness(pixelAt(p1.beside)), 15);
    EXPECT_LT(brightness(pixelAt(p2.beside)), 15);
    EXPECT_FLOAT_EQ(one.heading, 180) << "facing +y turns the face away from -y";
}

TEST_F(FigureScene, ShadowPassDrawsTheWholeFigureInFlatGrey) {
    Player one(1, 4.5f, 4.5f, 1, 0, 0, -1);
    beginOverviewFrame();
    glDisable(GL_LIGHTING);
    draw(one, true);
    glEnable(GL_LIGHTING);
    const FigurePoints p = pointsAround(4.5f, 4.5f);
    EXPECT_TRUE(near(pixelAt(p.head), Rgb{77, 77, 77}, 2));
    EXPECT_TRUE(near(pixelAt(p.body), Rgb{77, 77, 77}, 2));
}

TEST_F(FigureScene, CarriedCheeseIsHeldInFrontOfTheBody) {
    Player one(1, 7.5f, 4.5f, 0, -1, -1, 0);
    one.carryingCheese = true;
    one.advanceAnimation();
    beginOverviewFrame();
    glDisable(GL_LIGHTING);
    draw(one, true);
    glEnable(GL_LIGHTING);
    // Facing -y the wedge sits 0.21 in front of the centre at hand height; untextured it is
    // white where the figure is flat grey.
    const Rgb wedge = pixelAt(projectPoint(7.5, 4.5 - 0.21, 0.3));
    EXPECT_TRUE(near(wedge, Rgb{255, 255, 255}, 2))
        << wedge[0] << " " << wedge[1] << " " << wedge[2];
}

TEST_F(FigureScene, CreatureHasAYellowHeadAndVanishesOnceHit) {
    Creature creature(1, t.random);
    creature.x = 7.5f;
    creature.y = 4.5f;
    beginOverviewFrame();
    drawCreature(t.world, creature, false);
    EXPECT_TRUE(shadeOf(pixelAt(pointsAround(7.5f, 4.5f).head), Rgb{255, 255, 0}, 30));

    t.world.creatureHit[0] = true;
    const float x = creature.x, y = creature.y;
    beginOverviewFrame();
    drawCreature(t.world, creature, false);
    EXPECT_LT(brightness(pixelAt(pointsAround(x, y).head)), 15);
    EXPECT_EQ(creature.x, x);
    EXPECT_EQ(creature.y, y);
}

TEST(BombModel, LyingBombIsDarkAndLeavesTheDefaultMaterial) {
    glContext();
    Bomb bomb;
    bomb.x = 7.5f;
    bomb.y = 4.5f;
    beginOverviewFrame(0.6f, 0.8f, 1.0f);
    drawBomb(bomb);
    const Rgb ball = pixelAt(projectPoint(7.5, 4.5 - 0.2, 0.2));
    EXPECT_LT(ball[0], 90);
    EXPECT_LT(ball[1], 90);
    EXPECT_LT(ball[2], 90);
    EXPECT_LE(std::abs(ball[0] - ball[2]), 4) << "a grey ball";
    const Rgb sky = pixelAt(projectPoint(7.5 + 0.8, 4.5, 0.25));
    EXPECT_TRUE(near(sky, Rgb{153, 204, 255}, 2));

    float value[4];
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        glGetMaterialfv(face, GL_SHININESS, value);
        EXPECT_FLOAT_EQ(value[0], 10);
        glGetMaterialfv(face, GL_SPECULAR, value);
        EXPECT_FLOAT_EQ(value[0], 0.1f);
        glGetMaterialfv(face, GL_EMISSION, value);
        EXPECT_FLOAT_EQ(value[0], 0.01f);
    }
}
