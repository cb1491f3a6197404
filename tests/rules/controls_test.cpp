#include "rules/Controls.h"
#include "rules/RoundState.h"
#include <algorithm>
#include <cmath>
#include <vector>
#include <gtest/gtest.h>

namespace {
struct ControlsTest : testing::Test {
    RoundState game{20261207};
    KeyState keys;

    void SetUp() override {
        setUpRound(game);
        game.clock.set(1000);
    }
    void hold(int player, PlayerKey k) { keys.player[player - 1][k] = true; }
    void frame() { frameUpdate(game, keys); }
};
} // namespace

TEST_F(ControlsTest, HeldForwardStepsOncePerFrame) {
    hold(1, keyForward);
    frame();
    EXPECT_FLOAT_EQ(game.player1.y, 0.6f);
    frame();
    frame();
    EXPECT_NEAR(game.player1.y, 0.8f, 1e-6);
    EXPECT_FLOAT_EQ(game.player1.x, 0.5f);
    // The camera follows two cells behind.
    EXPECT_NEAR(game.player1Camera.position.y, game.player1.y - 2.0f, 1e-5);
}

TEST_F(ControlsTest, BackTurnsTheCameraBeforeTheStepAndThenNeedsNoTurn) {
    hold(1, keyBack);
    frame();
    EXPECT_NEAR(game.player1.dirY, -1, 1e-6);
    EXPECT_FLOAT_EQ(game.player1.y, 0.4f);
    // The eye swung to the far side and moved with the step.
    EXPECT_NEAR(game.player1Camera.position.y, 2.4f, 1e-5);
    EXPECT_FLOAT_EQ(game.keyAngle[0][1], 0) << "back now needs no turn";
    EXPECT_FLOAT_EQ(game.keyAngle[0][0], 180);
    frame();
    EXPECT_FLOAT_EQ(game.player1.y, 0.3f);
    frame();
    EXPECT_FLOAT_EQ(game.player1.y, 0.27f) << "pushed flush against the arena's edge";
}

TEST_F(ControlsTest, RightKeyFacesPlusX) {
    hold(2, keyLeft);
    frame();
    EXPECT_NEAR(game.player2.dirX, -1, 1e-6);
    EXPECT_NEAR(game.player2.x, 14.4f, 1e-6);
    EXPECT_FLOAT_EQ(game.keyAngle[1][2], 0) << "left now needs no turn";
    EXPECT_FLOAT_EQ(game.keyAngle[1][3], 180);
}

TEST_F(ControlsTest, WaitingTwoSecondsAfterLeavingTheLabyrinth) {
    game.player1.freeMoveTime = 1000;
    game.clock.set(3000);
    hold(1, keyForward);
    frame();
    EXPECT_FLOAT_EQ(game.player1.y, 0.5f) << "exactly 2000 ms: still waiting";
    game.clock.set(3001);
    frame();
    EXPECT_FLOAT_EQ(game.player1.y, 0.6f);
}

TEST_F(ControlsTest, LabyrinthTurnsFiveDegreesWithoutMoving) {
    Player& p = game.player1;
    p.x = 104.5f;
    p.y = 100.5f;
    game.world.freeRoam[0] = true;
    game.player1Camera.place(104.5f, 100.5f - 0.76f, 0.9f, 104.5f, 100.5f, 0.85f, 0, 0, 1);
    hold(1, keyRight);
    frame();
    EXPECT_FLOAT_EQ(p.x, 104.5f);
    EXPECT_FLOAT_EQ(p.y, 100.5f);
    float angle = std::atan2(p.dirY, p.dirX) * 57.29578f;
    EXPECT_NEAR(angle, 85, 1e-3);
    keys = {};
    hold(1, keyLeft);
    frame();
    frame();
    angle = std::atan2(p.dirY, p.dirX) * 57.29578f;
    EXPECT_NEAR(angle, 95, 1e-3);
    // Trap, wall and bomb keys do nothing in the labyrinth.
    p.trapItems = 1;
    hold(1, keyTrap);
    hold(1, keyBomb);
    frame();
    EXPECT_EQ(p.trapItems, 1);
    EXPECT_EQ(p.bombsReady, 1);
}

TEST_F(ControlsTest, PlayerOneActsFirstInAFrame) {
    // Both on the same free cell, each with one trap: player 1 lays it, player 2 then may not.
    game.player2.x = game.player1.x;
    game.player2.y = game.player1.y;
    game.player1.trapItems = 1;
    game.player2.trapItems = 1;
    hold(1, keyTrap);
    hold(2, keyTrap);
    frame();
    EXPECT_EQ(game.player1.trapItems, 0);
    EXPECT_EQ(game.player2.trapItems, 1);
    EXPECT_TRUE(game.world.hasTrap(0.5f, 0.5f));
}

TEST_F(ControlsTest, EmptyPoolStillSpendsTheItem) {
    // Lay the seven blocks along row 0, then try an eighth.
    for (int i = 0; i < 7; ++i)
        game.world.placeWall(3.5f + i, 0.5f);
    for (int i = 0; i < 7; ++i)
        ASSERT_FALSE(game.world.walls[i].free);
    game.player1.x = 2.5f;
    game.player1.wallItems = 2;
    hold(1, keyWall);
    frame();
    EXPECT_EQ(game.player1.wallItems, 1);
    EXPECT_EQ(game.world.cell(2, 0).wall, Cell::none);
}

TEST_F(ControlsTest, ShadowKeyFlipsOncePerPressAndNothingActsAfterTheRound) {
    keys.shadowToggle = true;
    frame();
    EXPECT_TRUE(game.shadowsOn);
    frame();
    frame();
    EXPECT_TRUE(game.shadowsOn) << "held down, the key flips the shadows once";
    keys.shadowToggle = false;
    frame();
    keys.shadowToggle = true;
    frame();
    EXPECT_FALSE(game.shadowsOn) << "the next press flips them back";
    game.roundOver = true;
    keys.shadowToggle = false;
    frame();
    keys.shadowToggle = true;
    hold(1, keyForward);
    hold(2, keyForward);
    frame();
    EXPECT_FALSE(game.shadowsOn);
    EXPECT_FLOAT_EQ(game.player1.y, 0.5f);
    EXPECT_FLOAT_EQ(game.player2.y, 0.5f);
    game.clock.set(5000);
    frame();
    EXPECT_FLOAT_EQ(game.gameTime, 5000) << "the time is still read";
}

TEST_F(ControlsTest, RespawnsServeOnePlayerPerFramePlayerOneFirst) {
    game.player1.x = 4.5f;
    game.player1.points = 3;
    game.player2.x = 10.5f;
    game.player2.points = 12;
    game.player1Camera.place(9, 9, 0.9f, 9, 11, 0.7f, 0, 0, 1);
    game.keyAngle[0][0] = 90;
    game.world.respawnRequest[0] = true;
    game.world.respawnRequest[1] = true;
    handleRespawns(game);
    EXPECT_FLOAT_EQ(game.player1.x, 0.5f);
    EXPECT_EQ(game.player1.points, 0);
    EXPECT_FLOAT_EQ(game.player1Camera.position.y, -1.5f);
    EXPECT_FLOAT_EQ(game.keyAngle[0][0], 0);
    EXPECT_FALSE(game.world.respawnRequest[0]);
    EXPECT_FLOAT_EQ(game.player2.x, 10.5f) << "player 2 waits for the next frame";
    handleRespawns(game);
    EXPECT_FLOAT_EQ(game.player2.x, 14.5f);
    EXPECT_EQ(game.player2.points, 7);
}

// A trap throws the player to a random cell; standing still there, a blast on that cell sends it
// home and a blast on the cell it stepped from does not.
TEST_F(ControlsTest, APlayerThrownByATrapIsWhereItLanded) {
    for (int blastAtLanding = 0; blastAtLanding <= 1; ++blastAtLanding) {
        RoundState g{20261207};
        setUpRound(g);
        g.clock.set(1000);
        g.world.placeTrap(0.5f, 1.5f);
        KeyState forward;
        forward.player[0][keyForward] = true;
        for (int i = 0; i < 12 && g.world.cells[0][1].trap != Cell::none; ++i)
            frameUpdate(g, forward);
        ASSERT_EQ(g.world.cells[0][1].trap, Cell::none) << "the trap has thrown the player";
        const Player& p = g.player1;
        const int landedX = static_cast<int>(p.x), landedY = static_cast<int>(p.y);
        ASSERT_GT(landedX + landedY, 2) << "landed far from the cell it stepped from, (0, 0)";
        for (int still = 0; still < 5; ++still)
            frameUpdate(g, KeyState{});
        g.world.respawnRequest[0] = false;
        if (blastAtLanding)
            g.world.burnCell(landedX, landedY, 1000,
                             BombRack{{g.player1.bombs, g.player2.bombs}, figurePlaces(g)}, 1000,
                             g.random);
        else
            g.world.burnCell(0, 0, 1000,
                             BombRack{{g.player1.bombs, g.player2.bombs}, figurePlaces(g)}, 1000,
                             g.random);
        EXPECT_EQ(g.world.respawnRequest[0], blastAtLanding == 1)
            << "landed at " << landedX << ", " << landedY;
    }
}

namespace {
// The labyrinth's walls as drawn, each a slab of its thickness along a cell side with its ends
// closed to the corners, in world coordinates.
struct WallSlab {
    float x0, y0, x1, y1;
};

std::vector<WallSlab> labyrinthSlabs(const MazeGenerator& maze) {
    std::vector<WallSlab> slabs;
    const float h = maze.wallThickness / 2;
    auto across = [&](float x, float y) { slabs.push_back({x - h, y - h, x + h, y + 1 + h}); };
    auto along = [&](float x, float y) { slabs.push_back({x - h, y - h, x + 1 + h, y + h}); };
    for (int k = 0; k < 81; ++k) {
        const float x = 100.0f + static_cast<float>(k % 9), y = 100.0f + static_cast<float>(k / 9);
        // The outer -x and -y walls, open at the west and south doors (row 4, column 4).
        if (k % 9 == 0 && k / 9 != 4)
            across(x, y);
        if (k / 9 == 0 && k % 9 != 4)
            along(x, y);
        if (maze.wallPosX[k])
            across(x + 1, y);
        if (maze.wallPosY[k])
            along(x, y + 1);
    }
    return slabs;
}

// Whether the segment from a to b passes through a slab (the slab method for boxes).
bool crosses(const WallSlab& s, float ax, float ay, float bx, float by) {
    float t0 = 0, t1 = 1;
    const float d[2] = {bx - ax, by - ay}, a[2] = {ax, ay};
    const float lo[2] = {s.x0, s.y0}, hi[2] = {s.x1, s.y1};
    for (int i = 0; i < 2; ++i) {
        if (std::fabs(d[i]) < 1e-9f) {
            if (a[i] < lo[i] || a[i] > hi[i])
                return false;
            continue;
        }
        float u = (lo[i] - a[i]) / d[i], v = (hi[i] - a[i]) / d[i];
        if (u > v)
            std::swap(u, v);
        t0 = std::max(t0, u);
        t1 = std::min(t1, v);
        if (t0 > t1)
            return false;
    }
    return true;
}

float nearestSlab(const std::vector<WallSlab>& slabs, float x, float y) {
    float nearest = 1e9f;
    for (const WallSlab& s : slabs) {
        const float dx = std::max({s.x0 - x, 0.0f, x - s.x1});
        const float dy = std::max({s.y0 - y, 0.0f, y - s.y1});
        nearest = std::min(nearest, std::sqrt(dx * dx + dy * dy));
    }
    return nearest;
}

bool anyCrossed(const std::vector<WallSlab>& slabs, float ax, float ay, float bx, float by) {
    for (const WallSlab& s : slabs)
        if (crosses(s, ax, ay, bx, by))
            return true;
    return false;
}
} // namespace

TEST_F(ControlsTest, TheLabyrinthCameraNeverStandsBehindAWall) {
    const std::vector<WallSlab> slabs = labyrinthSlabs(game.world.maze);
    Player& p = game.player1;
    const float full = p.bodyRadius + 0.5f;
    // Where a figure can stand in a cell: its middle, and as close to each side and corner as the
    // walls let it (its radius and half a wall's thickness, and a little).
    const float edge = p.bodyRadius + 0.03f;
    const float spots[3] = {edge, 0.5f, 1 - edge};
    int pulledIn = 0, checked = 0;
    hold(1, keyRight);
    for (int k = 0; k < 81; ++k)
        for (float sx : spots)
            for (float sy : spots) {
                p.x = 100.0f + static_cast<float>(k % 9) + sx;
                p.y = 100.0f + static_cast<float>(k / 9) + sy;
                game.world.freeRoam[0] = true;
                game.player1Camera.place(p.x, p.y - full, 0.9f, p.x, p.y, 0.85f, 0, 0, 1);
                // 72 turns of 5 degrees: every heading the controls give, all the way round.
                for (int turn = 0; turn < 72; ++turn) {
                    frame();
                    ASSERT_TRUE(game.world.freeRoam[0]);
                    const Camera& cam = game.player1Camera;
                    const float ex = cam.position.x - p.x, ey = cam.position.y - p.y;
                    const float distance = std::sqrt(ex * ex + ey * ey);
                    // On the line behind the figure: the walking direction is the view's.
                    ASSERT_NEAR(ex * p.dirY - ey * p.dirX, 0, 1e-4) << k << " " << turn;
                    ASSERT_LT(ex * p.dirX + ey * p.dirY, 0) << k << " " << turn;
                    ASSERT_FALSE(anyCrossed(slabs, p.x, p.y, cam.position.x, cam.position.y))
                        << "cell " << k << " at (" << p.x << ", " << p.y << ") turn " << turn;
                    const float fx = p.x - p.dirX * full, fy = p.y - p.dirY * full;
                    if (!anyCrossed(slabs, p.x, p.y, fx, fy)) {
                        ASSERT_NEAR(distance, full, 1e-4) << "pulled in with no wall behind";
                    } else {
                        // Only as near as the wall makes it: the eye stands close before it.
                        EXPECT_LT(nearestSlab(slabs, cam.position.x, cam.position.y), 0.05f)
                            << "cell " << k << " turn " << turn;
                        ++pulledIn;
                    }
                    ++checked;
                }
            }
    EXPECT_EQ(checked, 81 * 9 * 72);
    // Most places near a wall have it behind them at some heading.
    EXPECT_GT(pulledIn, checked / 4);

    // Walking keeps it so: forward and back along the labyrinth's corridors, turning on the way.
    p.x = 104.5f;
    p.y = 104.5f;
    game.world.freeRoam[0] = true;
    game.player1Camera.place(p.x, p.y - full, 0.9f, p.x, p.y, 0.85f, 0, 0, 1);
    RandomGenerator choice(99);
    for (int tick = 0; tick < 4000 && game.world.freeRoam[0]; ++tick) {
        keys = {};
        hold(1, static_cast<PlayerKey>(choice.nextInt(0, 20) < 14 ? keyForward
                                       : choice.nextInt(0, 1)     ? keyRight
                                                                  : keyBack));
        game.clock.set(1000 + static_cast<float>(tick) * 16.6f);
        frame();
        if (game.world.freeRoam[0]) {
            ASSERT_FALSE(anyCrossed(slabs, p.x, p.y, game.player1Camera.position.x,
                                    game.player1Camera.position.y))
                << "tick " << tick;
        }
    }
}

// Pressing forward beside the lane over column 2 (pillars at (1, 1) and (3, 1)): with steering
// help the player slides into line and goes up the lane from anywhere in the lane's column;
// without it, it bumps against the pillar's row and stays. Standing in a pillar's column, with
// the lanes a whole cell to either side, it bumps either way.
TEST_F(ControlsTest, SteeringHelpSlidesIntoANearbyLaneAndIsOffByDefault) {
    EXPECT_FALSE(game.steeringHelp) << "a round is the plain step unless the game asks for help";
    struct Case {
        bool help;
        float fromX;
        bool through;
    };
    for (const Case c :
         {Case{true, 2.15f, true}, Case{false, 2.15f, false}, Case{true, 2.85f, true},
          Case{true, 2.02f, true}, Case{true, 1.5f, false}}) {
        RoundState g{20261207};
        setUpRound(g);
        g.clock.set(1000);
        for (auto& column : g.world.cells)
            for (Cell& cell : column)
                if (cell.obstacle != Cell::none) {
                    g.world.obstacles[cell.obstacle].destroyed = true;
                    cell.obstacle = Cell::none;
                    cell.hasObstacle = false;
                }
        g.steeringHelp = c.help;
        Player& p = g.player1;
        p.x = c.fromX;
        p.y = 0.5f;
        g.playerCamera(1).place(p.x, -1.5f, 0.9f, p.x, p.y, 0.7f, 0, 0, 1);
        KeyState forward;
        forward.player[0][keyForward] = true;
        for (int t = 0; t < 20; ++t)
            frameUpdate(g, forward);
        if (c.through) {
            EXPECT_GT(p.y, 1.5f) << "from x " << c.fromX << " it went up the lane";
            EXPECT_NEAR(p.x, 2.5f, 0.3f) << "in line with the lane";
            EXPECT_NEAR(p.dirY, 1, 1e-5) << "facing the way pressed while sliding";
        } else {
            EXPECT_LT(p.y, 1.0f) << "from x " << c.fromX << " it bumped";
            EXPECT_FLOAT_EQ(p.x, c.fromX) << "and did not slide";
        }
    }
}

// With steering help a tap, however short, walks the player on to the middle of the next cell:
// an item one cell away is taken with one press, and a tap up beside a lane lines the player up
// and takes it into the lane. Without help the player stops where the key was let go.
TEST_F(ControlsTest, WithSteeringHelpATapMovesOneWholeCell) {
    auto openRound = [](bool help) {
        RoundState g{20261207};
        setUpRound(g);
        g.clock.set(1000);
        for (auto& column : g.world.cells)
            for (Cell& cell : column)
                if (cell.obstacle != Cell::none) {
                    g.world.obstacles[cell.obstacle].destroyed = true;
                    cell.obstacle = Cell::none;
                    cell.hasObstacle = false;
                }
        g.steeringHelp = help;
        return g;
    };
    auto tap = [](RoundState& g, PlayerKey k, int ticks) {
        KeyState held;
        held.player[0][k] = true;
        for (int t = 0; t < ticks; ++t)
            frameUpdate(g, held);
        for (int t = 0; t < 30; ++t)
            frameUpdate(g, KeyState{});
    };
    for (int ticks : {1, 3, 6, 12}) {
        RoundState g = openRound(true);
        Item* speed = &g.world.items[0];
        speed->type = kindSpeed;
        speed->x = 1.5f;
        speed->y = 0.5f;
        g.world.cell(1, 0).item = 0;
        Player& p = g.player1;
        tap(g, keyRight, ticks);
        const float expected = ticks < 10 ? 1.5f : 2.5f;
        // Twelve ticks walk 1.2 cells; the tap goes on to the middle after that.
        EXPECT_NEAR(p.x, expected, 1e-4) << "a tap of " << ticks << " ticks";
        EXPECT_FLOAT_EQ(p.y, 0.5f);
        EXPECT_EQ(p.speedItems, 1) << "the speed item one cell away, tap of " << ticks;
        // The next tap: one cell further.
        tap(g, keyRight, 2);
        EXPECT_NEAR(p.x, expected + 1, 1e-4);
    }

    // Beside the lane over column 2, a tap up of 0.1 s slides into line and walks into the lane.
    RoundState g = openRound(true);
    Player& p = g.player1;
    p.x = 2.08f;
    g.playerCamera(1).place(p.x, -1.5f, 0.9f, p.x, p.y, 0.7f, 0, 0, 1);
    tap(g, keyForward, 6);
    // In the lane, clear of both pillars beside it, at the middle of its row.
    EXPECT_NEAR(p.x, 2.5f, 0.5f - p.bodyRadius);
    EXPECT_NEAR(p.y, 1.5f, 1e-4);

    // Without help, three ticks of a tap are three steps and no more.
    RoundState plain = openRound(false);
    tap(plain, keyRight, 3);
    EXPECT_NEAR(plain.player1.x, 0.8f, 1e-4);
}
