#include "actors/Particles.h"
#include "scene/RandomGenerator.h"

namespace {
constexpr float preparedHeight = 7.5f;
constexpr float reEmittedHeight = 7.0f;
using tuning::snowStopPhase;
} // namespace

void FlakeEmitter::emit(Particle& p, float height, RandomGenerator& random) {
    p.alive = true;
    p.alpha = 0.75f;
    p.fade = static_cast<float>(random.nextInt(0, 15)) / 1000;
    p.px = static_cast<float>(random.nextInt(0, 1500)) / 100;
    p.py = static_cast<float>(random.nextInt(0, 1500)) / 100;
    p.pz = height;
    p.vx = static_cast<int8_t>(random.nextInt(0, 40) - 20);
    p.vy = static_cast<int8_t>(random.nextInt(0, 40) - 20);
    p.vz = static_cast<int8_t>(random.nextInt(-40, -20));
}

void FlakeEmitter::advanceOne(Particle& p, RandomGenerator& random) {
    const float divisor = slowdown * 1000;
    p.px += p.vx / divisor;
    p.py += p.vy / divisor;
    p.pz += p.vz / divisor;
    p.alpha -= p.fade;
    if (!stopped && p.alpha < 0)
        emit(p, reEmittedHeight, random);
}

void FlakeEmitter::advance(RandomGenerator& random) {
    for (Particle& p : flakes)
        if (p.alive)
            advanceOne(p, random);
}

void ParticleSystem::prepare(RandomGenerator& random) {
    stopped = false;
    emitter = FlakeEmitter{};
    for (Particle& p : emitter.flakes)
        emitter.emit(p, preparedHeight, random);
}

void ParticleSystem::advanceSnow(float phase, RandomGenerator& random) {
    if (snowVisible(phase))
        emitter.advance(random);
    updateStop(phase);
}

void ParticleSystem::updateStop(float phase) {
    if (stopped || phase <= snowStopPhase)
        return;
    stopped = true;
    emitter.stopped = true;
}
