#include "app/MainLoop.h"
#include "app/Controls.h"
#include "app/Game.h"
#include "app/Platform.h"
#include "app/Replay.h"
#include "app/RoundTick.h"
#include "app/TickPacer.h"
#include "app/WorldHash.h"
#include "audio/Sound.h"
#include "render/ViewLayout.h"
#include "render/Views.h"
#include "scene/ErrorReport.h"
#include <cstdio>
#include <ctime>
#include <plib/sl.h>

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
    void ran(const Game& game, const KeyState& keys) {
        if (options.recordPath.empty() || written)
            return;
        recording.keys.push_back(packKeys(keys));
        recording.finalHash = hashWorld(game);
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
        std::string message;
        if (!writeReplayFile(options.recordPath, recording, message))
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
};

// A seed for another round: the calendar time, moved on so that two rounds started within the
// same second still differ.
uint32_t nextSeed(uint32_t previous) {
    const auto now = static_cast<uint32_t>(std::time(nullptr));
    return now == previous ? previous + 1 : now;
}

void setMusicPaused(Game& game, bool paused) {
    if (!game.scheduler || !game.musicSample)
        return;
    if (paused)
        game.scheduler->pauseSample(game.musicSample);
    else
        game.scheduler->resumeSample(game.musicSample);
}

// Space, Return or a pad's A after 0:00 starts the next round; P or a pad's Start pauses a
// running round (a new one too, when both come at once) and goes on with it.
void obey(Game& game, TickPacer& pacer, RoundKeys& keys, const platform::Commands& c) {
    if (c.playAgain && game.roundOver && !keys.replaying()) {
        keys.write();
        startNewRound(game, nextSeed(game.seed));
        keys.newRound(game.seed);
        pacer.restart();
        platform::forgetKeyPresses();
    }
    if (c.pause && !game.roundOver) {
        game.paused = !game.paused;
        setMusicPaused(game, game.paused);
        // The time spent waiting is not owed to the round.
        if (!game.paused)
            pacer.resume(platform::nowMs());
    }
}

void gameFrame(Game& game, TickPacer& pacer, RoundKeys& keys) {
    obey(game, pacer, keys, platform::takeCommands());
    if (!game.paused)
        for (int due = pacer.due(platform::nowMs()); due > 0 && keys.more(game); --due) {
            const KeyState tickKeys = keys.next(game);
            tickRound(game, tickKeys);
            keys.ran(game, tickKeys);
        }
    game.look.frame = platform::frame();
    // In full screen the game's own picture is all there is to see.
    platform::setCursorHidden(platform::isFullscreen());
    if (!game.look.frame.empty()) {
        drawGameFrame(roundView(game));
        platform::swapBuffers();
    } else {
        // Nothing to show, and no swap to wait on: the round goes on at its pace all the same.
        platform::waitForNextFrame();
    }
    game.effects.playRaised(game.player1);
    game.effects.playRaised(game.player2);
    updateSound(game.scheduler.get());
}

void menuFrame(Game& game) {
    // The last event taken stays the last one until another arrives, so a press held still is
    // seen on every idle frame.
    platform::setCursorHidden(menuMouse(game, platform::menuPointer()));
    game.look.frame = platform::frame();
    if (!game.look.frame.empty()) {
        drawMenuFrame(menuView(game));
        platform::swapBuffers();
    } else {
        platform::waitForNextFrame();
    }
    // Keys pressed on the title are not the round's.
    platform::forgetKeyPresses();
}

// One waiting event per pass; a frame only when none waits.
int mainLoop(Game& game, RoundKeys& keys) {
    TickPacer pacer;
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
            gameFrame(game, pacer, keys);
        else
            menuFrame(game);
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
    RoundKeys keys(options);
    keys.start(game.seed);
    game.ticks = options.firstTick;
    // A replay shows its round at once; the title menu is for playing.
    if (options.replay)
        game.gameRunning = true;
    const int code = mainLoop(game, keys);
    keys.write();
    if (!options.settingsPath.empty()) {
        // The window as it was left; its size only when it was not on the whole screen.
        Settings kept = settings;
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
