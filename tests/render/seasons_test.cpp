#include "render/Scenery.h"
#include "world/Seasons.h"
#include <gtest/gtest.h>

// Steps: 0 spring-summer, 1..4 toward autumn, 5 autumn, 6..9 toward winter, 10 winter,
// 11..14 back toward spring-summer.

TEST(SeasonStep, ShadowPassPhaseKeepsWhatIsShowing) {
    for (int step : {0, 3, 5, 7, 10, 14})
        EXPECT_EQ(selectSeasonStep(0.01f, step), step) << "showing step " << step;
}

TEST(SeasonStep, BlendWindowsAndSeasonsAtTheirPhases) {
    EXPECT_EQ(selectSeasonStep(0.25f, 0), 2);
    EXPECT_EQ(selectSeasonStep(0.3f, 0), 4);
    EXPECT_EQ(selectSeasonStep(0.31f, 4), 5);
    EXPECT_EQ(selectSeasonStep(0.5f, 5), 7);
    EXPECT_EQ(selectSeasonStep(1.5f, 10), 0);
}

TEST(SeasonStep, ARoundPassesThroughEverySeasonInOrder) {
    struct Moment {
        float phase;
        int step;
    };
    // Game time / 360 s: 72 s is 0.2, the first blend step shows from 79.2 s (0.22).
    const Moment round[] = {{0.0f, 0},   {0.19f, 0},  {0.21f, 0},  {0.23f, 1},  {0.25f, 2},
                            {0.27f, 3},  {0.29f, 4},  {0.31f, 5},  {0.44f, 5},  {0.46f, 5},
                            {0.48f, 6},  {0.5f, 7},   {0.52f, 8},  {0.54f, 9},  {0.56f, 10},
                            {0.69f, 10}, {0.71f, 10}, {0.73f, 11}, {0.75f, 12}, {0.77f, 13},
                            {0.79f, 14}, {0.81f, 0},  {1.0f, 0},   {2.0f, 0}};
    int step = 0;
    for (const Moment& m : round) {
        step = selectSeasonStep(m.phase, step);
        EXPECT_EQ(step, m.step) << "at phase " << m.phase;
    }
}

TEST(SeasonStep, TheNextStepIsComingOnlyInTheSecondsBeforeItShows) {
    // Three seconds of a 360 s round ahead. Spring's first blend step shows from 79.2 s
    // (0.22), winter's first from 169.2 s (0.47), the last from 280.8 s (0.78), spring at 0.8.
    const float ahead = 3.0f / 360.0f;
    EXPECT_FALSE(seasonStepChangesBy(0.0f, ahead, 0)) << "the round's start";
    EXPECT_FALSE(seasonStepChangesBy(0.21f, ahead, 0)) << "75.6 s: 3.6 s before";
    EXPECT_TRUE(seasonStepChangesBy(0.215f, ahead, 0)) << "77.4 s: 1.8 s before";
    EXPECT_FALSE(seasonStepChangesBy(0.4f, ahead, 5)) << "the middle of autumn";
    EXPECT_FALSE(seasonStepChangesBy(0.46f, ahead, 5));
    EXPECT_TRUE(seasonStepChangesBy(0.465f, ahead, 5));
    EXPECT_TRUE(seasonStepChangesBy(0.775f, ahead, 13)) << "the last blend step toward spring";
    EXPECT_TRUE(seasonStepChangesBy(0.795f, ahead, 14)) << "spring again at 0.8";
    EXPECT_FALSE(seasonStepChangesBy(0.9f, ahead, 0)) << "spring to the round's end";
}

TEST(SeasonStep, EarlyPhaseAfterAutumnKeepsAutumn) {
    const int autumn = selectSeasonStep(0.31f, 0);
    ASSERT_EQ(autumn, 5);
    EXPECT_EQ(selectSeasonStep(0.15f, autumn), 5);
    // Below a quarter of a blend window the step does not change either.
    EXPECT_EQ(selectSeasonStep(0.71f, 5), 5);
}

TEST(SceneryStep, TheRoundStartsInSpringAndEarlyPhasesKeepTheStepShowing) {
    Seasons seasons;
    EXPECT_EQ(seasons.step, 0);
    seasons.select(0.5f);
    EXPECT_EQ(seasons.step, 7);
    seasons.select(0.01f);
    EXPECT_EQ(seasons.step, 7);
    seasons.select(0.6f);
    EXPECT_EQ(seasons.step, 10);

    Scenery scenery(6, 15, 0);
    EXPECT_EQ(scenery.tessellation, 6);
    EXPECT_EQ(scenery.arenaSize, 15);
}
