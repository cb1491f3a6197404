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

  private:
    const ProgramOptions& options;
    Replay recording;
    bool written = false;
};

void gameFrame(Game& game, TickPacer& pacer, RoundKeys& keys) {
    for (int due = pacer.due(platform::nowMs()); due > 0 && keys.more(game); --due) {
        const KeyState tickKeys = keys.next(game);
        tickRound(game, tickKeys);
        keys.ran(game, tickKeys);
    }
    drawGameFrame(roundView(game));
    platform::swapBuffers();
    game.effects.playRaised(game.player1);
    game.effects.playRaised(game.player2);
    updateSound(game.scheduler.get());
}

void menuFrame(Game& game) {
    // The last event taken stays the last one until another arrives, so a press held still is
    // seen on every idle frame.
    platform::setCursorHidden(menuMouse(game, platform::menuPointer()));
    drawMenuFrame(menuView(game));
    platform::swapBuffers();
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
    if (!platform::createWindow("TUVO!!", windowWidth, windowHeight))
        return 1;
    setErrorBox(platform::showError);
    // Without a context there is nothing to set up: the quit message already waits.
    if (platform::initialiseGl(windowWidth, windowHeight))
        runSetUp(game);
    RoundKeys keys(options);
    keys.start(game.seed);
    // A replay shows its round at once; the title menu is for playing.
    if (options.replay)
        game.gameRunning = true;
    const int code = mainLoop(game, keys);
    keys.write();
    platform::shutdownWindow();
    return code;
}
