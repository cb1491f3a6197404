#include "app/MainLoop.h"
#include "net/NetPlay.h"
#include "rules/Controls.h"
#include "app/Game.h"
#include "screens/Menu.h"
#include "platform/Platform.h"
#include "platform/Seed.h"
#include "record/KeptRounds.h"
#include "record/Replay.h"
#include "rules/RoundTick.h"
#include "app/TickPacer.h"
#include "rules/WorldHash.h"
#include "audio/Sound.h"
#include "render/GlState.h"
#include "render/MenuPanel.h"
#include "render/RenderScale.h"
#include "render/ViewLayout.h"
#include "render/Views.h"
#include "scene/ErrorReport.h"
#include <algorithm>
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
        return !options.replay || game.round.ticks < options.replay->keys.size();
    }
    KeyState next(const Game& game) {
        if (options.replay)
            return unpackKeys(options.replay->keys[game.round.ticks]);
        return platform::takeTickKeys();
    }
    // After each tick: the tick's keys are kept until the round is over, and written then,
    // to --record's file and among the player's kept rounds. Over the network the round is the
    // one both machines agree on, which the present runs ahead of.
    void ran(const RoundState& game, const KeyState& keys) {
        lastGame = &game;
        if (options.replay || written)
            return;
        // A round begun part of the way in (TUVO_START_AT) cannot be watched again from its
        // seed: it is not kept.
        if (recording.keys.empty() && game.ticks != 1)
            startedLate = true;
        recording.keys.push_back(packKeys(keys));
        if (game.roundOver)
            write();
    }
    // A round left before its end is written as far as it went.
    void write() {
        if (options.replay || written)
            return;
        written = true;
        if (recording.keys.empty()) {
            if (!options.recordPath.empty())
                std::fprintf(stderr, "tuvo: no round was played, so nothing was recorded in '%s'\n",
                             options.recordPath.c_str());
            return;
        }
        if (lastGame) {
            recording.finalHash = hashWorld(*lastGame);
            recording.steeringHelp = lastGame->steeringHelp;
        }
        std::string message;
        if (!options.recordPath.empty() && !writeReplayFile(options.recordPath, recording, message))
            std::fprintf(stderr, "tuvo: %s\n", message.c_str());
        keepRound();
    }
    // Who played each side, told by the loop when a round is kept.
    std::function<void(RoundDetails&)> whoPlayed;
    // The round so far, written where its diagnosis can find it: the worlds of two machines
    // came out of step.
    void saveForDiagnosis(NetSession::Role role) {
        if (lastGame) {
            recording.finalHash = hashWorld(*lastGame);
            recording.steeringHelp = lastGame->steeringHelp;
        }
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
        startedLate = false;
    }
    bool replaying() const { return options.replay != nullptr; }
    // A round over the network found from the title (online): its keys are kept as well.
    bool networked = false;

  private:
    // Every round played here is kept in the player's data folder, the newest 100.
    void keepRound() {
        if (!lastGame || startedLate)
            return;
        const std::string folder = KeptRounds::defaultFolder();
        if (folder.empty())
            return;
        RoundDetails details;
        details.playedAt = static_cast<int64_t>(std::time(nullptr));
        details.points[0] = lastGame->player1.points;
        details.points[1] = lastGame->player2.points;
        details.leftEarly = !lastGame->roundOver;
        if (details.leftEarly) {
            const float left = tuning::roundMs - lastGame->gameTime;
            details.clockLeft =
                static_cast<uint16_t>(std::clamp(left / 1000.0f, 0.0f, float(roundClockSeconds)));
        }
        if (whoPlayed)
            whoPlayed(details);
        std::string message;
        if (KeptRounds(folder).keep(details, recording, message).empty())
            std::fprintf(stderr, "tuvo: the round could not be kept: %s\n", message.c_str());
    }

    const ProgramOptions& options;
    Replay recording;
    bool written = false;
    bool startedLate = false;
    const RoundState* lastGame = nullptr;
};

// What the loop keeps from frame to frame: the pacing, the round's keys and, in a round over
// the network, the network round.
struct Loop {
    TickPacer pacer;
    RoundKeys& keys;
    NetPlay* net = nullptr;
    bool playerViewsPrepared = false;
    // The settings as the player left them in OPTIONS or with F11, kept in `settingsPath`.
    Settings settings{};
    std::string settingsPath{};
    // Full screen as last seen: F11 turning it is the player's choice, and kept.
    bool fullscreenSeen = false;
    // Shadows turned in OPTIONS (or as the settings have them at a round's start) go to the
    // round as a press of key 0 on its next tick, so a recording and the other machine see it.
    bool shadowPress = false;
    bool capturing = false;
    // A line the title shows for a moment in place of its own ("PLAYER 2 IS NOT HERE YET").
    std::string notice{};
    double noticeUntil = 0;
    std::function<bool(Game&)> beforeFrame{};
    std::string lobby{}; // --lobby, else the settings' lobby
    bool typing = false; // the online join screen takes what is typed
    // The render scale AUTO chooses, from the round's frames as they come.
    AutoRenderScale autoScale{};
};

// The settings file as it is to be now: the window's size from the window, when it is not on
// the whole screen.
void keepSettings(const Loop& loop) {
    if (loop.settingsPath.empty())
        return;
    Settings kept = loop.settings;
    int width = 0, height = 0;
    platform::windowSize(width, height);
    if (width > 0 && height > 0) {
        kept.windowWidth = width;
        kept.windowHeight = height;
    }
    saveSettings(loop.settingsPath, kept);
}

void applySettings(const Settings& settings) {
    int scancodes[2][playerKeyCount];
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < playerKeyCount; ++k)
            scancodes[p][k] = platform::scancodeOf(settings.keys[p][k]);
    platform::setPlayerKeys(scancodes);
    setVolumes(settings.musicVolume, settings.effectsVolume);
}

// The shadows the settings ask for, at the start of a round played here (a replay has its own
// keys; over the network the host's settings count for both).
void shadowsAtStart(Game& game, Loop& loop) {
    if (loop.keys.replaying() || (loop.net && !loop.net->hosting()))
        return;
    // Steering help is the round's from its first tick; over the network the host sent its own.
    if (!loop.net)
        game.round.steeringHelp = loop.settings.steeringHelp;
    loop.shadowPress = loop.settings.shadows != game.round.shadowsOn;
}

// The shadows as the round will have them after its next tick.
bool shadowsShown(const Game& game, const Loop& loop) {
    return game.round.shadowsOn != loop.shadowPress;
}

void carryOut(Game& game, Loop& loop, const MenuOutcome& o) {
    if (o.fullscreen) {
        platform::setFullscreen(!platform::isFullscreen());
        loop.fullscreenSeen = platform::isFullscreen();
    }
    if (o.shadows && game.gameRunning)
        loop.shadowPress = !loop.shadowPress;
    if (o.settingsChanged) {
        applySettings(loop.settings);
        keepSettings(loop);
    }
}

// The options over the title or the pause menu: keys, pads and the pointer.
void optionsFrame(Game& game, Loop& loop, const std::vector<platform::MenuKey>& keys,
                  const MenuPointer& pointer) {
    MenuState& m = game.menus;
    const bool shadows = game.gameRunning ? shadowsShown(game, loop) : loop.settings.shadows;
    if (m.rebinding >= 0) {
        if (!loop.capturing) {
            platform::captureKey(true);
            loop.capturing = true;
        }
        carryOut(game, loop, optionsCaptured(m, loop.settings, platform::takeCapturedKey()));
    }
    for (platform::MenuKey k : keys)
        if (m.optionsShown)
            carryOut(game, loop,
                     optionsKey(m, loop.settings, k, platform::isFullscreen(), shadows));
    const bool click = pointer.leftPress && !m.pointerDown;
    if (m.optionsShown && (pointer.x != m.pointerX || pointer.y != m.pointerY || click))
        carryOut(game, loop,
                 optionsPointer(m, loop.settings, pointer.x, pointer.y, click,
                                platform::isFullscreen(), shadows));
    m.pointerX = pointer.x;
    m.pointerY = pointer.y;
    m.pointerDown = pointer.leftPress;
    if (m.rebinding < 0 && loop.capturing) {
        platform::captureKey(false);
        loop.capturing = false;
    }
}

void drawOptions(const Game& game, const Loop& loop) {
    const bool shadows = game.gameRunning ? shadowsShown(game, loop) : loop.settings.shadows;
    drawMenuPanel(game.look.frame,
                  optionsPanel(game.menus, loop.settings, platform::isFullscreen(), shadows));
}

// Back to the title from a round left before its end: the recording keeps it as far as it went
// (written before the round is made anew, so that its fingerprint is the left round's).
void leaveRound(Game& game, Loop& loop) {
    loop.keys.write();
    game.gameRunning = false;
    game.menus = MenuState{};
    pauseMusic(game.scheduler.get(), game.musicSample, false);
    platform::forgetKeyPresses();
}

// Space, Return or a pad's A after 0:00 starts the next round; P or a pad's Start pauses a
// running round (a new one too, when both come at once) and goes on with it. Over the network
// both go to both machines.
void playAgain(Game& game, Loop& loop) {
    game.menus.resultFocus = resultPlayAgain;
    if (loop.net) {
        loop.net->againClicked();
        return;
    }
    if (!game.round.roundOver || loop.keys.replaying())
        return;
    loop.keys.write();
    startNewRound(game, nextRoundSeed(game.round.seed));
    loop.keys.newRound(game.round.seed);
    loop.pacer.restart();
    platform::forgetKeyPresses();
    shadowsAtStart(game, loop);
}

// Back to the title from a round, by END ROUND or TITLE after 0:00.
void endRoundChosen(Game& game, Loop& loop) {
    if (loop.net && loop.net->stage == NetPlay::Stage::playing) {
        loop.net->endRoundClicked();
    } else if (loop.net) {
        leaveRound(game, loop);
    } else {
        leaveRound(game, loop);
        // The title's START begins a fresh round, not this one again.
        startNewRound(game, nextRoundSeed(game.round.seed));
        loop.keys.newRound(game.round.seed);
    }
}

// The other machine is gone (or never came, and the player gave up looking): the title again,
// for a game on this machine alone.
void playAlone(Game& game, Loop& loop) {
    if (game.gameRunning)
        leaveRound(game, loop);
    loop.net->close();
    loop.net = nullptr;
    game.round.paused = false;
    game.menus = MenuState{};
    game.opponents.offered = true;
    game.opponents.choose(loop.settings.opponent);
    startNewRound(game, nextRoundSeed(game.round.seed));
    loop.keys.newRound(game.round.seed);
    loop.notice.clear();
    loop.noticeUntil = 0;
}

// Return, a pad's A, a click or Esc on a screen that says the other player is gone: back to
// the title. Answers whether it went.
bool leftScreenAnswered(Game& game, Loop& loop, const std::vector<platform::MenuKey>& keys,
                        const MenuPointer& pointer) {
    if (!loop.net || !loop.net->goneForGood())
        return false;
    const bool click = pointer.leftPress && !game.menus.pointerDown;
    game.menus.pointerDown = pointer.leftPress;
    for (platform::MenuKey k : keys)
        if (k == platform::MenuKey::press || k == platform::MenuKey::back)
            return playAlone(game, loop), true;
    if (click)
        return playAlone(game, loop), true;
    return false;
}

void obey(Game& game, Loop& loop, const platform::Commands& c) {
    if (c.playAgain && (loop.net || game.round.roundOver))
        playAgain(game, loop);
    if (c.pause && loop.net)
        loop.net->pauseClicked();
    else if (c.pause && !game.round.roundOver)
        game.round.paused = !game.round.paused;
}

// What a menu's keys and pointer chose this frame: the pointer counts when it moved or clicked.
MenuOutcome menuAnswer(MenuState& menus, const std::vector<platform::MenuKey>& keys,
                       const MenuPointer& pointer,
                       MenuOutcome (*onKey)(MenuState&, platform::MenuKey),
                       MenuOutcome (*onPointer)(MenuState&, int, int, bool)) {
    MenuOutcome o;
    auto add = [&o](const MenuOutcome& step) {
        o.continueRound |= step.continueRound;
        o.endRound |= step.endRound;
        o.playAgain |= step.playAgain;
    };
    for (platform::MenuKey k : keys)
        add(onKey(menus, k));
    const bool click = pointer.leftPress && !menus.pointerDown;
    if (pointer.x != menus.pointerX || pointer.y != menus.pointerY || click)
        add(onPointer(menus, pointer.x, pointer.y, click));
    menus.pointerX = pointer.x;
    menus.pointerY = pointer.y;
    menus.pointerDown = pointer.leftPress;
    return o;
}

// PLAY AGAIN or TITLE after 0:00.
bool resultMenuFrame(Game& game, Loop& loop, const std::vector<platform::MenuKey>& keys,
                     const MenuPointer& pointer) {
    if (loop.keys.replaying())
        return false;
    const MenuOutcome o = menuAnswer(game.menus, keys, pointer, resultKey, resultPointer);
    if (o.endRound) {
        endRoundChosen(game, loop);
        return true;
    }
    if (o.playAgain)
        playAgain(game, loop);
    return false;
}

// The pause menu and the options over a paused round. Answers whether the round is left.
bool pauseMenuFrame(Game& game, Loop& loop) {
    const std::vector<platform::MenuKey> keys = platform::takeMenuKeys();
    const MenuPointer pointer = platform::menuPointer();
    if (leftScreenAnswered(game, loop, keys, pointer))
        return true;
    if (!game.round.paused || game.round.roundOver) {
        game.menus.optionsShown = false;
        return game.round.roundOver && resultMenuFrame(game, loop, keys, pointer);
    }
    if (game.menus.optionsShown) {
        optionsFrame(game, loop, keys, pointer);
        return false;
    }
    const MenuOutcome o = menuAnswer(game.menus, keys, pointer, pauseKey, pausePointer);
    // With the other machine gone (or out of step) there is no round to end or go on together.
    const bool together = loop.net && loop.net->stage == NetPlay::Stage::playing;
    if (o.endRound) {
        endRoundChosen(game, loop);
        return true;
    }
    if (o.continueRound) {
        if (together)
            loop.net->pauseClicked();
        else
            game.round.paused = false;
    }
    return false;
}

// The keys of this machine's next tick, with a press of key 0 the options asked for.
KeyState localKeys(Loop& loop) {
    KeyState k = platform::takeTickKeys();
    if (loop.shadowPress) {
        k.shadowToggle = true;
        loop.shadowPress = false;
    }
    return k;
}

void runDueTicks(Game& game, Loop& loop) {
    if (game.round.paused)
        return;
    const int due = loop.pacer.due(platform::nowMs());
    if (loop.net) {
        const int ran = loop.net->runTicks(
            due, [&] { return localKeys(loop); },
            [&](const RoundState& agreed, const KeyState& k) { loop.keys.ran(agreed, k); });
        const std::vector<RoundEvent> told = loop.net->takeEvents();
        game.frameEvents.insert(game.frameEvents.end(), told.begin(), told.end());
        // Ticks held for the other side's keys are still owed: they run once the keys come.
        loop.pacer.owe(due - ran);
        return;
    }
    for (int n = due; n > 0 && loop.keys.more(game); --n) {
        KeyState tickKeys = loop.keys.replaying() ? loop.keys.next(game) : localKeys(loop);
        // A computer player's keys are the round's keys: recorded with the rest.
        if (!loop.keys.replaying())
            game.opponents.press(game.round, tickKeys);
        tickRound(game.round, tickKeys);
        const std::span<const RoundEvent> told = game.round.events();
        game.frameEvents.insert(game.frameEvents.end(), told.begin(), told.end());
        loop.keys.ran(game.round, tickKeys);
    }
}

void gameFrame(Game& game, Loop& loop) {
    const bool wasPaused = game.round.paused;
    obey(game, loop, platform::takeCommands());
    if (loop.net)
        loop.net->service();
    if (!game.gameRunning || pauseMenuFrame(game, loop))
        return;
    if (game.round.paused != wasPaused) {
        pauseMusic(game.scheduler.get(), game.musicSample, game.round.paused);
        game.menus.pauseFocus = pauseContinue;
        // The time spent waiting is not owed to the round, and keys pressed on the pause menu
        // are not the round's.
        if (!game.round.paused) {
            loop.pacer.resume(platform::nowMs());
            platform::forgetKeyPresses();
        }
    }
    runDueTicks(game, loop);
    game.feedback.observe(game.round, game.frameEvents);
    game.look.frame = platform::frame();
    // In full screen the game's own picture is all there is to see, but for a menu.
    platform::setCursorHidden(platform::isFullscreen() && !game.round.paused);
    if (!game.look.frame.empty()) {
        RoundView view = roundView(game);
        if (loop.net)
            view.banner = loop.net->banner();
        const bool automatic = loop.settings.renderScale == renderScaleAuto;
        game.look.renderPercent = automatic ? loop.autoScale.percent() : loop.settings.renderScale;
        const double drawingFrom = platform::nowMs();
        drawGameFrame(view);
        if (game.round.paused && !game.round.roundOver)
            drawMenuPanel(game.look.frame, pausePanel(game.menus));
        if (game.round.paused && !game.round.roundOver && game.menus.optionsShown)
            drawOptions(game, loop);
        if (game.round.roundOver && !loop.keys.replaying() &&
            !(loop.net && loop.net->goneForGood()))
            drawMenuPanel(game.look.frame, resultPanel(game.menus));
        // The frame's own cost decides AUTO: drawing it and showing it, not the ticks before it
        // nor the wait for the display's refresh.
        if (automatic && platform::swapWaitsForDisplay())
            waitForDrawing();
        const double drawn = platform::nowMs() - drawingFrom;
        const double shown = platform::swapBuffers();
        if (automatic)
            loop.autoScale.frameShown(platform::nowMs(), drawn + shown,
                                      platform::refreshPeriodMs());
    } else {
        // Nothing to show, and no swap to wait on: the round goes on at its pace all the same.
        platform::waitForNextFrame();
    }
    game.effects.playEvents(game.frameEvents);
    game.frameEvents.clear();
    updateSound(game.scheduler.get());
}

// The PLAY ONLINE screens over the title: the join screen takes what is typed.
void onlineFrame(Game& game, Loop& loop, const std::vector<platform::MenuKey>& keys,
                 const MenuPointer& pointer) {
    game.online.configure(loop.lobby.empty() ? loop.settings.lobby : loop.lobby,
                          loop.settings.alwaysRelay);
    std::vector<platform::Typed> typed;
    if (loop.typing)
        typed = platform::takeTyped();
    game.online.frame(game.round, keys, typed, pointer);
    const bool typing = game.online.shown() && game.online.wantsTyping();
    if (typing != loop.typing)
        platform::typeText(typing);
    loop.typing = typing;
}

void menuFrame(Game& game, Loop& loop) {
    // The last event taken stays the last one until another arrives, so a press held still is
    // seen on every idle frame.
    const MenuPointer pointer = platform::menuPointer();
    std::vector<platform::MenuKey> keys = platform::takeMenuKeys();
    if (!game.online.shown() && !game.menus.optionsShown && !game.helpShown && loop.net) {
        // On the network title, going back ends the waiting or the looking.
        const bool back =
            std::find(keys.begin(), keys.end(), platform::MenuKey::back) != keys.end();
        if (back || leftScreenAnswered(game, loop, keys, pointer)) {
            if (loop.net)
                playAlone(game, loop);
            keys.clear();
        }
    }
    if (!game.online.shown() && loop.typing) {
        // The online screens closed by other means (a path found, the window's end): keys act
        // as keys again.
        platform::typeText(false);
        loop.typing = false;
    }
    if (game.online.shown()) {
        onlineFrame(game, loop, keys, pointer);
        platform::setCursorHidden(false);
    } else if (game.menus.optionsShown) {
        optionsFrame(game, loop, keys, pointer);
        platform::setCursorHidden(false);
    } else {
        platform::setCursorHidden(menuMouse(game, pointer));
        for (platform::MenuKey k : keys)
            if (!game.gameRunning && !game.menus.optionsShown)
                titleKey(game, k);
    }
    std::string status;
    // START cannot begin a round: the other player is not there, or gone for good.
    const bool waitingForOther =
        loop.net && (!loop.net->bothHere() || loop.net->stage != NetPlay::Stage::lobby);
    if (loop.net) {
        // START over the network starts the round on both machines, once both are there.
        if (game.gameRunning) {
            game.gameRunning = false;
            if (waitingForOther && !loop.net->goneForGood()) {
                loop.notice =
                    loop.net->hosting() ? "PLAYER 2 IS NOT HERE YET" : "PLAYER 1 IS NOT HERE YET";
                loop.noticeUntil = platform::nowMs() + 3000;
            }
            loop.net->startClicked();
        }
        loop.net->service();
        status = platform::nowMs() < loop.noticeUntil ? loop.notice : loop.net->lobbyText();
    } else if (game.gameRunning) {
        shadowsAtStart(game, loop);
    }
    game.look.frame = platform::frame();
    if (!game.look.frame.empty()) {
        MenuView view = menuView(game);
        view.helpKeys[0] = helpKeys(loop.settings, 1);
        view.helpKeys[1] = helpKeys(loop.settings, 2);
        view.status =
            loop.net && !game.menus.optionsShown && !game.online.shown() ? status.c_str() : nullptr;
        if (waitingForOther)
            view.dimmed = {startArea.left, startArea.right, startArea.bottom, startArea.top};
        drawMenuFrame(view);
        if (game.onlineOffered && !game.helpShown)
            drawOnlineEntry(game.look.frame);
        if (game.online.shown() && !game.helpShown)
            game.online.draw(game.look.frame);
        else if (game.menus.optionsShown && !game.helpShown)
            drawOptions(game, loop);
        platform::swapBuffers();
        // Once the title shows, while the game holds little: what making the player views'
        // pictures takes for a moment is given back before a round needs its own. (A round
        // started sooner makes them at its first frame.)
        if (!loop.playerViewsPrepared) {
            preparePlayerViews(game.look, game.round.playerCamera(1));
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
        if (platform::isFullscreen() != loop.fullscreenSeen) {
            // F11 or Alt+Return: the player's choice, kept at once.
            loop.fullscreenSeen = platform::isFullscreen();
            loop.settings.fullscreen = loop.fullscreenSeen;
            keepSettings(loop);
        }
        if (loop.net && loop.net->hosting())
            loop.net->steeringHelp = loop.settings.steeringHelp;
        const bool paused = game.gameRunning && game.round.paused && !game.round.roundOver;
        // Esc goes back one step in every screen the game added, PLAY ONLINE's among them.
        platform::escapeGoesBack(game.menus.optionsShown || paused || game.online.shown() ||
                                 (loop.net && (!game.gameRunning || loop.net->goneForGood())));
        if (loop.beforeFrame && !loop.beforeFrame(game))
            platform::shutdownWindow();
        else if (game.gameRunning)
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
    applySettings(settings);
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
    keys.start(game.round.seed);
    game.round.ticks = options.firstTick;
    // A replay shows its round at once; the title menu is for playing.
    if (options.replay) {
        game.gameRunning = true;
        game.round.steeringHelp = options.replay->steeringHelp;
    }
    Loop loop{TickPacer{}, keys};
    keys.whoPlayed = [&](RoundDetails& details) {
        for (int s = 0; s < 2; ++s) {
            const int32_t level = game.opponents.side[s];
            details.players[s] = level >= 0 ? SidePlayer::computer : SidePlayer::person;
            details.computerLevel[s] = static_cast<uint8_t>(level >= 0 ? level : 0);
        }
        if (loop.net)
            details.players[loop.net->hosting() ? 1 : 0] = SidePlayer::online;
    };
    loop.settings = settings;
    loop.settingsPath = options.settingsPath;
    loop.fullscreenSeen = platform::isFullscreen();
    loop.beforeFrame = options.beforeFrame;
    loop.lobby = options.lobby;
    // A network round, from the command line or found online from the title.
    auto playOver = [&](NetPlay& play, NetSession::Role role) {
        play.onRoundBegun = [&](uint32_t seed) {
            game.gameRunning = true;
            game.online.screen = OnlinePlay::Screen::hidden;
            keys.write();
            keys.newRound(seed);
            loop.pacer.restart();
            platform::forgetKeyPresses();
            shadowsAtStart(game, loop);
        };
        play.onRoundEnded = [&] { leaveRound(game, loop); };
        play.onOutOfStep = [&keys, role] { keys.saveForDiagnosis(role); };
        loop.net = &play;
    };
    std::unique_ptr<NetPlay> net;
    if (options.session) {
        net = std::make_unique<NetPlay>(*options.session, game.round);
        playOver(*net, options.session->role);
    }
    // Online, both players are people.
    game.onlineOffered = !options.session && !options.replay;
    game.online.connected = [&](NetPlay& play, NetSession& session) {
        keys.networked = true;
        game.opponents.offered = false;
        game.opponents.side[0] = game.opponents.side[1] = -1;
        playOver(play, session.role);
    };
    game.online.left = [&] {
        loop.net = nullptr;
        game.opponents.offered = true;
        game.opponents.choose(game.opponents.kept());
    };
    game.online.configure(options.lobby.empty() ? settings.lobby : options.lobby,
                          settings.alwaysRelay);
    if (options.hostOnline)
        game.online.host(game.round);
    else if (!options.joinCode.empty())
        game.online.join(game.round, options.joinCode);
    const int code = mainLoop(game, loop);
    keys.write();
    // The online game goes before the loop it reports to.
    game.online.connected = nullptr;
    game.online.left = nullptr;
    game.online.close();
    // The window's size as it was left; full screen as the player chose it (a one-off
    // --fullscreen is not a choice to keep); the opponent as last chosen on the title.
    if (game.opponents.chosenOnTitle)
        loop.settings.opponent = game.opponents.kept();
    keepSettings(loop);
    platform::shutdownWindow();
    return code;
}
