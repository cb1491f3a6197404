#include "actors/Creature.h"
#include "render/ObjectDrawing.h"
#include "render/OverviewScene.h"
#include "actors/Particles.h"
#include "actors/Player.h"
#include "render/FigureModels.h"
#include "render/ParticlesDraw.h"
#include "render/WorldModels.h"
#include "render/TextureTable.h"
#include "render/Scenery.h"
#include "world/TestWorld.h"
#include <gtest/gtest.h>
#include <set>

namespace {
// A distinct solid colour for every ground, backdrop and road slot.
Rgb slotColour(int slot) {
    return {40 + slot * 4, 250 - slot * 4, slot % 2 != 0 ? 60 : 180};
}

struct SolidTextures {
    TextureTable table;
    SolidTextures() {
        for (int slot = 0; slot <= 46; ++slot) {
            const Rgb c = slotColour(slot);
            table.names[slot] = solidTexture(static_cast<uint8_t>(c[0]), static_cast<uint8_t>(c[1]),
                                             static_cast<uint8_t>(c[2]));
        }
    }
    ~SolidTextures() { glDeleteTextures(47, table.names); }
};

const int32_t groundBase[3] = {0, 5, 10};
const int32_t backgroundBase[3] = {15, 20, 25};
const int32_t orthogonalBase[3] = {30, 35, 40};

struct ScenerySetUp : ::testing::Test {
    SolidTextures* textures = nullptr;
    Scenery scenery{6, 15, 0};
    Seasons seasons;
    void SetUp() override {
        glContext();
        textures = new SolidTextures;
        scenery.build(&textures->table, 45, 46, groundBase, backgroundBase, orthogonalBase);
    }
    void TearDown() override { delete textures; }

    Rgb overviewPixel(float phase, double x, double y, double z) {
        beginOverviewFrame();
        seasons.select(phase);
        scenery.drawOverviewGround(seasons.step);
        const ScreenPoint p = projectPoint(x, y, z);
        EXPECT_TRUE(p.onScreen);
        return pixelAt(p);
    }
};
} // namespace

TEST_F(ScenerySetUp, GroundAndBackdropFollowTheSeasons) {
    // A pillar cell shows the season's ground, the far wall the season's backdrop.
    EXPECT_TRUE(near(overviewPixel(0, 3.5, 3.5, 0), slotColour(0), 2));
    EXPECT_TRUE(near(overviewPixel(0, 7.5, 17, 1), slotColour(15), 2));
    // Half-way through the round: the second blend step toward winter.
    EXPECT_TRUE(near(overviewPixel(0.5f, 3.5, 3.5, 0), slotColour(7), 2));
    EXPECT_TRUE(near(overviewPixel(0.5f, 7.5, 17, 1), slotColour(22), 2));
    // The shadow pass's phase keeps that step.
    EXPECT_TRUE(near(overviewPixel(0.01f, 3.5, 3.5, 0), slotColour(7), 2));
    // After the round spring and summer come back for good.
    EXPECT_TRUE(near(overviewPixel(1.5f, 3.5, 3.5, 0), slotColour(0), 2));
    EXPECT_TRUE(near(overviewPixel(1.5f, 7.5, 17, 1), slotColour(15), 2));
}

TEST_F(ScenerySetUp, OverviewGroundLaysRoadsBetweenThePillars) {
    EXPECT_TRUE(near(overviewPixel(0, 2.5, 2.5, 0), slotColour(45), 2)) << "crossing";
    EXPECT_TRUE(near(overviewPixel(0, 3.5, 2.5, 0), slotColour(46), 2)) << "road along x";
    EXPECT_TRUE(near(overviewPixel(0, 2.5, 3.5, 0), slotColour(46), 2)) << "road along y";
    EXPECT_TRUE(near(overviewPixel(0, 0.5, 14.5, 0), slotColour(45), 2)) << "far corner";
    // Around the house, and outside the arena, the ground is grass.
    EXPECT_TRUE(near(overviewPixel(0, 6.5, 7.5, 0), slotColour(0), 2));
    EXPECT_TRUE(near(overviewPixel(0, 7.5, 12.5, 0), slotColour(46), 2));
    EXPECT_TRUE(near(overviewPixel(0, -0.5, 5.5, 0), slotColour(0), 2));
    // The turned road tile still covers its own cell, up to its edges.
    EXPECT_TRUE(near(overviewPixel(0, 3.05, 2.5, 0), slotColour(46), 2));
    EXPECT_TRUE(near(overviewPixel(0, 3.95, 2.5, 0), slotColour(46), 2));
}

TEST_F(ScenerySetUp, ViewGroundDrawsItsStandingThingsOnlyInTheWedgeAhead) {
    // Seen from straight above, so the closed backdrop box does not hide the ground.
    glViewport(0, 0, 1024, 735);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-3, 18, -3, 18, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    scenery.drawViewGround(7.5f, 7.5f, 0, 1, 0);
    auto at = [](double x, double y) { return pixelAt(projectPoint(x, y, 0)); };
    // The ground is drawn whole; what stands on it only inside the wedge.
    EXPECT_TRUE(near(at(7.5, 5.5), slotColour(0), 2)) << "the hut two rows behind is left out";
    EXPECT_TRUE(near(at(-0.5, 8.5), slotColour(0), 2)) << "the hedge beside the wedge is left out";
    EXPECT_TRUE(near(at(15.5, 8.5), slotColour(0), 2)) << "the hedge beside the wedge is left out";
    EXPECT_TRUE(near(at(0.5, 8.5), slotColour(45), 2)) << "the road beside the wedge is drawn";
    EXPECT_TRUE(near(at(7.5, 6.5), slotColour(46), 2)) << "one row behind is still drawn";
    EXPECT_TRUE(near(at(7.5, 12.5), slotColour(46), 2));
    EXPECT_TRUE(near(at(2.5, 12.5), slotColour(45), 2));
    EXPECT_TRUE(near(at(7.5, 9.5), slotColour(0), 2)) << "the house cell is plain ground";
    EXPECT_TRUE(near(at(5.5, 9.5), slotColour(0), 2)) << "an approach cell is plain ground";
    EXPECT_TRUE(near(at(-1.1, 15.1), slotColour(0), 2)) << "ground under the hedge";

    // From eye level looking back, the fourth backdrop wall closes the box.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 2.56, 0.5, 150);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(7.5, 7.5, 1, 7.5, 0, 1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scenery.drawViewGround(7.5f, 7.5f, 0, -1, 0);
    EXPECT_TRUE(near(pixelAt(projectPoint(7.5, -2, 2)), slotColour(30), 2));
}

TEST_F(ScenerySetUp, CottageRoofIsClosedFromAbove) {
    glViewport(0, 0, 1024, 735);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCallList(scenery.cottageList);
    // Every point over the roof's 0.74 by 0.74 square shows red roof, no wall top, no gap.
    int red = 0, total = 0;
    for (double x = 0.14; x <= 0.86; x += 0.02) {
        for (double y = 0.14; y <= 0.86; y += 0.02) {
            ++total;
            if (near(pixelAt(projectPoint(x, y, 0)), Rgb{255, 75, 75}, 2))
                ++red;
        }
    }
    EXPECT_EQ(red, total);
    glEnable(GL_LIGHTING);
}

TEST_F(ScenerySetUp, DecorationPlantsHedgesAndBuildings) {
    beginOverviewFrame();
    scenery.drawDecoration();
    auto greenAt = [](double x, double y, double z) {
        const Rgb c = pixelAt(projectPoint(x, y, z));
        return c[1] > c[0] && c[1] > c[2] && c[1] > 40;
    };
    auto redAt = [](double x, double y, double z) {
        const Rgb c = pixelAt(projectPoint(x, y, z));
        return c[0] > 2 * c[1] && c[0] > 2 * c[2] && c[0] > 60;
    };
    EXPECT_TRUE(greenAt(-0.5, 7.5, 0.6)) << "inner hedge on -x";
    EXPECT_TRUE(greenAt(15.5, 7.5, 0.6)) << "inner hedge on +x";
    EXPECT_TRUE(greenAt(7.5, 16.5, 0.6)) << "outer hedge on +y";
    EXPECT_TRUE(greenAt(6.35, 8.35, 0.7)) << "house corner";
    EXPECT_TRUE(redAt(3.5, 3.5, 0.62)) << "cottage roof";
    EXPECT_TRUE(redAt(5.5, 7.5, 0.6)) << "hut cone by the house";
    // Approach cells carry nothing.
    EXPECT_LT(brightness(pixelAt(projectPoint(7.5, 7.5, 0.2))), 15);
}

TEST_F(ScenerySetUp, EveryListIsCompiledInBuildAndNoneDuringAFrame) {
    std::set<unsigned int> lists = {
        scenery.decorationList,  scenery.roadVList,     scenery.roadVTurnedList,
        scenery.roadList,        scenery.backdrop3List, scenery.tileList,
        scenery.backdrop4List,   scenery.cottageList,   scenery.hutList,
        scenery.houseCornerList, scenery.bushList,      scenery.coarseBushList};
    for (unsigned int list : scenery.fieldShapeLists)
        lists.insert(list);
    for (int k = 0; k < 15; ++k) {
        lists.insert(scenery.backgroundLists[k]);
        lists.insert(scenery.orthogonalLists[k]);
        lists.insert(scenery.groundLists[k]);
        lists.insert(scenery.fieldLists[k]);
    }
    EXPECT_EQ(lists.size(), 76u);
    for (unsigned int list : lists)
        EXPECT_TRUE(glIsList(list)) << list;

    TestWorld t(3);
    WorldModels models;
    models.build(&textures->table, t.world.maze);
    const WorldLook look{models, &textures->table};
    Player one(1, 0.5f, 0.5f, 0, 1, 1, 0);
    Player two(2, 14.5f, 0.5f, 0, 1, 1, 0);
    FigureModel oneModel, twoModel;
    oneModel.build(one);
    twoModel.build(two);
    Creature creature(1, t.random);
    creature.place(t.world, t.random);
    ParticleSystem snow;
    snow.prepare(t.random);
    t.world.blastCells[t.world.blastCellCount++] = {4, 4, 0};

    // The next free list name, handed back at once.
    const unsigned int probe = glGenLists(1);
    glDeleteLists(probe, 1);
    for (float phase : {0.0f, 0.25f, 0.5f, 0.75f}) {
        beginOverviewFrame();
        scenery.drawDecoration();
        Seasons seasons;
        seasons.select(phase);
        scenery.drawOverviewGround(seasons.step);
        drawArenaItems(t.world, look);
        drawSnow(snow, phase, &textures->table);
        drawPlayer(one, oneModel, models, false);
        drawPlayer(two, twoModel, models, false);
        drawCreature(t.world, creature, false);
        scenery.drawViewGround(one.x, one.y, one.dirX, one.dirY, seasons.step);
        drawItemsAround(t.world, look, one.x, one.y, one.dirX, one.dirY);
        drawLabyrinthView(t.world, look);
    }
    for (unsigned int name = probe; name < probe + 64; ++name)
        EXPECT_FALSE(glIsList(name)) << "list " << name << " made during a frame";
}

TEST_F(ScenerySetUp, FarHedgeBushesShownAsPicturesLookAsTheBushesDo) {
    // A player's eye-level view up the arena to the far hedges, lit as the views are.
    auto draw = [&](bool quick) {
        beginOverviewFrame(0, 0, 1);
        glViewport(0, 0, 512, 367);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45, 512.0 / 367.0, 0.5, 150);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(9.2, 3.5, 0.9, 9.0, 5.5, 0.7, 0, 0, 1);
        scenery.drawViewGround(9.0f, 5.5f, 0, 1, 0, nullptr, quick);
        glFinish();
        return glContext().readRgb(0, 0, 512, 367);
    };
    const std::vector<uint8_t> full = draw(false);
    const std::vector<uint8_t> quick = draw(true);
    double total = 0;
    for (size_t i = 0; i < full.size(); ++i)
        total += std::abs(full[i] - quick[i]);
    EXPECT_LT(total / static_cast<double>(full.size()), 2.0);

    // A bush twelve cells ahead, off to the side: green in its middle, and the sky of the
    // backdrop just over its crown, inside the square its picture is shown on.
    const ScreenPoint middle = projectPoint(5.5, 15.5, 0.5);
    const ScreenPoint over = projectPoint(5.5, 15.5, 0.84);
    ASSERT_TRUE(middle.onScreen && over.onScreen);
    auto at = [](const std::vector<uint8_t>& rgb, const ScreenPoint& p) {
        const size_t i = (static_cast<size_t>(p.y) * 512 + static_cast<size_t>(p.x)) * 3;
        return Rgb{rgb[i], rgb[i + 1], rgb[i + 2]};
    };
    const Rgb bush = at(quick, middle);
    EXPECT_TRUE(bush[1] > bush[0] && bush[1] > bush[2] && bush[1] > 40);
    EXPECT_TRUE(near(bush, at(full, middle), 24));
    EXPECT_TRUE(near(at(quick, over), at(full, over), 2))
        << "the picture's empty corner shows through";
}
