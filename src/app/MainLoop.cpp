#include "app/MainLoop.h"
#include "net/NetPlay.h"
#include "rules/Controls.h"
#include "app/Game.h"
#include "app/Menu.h"
#include "platform/Platform.h"
#include "platform/Seed.h"
#include "record/Replay.h"
#include "rules/RoundTick.h"
#include "app/TickPacer.h"
#include "record/WorldHash.h"
#include "audio/Sound.h"
#include "render/ViewLayout.h"
#include "render/Views.h"
#include "scene/ErrorReport.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {
// The running round's keys: from the keyboard, and written down when recording; or from a
// recording being played back.
class RoundKeys {
  public:
    explicit RoundKeys(const ProgramOptions& o) : options(o) {
        if (options.replay)
            recording.seed = options.replay->seed;
    }

    // Whether another tick may run: a replay stops at the end of its recording.
    bool more(const Game& game) const {
        return !options.replay || game.ticks < options.replay->keys.size();
    }
    KeyState next(const Game& game) {
        if (options.replay)
            return unpackKeys(options.replay->keys[game.ticks]);
        return platform::takeTickKeys();
    }
    // After each tick: the tick's keys are kept until the round is over, and written then.
    // Over the network they are kept anyway, for the diagnosis of worlds out of step.
    void ran(const Game& game, const KeyState& keys) {
        lastGame = &game;
        if ((options.recordPath.empty() && !options.session) || written)
            return;
        recording.keys.push_back(packKeys(keys));
        if (game.roundOver)
            write();
    }
    // A round left before its end is written as far as it went.
    void write() {
        if (options.recordPath.empty() || written)
            return;
        written = true;
        if (recording.keys.empty()) {
            std::fprintf(stderr, "tuvo: no round was played, so nothing was recorded in '%s'\n",
                         options.recordPath.c_str());
            return;
        }
        if (lastGame)
            recording.finalHash = hashWorld(*lastGame);
        std::string message;
        if (!writeReplayFile(options.recordPath, recording, message))
            std::fprintf(stderr, "tuvo: %s\n", message.c_str());
    }
    // The round so far, written where its diagnosis can find it: the worlds of two machines
    // came out of step.
    void saveForDiagnosis(NetSession::Role role) {
        if (lastGame)
            recording.finalHash = hashWorld(*lastGame);
        const char* state = std::getenv("XDG_STATE_HOME");
        const char* home = std::getenv("HOME");
        std::string folder = state && *state == '/' ? std::string(state) + "/tuvo"
                             : home && *home        ? std::string(home) + "/.local/state/tuvo"
                                                    : ".";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const std::string path = folder + "/out-of-step-" +
                                 (role == NetSession::Role::host ? "host" : "guest") + "-" +
                                 std::to_string(recording.seed) + ".rec";
        std::string message;
        if (writeReplayFile(path, recording, message))
            std::fprintf(stderr, "tuvo: the worlds came out of step; this side's round is in %s\n",
                         path.c_str());
        else
            std::fprintf(stderr, "tuvo: %s\n", message.c_str());
    }
    void start(uint32_t seed) { recording.seed = seed; }
    // Another round: the recording, written at the end of the last one, starts over.
    void newRound(uint32_t seed) {
        recording = Replay{};
        recording.seed = seed;
        written = false;
    }
    bool replaying() const { return options.replay != nullptr; }

  private:
    const ProgramOptions& options;
    Replay recording;
    bool written = false;
    const Game* lastGame = nullptr;
};

// What the loop keeps from frame to frame: the pacing, the round's keys and, in a round over
// the network, its lockstep.
struct Loop {
    TickPacer pacer;
    RoundKeys& keys;
    NetPlay* net = nullptr;
    bool playerViewsPrepared = false;
};

// Space, Return or a pad's A after 0:00 starts the next round; P or a pad's Start pauses a
// running round (a new one too, when both come at once) and goes on with it. Over the network
// both go to both machines.
void obey(Game& game, Loop& loop, const platform::Commands& c) {
    if (loop.net) {
        if (c.playAgain)
            loop.net->againClicked();
        if (c.pause)
            loop.net->pauseClicked();
        return;
    }
    if (c.playAgain && game.roundOver && !loop.keys.replaying()) {
        loop.keys.write();
        startNewRound(game, nextRoundSeed(game.seed));
        loop.keys.newRound(game.seed);
        loop.pacer.restart();
        platform::forgetKeyPresses();
    }
    if (c.pause && !game.roundOver)
        game.paused = !game.paused;
}

void runDueTicks(Game& game, Loop& loop) {
    if (game.paused)
        return;
    const int due = loop.pacer.due(platform::nowMs());
    if (loop.net) {
        const int ran = loop.net->runTicks(
            due, [] { return platform::takeTickKeys(); },
            [&](const KeyState& k) { loop.keys.ran(game, k); });
        // Ticks held for the other side's keys are still owed: they run once the keys come.
        loop.pacer.owe(due - ran);
        return;
    }
    for (int n = due; n > 0 && loop.keys.more(game); --n) {
        KeyState tickKeys = loop.keys.next(game);
        // A computer player's keys are the round's keys: recorded with the rest.
        if (!loop.keys.replaying())
            game.opponents.press(game, tickKeys);
        tickRound(game, tickKeys);
        loop.keys.ran(game, tickKeys);
    }
}

void gameFrame(Game& game, Loop& loop) {
    const bool wasPaused = game.paused;
    obey(game, loop, platform::takeCommands());
    if (loop.net)
        loop.net->service();
    if (game.paused != wasPaused) {
        pauseMusic(game.scheduler.get(), game.musicSample, game.paused);
        // The time spent waiting is not owed to the round.
        if (!game.paused)
            loop.pacer.resume(platform::nowMs());
    }
    runDueTicks(game, loop);
    game.look.frame = platform::frame();
    // In full screen the game's own picture is all there is to see.
    platform::setCursorHidden(platform::isFullscreen());
    if (!game.look.frame.empty()) {
        RoundView view = roundView(game);
        if (loop.net)
            view.banner = loop.net->banner();
        drawGameFrame(view);
        platform::swapBuffers();
    } else {
        // Nothing to show, and no swap to wait on: the round goes on at its pace all the same.
        platform::waitForNextFrame();
    }
    game.effects.playRaised(game.player1);
    game.effects.playRaised(game.player2);
    updateSound(game.scheduler.get());
}

void menuFrame(Game& game, Loop& loop) {
    // The last event taken stays the last one until another arrives, so a press held still is
    // seen on every idle frame.
    platform::setCursorHidden(menuMouse(game, platform::menuPointer()));
    std::string status;
    if (loop.net) {
        // START over the network starts the round on both machines, once both are there.
        if (game.gameRunning) {
            game.gameRunning = false;
            loop.net->startClicked();
        }
        loop.net->service();
        status = loop.net->lobbyText();
    }
    game.look.frame = platform::frame();
    if (!game.look.frame.empty()) {
        MenuView view = menuView(game);
        view.status = loop.net ? status.c_str() : nullptr;
        drawMenuFrame(view);
        platform::swapBuffers();
        // Once the title shows, while the game holds little: what making the player views'
        // pictures takes for a moment is given back before a round needs its own. (A round
        // started sooner makes them at its first frame.)
        if (!loop.playerViewsPrepared) {
            preparePlayerViews(game.look, game.playerCamera(1));
            loop.playerViewsPrepared = true;
        }
    } else {
        platform::waitForNextFrame();
    }
    // Keys pressed on the title are not the round's.
    platform::forgetKeyPresses();
}

// One waiting event per pass; a frame only when none waits.
int mainLoop(Game& game, Loop& loop) {
    for (;;) {
        int code = 0;
        switch (platform::takeEvent(code)) {
        case platform::EventKind::quit:
            return code;
        case platform::EventKind::other:
            continue;
        case platform::EventKind::none:
            break;
        }
        if (game.gameRunning)
            gameFrame(game, loop);
        else
            menuFrame(game, loop);
    }
}
} // namespace

int runProgram(Game& game, const ProgramOptions& options) {
    const Settings& settings = options.settings;
    if (!platform::createWindow("TUVO!!", settings.windowWidth, settings.windowHeight,
                                settings.fullscreen || options.fullscreen))
        return 1;
    int scancodes[2][playerKeyCount];
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < playerKeyCount; ++k)
            scancodes[p][k] = platform::scancodeOf(settings.keys[p][k]);
    platform::setPlayerKeys(scancodes);
    setErrorBox(platform::showError);
    // Without a context there is nothing to set up: the quit message already waits.
    if (platform::initialiseGl(windowWidth, windowHeight))
        runSetUp(game);
    game.opponents.choose(settings.opponent);
    for (int n = 0; n < 2; ++n)
        if (options.computer[n] != -2)
            game.opponents.side[n] = options.computer[n];
    game.opponents.choose(game.opponents.kept());
    game.opponents.offered = !options.session && !options.replay;
    if (!game.opponents.offered)
        game.opponents.side[0] = game.opponents.side[1] = -1;
    RoundKeys keys(options);
    keys.start(game.seed);
    game.ticks = options.firstTick;
    // A replay shows its round at once; the title menu is for playing.
    if (options.replay)
        game.gameRunning = true;
    Loop loop{TickPacer{}, keys};
    std::unique_ptr<NetPlay> net;
    if (options.session) {
        net = std::make_unique<NetPlay>(*options.session, game);
        net->onRoundBegun = [&](uint32_t seed) {
            game.gameRunning = true;
            keys.write();
            keys.newRound(seed);
            loop.pacer.restart();
            platform::forgetKeyPresses();
        };
        net->onOutOfStep = [&] { keys.saveForDiagnosis(options.session->role); };
        loop.net = net.get();
    }
    const int code = mainLoop(game, loop);
    keys.write();
    if (!options.settingsPath.empty()) {
        // The window as it was left; its size only when it was not on the whole screen.
        Settings kept = settings;
        if (game.opponents.chosenOnTitle)
            kept.opponent = game.opponents.kept();
        kept.fullscreen = platform::isFullscreen();
        int width = 0, height = 0;
        platform::windowSize(width, height);
        if (!kept.fullscreen && width > 0 && height > 0) {
            kept.windowWidth = width;
            kept.windowHeight = height;
        }
        saveSettings(options.settingsPath, kept);
    }
    platform::shutdownWindow();
    return code;
}
