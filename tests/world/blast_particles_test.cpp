#include "world/TestWorld.h"
#include <gtest/gtest.h>

TEST(BlastParticles, AdvanceMovesFadesAndReEmits) {
    RandomGenerator random(77);
    BlastParticles burst;
    burst.init(random);
    for (Particle& p : burst.particles) {
        p.vx = 20;
        p.vy = -10;
        p.vz = 4;
        p.fade = 0.1f;
    }
    burst.particles[7].alpha = 0.05f;

    RandomGenerator replay = random;
    burst.advance(random);
    // Velocity over slowdown 2 times 1000 per draw.
    const Particle& moved = burst.particles[0];
    EXPECT_FLOAT_EQ(moved.px, 0.01f);
    EXPECT_FLOAT_EQ(moved.py, -0.005f);
    EXPECT_FLOAT_EQ(moved.pz, 0.002f);
    EXPECT_FLOAT_EQ(moved.alpha, 0.3f);

    // Only the particle that faded below zero drew anew, with the draws of a fresh particle.
    const Particle& fresh = burst.particles[7];
    EXPECT_EQ(fresh.alpha, 0.4f);
    EXPECT_EQ(fresh.px, 0.0f);
    EXPECT_FLOAT_EQ(fresh.fade, replay.nextInt(0, 100) / 1000.0f + 0.003f);
    EXPECT_EQ(fresh.vx, replay.nextInt(0, 40) - 20);
    EXPECT_EQ(fresh.vy, replay.nextInt(0, 40) - 20);
    EXPECT_EQ(fresh.vz, replay.nextInt(0, 40) - 20);
    EXPECT_TRUE(sameGeneratorState(replay, random));

    // A stopped burst lets faded particles go on, drawing nothing.
    burst.stopped = true;
    for (int i = 0; i < 4; ++i)
        burst.advance(random);
    EXPECT_LT(burst.particles[0].alpha, 0.0f);
    EXPECT_FLOAT_EQ(burst.particles[0].px, 0.05f);
    EXPECT_TRUE(sameGeneratorState(replay, random));
}
