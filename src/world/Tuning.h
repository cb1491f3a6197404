#pragma once
#include <cstdint>

// Every tuning value of the round, named once with its unit. Distances are in cells (an arena
// cell is 1 by 1), times in milliseconds of game time, steps per tick of the view that moves
// them.
namespace tuning {

// The arena: cells on a side, and the last cell's number on either axis (its edge).
constexpr int32_t arenaSize = 15;
constexpr int32_t lastCell = arenaSize - 1;

// The round: six minutes of game time in ticks of a sixtieth of a second.
constexpr int32_t roundMinutes = 6;
constexpr float minuteMs = 60000;
constexpr float roundMs = roundMinutes * minuteMs;
constexpr int32_t ticksPerSecond = 60;
constexpr uint32_t ticksPerRound = roundMinutes * 60 * ticksPerSecond;
// The seasons by the round's phase (game time over roundMs): snow falls from 0.45 to 0.8 and
// stops coming back from 0.65 on.
constexpr float snowFromPhase = 0.45f;
constexpr float snowUntilPhase = 0.8f;
constexpr float snowStopPhase = 0.65f;

// Bombs and blasts.
constexpr float fuseMs = 3500; // from the drop to the blast
constexpr float burnMs = 500;  // a cell burns this long after its blast
constexpr int32_t bombSlots = 10;
constexpr int32_t freshReach = 2;       // cells a flame runs from a player's first bomb
constexpr int32_t fullReach = lastCell; // with MAX fire, and the most fire items give
constexpr float bombPulseLow = 0.25f, bombPulseHigh = 0.3f; // radius of a lying bomb's pulse

// Players.
constexpr float bodyRadius = 0.26f; // players and creatures alike
constexpr float freshStepLength = 0.1f;
constexpr float fastestStepLength = 0.45f;
constexpr float speedBonus = 0.025f; // step length a speed item adds
constexpr float labyrinthStepLength = 0.1f;
// No walking in the arena this long after the last labyrinth step.
constexpr float labyrinthLockMs = 2000;
// A player at the round's start or sent home is sheltered at home until its first step: no
// creature catches it and no blast sends it home again. Creatures keep out of the home cells.
// Steering help: a press toward a lane or door this close to the side slides the player into
// line with it (half a cell: any lane the player is beside), and a player let go between two
// cell middles walks on to the middle ahead, so that a tap moves it one whole cell.
constexpr float steeringReach = 0.5f;

// Points.
constexpr int32_t coinPoints = 1;
constexpr int32_t cheesePoints = 10;
constexpr int32_t hitPenalty = 5; // lost when sent home, never below 0

// What the obstacles hide, one item each: the cards by kind, and coins. Five pieces of cheese
// lie in the labyrinth besides.
constexpr int32_t bombCards = 20, speedCards = 15, maxFireCards = 2, fireCards = 8;
constexpr int32_t trapCards = 7, wallCards = 7, coins = 31;
constexpr int32_t cheesePieces = 5;
constexpr int32_t obstacles =
    bombCards + speedCards + maxFireCards + fireCards + trapCards + wallCards + coins;

// Pools: laid walls and traps (each), the fire's shared burst and the snowfall, in particles.
constexpr int32_t layingPool = 7;
constexpr int32_t fireParticles = 500;
constexpr int32_t snowflakes = 1000;

// The players' cameras: the eye stands cameraBack cells behind the figure in the arena,
// cameraHeight above the ground, and looks at a point lookHeight above the figure's feet
// (labyrinthLookHeight in the labyrinth, where a turn swings it by labyrinthTurnDegrees).
constexpr float cameraBack = 2.0f;
constexpr float cameraHeight = 0.9f;
constexpr float lookHeight = 0.7f;
constexpr float labyrinthLookHeight = 0.85f;
constexpr float labyrinthTurnDegrees = 5.0f;
// In the labyrinth the eye stands this far behind the figure's body, where no wall is nearer.
constexpr float labyrinthCameraGap = 0.5f;
// The overview's fixed eye, the point it looks at, and its up direction.
constexpr float overviewEye[3] = {7.5f, -5.7625f, 8.541f};
constexpr float overviewTarget[3] = {7.5f, 6.6575f, -0.855f};
constexpr float overviewUp[3] = {0, 0.937f, 0.342f};

// Creatures.
constexpr float creatureStep = 0.13f;
// A creature's run: a whole number of cells drawn from this span before it turns.
constexpr int32_t creatureRunShortest = 1, creatureRunLongest = 6;

} // namespace tuning
