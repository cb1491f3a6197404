#pragma once
#include "world/MazeWorld.h"
#include "world/Tuning.h"
#include <cstdint>

class RandomGenerator;

// The snowflakes: 1000 particles falling over the arena through the winter part of the round.
struct FlakeEmitter {
    static constexpr int count = tuning::snowflakes;
    float slowdown = 2.0f;
    bool stopped = false;
    Particle flakes[count];

    // Draws of a flake in their order; height is 7.5 at preparation and 7.0 on re-emission.
    void emit(Particle& p, float height, RandomGenerator& random);
    // Moves and fades one flake, emitting it again once it has faded out unless stopped.
    void advanceOne(Particle& p, RandomGenerator& random);
    // advanceOne for every live flake, in table order.
    void advance(RandomGenerator& random);
};

// The snowfall of the round; the flakes draw from the round's generator.
class ParticleSystem {
  public:
    void prepare(RandomGenerator& random);
    // One view's step of the snowfall: the flakes move inside the phase window, and re-emission
    // stops from phase 0.65 on.
    void advanceSnow(float phase, RandomGenerator& random);
    bool snowVisible(float phase) const {
        return phase >= tuning::snowFromPhase && phase <= tuning::snowUntilPhase;
    }
    void updateStop(float phase);

    // No flake lives before prepare.
    FlakeEmitter emitter;
    bool stopped = false;
};
