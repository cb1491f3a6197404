#pragma once
#include "actors/Creature.h"
#include "actors/Particles.h"
#include "actors/Player.h"
#include "rules/LabyrinthSight.h"
#include "scene/Camera.h"
#include "scene/GameClock.h"
#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"
#include "world/Seasons.h"
#include <cstdint>
#include <type_traits>

// Everything the round's tick reads and changes, and nothing else: no pictures, no sound, no
// menu, no window. Plain data: every object of the round is held by value and refers to others
// by index, so a copy is a copy of its bytes and runs on independently of the original. A round
// can be saved, tried ahead and thrown away, or restored and run again. Members are built in
// this order, and later ones draw from the generator in it.
struct RoundState {
    // The round of this seed before its set-up (setUpRound builds the arena and labyrinth).
    explicit RoundState(uint32_t seed);

    Player& player(int n) { return n == 1 ? player1 : player2; }
    const Player& player(int n) const { return n == 1 ? player1 : player2; }
    Camera& playerCamera(int n) { return n == 1 ? player1Camera : player2Camera; }
    const Camera& playerCamera(int n) const { return n == 1 ? player1Camera : player2Camera; }
    Creature& creature(int n) { return creatures[(n >= 1 && n <= 4 ? n : 4) - 1]; }
    const Creature& creature(int n) const { return creatures[(n >= 1 && n <= 4 ? n : 4) - 1]; }
    // What the last tick made happen, in its order: what the sounds and the feedback show.
    std::span<const RoundEvent> events() const { return world.events.all(); }

    // The one clock of the round: the tick sets it, bombs take their times from it.
    GameClock clock;
    uint32_t seed;
    RandomGenerator random;
    Camera overviewCamera;
    Camera player1Camera;
    Camera player2Camera;
    Seasons seasons;
    MazeWorld world;
    Player player1;
    Player player2;
    Creature creatures[4];
    ParticleSystem particles;

    bool roundOver = false;
    // The round waits: no ticks, the clock stands.
    bool paused = false;
    bool shadowsOn = false;
    // A press toward a lane or door just beside the player slides it along the obstacle until it
    // lines up (off: the plain step). Set before the round's first tick; recordings keep it.
    bool steeringHelp = false;
    // Key 0 was down at the last tick: the flag flips once per press.
    bool shadowKeyDown = false;
    // Ticks of the round run so far; the next one runs at game time tickTime(ticks).
    uint32_t ticks = 0;
    float gameTime = 0;
    float seasonPhase = 0;
    // Per player: the turn from the camera's facing to forward, back, left and right.
    float keyAngle[2][4] = {{0, 180, 90, -90}, {0, 180, 90, -90}};
    // What each player has seen of the labyrinth (its map, and all a computer player may know).
    LabyrinthSight sight[2];
};
static_assert(std::is_trivially_copyable_v<RoundState>, "a round is copied as its bytes");

// A player's camera at its home: behind it, looking up the arena.
void placeStartCamera(Camera& camera, float homeX);

// Where the players and creatures stand now, for the calls that look for them.
FigurePlaces figurePlaces(const RoundState& round);

// The round's set-up in its order: the cameras, the arena's walls, the labyrinth, the fire, the
// items, the creatures' places and the snowfall. All the random draws of a round's start.
void setUpRound(RoundState& round);
// The round of a new seed, set up: exactly what a fresh start with that seed makes.
void startRound(RoundState& round, uint32_t seed);
