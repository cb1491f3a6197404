#include "actors/Particles.h"
#include "scene/RandomGenerator.h"
#include <gtest/gtest.h>

namespace {
// The draws of one flake, in their order, from a copy of the generator.
struct ExpectedFlake {
    float fade, px, py, vx, vy, vz;
    explicit ExpectedFlake(RandomGenerator& r) {
        fade = r.nextInt(0, 15) / 1000.0f;
        px = r.nextInt(0, 1500) / 100.0f;
        py = r.nextInt(0, 1500) / 100.0f;
        vx = static_cast<float>(r.nextInt(0, 40) - 20);
        vy = static_cast<float>(r.nextInt(0, 40) - 20);
        vz = static_cast<float>(r.nextInt(-40, -20));
    }
};
} // namespace

TEST(Snowfall, PreparationEmitsEveryFlakeHighAboveTheArena) {
    RandomGenerator random(9);
    RandomGenerator expected(9);
    ParticleSystem snow;
    snow.prepare(random);
    EXPECT_FLOAT_EQ(snow.emitter.slowdown, 2);
    EXPECT_FALSE(snow.stopped);
    for (const Particle& p : snow.emitter.flakes) {
        const ExpectedFlake e(expected);
        ASSERT_TRUE(p.alive);
        EXPECT_FLOAT_EQ(p.alpha, 0.75f);
        EXPECT_FLOAT_EQ(p.pz, 7.5f);
        EXPECT_EQ(p.fade, e.fade);
        EXPECT_EQ(p.px, e.px);
        EXPECT_EQ(p.py, e.py);
        EXPECT_EQ(p.vx, e.vx);
        EXPECT_EQ(p.vy, e.vy);
        EXPECT_EQ(p.vz, e.vz);
        ASSERT_TRUE(p.px >= 0 && p.px <= 15 && p.py >= 0 && p.py <= 15);
        ASSERT_TRUE(p.vz >= -40 && p.vz <= -20);
    }
}

TEST(Snowfall, FlakesDriftFallFadeAndComeBackLower) {
    RandomGenerator random(9);
    ParticleSystem snow;
    snow.prepare(random);
    FlakeEmitter& e = snow.emitter;
    Particle& p = e.flakes[0];
    p.px = 5;
    p.py = 6;
    p.pz = 7.5f;
    p.vx = 20;
    p.vy = -10;
    p.vz = -40;
    p.alpha = 0.75f;
    p.fade = 0.25f;
    e.advanceOne(p, random);
    // Velocity / 2000 per draw: 0.01 sideways at most, 0.01 to 0.02 downward.
    EXPECT_NEAR(p.px, 5.01f, 1e-6);
    EXPECT_NEAR(p.py, 5.995f, 1e-6);
    EXPECT_NEAR(p.pz, 7.48f, 1e-6);
    EXPECT_NEAR(p.alpha, 0.5f, 1e-6);
    e.advanceOne(p, random);
    e.advanceOne(p, random);
    EXPECT_NEAR(p.alpha, 0, 1e-6); // not yet below zero

    RandomGenerator expected = random;
    e.advanceOne(p, random);
    const ExpectedFlake again(expected);
    EXPECT_FLOAT_EQ(p.alpha, 0.75f);
    EXPECT_FLOAT_EQ(p.pz, 7.0f);
    EXPECT_EQ(p.fade, again.fade);
    EXPECT_EQ(p.px, again.px);
    EXPECT_EQ(p.py, again.py);
    EXPECT_EQ(p.vx, again.vx);
    EXPECT_EQ(p.vy, again.vy);
    EXPECT_EQ(p.vz, again.vz);
}

TEST(Snowfall, AFlakeThatNeverFadesFallsOnBelowTheGround) {
    RandomGenerator random(9);
    ParticleSystem snow;
    snow.prepare(random);
    Particle& p = snow.emitter.flakes[3];
    p.fade = 0;
    p.vz = -20;
    p.pz = 0.005f;
    snow.emitter.advance(random);
    EXPECT_LT(p.pz, 0);
    EXPECT_FLOAT_EQ(p.alpha, 0.75f);
}

TEST(Snowfall, FallsThroughTheWinterWindowAndStopsRefillingFromPhaseSixtyFive) {
    RandomGenerator random(9);
    ParticleSystem snow;
    snow.prepare(random);
    EXPECT_FALSE(snow.snowVisible(0.44f));
    EXPECT_TRUE(snow.snowVisible(0.45f));
    EXPECT_TRUE(snow.snowVisible(0.8f));
    EXPECT_FALSE(snow.snowVisible(0.81f));

    snow.updateStop(0.5f);
    snow.updateStop(0.65f);
    EXPECT_FALSE(snow.stopped);
    EXPECT_FALSE(snow.emitter.stopped);
    snow.updateStop(0.66f);
    EXPECT_TRUE(snow.stopped);
    EXPECT_TRUE(snow.emitter.stopped);
    snow.updateStop(0.3f); // nothing clears it again
    EXPECT_TRUE(snow.stopped);

    // A stopped flake fades below zero, keeps falling and draws nothing from the generator.
    Particle& p = snow.emitter.flakes[0];
    p.alpha = 0.01f;
    p.fade = 0.015f;
    const float height = p.pz;
    RandomGenerator before = random;
    for (int i = 0; i < 5; ++i)
        snow.emitter.advance(random);
    EXPECT_LT(p.alpha, 0);
    EXPECT_LT(p.pz, height);
    EXPECT_EQ(before.nextInt(0, 1000000), random.nextInt(0, 1000000));
}
