#include "app/Game.h"
#include "audio/Sound.h"
#include <ctime>
#include <memory>
#include "scene/TextureSlots.h"
#include "world/ArenaLayout.h"
#include <chrono>
#include <plib/sl.h>
#include <thread>

Game::Game(uint32_t seed_, bool withSound)
    : seed(seed_), random(seed_), scheduler(withSound ? createScheduler() : nullptr),
      world(&random), player1(1, arena::homeX[0], arena::homeY, 0, 1.0f, 1.0f, 0, world),
      player2(2, arena::homeX[1], arena::homeY, 0, 1.0f, 1.0f, 0, world), creature1(1, world),
      creature2(2, world), creature3(3, world), creature4(4, world) {
    world.clock = &clock;
}

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

Creature& Game::creature(int n) {
    switch (n) {
    case 1:
        return creature1;
    case 2:
        return creature2;
    case 3:
        return creature3;
    default:
        return creature4;
    }
}

namespace {
void placeCameras(Game& g) {
    g.overviewCamera.place(7.5f, -5.7625f, 8.541f, 7.5f, 6.6575f, -0.855f, 0, 0.937f, 0.342f);
    for (int n = 1; n <= 2; ++n) {
        const float x = arena::homeXOf(n);
        g.playerCamera(n).place(x, -1.5f, 0.9f, x, arena::homeY, 0.7f, 0, 0, 1);
    }
}

// The whole set-up in its order; without GL only the steps that build state run, which keeps the
// sequence of random draws the same. A new round has its sound already.
void setUp(Game& g, bool withGl, bool withSound = true) {
    if (withGl)
        loadAllTextures(g.look.textures);
    if (g.scheduler && withSound)
        g.musicSample = startMusic(*g.scheduler);
    placeCameras(g);
    if (withGl)
        g.look.setLights();
    g.menuCamera.place(0, 0, 10, 0, 0, 0, 0, 1, 0);

    g.world.createWallBlocks();
    g.world.generateLabyrinth();
    g.world.createBlastParticles();
    g.world.placeItems();
    if (withGl)
        g.look.models.build(&g.look.textures, *g.world.maze);

    for (int n = 1; n <= 4; ++n)
        g.creature(n).place();

    for (int n = 1; n <= 2; ++n)
        if (withGl)
            g.look.figures[n - 1].build(g.player(n));
    if (g.scheduler && withSound)
        g.effects.load(g.scheduler.get());

    if (withGl) {
        const int32_t groundBase[3] = {groundSlots, groundSlots + 5, groundSlots + 10};
        const int32_t backgroundBase[3] = {wideBackdropSlots, wideBackdropSlots + 5,
                                           wideBackdropSlots + 10};
        const int32_t orthogonalBase[3] = {lowBackdropSlots, lowBackdropSlots + 5,
                                           lowBackdropSlots + 10};
        g.look.scenery.build(&g.look.textures, roadSlot, roadVerticalSlot, groundBase,
                             backgroundBase, orthogonalBase);
    }

    g.particles.prepare(&g.random);
}
} // namespace

void setUpWorld(Game& game) {
    setUp(game, false);
}

void runSetUp(Game& game) {
    setUp(game, true);
}

void startNewRound(Game& g, uint32_t newSeed) {
    // The round's objects are made again in their order, from the generator's fresh start, as
    // the first round's were; pictures, lists, the window and the sound stay.
    std::destroy_at(&g.particles);
    for (int n = 4; n >= 1; --n)
        std::destroy_at(&g.creature(n));
    std::destroy_at(&g.player2);
    std::destroy_at(&g.player1);
    std::destroy_at(&g.world);
    std::destroy_at(&g.random);

    g.seed = newSeed;
    std::construct_at(&g.random, newSeed);
    g.seasons = Seasons{};
    std::construct_at(&g.world, &g.random);
    std::construct_at(&g.player1, 1, arena::homeX[0], arena::homeY, 0.0f, 1.0f, 1.0f, 0.0f,
                      g.world);
    std::construct_at(&g.player2, 2, arena::homeX[1], arena::homeY, 0.0f, 1.0f, 1.0f, 0.0f,
                      g.world);
    for (int n = 1; n <= 4; ++n)
        std::construct_at(&g.creature(n), n, g.world);
    std::construct_at(&g.particles);
    g.world.clock = &g.clock;
    g.clock.set(0);

    g.roundOver = false;
    g.paused = false;
    g.shadowsOn = false;
    g.shadowKeyDown = false;
    g.ticks = 0;
    g.gameTime = 0;
    g.seasonPhase = 0;
    for (auto& angles : g.keyAngle) {
        angles[0] = 0;
        angles[1] = 180;
        angles[2] = 90;
        angles[3] = -90;
    }
    setUp(g, false, false);
}

uint32_t nextRoundSeed(uint32_t previous) {
    const auto now = static_cast<uint32_t>(std::time(nullptr));
    return now == previous ? previous + 1 : now;
}

RoundView roundView(const Game& g) {
    return RoundView{g.look,
                     g.world,
                     {&g.player1, &g.player2},
                     {&g.creature1, &g.creature2, &g.creature3, &g.creature4},
                     g.particles,
                     g.overviewCamera,
                     {&g.player1Camera, &g.player2Camera},
                     g.seasons.step,
                     g.seasonPhase,
                     g.gameTime,
                     g.roundOver,
                     g.shadowsOn,
                     g.paused};
}

MenuView menuView(const Game& g) {
    return MenuView{g.look, g.menuCamera, g.helpShown == 1, g.mouseX, g.mouseY};
}
