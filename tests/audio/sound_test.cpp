#include "SoundTestFiles.h"

#include "audio/Sound.h"

#include <plib/sl.h>

#include <gtest/gtest.h>

#include <memory>

using namespace soundtest;

namespace {

// Loudness of the mix in 8-bit units: root mean square about the midpoint.
double loudness(const std::vector<uint8_t>& bytes, size_t from) {
    if (bytes.size() <= from)
        return 0;
    return std::sqrt(energy(bytes, from) / double(bytes.size() - from));
}

TEST(GameSound, MixerRunsAtEightKilohertzEightBitMono) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    std::unique_ptr<slScheduler> scheduler(createScheduler());
    ASSERT_FALSE(scheduler->notWorking());
    EXPECT_EQ(scheduler->getRate(), 8000);
    EXPECT_EQ(scheduler->getBps(), 8);
    EXPECT_EQ(scheduler->getStereo(), SL_FALSE);
}

TEST(GameSound, MusicIsHeardOnlyOnceUpdatesBeginAndKeepsLooping) {
    ScratchDir dir;
    // A quarter second of music: it must repeat to fill a second of play.
    writeWav(dir.path("sounds/reefer_c1.wav"), tone(0.25f, 440, 12000));
    const auto output = dir.path("mix.raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", output.string());

    std::unique_ptr<slScheduler> scheduler(createScheduler());
    ASSERT_FALSE(scheduler->notWorking());
    std::unique_ptr<slSample> music(startMusic(*scheduler));
    ASSERT_NE(music, nullptr);
    // Converted once at load time to the mixer's format: a quarter second at 8000 Hz.
    EXPECT_EQ(music->getRate(), 8000);
    EXPECT_EQ(music->getBps(), 8);
    EXPECT_NEAR(music->getLength(), 2000, 8);

    // The title menu: no updates, so nothing but silence reaches the device.
    pause(300);
    const auto beforeGame = readBytes(output);
    EXPECT_EQ(energy(beforeGame), 0.0);

    // Game frames: the music plays, and is still playing well after its own length.
    runFrames(*scheduler, 1200);
    const auto played = readBytes(output);
    ASSERT_GT(played.size(), beforeGame.size() + 6000);
    EXPECT_GT(loudness(played, beforeGame.size()), 10.0);
    const size_t lastQuarterSecond = played.size() - 2000;
    EXPECT_GT(loudness(played, lastQuarterSecond), 10.0);

    stopAndLetGo(*scheduler, music.get());
}

TEST(GameSound, WithoutAnAudioDeviceTheGameRunsSilent) {
    ScratchDir dir;
    writeWav(dir.path("sounds/reefer_c1.wav"), tone(0.25f, 440, 12000));
    ScopedEnv driver("SDL_AUDIODRIVER", "nosuchdriver");

    testing::internal::CaptureStderr();
    std::unique_ptr<slScheduler> scheduler(createScheduler());
    std::unique_ptr<slSample> music(startMusic(*scheduler));
    for (int frame = 0; frame < 10; ++frame)
        updateSound(scheduler.get());
    const std::string warnings = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(scheduler->notWorking());
    EXPECT_NE(warnings.find("slScheduler: soundcard init failed."), std::string::npos) << warnings;
    // Made for the mixer all the same: a quarter second at 8000 Hz, 8 bits.
    EXPECT_EQ(music->getRate(), 8000);
    EXPECT_EQ(music->getBps(), 8);
    EXPECT_NEAR(music->getLength(), 2000, 8);
    EXPECT_FLOAT_EQ(scheduler->secondsUsed(), 0.0f);
    updateSound(nullptr);
}

TEST(GameSound, MissingMusicFileLeavesSilenceNotAFailure) {
    ScratchDir dir; // sounds/ is empty
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    std::unique_ptr<slScheduler> scheduler(createScheduler());
    ASSERT_FALSE(scheduler->notWorking());

    testing::internal::CaptureStderr();
    std::unique_ptr<slSample> music(startMusic(*scheduler));
    runFrames(*scheduler, 100);
    const std::string warnings = testing::internal::GetCapturedStderr();

    EXPECT_NE(warnings.find("reefer_c1.wav"), std::string::npos) << warnings;
    EXPECT_EQ(music->getLength(), 0);
    EXPECT_FALSE(scheduler->notWorking());
}

} // namespace
