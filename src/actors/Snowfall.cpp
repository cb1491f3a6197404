#include "actors/Particles.h"
#include "scene/RandomGenerator.h"

namespace {
constexpr float preparedHeight = 7.5f;
constexpr float reEmittedHeight = 7.0f;
constexpr float snowStopPhase = 0.65f;
} // namespace

FlakeEmitter::FlakeEmitter(RandomGenerator* random_) : random(random_) {}

void FlakeEmitter::emit(Particle& p, float height) {
    p.alive = true;
    p.alpha = 0.75f;
    p.fade = static_cast<float>(random->nextInt(0, 15)) / 1000;
    p.px = static_cast<float>(random->nextInt(0, 1500)) / 100;
    p.py = static_cast<float>(random->nextInt(0, 1500)) / 100;
    p.pz = height;
    p.vx = static_cast<float>(random->nextInt(0, 40) - 20);
    p.vy = static_cast<float>(random->nextInt(0, 40) - 20);
    p.vz = static_cast<float>(random->nextInt(-40, -20));
}

void FlakeEmitter::advanceOne(Particle& p) {
    const float divisor = slowdown * 1000;
    p.px += p.vx / divisor;
    p.py += p.vy / divisor;
    p.pz += p.vz / divisor;
    p.alpha -= p.fade;
    if (!stopped && p.alpha < 0)
        emit(p, reEmittedHeight);
}

void FlakeEmitter::advance() {
    for (Particle& p : flakes)
        if (p.alive)
            advanceOne(p);
}

ParticleSystem::~ParticleSystem() {
    delete emitter;
}

ParticleSystem::ParticleSystem(const ParticleSystem& o)
    : emitter(o.emitter ? new FlakeEmitter(*o.emitter) : nullptr), random(o.random),
      stopped(o.stopped) {}

ParticleSystem& ParticleSystem::operator=(const ParticleSystem& o) {
    if (this != &o) {
        FlakeEmitter* copy = o.emitter ? new FlakeEmitter(*o.emitter) : nullptr;
        delete emitter;
        emitter = copy;
        random = o.random;
        stopped = o.stopped;
    }
    return *this;
}

void ParticleSystem::rebind(RandomGenerator* random_) {
    random = random_;
    if (emitter)
        emitter->random = random_;
}

void ParticleSystem::prepare(RandomGenerator* random_) {
    random = random_;
    stopped = false;
    delete emitter;
    emitter = new FlakeEmitter(random);
    for (Particle& p : emitter->flakes)
        emitter->emit(p, preparedHeight);
}

void ParticleSystem::advanceSnow(float phase) {
    if (emitter && snowVisible(phase))
        emitter->advance();
    updateStop(phase);
}

void ParticleSystem::updateStop(float phase) {
    if (stopped || phase <= snowStopPhase)
        return;
    stopped = true;
    if (emitter)
        emitter->stopped = true;
}
