#pragma once
#include "world/MazeWorld.h"
#include <cstdint>

class RandomGenerator;

// The snowflakes: 1000 particles falling over the arena through the winter part of the round.
struct FlakeEmitter {
    static constexpr int count = 1000;
    RandomGenerator* random;
    float slowdown = 2.0f;
    bool stopped = false;
    Particle flakes[count];

    explicit FlakeEmitter(RandomGenerator* random);
    // Draws of a flake in their order; height is 7.5 at preparation and 7.0 on re-emission.
    void emit(Particle& p, float height);
    // Moves and fades one flake, emitting it again once it has faded out unless stopped.
    void advanceOne(Particle& p);
    // advanceOne for every live flake, in table order.
    void advance();
};

class ParticleSystem {
  public:
    ParticleSystem() = default;
    ~ParticleSystem();
    // A copy owns a copy of the flakes; it draws from the original's generator until rebound.
    ParticleSystem(const ParticleSystem& other);
    ParticleSystem& operator=(const ParticleSystem& other);
    void rebind(RandomGenerator* random);

    void prepare(RandomGenerator* random);
    // One view's step of the snowfall: the flakes move inside the phase window, and re-emission
    // stops from phase 0.65 on.
    void advanceSnow(float phase);
    bool snowVisible(float phase) const { return phase >= 0.45f && phase <= 0.8f; }
    void updateStop(float phase);

    FlakeEmitter* emitter = nullptr;
    RandomGenerator* random = nullptr;
    bool stopped = false;
};
