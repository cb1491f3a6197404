#include "app/Game.h"
#include "render/TextFont.h"
#include <cstdio>
#include "screens/Menu.h"
#include "audio/Sound.h"
#include <memory>
#include "scene/TextureSlots.h"
#include "world/ArenaLayout.h"
#include <chrono>
#include <plib/sl.h>
#include <thread>

Game::Game(uint32_t seed_, bool withSound)
    : round(seed_), scheduler(withSound ? createScheduler() : nullptr) {}

Game::~Game() {
    // The scheduler never frees the player of a sample that still loops, and an effect may still
    // be sounding. Stopped, each player goes at the next mixing pass, which comes once the
    // device has played what is queued (at most the longest safety margin); only then may the
    // samples be deleted (the effects' own when they go, after this).
    if (scheduler) {
        slSample* const sounding[3] = {musicSample, effects.blast, effects.bounce};
        auto anySounding = [&] {
            for (slSample* s : sounding)
                if (s && s->getPlayCount() > 0)
                    return true;
            return false;
        };
        for (slSample* s : sounding)
            if (s)
                scheduler->stopSample(s);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
        while (anySounding() && std::chrono::steady_clock::now() < giveUp) {
            scheduler->update();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    if (musicSample && musicSample->getPlayCount() == 0)
        delete musicSample;
}

namespace {
// The whole set-up: the round's own (every random draw), then, with GL, what draws it and, with
// sound, what plays it.
void setUp(Game& g, bool withGl) {
    g.menuCamera.place(0, 0, 10, 0, 0, 0, 0, 1, 0);
    setUpRound(g.round);
    if (g.scheduler) {
        g.musicSample = startMusic(*g.scheduler);
        g.effects.load(g.scheduler.get());
    }
    if (!withGl)
        return;
    loadAllTextures(g.look.textures);
    if (!loadTextFont())
        std::fprintf(stderr,
                     "tuvo: textures/font.bmp cannot be read: the menus use small letters\n");
    g.look.setLights();
    g.look.models.build(&g.look.textures, g.round.world.maze);
    for (int n = 1; n <= 2; ++n)
        g.look.figures[n - 1].build(g.round.player(n));

    {
        const int32_t groundBase[3] = {groundSlots, groundSlots + 5, groundSlots + 10};
        const int32_t backgroundBase[3] = {wideBackdropSlots, wideBackdropSlots + 5,
                                           wideBackdropSlots + 10};
        const int32_t orthogonalBase[3] = {lowBackdropSlots, lowBackdropSlots + 5,
                                           lowBackdropSlots + 10};
        g.look.scenery.build(&g.look.textures, roadSlot, roadVerticalSlot, groundBase,
                             backgroundBase, orthogonalBase);
    }
}
} // namespace

void setUpWorld(Game& game) {
    setUp(game, false);
}

void runSetUp(Game& game) {
    setUp(game, true);
}

void startNewRound(Game& g, uint32_t newSeed) {
    // Pictures, lists, the window and the sound stay.
    startRound(g.round, newSeed);
}

RoundView roundView(const Game& g) {
    RoundView view = viewOfRound(g.round, g.look);
    view.feedback = &g.feedback;
    // As the main loop shows the pause menu.
    view.pauseMenuShown = g.round.paused && !g.round.roundOver;
    view.computer[0] = g.opponents.hudLine(1);
    view.computer[1] = g.opponents.hudLine(2);
    return view;
}

MenuView menuView(const Game& g) {
    MenuView view{g.look, g.menuCamera, g.helpShown == 1, g.mouseX, g.mouseY};
    if (!g.helpShown && !g.menus.optionsShown && !g.online.shown()) {
        const MenuArea& a = titleEntries[g.menus.titleFocus].area;
        view.highlight = {a.left, a.right, a.bottom, a.top};
    }
    if (g.opponents.offered)
        view.opponent = g.opponents.titleLine().c_str();
    return view;
}
