#include "audio/Sound.h"
#include <gtest/gtest.h>

TEST(SoundQueue, CoversTheTimeBetweenFrames) {
    // At display rates the queue stays at its 0.128 s.
    EXPECT_FLOAT_EQ(safetyMarginFor(1.0f / 60), 0.128f);
    EXPECT_FLOAT_EQ(safetyMarginFor(0.08f), 0.128f);
    // Slower frames: one and a half frame intervals, so the device never runs dry between them.
    EXPECT_NEAR(safetyMarginFor(0.2f), 0.3f, 1e-6);
    // Never more than half a second, however long a frame takes.
    EXPECT_FLOAT_EQ(safetyMarginFor(2.0f), 0.5f);
}
