#include "rules/Controls.h"
#include "app/Game.h"
#include <cmath>
#include <gtest/gtest.h>

namespace {
struct ControlsTest : testing::Test {
    Game game{20261207, false};
    KeyState keys;

    void SetUp() override {
        setUpWorld(game);
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
    // The camera follows two cells behind, and the world has the new position.
    EXPECT_NEAR(game.player1Camera.position.y, game.player1.y - 2.0f, 1e-5);
    EXPECT_FLOAT_EQ(game.world.player1Y, game.player1.y);
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
        ASSERT_FALSE(game.world.walls[i]->free);
    game.player1.x = 2.5f;
    game.player1.wallItems = 2;
    hold(1, keyWall);
    frame();
    EXPECT_EQ(game.player1.wallItems, 1);
    EXPECT_EQ(game.world.cell(2, 0).wall, nullptr);
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
    EXPECT_FLOAT_EQ(game.world.player2X, 14.5f);
}

// A trap throws the player to a random cell; standing still there, a blast on that cell sends it
// home and a blast on the cell it stepped from does not.
TEST_F(ControlsTest, APlayerThrownByATrapIsWhereItLanded) {
    for (int blastAtLanding = 0; blastAtLanding <= 1; ++blastAtLanding) {
        Game g{20261207, false};
        setUpWorld(g);
        g.clock.set(1000);
        g.world.placeTrap(0.5f, 1.5f);
        KeyState forward;
        forward.player[0][keyForward] = true;
        for (int i = 0; i < 12 && g.world.cells[0][1].trap; ++i)
            frameUpdate(g, forward);
        ASSERT_EQ(g.world.cells[0][1].trap, nullptr) << "the trap has thrown the player";
        const Player& p = g.player1;
        const int landedX = static_cast<int>(p.x), landedY = static_cast<int>(p.y);
        ASSERT_GT(landedX + landedY, 2) << "landed far from the cell it stepped from, (0, 0)";
        for (int still = 0; still < 5; ++still)
            frameUpdate(g, KeyState{});
        g.world.respawnRequest[0] = false;
        if (blastAtLanding)
            g.world.burnCell(landedX, landedY, 1000);
        else
            g.world.burnCell(0, 0, 1000);
        EXPECT_EQ(g.world.respawnRequest[0], blastAtLanding == 1)
            << "landed at " << landedX << ", " << landedY;
    }
}
