#include "SoundTestFiles.h"

#include <plib/sl.h>

#include <gtest/gtest.h>

#include <vector>

using namespace soundtest;

namespace {

TEST(SoundDevice, ReportsQueuedAudioAndRoomInSecondsOfItsOwnFormat) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    {
        slDSP dsp(8000, SL_FALSE, 8);
        ASSERT_FALSE(dsp.notWorking());
        EXPECT_EQ(dsp.getRate(), 8000);
        EXPECT_EQ(dsp.getBps(), 8);
        EXPECT_EQ(dsp.getStereo(), SL_FALSE);
        EXPECT_FLOAT_EQ(dsp.secondsUsed(), 0.0f);
        // The queue holds about one second.
        EXPECT_NEAR(dsp.secondsRemaining(), 1.0f, 0.05f);

        // Half a second of 8-bit mono at 8000 Hz is 4000 bytes; the device may have begun
        // playing some of it.
        std::vector<Uchar> half(4000, 0x80);
        dsp.play(half.data(), half.size());
        const float used = dsp.secondsUsed();
        EXPECT_LE(used, 0.5f);
        EXPECT_GT(used, 0.3f);
        EXPECT_NEAR(dsp.secondsRemaining() + dsp.secondsUsed(), 1.0f, 0.05f);

        dsp.stop();
        EXPECT_FLOAT_EQ(dsp.secondsUsed(), 0.0f);
    }
    {
        // 16-bit stereo: four bytes a frame, so 22050 bytes at 22050 Hz are a quarter second.
        slDSP dsp(22050, SL_TRUE, 16);
        ASSERT_FALSE(dsp.notWorking());
        std::vector<Uchar> quarter(22050, 0);
        dsp.play(quarter.data(), quarter.size());
        EXPECT_LE(dsp.secondsUsed(), 0.25f);
        EXPECT_GT(dsp.secondsUsed(), 0.15f);
    }
}

TEST(SoundDevice, QueueStaysBoundedWhenWrittenFasterThanItPlays) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    slDSP dsp(8000, SL_FALSE, 8);
    ASSERT_FALSE(dsp.notWorking());
    // A second and a half of sound, written at once: the writer waits for room instead of
    // piling it all up.
    std::vector<Uchar> slice(1000, 0x80);
    float mostUsed = 0;
    for (int i = 0; i < 12; ++i) {
        dsp.play(slice.data(), slice.size());
        mostUsed = std::max(mostUsed, dsp.secondsUsed());
    }
    EXPECT_LE(mostUsed, 1.05f);
    EXPECT_GT(mostUsed, 0.8f);
    dsp.sync();
    EXPECT_FLOAT_EQ(dsp.secondsUsed(), 0.0f);
}

TEST(SoundDevice, WithoutAnAudioDeviceEveryCallIsHarmless) {
    ScopedEnv driver("SDL_AUDIODRIVER", "nosuchdriver");
    testing::internal::CaptureStderr();
    slDSP dsp(8000, SL_FALSE, 8);
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(dsp.notWorking());
    EXPECT_NE(warning.find("slDSP"), std::string::npos) << warning;

    std::vector<Uchar> slice(256, 0x80);
    dsp.play(slice.data(), slice.size());
    EXPECT_FLOAT_EQ(dsp.secondsUsed(), 0.0f);
    EXPECT_FLOAT_EQ(dsp.secondsRemaining(), 0.0f);
    dsp.sync();
    dsp.stop();
    EXPECT_TRUE(dsp.notWorking());
}

TEST(SoundDevice, RefusesSampleWidthsItCannotPlay) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    testing::internal::CaptureStderr();
    slDSP dsp(8000, SL_FALSE, 12);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(dsp.notWorking());
    // A well-formed device can be opened again afterwards: the failed one released nothing it
    // did not hold.
    slDSP good(8000, SL_FALSE, 8);
    EXPECT_FALSE(good.notWorking());
}

} // namespace
