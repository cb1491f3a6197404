// A game pad plays: the first one plugged in walks player 1, and a quick press still acts.
#include "app/Game.h"
#include "app/MainLoop.h"
#include "record/Headless.h"
#include "record/Replay.h"
#include <cstdio>
#include "platform/Platform.h"
#include "rules/RoundTick.h"
#include "support/GlContext.h"
#include <SDL.h>
#include <gtest/gtest.h>

namespace {
// Plugs in a virtual pad named `name` with every stick and button of a game controller, input
// accepted though the test's window is hidden and never has the focus; its device index, or -1.
int plugInPad(const char* name) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return -1;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = name;
    return SDL_JoystickAttachVirtualEx(&desc);
}
} // namespace

TEST(GamePad, TheFirstPadWalksPlayerOne) {
    glContext();
    const int index = plugInPad("test pad");
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
    const float startY = game.round.player1.y;
    for (int t = 0; t < 5; ++t)
        tickRound(game.round, platform::takeTickKeys());
    EXPECT_NEAR(game.round.player1.y, startY + 0.5f, 1e-4);
    EXPECT_EQ(game.round.player2.y, startY) << "the first pad is player 1's";

    // Let go: the stick rests inside its dead zone and the player stands.
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 3000);
    SDL_JoystickUpdate();
    tickRound(game.round, platform::takeTickKeys());
    EXPECT_NEAR(game.round.player1.y, startY + 0.5f, 1e-4);

    // A quick press of A between two ticks drops a bomb.
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickUpdate();
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickUpdate();
    while (platform::takeEvent(code) != platform::EventKind::none) {
    }
    tickRound(game.round, platform::takeTickKeys());
    EXPECT_EQ(game.round.player1.bombsReady, 0);
    SDL_JoystickDetachVirtual(index);
    while (platform::takeEvent(code) != platform::EventKind::none) {
    }
}

// The whole program's loop with a pad alone: A on the title presses START (highlighted first),
// Start pauses, the d-pad goes down to END ROUND and A brings the title back.
TEST(GamePad, APadStartsARoundAndLeavesItThroughThePauseMenu) {
    GlContext& shared = glContext();
    const int index = plugInPad("menu pad");
    ASSERT_GE(index, 0) << SDL_GetError();
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    // What an earlier test pressed is not this one's.
    platform::forgetKeyPresses();

    // One step of the script a few frames apart, each a button pressed and let go, with what the
    // game must show before the next.
    struct Step {
        SDL_GameControllerButton button;
        const char* then;
    };
    const Step steps[] = {{SDL_CONTROLLER_BUTTON_A, "round"},
                          {SDL_CONTROLLER_BUTTON_START, "paused"},
                          {SDL_CONTROLLER_BUTTON_DPAD_DOWN, "options"},
                          {SDL_CONTROLLER_BUTTON_DPAD_DOWN, "end round"},
                          {SDL_CONTROLLER_BUTTON_A, "title"}};
    std::vector<std::string> seen;
    size_t step = 0;
    int frame = 0;
    int ticksInRound = 0;
    ProgramOptions options;
    options.beforeFrame = [&](Game& g) {
        ++frame;
        SDL_Joystick* stick = SDL_JoystickFromInstanceID(id);
        // The pad is opened by the game once its window is there; the first frames set up.
        if (!stick || frame < 10)
            return frame < 600;
        const int phase = (frame - 10) % 12;
        const int button = step < std::size(steps) ? steps[step].button : 0;
        if (phase == 1 && step < std::size(steps)) {
            SDL_JoystickSetVirtualButton(stick, button, 1);
            SDL_JoystickUpdate();
        } else if (phase == 3 && step < std::size(steps)) {
            SDL_JoystickSetVirtualButton(stick, button, 0);
            SDL_JoystickUpdate();
        } else if (phase == 11 && step < std::size(steps)) {
            const std::string now = !g.gameRunning                        ? "title"
                                    : !g.round.paused                     ? "round"
                                    : g.menus.pauseFocus == pauseOptions  ? "options"
                                    : g.menus.pauseFocus == pauseEndRound ? "end round"
                                                                          : "paused";
            seen.push_back(now);
            if (now == "round")
                ticksInRound = static_cast<int>(g.round.ticks);
            ++step;
        }
        return step < std::size(steps) && frame < 600;
    };
    // The round left through END ROUND is recorded as far as it went, and replays to the same
    // world.
    const std::string recording = testing::TempDir() + "pad-end-round.rec";
    options.recordPath = recording;
    Game game(77, false);
    runProgram(game, options);
    SDL_JoystickDetachVirtual(index);
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(shared.window), shared.context);

    std::vector<std::string> wanted;
    for (const Step& s : steps)
        wanted.push_back(s.then);
    EXPECT_EQ(seen, wanted);
    EXPECT_GT(ticksInRound, 0) << "the round ran after A";
    EXPECT_EQ(game.round.ticks, 0u) << "END ROUND readies a fresh round for the title";
    Replay replay;
    std::string message;
    ASSERT_TRUE(readReplayFile(recording, replay, message)) << message;
    EXPECT_EQ(replay.seed, 77u);
    EXPECT_GE(replay.keys.size(), static_cast<size_t>(ticksInRound));
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(replayHeadless(replay, recording, out), 0) << "the recording replays to its world";
    std::fclose(out);
    std::remove(recording.c_str());
}
