// A game pad plays: the first one plugged in walks player 1, and a quick press still acts.
#include "app/Game.h"
#include "platform/Platform.h"
#include "rules/RoundTick.h"
#include "support/GlContext.h"
#include <SDL.h>
#include <gtest/gtest.h>

TEST(GamePad, TheFirstPadWalksPlayerOne) {
    glContext();
    // The test's window is hidden and never has the focus, which a pad's input otherwise needs.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = "test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index));
    int code = 0;
    while (platform::takeEvent(code) != platform::EventKind::none) {
    }
    SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(stick, nullptr) << "the platform opened the pad";

    Game game(4242, false);
    setUpWorld(game);
    game.gameRunning = true;
    // Pushed up, past the dead zone: player 1 walks forward, one step a tick.
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -30000), 0);
    SDL_JoystickUpdate();
    const float startY = game.player1.y;
    for (int t = 0; t < 5; ++t)
        tickRound(game, platform::takeTickKeys());
    EXPECT_NEAR(game.player1.y, startY + 0.5f, 1e-4);
    EXPECT_EQ(game.player2.y, startY) << "the first pad is player 1's";

    // Let go: the stick rests inside its dead zone and the player stands.
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 3000);
    SDL_JoystickUpdate();
    tickRound(game, platform::takeTickKeys());
    EXPECT_NEAR(game.player1.y, startY + 0.5f, 1e-4);

    // A quick press of A between two ticks drops a bomb.
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickUpdate();
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickUpdate();
    while (platform::takeEvent(code) != platform::EventKind::none) {
    }
    tickRound(game, platform::takeTickKeys());
    EXPECT_EQ(game.player1.bombsReady, 0);
    SDL_JoystickDetachVirtual(index);
    while (platform::takeEvent(code) != platform::EventKind::none) {
    }
}
