// Drawing reads the round and never changes it, in every kind of frame; a key pressed and let go
// between two ticks still reaches one tick.
#include "app/Game.h"
#include "platform/Platform.h"
#include "rules/RoundTick.h"
#include "rules/WorldHash.h"
#include "render/GlState.h"
#include "render/Views.h"
#include "support/GlContext.h"
#include <SDL.h>
#include <gtest/gtest.h>

namespace {
void ticks(Game& game, int count, const KeyState& keys = {}) {
    for (int i = 0; i < count; ++i)
        tickRound(game.round, keys);
}

void expectDrawingChangesNothing(Game& game, const char* frame) {
    const uint64_t before = hashWorld(game.round);
    drawGameFrame(roundView(game));
    drawGameFrame(roundView(game));
    EXPECT_EQ(hashWorld(game.round), before) << frame;
}
} // namespace

TEST(TickAndDrawing, DrawingAFrameTwiceChangesNoState) {
    GlContext& gl = glContext();
    setInitialGlState(gl.width, gl.height);
    Game game(606, false);
    runSetUp(game);
    game.gameRunning = true;

    ticks(game, 1);
    game.round.shadowsOn = true;
    expectDrawingChangesNothing(game, "round start, shadows on");

    // Player 1 drops a bomb at home; 3.5 s later it goes off and burns.
    KeyState bomb;
    bomb.player[0][keyBomb] = true;
    ticks(game, 1, bomb);
    ticks(game, 212);
    ASSERT_FALSE(!game.round.world.anyBurning());
    expectDrawingChangesNothing(game, "burning cells");

    // Winter: the snow falls in every arena view.
    game.round.ticks = 13000;
    ticks(game, 30);
    ASSERT_TRUE(game.round.particles.snowVisible(game.round.seasonPhase));
    expectDrawingChangesNothing(game, "snowfall");

    // Player 2 in the labyrinth, player 1 in the arena.
    game.round.player2.x = 100.5f;
    game.round.player2.y = 100.5f;
    game.round.world.freeRoam[1] = true;
    ticks(game, 2);
    expectDrawingChangesNothing(game, "labyrinth");
}

TEST(TickAndDrawing, AQuickPressBetweenTwoTicksActsOnce) {
    glContext();
    platform::forgetKeyPresses();
    int code = 0;
    while (platform::takeEvent(code) != platform::EventKind::none) {
    }
    // A press and its release both waiting before the next tick takes its keys.
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        SDL_Event e{};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = SDL_SCANCODE_RSHIFT;
        e.key.keysym.sym = SDLK_RSHIFT;
        SDL_PushEvent(&e);
    }
    while (platform::takeEvent(code) != platform::EventKind::none) {
    }
    const KeyState first = platform::takeTickKeys();
    EXPECT_TRUE(first.player[1][keyBomb]);
    EXPECT_FALSE(first.player[0][keyBomb]);
    const KeyState second = platform::takeTickKeys();
    EXPECT_FALSE(second.player[1][keyBomb]) << "the press counts for one tick only";
}

// Over the game's own menus Esc is a step back the menus take, and the window stays.
TEST(TickAndDrawing, EscOverTheGamesOwnMenusIsBackNotTheEnd) {
    glContext();
    int code = 0;
    while (platform::takeEvent(code) != platform::EventKind::none) {
    }
    platform::takeMenuKeys();
    platform::escapeGoesBack(true);
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    e.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&e);
    bool quit = false;
    for (platform::EventKind k; (k = platform::takeEvent(code)) != platform::EventKind::none;)
        quit = quit || k == platform::EventKind::quit;
    platform::escapeGoesBack(false);
    const std::vector<platform::MenuKey> keys = platform::takeMenuKeys();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], platform::MenuKey::back);
    EXPECT_FALSE(quit) << "no end of the game was asked for";
}
