#define GL_GLEXT_PROTOTYPES
#include "render/ObjectDrawing.h"
#include "render/BlastSprite.h"
#include "render/ParticlesDraw.h"
#include "render/ViewFrustum.h"
#include "actors/Particles.h"
#include "render/ObstaclePictures.h"
#include "render/OverviewScene.h"
#include "actors/ArenaAnimation.h"
#include "render/WorldModels.h"
#include "actors/Player.h"
#include "render/TextureTable.h"
#include "world/TestWorld.h"
#include <GL/glext.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {
// A world of a seed with its objects compiled, untextured, ready to draw.
struct DrawnWorld {
    TestWorld t;
    WorldModels models;
    WorldLook look{models, nullptr};
    explicit DrawnWorld(uint32_t seed) : t(seed) {
        glContext();
        models.build(nullptr, t.world.maze);
    }
    // No obstacle standing and no item lying: only what a test puts down.
    void clearEverything() {
        t.clearArena();
        for (Obstacle& o : t.world.obstacles)
            o.destroyed = true;
    }
};

Rgb obstacleColour(const Obstacle& o) {
    return {static_cast<int>(o.colourR), static_cast<int>(o.colourG), static_cast<int>(o.colourB)};
}

bool cellHoldsObstacle(const MazeWorld& world, int i, int j) {
    return i >= 0 && j >= 0 && i < 15 && j < 15 && world.cell(i, j).hasObstacle;
}
} // namespace

TEST(ArenaObjects, ObstaclesStandWhereTheWorldSaysAndNowhereElse) {
    DrawnWorld drawn(2024);
    TestWorld& t = drawn.t;
    const WorldLook& look = drawn.look;
    beginOverviewFrame();
    drawArenaItems(t.world, look);

    int checkedObstacles = 0;
    for (const Obstacle& o : t.world.obstacles) {
        const ScreenPoint p = projectPoint(o.x, o.y, 0.3);
        ASSERT_TRUE(p.onScreen) << o.x << ", " << o.y;
        EXPECT_TRUE(shadeOf(pixelAt(p), obstacleColour(o), 10))
            << "obstacle at " << o.x << ", " << o.y;
        ++checkedObstacles;
    }
    EXPECT_EQ(checkedObstacles, 90);

    // Free cells whose front row is free too, so nothing nearer can cover their centre.
    int checkedFree = 0;
    for (int i = 0; i < 15; ++i) {
        for (int j = 1; j < 15; ++j) {
            if (!t.world.cell(i, j).open() || cellHoldsObstacle(t.world, i - 1, j - 1) ||
                cellHoldsObstacle(t.world, i, j - 1) || cellHoldsObstacle(t.world, i + 1, j - 1))
                continue;
            const ScreenPoint p = projectPoint(i + 0.5, j + 0.5, 0.01);
            EXPECT_LT(brightness(pixelAt(p)), 15) << "free cell " << i << ", " << j;
            ++checkedFree;
        }
    }
    EXPECT_GT(checkedFree, 10);
}

TEST(ArenaObjects, DestroyedObstacleVanishesAndUncoversItsSpinningItem) {
    DrawnWorld drawn(77);
    TestWorld& t = drawn.t;
    const WorldLook& look = drawn.look;
    // A coloured obstacle hiding an item card (entries 0..58 are cards).
    int entry = 0;
    while (obstacleColour(t.world.obstacles[entry]) == Rgb{255, 255, 255})
        ++entry;
    ASSERT_LT(entry, 59);
    Obstacle& o = t.world.obstacles[entry];
    Item& item = t.world.items[entry];
    const int cx = static_cast<int>(o.x), cy = static_cast<int>(o.y);

    // The overview's step turns what it shows; drawing shows it.
    advanceArenaView(t.world, t.random, t.clock.now(), false, 0, 0, 0, 0);
    EXPECT_EQ(item.spin, 0) << "an item under its obstacle stays hidden";

    o.destroyed = true;
    t.world.cell(cx, cy).obstacle = Cell::none;
    t.world.cell(cx, cy).hasObstacle = false;
    advanceArenaView(t.world, t.random, t.clock.now(), false, 0, 0, 0, 0);
    EXPECT_EQ(item.spin, 10);
    beginOverviewFrame();
    drawArenaItems(t.world, look);
    // The white card stands where the obstacle's coloured front was.
    const Rgb card = pixelAt(projectPoint(o.x, o.y, 0.3));
    EXPECT_TRUE(shadeOf(card, Rgb{255, 255, 255}, 12))
        << card[0] << " " << card[1] << " " << card[2];

    // A bomb lying on the cell hides the item again.
    t.world.cell(cx, cy).bomb = 0;
    advanceArenaView(t.world, t.random, t.clock.now(), false, 0, 0, 0, 0);
    EXPECT_EQ(item.spin, 10);
    t.world.cell(cx, cy).bomb = Cell::none;
    advanceArenaView(t.world, t.random, t.clock.now(), false, 0, 0, 0, 0);
    EXPECT_EQ(item.spin, 20);
}

TEST(ArenaObjects, PlayerViewDrawsOnlyItemsInTheWedge) {
    DrawnWorld drawn(5);
    TestWorld& t = drawn.t;
    const WorldLook& look = drawn.look;
    drawn.clearEverything();
    // Two coins lying free: one a row ahead of the player, one two rows behind.
    Item& ahead = t.world.items[60];
    Item& behind = t.world.items[61];
    ahead.x = 7.5f;
    ahead.y = 5.5f;
    behind.x = 7.5f;
    behind.y = 0.5f;
    t.world.cell(7, 5).item = 60;
    t.world.cell(7, 0).item = 61;
    // A player view turns only the items in its wedge; the overview turns them all.
    advanceArenaView(t.world, t.random, t.clock.now(), true, 7, 2, 0, 1);
    EXPECT_EQ(ahead.spin, 10);
    EXPECT_EQ(behind.spin, 0);
    advanceArenaView(t.world, t.random, t.clock.now(), false, 0, 0, 0, 0);
    EXPECT_EQ(ahead.spin, 20);
    EXPECT_EQ(behind.spin, 10);
    // The coin is gold.
    beginOverviewFrame();
    drawArenaItems(t.world, look);
    EXPECT_TRUE(shadeOf(pixelAt(projectPoint(7.5, 5.5, 0.45)), Rgb{204, 204, 51}, 30));
}

TEST(ArenaObjects, BurningCellShowsOrangeFireUntilItBurnsOut) {
    glContext();
    TestWorld t(9);
    TextureTable table;
    table.names[47] = solidTexture(255, 255, 255);
    // One particle left at the burst's centre, so no overlap saturates the pixel.
    auto keepOneParticle = [&t](float alpha) {
        for (Particle& p : t.world.blastParticles.particles)
            p.alive = false;
        Particle& p = t.world.blastParticles.particles[0];
        p = Particle{};
        p.alive = true;
        p.alpha = alpha;
        p.fade = 0.01f;
    };
    t.world.blastCells[t.world.blastCellCount++] = {7, 4, 0.0f};
    t.clock.set(100);

    keepOneParticle(0.4f);
    beginOverviewFrame();
    const ScreenPoint centre = projectPoint(7.5, 4.5, 0.35);
    drawBlastCells(t.world, &table);
    const Rgb strong = pixelAt(centre);
    // The white glow takes the particle's orange: red leading, a little green, no blue.
    EXPECT_GT(strong[0], 25);
    EXPECT_LT(strong[0], 200);
    EXPECT_LT(strong[1] * 2, strong[0]);
    EXPECT_LT(strong[2], 12);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    // A view's step moves and fades it once for the one burning cell.
    t.world.advanceBlastCells(t.clock.now(), t.random);
    EXPECT_FLOAT_EQ(t.world.blastParticles.particles[0].alpha, 0.39f);
    t.world.blastCells[t.world.blastCellCount++] = {8, 4, 0.0f};
    t.world.advanceBlastCells(t.clock.now(), t.random);
    EXPECT_FLOAT_EQ(t.world.blastParticles.particles[0].alpha, 0.37f) << "once per cell";
    --t.world.blastCellCount;

    keepOneParticle(0.1f);
    beginOverviewFrame();
    drawBlastCells(t.world, &table);
    const Rgb faint = pixelAt(centre);
    EXPECT_LT(faint[0] * 2, strong[0]) << "a fading particle adds less";

    t.clock.set(601);
    t.world.advanceBlastCells(t.clock.now(), t.random);
    beginOverviewFrame();
    drawBlastCells(t.world, &table);
    EXPECT_TRUE(!t.world.anyBurning());
    EXPECT_LT(brightness(pixelAt(centre)), 15);
    glDeleteTextures(1, &table.names[47]);
}

TEST(ArenaObjects, LaidWallAndTrapShowAtTheirCells) {
    DrawnWorld drawn(11);
    TestWorld& t = drawn.t;
    const WorldLook& look = drawn.look;
    drawn.clearEverything();
    t.world.placeWall(4.5f, 4.5f);
    t.world.placeTrap(10.5f, 4.5f);
    beginOverviewFrame();
    drawArenaItems(t.world, look);
    // Untextured the wall block is white (lit), the trap a faint purple on black.
    const Rgb wall = pixelAt(projectPoint(4.5, 4.5, 0.3));
    EXPECT_TRUE(shadeOf(wall, Rgb{255, 255, 255}, 12)) << wall[0] << " " << wall[1];
    const Rgb trap = pixelAt(projectPoint(10.5, 4.5, 0.1));
    EXPECT_GT(trap[0], trap[1]);
    EXPECT_GT(trap[2], trap[1]);
    EXPECT_LT(brightness(trap), 3 * 120) << "a trap is translucent";
}

TEST(Labyrinth, WallsStandWhereTheFlagsSayWithADoorInEachSide) {
    DrawnWorld drawn(31);
    TestWorld& t = drawn.t;
    const WorldLook& look = drawn.look;
    glViewport(0, 0, 1024, 735);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(99.5, 109.5, 99.5, 109.5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawLabyrinthView(t.world, look);

    // Seen from straight above, a wall top (z 0.8) lies nearer than the floor (z 0).
    auto wallAt = [](double x, double y) {
        const ScreenPoint p = projectPoint(x, y, 0);
        float depth = 1;
        glReadPixels(p.x, p.y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        return depth < 0.48f;
    };
    const MazeGenerator& maze = t.world.maze;
    for (int k = 0; k < 81; ++k) {
        const int col = k % 9, row = k / 9;
        EXPECT_EQ(wallAt(101 + col, 100 + row + 0.5), maze.wallPosX[k] != 0) << "+x of " << k;
        EXPECT_EQ(wallAt(100 + col + 0.5, 101 + row), maze.wallPosY[k] != 0) << "+y of " << k;
        if (col == 0) {
            EXPECT_EQ(wallAt(100, 100 + row + 0.5), row != 4) << "-x of " << k;
        }
        if (row == 0) {
            EXPECT_EQ(wallAt(100 + col + 0.5, 100), col != 4) << "-y of " << k;
        }
        // The floor is white and flat everywhere between the walls.
        const Rgb floor = pixelAt(projectPoint(100 + col + 0.3, 100 + row + 0.3, 0));
        EXPECT_TRUE(near(floor, Rgb{255, 255, 255}, 2)) << "floor of " << k;
    }
    EXPECT_FALSE(wallAt(109, 104.5));
    EXPECT_FALSE(wallAt(104.5, 109));
    glEnable(GL_LIGHTING);
}

namespace {
// A player's eye-level view of 512 by 200 pixels from behind (7.5, 0.5), looking up the arena,
// or turned `turn` degrees to the left of that; lit as the views are.
void beginPlayerView(float turn = 0) {
    beginOverviewFrame(0, 0, 1);
    glViewport(0, 0, 512, 200);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 512.0 / 200.0, 0.5, 150);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float a = (90 + turn) * static_cast<float>(M_PI) / 180;
    gluLookAt(7.5, -1.5, 0.9, 7.5 + 2 * std::cos(a), -1.5 + 2 * std::sin(a), 0.7, 0, 0, 1);
}
} // namespace

TEST(ArenaObjects, FarObstaclesShownAsPicturesKeepTheirColourAndOutline) {
    DrawnWorld drawn(11);
    TestWorld& t = drawn.t;
    drawn.clearEverything();
    for (Item& item : t.world.items)
        item.type = 0;
    // Obstacles of every colour, ten to sixteen cells ahead of the eye (where they are shown at
    // most half the pictures' size), in the middle and off to the sides.
    const int colours[7][3] = {{255, 127, 255}, {255, 255, 255}, {127, 127, 255}, {255, 255, 127},
                               {127, 255, 255}, {255, 204, 127}, {127, 255, 127}};
    const float spots[7][2] = {{7.5f, 8.5f},  {5.5f, 9.5f},   {10.5f, 10.5f}, {9.5f, 12.5f},
                               {3.5f, 13.5f}, {12.5f, 14.5f}, {8.5f, 14.5f}};
    for (int k = 0; k < 7; ++k) {
        Obstacle& o = t.world.obstacles[k];
        o.destroyed = false;
        o.x = spots[k][0];
        o.y = spots[k][1];
        o.colourR = static_cast<float>(colours[k][0]);
        o.colourG = static_cast<float>(colours[k][1]);
        o.colourB = static_cast<float>(colours[k][2]);
    }
    ObstaclePictures pictures;
    const float eye[2] = {7.5f, -1.5f};
    GLuint query = 0;
    glGenQueries(1, &query);
    // Draws the obstacles as a player view does, as pictures where they are far enough or in
    // full; answers the view's pixels and the primitives sent.
    auto draw = [&](bool quick, float turn) {
        beginPlayerView(turn);
        const float a = (90 + turn) * static_cast<float>(M_PI) / 180;
        const float ahead[2] = {std::cos(a), std::sin(a)};
        WorldLook look{drawn.models, nullptr};
        look.eye = eye;
        look.ahead = ahead;
        // 100 pixels over tan(22.5 degrees): a unit one unit before the eye.
        look.pixelsPerUnitAtOne = 241.42f;
        if (quick)
            look.obstaclePictures = &pictures;
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        drawItemsAround(t.world, look, 7.5f, 0.5f, 0, 1, ObjectPass::solid);
        glEndQuery(GL_PRIMITIVES_GENERATED);
        GLuint primitives = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &primitives);
        glFinish();
        return std::make_pair(glContext().readRgb(0, 0, 512, 200), static_cast<long>(primitives));
    };
    const auto [full, fullPrimitives] = draw(false, 0);
    // The first view facing this way takes the pictures.
    draw(true, 0);
    const auto [quick, quickPrimitives] = draw(true, 0);
    EXPECT_LT(quickPrimitives * 10, fullPrimitives);
    double total = 0;
    for (size_t i = 0; i < full.size(); ++i)
        total += std::abs(full[i] - quick[i]);
    EXPECT_LT(total / static_cast<double>(full.size()), 1.5);

    beginPlayerView();
    auto at = [](const std::vector<uint8_t>& rgb, const ScreenPoint& p) {
        const size_t i = (static_cast<size_t>(p.y) * 512 + static_cast<size_t>(p.x)) * 3;
        return Rgb{rgb[i], rgb[i + 1], rgb[i + 2]};
    };
    for (int k = 0; k < 7; ++k) {
        const Obstacle& o = t.world.obstacles[k];
        // The middle of the arch's front, and a point over its top inside the picture's square.
        const ScreenPoint body = projectPoint(o.x, o.y - 0.3, 0.3);
        const ScreenPoint over = projectPoint(o.x, o.y - 0.3, 0.62);
        ASSERT_TRUE(body.onScreen && over.onScreen) << k;
        const Rgb shown = at(quick, body), drawn = at(full, body), sky = at(quick, over);
        EXPECT_TRUE(shadeOf(shown, obstacleColour(o), 12))
            << k << ": " << shown[0] << " " << shown[1] << " " << shown[2];
        EXPECT_TRUE(near(shown, drawn, 16))
            << k << ": " << drawn[0] << " " << drawn[1] << " " << drawn[2];
        EXPECT_TRUE(near(sky, Rgb{0, 0, 255}, 1))
            << k << ": the empty corner shows " << sky[0] << " " << sky[1] << " " << sky[2];
    }

    // A camera turned off the arena's axes has no pictures: every obstacle is drawn in full.
    const auto [turnedFull, turnedFullPrimitives] = draw(false, 20);
    const auto [turnedQuick, turnedQuickPrimitives] = draw(true, 20);
    EXPECT_EQ(turnedQuickPrimitives, turnedFullPrimitives);
    EXPECT_EQ(turnedQuick, turnedFull);
    glDeleteQueries(1, &query);
}

TEST(ArenaObjects, BurningCellNearTheEyeShowsItsParticlesWhereTheyStand) {
    glContext();
    TestWorld t(9);
    TextureTable table;
    table.names[47] = solidTexture(255, 255, 255);
    // One particle 0.8 to the right of the burst's centre and 0.6 nearer the eye than the
    // burning cell's plane, four cells ahead of the eye: in perspective it stands larger and
    // further right than if it were in the plane (its right edge by some 14 pixels).
    for (Particle& p : t.world.blastParticles.particles)
        p.alive = false;
    Particle& p = t.world.blastParticles.particles[0];
    p = Particle{};
    p.alive = true;
    p.alpha = 0.4f;
    p.px = 0.8f;
    p.py = -0.6f;
    t.world.blastCells[t.world.blastCellCount++] = {7, 2, 0.0f};
    t.clock.set(100);
    const float eye[2] = {7.5f, -1.5f};
    BlastSprite sprite;
    uint32_t frame = 0;
    // The rightmost lit column of the view, drawn one way.
    auto rightEdge = [&](BlastSprite* through, const float* from) {
        beginPlayerView();
        drawBlastCells(t.world, &table, through, ++frame, from, 241.42f);
        glFinish();
        const std::vector<uint8_t> rgb = glContext().readRgb(0, 0, 512, 200);
        int right = -1;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 512; ++x)
                if (rgb[(static_cast<size_t>(y) * 512 + x) * 3] > 20)
                    right = std::max(right, x);
        return right;
    };
    const int drawn = rightEdge(nullptr, nullptr);
    const int sliced = rightEdge(&sprite, eye);
    const int flattened = rightEdge(&sprite, nullptr);
    ASSERT_GT(drawn, 256);
    EXPECT_NEAR(sliced, drawn, 3);
    EXPECT_LT(flattened, drawn - 8) << "the test tells the flattened picture apart";
    glDeleteTextures(1, &table.names[47]);
}

TEST(ArenaObjects, BurningCellsDrawnTogetherShowTheirFireEachAtItsOwnPlace) {
    glContext();
    TestWorld t(9);
    TextureTable table;
    table.names[47] = solidTexture(255, 255, 255);
    // One particle at the burst's centre, so that no overlap saturates a pixel.
    for (Particle& p : t.world.blastParticles.particles)
        p.alive = false;
    Particle& p = t.world.blastParticles.particles[0];
    p = Particle{};
    p.alive = true;
    p.alpha = 0.4f;
    // Four cells ahead of a player's eye (shown in slices) and two far off to its sides (the
    // whole burst's picture), in one go; between the far two, nothing burns.
    const int16_t burning[3][2] = {{7, 2}, {3, 8}, {11, 8}};
    for (const auto& c : burning)
        t.world.blastCells[t.world.blastCellCount++] = {c[0], c[1], 0.0f};
    t.clock.set(100);
    const float eye[2] = {7.5f, -1.5f};
    BlastSprite sprite;
    uint32_t frame = 0;
    for (const bool overview : {false, true}) {
        // The red at each burning cell's centre and at the cell that does not burn.
        auto reds = [&](BlastSprite* through) {
            if (overview)
                beginOverviewFrame();
            else
                beginPlayerView();
            drawBlastCells(t.world, &table, through, ++frame, overview ? nullptr : eye, 241.42f);
            std::array<int, 4> red{};
            for (int k = 0; k < 3; ++k)
                red[k] = pixelAt(projectPoint(burning[k][0] + 0.5, burning[k][1] + 0.5, 0.35))[0];
            red[3] = pixelAt(projectPoint(5.5, 8.5, 0.35))[0];
            return red;
        };
        const std::array<int, 4> oneByOne = reds(nullptr);
        const std::array<int, 4> together = reds(&sprite);
        for (int k = 0; k < 3; ++k) {
            EXPECT_GT(oneByOne[k], 25) << "cell " << k << (overview ? " in the overview" : "");
            EXPECT_NEAR(together[k], oneByOne[k], 12)
                << "cell " << k << (overview ? " in the overview" : "");
        }
        EXPECT_LT(together[3], 15) << "no fire where no cell burns";
    }
    glDeleteTextures(1, &table.names[47]);
}

TEST(ArenaObjects, SnowOutsideAPlayersViewIsNotSentAndNothingShowsLess) {
    glContext();
    TestWorld t(5);
    TextureTable table;
    table.names[48] = solidTexture(255, 255, 255);
    ParticleSystem snow;
    snow.prepare(t.random);
    // Long enough for the fall to spread from its start at 7.5 down to the ground.
    for (int step = 0; step < 400; ++step)
        snow.advanceSnow(0.5f, t.random);
    GLuint query = 0;
    glGenQueries(1, &query);
    auto draw = [&](bool culled) {
        beginPlayerView();
        const ViewFrustum frustum = ViewFrustum::current();
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        drawSnow(snow, 0.5f, &table, culled ? &frustum : nullptr);
        glEndQuery(GL_PRIMITIVES_GENERATED);
        GLuint primitives = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &primitives);
        glFinish();
        return std::make_pair(glContext().readRgb(0, 0, 512, 200), static_cast<long>(primitives));
    };
    const auto [all, allPrimitives] = draw(false);
    const auto [seen, seenPrimitives] = draw(true);
    // Every flake is one square; an eye low at the arena's edge, looking along it, sees only
    // part of a fall spread over the whole arena up to 7.5 high.
    EXPECT_EQ(allPrimitives, FlakeEmitter::count);
    EXPECT_GT(seenPrimitives, 0);
    EXPECT_LT(seenPrimitives, allPrimitives * 3 / 4);
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](uint8_t c) { return c > 20; }))
        << "some flake shows";
    EXPECT_EQ(seen, all);
    glDeleteQueries(1, &query);
    glDeleteTextures(1, &table.names[48]);
}
