#include "../actors/ActorWorld.h"
#include "rules/Movement.h"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {
constexpr float r = 0.26f;

struct Labyrinth : ActorWorld {
    explicit Labyrinth(uint32_t seed = 71) : ActorWorld(seed) {}

    MazeGenerator& maze() { return world.maze; }
    // The bumps into labyrinth walls the steps so far have told of.
    int bumps() const {
        int n = 0;
        for (const RoundEvent& e : world.events.all())
            n += e.kind == RoundEvent::bump;
        return n;
    }

    // Sets the +y wall (n) and the +x wall (e) of labyrinth cell (col, row).
    void setWalls(int col, int row, int n, int e) {
        maze().wallPosY[col + 9 * row] = static_cast<uint8_t>(n);
        maze().wallPosX[col + 9 * row] = static_cast<uint8_t>(e);
    }

    Player& at(float x, float y, float dx, float dy) {
        player1.x = x;
        player1.y = y;
        player1.dirX = dx;
        player1.dirY = dy;
        return player1;
    }
};

// The centre line of a standing wall, from corner to corner.
struct Segment {
    float ax, ay, bx, by;
};

std::vector<Segment> standingWalls(const MazeGenerator& m) {
    const float half = 0;
    std::vector<Segment> walls;
    for (int k = 0; k < 81; ++k) {
        const int col = k % 9, row = k / 9;
        const float x0 = 100.0f + col, y0 = 100.0f + row;
        if (col == 0 && k != 36)
            walls.push_back({x0, y0 - half, x0, y0 + 1 + half});
        if (row == 0 && k != 4)
            walls.push_back({x0 - half, y0, x0 + 1 + half, y0});
        if (m.wallPosX[k])
            walls.push_back({x0 + 1, y0 - half, x0 + 1, y0 + 1 + half});
        if (m.wallPosY[k])
            walls.push_back({x0 - half, y0 + 1, x0 + 1 + half, y0 + 1});
    }
    return walls;
}

double distanceToSegment(double px, double py, const Segment& s) {
    const double dx = s.bx - s.ax, dy = s.by - s.ay;
    double t = ((px - s.ax) * dx + (py - s.ay) * dy) / (dx * dx + dy * dy);
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (s.ax + t * dx), py - (s.ay + t * dy));
}

// How far the body reaches past the centre line of the nearest standing wall (negative: clear).
double deepestOverlap(const std::vector<Segment>& walls, float x, float y) {
    double deepest = -1;
    for (const Segment& s : walls)
        deepest = std::max(deepest, r - distanceToSegment(x, y, s));
    return deepest;
}
} // namespace

TEST(LabyrinthStep, AnOpenStepCoversNineHundredths) {
    Labyrinth l;
    l.setWalls(4, 0, 0, 0);
    l.clock.set(2500);
    Player& p = l.at(104.5f, 100.5f, 0, 1);
    p.stepLength = 0.45f; // speed items do not count here
    EXPECT_TRUE(freeRoamStep(p, l.world, l.clock.now(), 1));
    EXPECT_NEAR(p.y, 100.59f, 1e-4);
    EXPECT_FLOAT_EQ(p.x, 104.5f);
    EXPECT_NEAR(p.stepY, 0.09f, 1e-4);
    EXPECT_EQ(p.stepX, 0);
    EXPECT_FLOAT_EQ(p.freeMoveTime, 2500);
    EXPECT_EQ(l.bumps(), 0);

    EXPECT_TRUE(freeRoamStep(p, l.world, l.clock.now(), -1));
    EXPECT_NEAR(p.y, 100.5f, 1e-4);
    EXPECT_NEAR(p.stepY, -0.09f, 1e-4);

    // Along a 5-degree heading the step is 0.09 along the heading as well.
    const float a = 35 * 3.14159265f / 180;
    p.dirX = std::sin(a);
    p.dirY = std::cos(a);
    const float x = p.x, y = p.y;
    EXPECT_TRUE(freeRoamStep(p, l.world, l.clock.now(), 1));
    EXPECT_NEAR(std::hypot(p.x - x, p.y - y), 0.09f, 2e-4);
}

TEST(LabyrinthStep, AWallAheadStopsTheBodyAtItsFace) {
    Labyrinth l;
    l.setWalls(2, 2, 1, 0);
    Player& p = l.at(102.5f, 102.5f, 0, 1);
    int calls = 0;
    while (l.bumps() == 0) {
        ASSERT_LT(++calls, 10);
        EXPECT_TRUE(freeRoamStep(p, l.world, l.clock.now(), 1));
    }
    EXPECT_EQ(calls, 3); // 102.59, 102.68, then the wall
    // The last sub-step with the top of the circle at least 0.025 short of the wall line.
    EXPECT_LE(p.y + r + 0.025f, 103.0f + 1e-4f);
    EXPECT_GT(p.y + 0.01f + r + 0.025f, 103.0f);
    const float stopped = p.y;
    EXPECT_TRUE(freeRoamStep(p, l.world, l.clock.now(), 1));
    EXPECT_EQ(p.y, stopped);
    EXPECT_EQ(p.stepY, 0);
    EXPECT_EQ(l.bumps(), 2); // once per call while pressing on
    EXPECT_TRUE(freeRoamStep(p, l.world, l.clock.now(), -1));
    EXPECT_EQ(l.bumps(), 2);
    EXPECT_LT(p.y, stopped);
}

TEST(LabyrinthStep, TheCornerPieceBlocksOnlyBeyondTheCorner) {
    // Cell (3, 3) open ahead and to the right, but the piece continuing its +y side to the
    // right of the corner stands.
    Labyrinth l;
    l.setWalls(3, 3, 0, 0);
    l.maze().wallPosY[31] = 1;
    l.maze().wallPosX[39] = 0;
    Player& p = l.at(103.75f, 103.75f, 0.7071f, 0.7071f);
    EXPECT_TRUE(freeRoamStep(p, l.world, l.clock.now(), 1));
    EXPECT_EQ(l.bumps(), 1);
    EXPECT_GT(p.stepX, 0);
    EXPECT_LT(p.stepX, 0.0636f); // stopped before the ninth sub-step
    EXPECT_GT(p.y + r, 104.0f);  // the body reaches past the +y line left of the corner

    Labyrinth open;
    open.setWalls(3, 3, 0, 0);
    open.maze().wallPosY[31] = 0;
    open.maze().wallPosX[39] = 0;
    Player& q = open.at(103.75f, 103.75f, 0.7071f, 0.7071f);
    EXPECT_TRUE(freeRoamStep(q, open.world, open.clock.now(), 1));
    EXPECT_EQ(open.bumps(), 0);
    EXPECT_NEAR(q.stepX, 0.0636f, 1e-3);

    Labyrinth walled;
    walled.setWalls(3, 3, 1, 0);
    Player& w = walled.at(103.75f, 103.75f, 0.7071f, 0.7071f);
    EXPECT_TRUE(freeRoamStep(w, walled.world, walled.clock.now(), 1));
    EXPECT_EQ(w.stepX, 0);
    EXPECT_EQ(walled.bumps(), 1);
}

TEST(LabyrinthStep, EachDoorLeadsBackToItsHouseDoor) {
    const struct {
        float x, y, dx, dy;
        float toX, toY, headX, headY, eyeX, eyeY;
    } doors[] = {{104.5f, 100.5f, 0, -1, 7.5f, 8.5f, 0, -1, 0, 2},
                 {104.5f, 108.5f, 0, 1, 7.5f, 10.5f, 0, 1, 0, -2},
                 {100.5f, 104.5f, -1, 0, 6.5f, 9.5f, -1, 0, 2, 0},
                 {108.5f, 104.5f, 1, 0, 8.5f, 9.5f, 1, 0, -2, 0}};
    for (const auto& d : doors) {
        Labyrinth l;
        Player& p = l.at(d.x, d.y, d.dx, d.dy);
        float lastX = p.x, lastY = p.y;
        int calls = 0;
        l.clock.set(100);
        while (freeRoamStep(p, l.world, l.clock.now(), 1)) {
            ASSERT_LT(++calls, 40);
            lastX = p.x;
            lastY = p.y;
            l.clock.advance(16);
        }
        // The coordinate along the way out, at the start of the call that left.
        const float edge = d.dx != 0 ? lastX : lastY;
        if (d.dx + d.dy < 0) {
            // The outer wall holds the body 0.285 from the edge; that is past the exit line.
            EXPECT_GE(edge, 100.285f - 1e-4f);
            EXPECT_LT(edge, 100.295f);
            EXPECT_GE(l.bumps(), 1);
        } else {
            EXPECT_GT(edge, 108.7f);
            EXPECT_EQ(l.bumps(), 0);
        }
        EXPECT_FLOAT_EQ(p.x, d.toX);
        EXPECT_FLOAT_EQ(p.y, d.toY);
        EXPECT_FLOAT_EQ(p.dirX, d.headX);
        EXPECT_FLOAT_EQ(p.dirY, d.headY);
        EXPECT_FLOAT_EQ(p.stepX, d.eyeX);
        EXPECT_FLOAT_EQ(p.stepY, d.eyeY);
        EXPECT_FLOAT_EQ(p.freeMoveTime, l.clock.now());
    }
}

TEST(LabyrinthStep, CheeseIsTakenWhereTheStepEnds) {
    Labyrinth l;
    l.setWalls(2, 2, 1, 0);
    Item* piece = &l.world.items[90];
    piece->x = 102.5f;
    piece->y = 102.5f;
    Player& p = l.at(102.5f, 102.65f, 0, 1);
    EXPECT_TRUE(freeRoamStep(p, l.world, l.clock.now(), 1));
    EXPECT_EQ(l.bumps(), 1);
    EXPECT_TRUE(p.carryingCheese);
    EXPECT_EQ(piece->taken, 1);

    // Already carrying: another piece in the cell stays.
    Item* second = &l.world.items[91];
    second->x = 102.5f;
    second->y = 102.5f;
    EXPECT_TRUE(freeRoamStep(p, l.world, l.clock.now(), -1));
    EXPECT_EQ(second->taken, 0);
}

// The body may press into a wall's thickness, and a wall's end may slip between two of the 72
// perimeter points (at most r * 5 degrees / 2 = 0.0114 deep), but the body never gets further past
// a wall's centre line than that, and leaves only through the doors.
TEST(LabyrinthStep, RandomWalksNeverCrossAWall) {
    int exits = 0;
    for (uint32_t seed = 1; seed <= 16; ++seed) {
        Labyrinth l(seed * 7919);
        const std::vector<Segment> walls = standingWalls(l.maze());
        RandomGenerator choices(seed);
        Player& p = l.at(104.5f, 100.5f, 0, 1);
        int angle = 0; // degrees from +y toward +x, as the controls turn in 5-degree steps
        double deepest = -1;
        for (int move = 0; move < 20000; ++move) {
            const int choice = choices.nextInt(0, 9);
            if (choice < 3) {
                angle += choice == 0 ? 5 : -5 * choices.nextInt(1, 18);
                const float a = static_cast<float>(angle) * 3.14159265f / 180;
                p.dirX = std::sin(a);
                p.dirY = std::cos(a);
                continue;
            }
            const float x = p.x, y = p.y;
            if (!freeRoamStep(p, l.world, l.clock.now(), choice < 8 ? 1 : -1)) {
                // Only from the four door cells, at the exit lines.
                const int col = int(x) - 100, row = int(y) - 100;
                const bool door = (col == 4 && (y < 100.3f || y > 108.7f)) ||
                                  (row == 4 && (x < 100.3f || x > 108.7f));
                ASSERT_TRUE(door) << x << ", " << y;
                ++exits;
                l.at(104.5f, 104.5f, 0, 1);
                angle = 0;
                continue;
            }
            ASSERT_TRUE(p.x > 100 && p.x < 109 && p.y > 100 && p.y < 109) << p.x << ", " << p.y;
            const double overlap = deepestOverlap(walls, p.x, p.y);
            deepest = std::max(deepest, overlap);
            ASSERT_LT(overlap, 0.0125) << "seed " << seed << " at " << p.x << ", " << p.y
                                       << " from " << x << ", " << y << " heading " << angle;
        }
        EXPECT_GT(deepest, -0.02) << "the walk never came near a wall";
    }
    EXPECT_GT(exits, 0);
}
