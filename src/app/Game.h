#pragma once
#include "actors/Creature.h"
#include "actors/Particles.h"
#include "actors/Player.h"
#include "audio/EffectSounds.h"
#include "render/Presentation.h"
#include "render/RoundView.h"
#include "scene/Camera.h"
#include "scene/GameClock.h"
#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"
#include "world/Seasons.h"
#include <cstdint>
#include <memory>

class slScheduler;
class slSample;

// Every object of a running game, constructed once in this order: later members receive earlier
// ones. The program holds one instance for its whole run; a test builds its own with a seed and
// a clock of its choosing.
struct Game {
    // withSound: construct the sound scheduler (opens the audio device).
    explicit Game(uint32_t seed, bool withSound = true);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameClock clock;
    // The pictures, the lights and everything compiled for drawing.
    Presentation look;
    uint32_t seed;
    RandomGenerator random;
    std::unique_ptr<slScheduler> scheduler;
    Camera overviewCamera;
    Camera player1Camera;
    Camera player2Camera;
    Seasons seasons;
    MazeWorld world;
    Player player1;
    Player player2;
    Creature creature1;
    Creature creature2;
    Creature creature3;
    Creature creature4;
    ParticleSystem particles;
    Camera menuCamera;
    EffectSounds effects;
    slSample* musicSample = nullptr;

    bool gameRunning = false;
    bool roundOver = false;
    // The round waits: no ticks, the clock stands, the music is silent.
    bool paused = false;
    bool shadowsOn = false;
    // Key 0 was down at the last tick: the flag flips once per press.
    bool shadowKeyDown = false;
    int32_t helpShown = 0;
    // Ticks of the round run so far; the next one runs at game time tickTime(ticks).
    uint32_t ticks = 0;
    float gameTime = 0;
    float seasonPhase = 0;
    float mouseX = 0, mouseY = 0;
    // Per player: the turn from the camera's facing to forward, back, left and right.
    float keyAngle[2][4] = {{0, 180, 90, -90}, {0, 180, 90, -90}};

    Player& player(int n) { return n == 1 ? player1 : player2; }
    const Player& player(int n) const { return n == 1 ? player1 : player2; }
    Camera& playerCamera(int n) { return n == 1 ? player1Camera : player2Camera; }
    const Camera& playerCamera(int n) const { return n == 1 ? player1Camera : player2Camera; }
    Creature& creature(int n);
    const Creature& creature(int n) const { return const_cast<Game*>(this)->creature(n); }
};

// Set-up steps that need no GL context: the camera placements, the maze world's set-up, the
// creatures' places and the snowfall. Tests use it to build a whole world from a seed.
void setUpWorld(Game& game);
// The full set-up sequence of the running game, with a GL context current.
void runSetUp(Game& game);

// Starts another round with a new seed in the same window and sound: the world, the players,
// the creatures and the snow are made again exactly as a fresh start with that seed makes them.
void startNewRound(Game& game, uint32_t seed);
// The seed of the round after one with `previous`: the calendar time, moved on so that two rounds
// started within the same second still differ.
uint32_t nextRoundSeed(uint32_t previous);

// What the frame shows of the round, and of the title menu.
RoundView roundView(const Game& game);
MenuView menuView(const Game& game);
