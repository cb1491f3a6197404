#include "app/Game.h"
#include "audio/Sound.h"
#include <GL/gl.h>
#include <chrono>
#include <plib/sl.h>
#include <thread>

Game::Game(uint32_t seed_, bool withSound)
    : seed(seed_), random(seed_), scheduler(withSound ? createScheduler() : nullptr),
      sceneLight(GL_LIGHT0), spotLight(GL_LIGHT1), scenery(6.0f, 15.0f, 1.0f), world(&random),
      player1(1, 0.5f, 0.5f, 0, 1.0f, 1.0f, 0, world),
      player2(2, 14.5f, 0.5f, 0, 1.0f, 1.0f, 0, world), creature1(1, world), creature2(2, world),
      creature3(3, world), creature4(4, world) {
    world.clock = &clock;
}

Game::~Game() {
    if (!musicSample)
        return;
    // The scheduler never frees the player of a sample that still loops. Stopped, the music's
    // player goes at the next mixing pass, which comes once the device has played what is
    // queued (at most the longest safety margin); only then may the sample itself be deleted.
    if (scheduler) {
        scheduler->stopSample(musicSample);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
        while (musicSample->getPlayCount() > 0 && std::chrono::steady_clock::now() < giveUp) {
            scheduler->update();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    if (musicSample->getPlayCount() == 0)
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
    g.player1Camera.place(0.5f, -1.5f, 0.9f, 0.5f, 0.5f, 0.7f, 0, 0, 1);
    g.player2Camera.place(14.5f, -1.5f, 0.9f, 14.5f, 0.5f, 0.7f, 0, 0, 1);
}

void setLights(Game& g) {
    const float sceneAmbient[4] = {0.3f, 0.3f, 0.3f, 0.5f};
    const float sceneDiffuse[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const float sceneSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float spotAmbient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    const float spotDiffuse[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    const float spotSpecular[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    // Sent under the identity so that both lights stay fixed relative to every camera.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    g.sceneLight.setColours(sceneAmbient, sceneDiffuse, sceneSpecular);
    g.sceneLight.setPosition(7.5f, 7.5f, 1.0f, false);
    g.spotLight.setColours(spotAmbient, spotDiffuse, spotSpecular);
    g.spotLight.setPosition(0, 0, 1, true);
    g.spotLight.setSpot(0, 0, -1, 10, 2);
    glPopMatrix();
}

// The whole set-up in its order; without GL only the steps that build state run, which keeps the
// sequence of random draws the same.
void setUp(Game& g, bool withGl) {
    if (withGl)
        loadAllTextures(g.textures);
    if (g.scheduler)
        g.musicSample = startMusic(*g.scheduler);
    placeCameras(g);
    if (withGl)
        setLights(g);
    g.menuCamera.place(0, 0, 10, 0, 0, 0, 0, 1, 0);

    g.world.setTextures(&g.textures, 47, 49, 50, 56, 58);
    g.world.createWallBlocks();
    g.world.generateLabyrinth();
    if (withGl)
        g.world.maze->buildWallList();
    g.world.createBlastParticles();
    g.world.placeItems();
    if (withGl)
        g.world.buildDisplayLists();

    for (int n = 1; n <= 4; ++n)
        g.creature(n).place();

    for (int n = 1; n <= 2; ++n) {
        if (withGl)
            g.player(n).buildModel();
        if (g.scheduler)
            g.player(n).loadSounds(g.scheduler.get());
    }

    if (withGl) {
        const int32_t groundBase[3] = {0, 5, 10};
        const int32_t backgroundBase[3] = {15, 20, 25};
        const int32_t orthogonalBase[3] = {30, 35, 40};
        g.scenery.build(&g.textures, 45, 46, groundBase, backgroundBase, orthogonalBase);
    }

    g.particles.prepare(&g.random, &g.textures, 48);
}
} // namespace

void setUpWorld(Game& game) {
    setUp(game, false);
}

void runSetUp(Game& game) {
    setUp(game, true);
}
