#pragma once
#include "audio/EffectSounds.h"
#include "render/Presentation.h"
#include "render/RoundFeedback.h"
#include "render/RoundView.h"
#include "rules/RoundState.h"
#include "scene/Camera.h"
#include "screens/ScreenState.h"
#include <cstdint>
#include <memory>
#include <vector>

class slScheduler;
class slSample;

// A running game: the round (everything its tick changes) and what shows and sounds it, the
// screens' state (its base) and the sound. The program holds one instance for its whole run; a test
// builds its own with a seed of its choosing. The round is a value that copies on its own; the
// rest does not copy.
struct Game : ScreenState {
    // withSound: construct the sound scheduler (opens the audio device).
    explicit Game(uint32_t seed, bool withSound = true);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Everything the tick reads and changes.
    RoundState round;

    // The pictures, the lights and everything compiled for drawing.
    Presentation look;
    // What the ticks run since the last frame made happen: the frame shows it, then plays it.
    std::vector<RoundEvent> frameEvents;
    // What the players have been shown of the round's events.
    RoundFeedback feedback;
    std::unique_ptr<slScheduler> scheduler;
    Camera menuCamera;
    EffectSounds effects;
    slSample* musicSample = nullptr;
};

// The round's set-up alone, without GL or sound: tests use it to build a whole world from a
// seed.
void setUpWorld(Game& game);
// The full set-up sequence of the running game, with a GL context current.
void runSetUp(Game& game);

// Starts another round with a new seed in the same window and sound: the world, the players,
// the creatures and the snow are made again exactly as a fresh start with that seed makes them.
void startNewRound(Game& game, uint32_t seed);

// What the frame shows of the round, and of the title menu.
RoundView roundView(const Game& game);
MenuView menuView(const Game& game);
