#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"

void BlastParticles::emit(Particle& p, RandomGenerator& random) {
    p.alpha = 0.4f;
    p.fade = static_cast<float>(random.nextInt(0, 100)) / 1000.0f + 0.003f;
    p.px = p.py = p.pz = 0;
    p.vx = static_cast<int8_t>(random.nextInt(0, 40) - 20);
    p.vy = static_cast<int8_t>(random.nextInt(0, 40) - 20);
    p.vz = static_cast<int8_t>(random.nextInt(0, 40) - 20);
}

void BlastParticles::init(RandomGenerator& random) {
    stopped = false;
    slowdown = 2.0f;
    for (Particle& p : particles) {
        p.alive = true;
        emit(p, random);
    }
}

void BlastParticles::advance(RandomGenerator& random) {
    // Velocities are in thousandths of a cell per draw, halved by the slowdown.
    const float scale = slowdown * 1000.0f;
    for (Particle& p : particles) {
        if (!p.alive)
            continue;
        p.px += p.vx / scale;
        p.py += p.vy / scale;
        p.pz += p.vz / scale;
        p.alpha -= p.fade;
        if (!stopped && p.alpha < 0)
            emit(p, random);
    }
}
