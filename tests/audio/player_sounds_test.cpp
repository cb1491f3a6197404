#include "SoundTestFiles.h"

#include "actors/Player.h"
#include "audio/EffectSounds.h"
#include "audio/Sound.h"
#include "audio/SoundFile.h"
#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"

#include <plib/sl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace soundtest;

namespace {

// Levels chosen so that doubling about the 8-bit midpoint stays inside 0..255 for some and
// clips at either end for others. In 8-bit units: +32, -48, +96, -112, 0.
const std::vector<int16_t> kBounceLevels = {32 * 256, -48 * 256, 96 * 256, -112 * 256, 0};

void writeEffects(const ScratchDir& dir) {
    writeWav(dir.path("sounds/smexp.wav"), tone(0.3f, 150, 20000));
    writeWav(dir.path("sounds/wallbounce.wav"), steps(kBounceLevels, 0.05f));
    writeWav(dir.path("sounds/caught.wav"), tone(0.3f, 500, 12000));
}

struct Arena {
    RandomGenerator random{7};
    MazeWorld world;
    Player player1{1, 0.5f, 0.5f, 0, 1, 1, 0};
    EffectSounds sounds;
};

TEST(PlayerSounds, BounceIsTwiceAsLoudAsItsFileClippedToByteRange) {
    ScratchDir dir;
    writeEffects(dir);
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    std::unique_ptr<slScheduler> scheduler(createScheduler());
    ASSERT_FALSE(scheduler->notWorking());
    Arena arena;
    arena.sounds.load(scheduler.get());

    EXPECT_EQ(arena.sounds.scheduler, scheduler.get());
    ASSERT_NE(arena.sounds.blast, nullptr);
    ASSERT_NE(arena.sounds.bounce, nullptr);
    // The same file loaded the way the player loads it, but left at its own volume.
    const std::unique_ptr<slSample> asFiledSample(
        loadSoundFile("sounds/wallbounce.wav", scheduler.get()));
    const slSample& asFiled = *asFiledSample;
    const slSample& bounce = *arena.sounds.bounce;
    EXPECT_EQ(bounce.getRate(), 8000);
    EXPECT_EQ(bounce.getBps(), 8);
    ASSERT_EQ(bounce.getLength(), asFiled.getLength());
    ASSERT_GT(bounce.getLength(), 1000);

    int clippedHigh = 0, clippedLow = 0;
    for (int i = 0; i < bounce.getLength(); ++i) {
        const int v = asFiled.getBuffer()[i];
        const int doubled = std::clamp(128 + (v - 128) * 2, 0, 255);
        ASSERT_NEAR(bounce.getBuffer()[i], doubled, 1) << "at " << i << ", file value " << v;
        clippedHigh += bounce.getBuffer()[i] == 255;
        clippedLow += bounce.getBuffer()[i] == 0;
    }
    // The +96 and -112 steps each last 0.05 s, about 400 samples at 8000 Hz.
    EXPECT_GT(clippedHigh, 300);
    EXPECT_GT(clippedLow, 300);

    // The blast is played at its file's volume.
    const std::unique_ptr<slSample> blastAsFiled(
        loadSoundFile("sounds/smexp.wav", scheduler.get()));
    ASSERT_EQ(arena.sounds.blast->getLength(), blastAsFiled->getLength());
    EXPECT_TRUE(std::equal(blastAsFiled->getBuffer(),
                           blastAsFiled->getBuffer() + blastAsFiled->getLength(),
                           arena.sounds.blast->getBuffer()));
}

// Plays a second of game frames with quiet music, optionally setting off the player's blast on
// the first frame; answers the signal energy that reached the disk.
double mixedEnergy(bool withBlast) {
    ScratchDir dir;
    writeEffects(dir);
    writeWav(dir.path("sounds/reefer_c1.wav"), tone(0.5f, 523, 1500));
    const auto output = dir.path("mix.raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", output.string());

    std::unique_ptr<slScheduler> scheduler(createScheduler());
    EXPECT_FALSE(scheduler->notWorking());
    std::unique_ptr<slSample> music(startMusic(*scheduler));
    Arena arena;
    arena.sounds.load(scheduler.get());

    scheduler->update();
    if (withBlast)
        arena.sounds.play(arena.sounds.blast);
    runFrames(*scheduler, 1000);
    stopAndLetGo(*scheduler, music.get());
    // The blast lasts 0.3 s, long done: the player may let go of it.
    EXPECT_EQ(arena.sounds.blast->getPlayCount(), 0);
    return energy(readBytes(output));
}

TEST(PlayerSounds, BlastAddsItsSoundToTheMix) {
    const double musicAlone = mixedEnergy(false);
    const double musicAndBlast = mixedEnergy(true);
    EXPECT_GT(musicAlone, 0.0);
    // The blast's tone is over ten times the music's amplitude.
    EXPECT_GT(musicAndBlast, 3 * musicAlone);
}

TEST(PlayerSounds, EffectsWithoutASchedulerOrDeviceAreSilentAndHarmless) {
    ScratchDir dir;
    writeEffects(dir);
    {
        Arena arena;
        arena.sounds.play(arena.sounds.blast); // before any sounds are loaded
        const RoundEvent blast = RoundEvent::of(RoundEvent::blast, 1, 2, 2);
        arena.sounds.playEvents({&blast, 1});
    }

    ScopedEnv driver("SDL_AUDIODRIVER", "nosuchdriver");
    testing::internal::CaptureStderr();
    std::unique_ptr<slScheduler> scheduler(createScheduler());
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(scheduler->notWorking());
    Arena arena;
    arena.sounds.load(scheduler.get());
    ASSERT_NE(arena.sounds.bounce, nullptr);
    // The samples are still made in the format the mixer was asked for: five 0.05 s steps.
    EXPECT_EQ(arena.sounds.bounce->getBps(), 8);
    EXPECT_EQ(arena.sounds.bounce->getRate(), 8000);
    EXPECT_NEAR(arena.sounds.bounce->getLength(), 2000, 8);

    arena.sounds.play(arena.sounds.blast);
    arena.sounds.play(arena.sounds.bounce);
    updateSound(scheduler.get());
    EXPECT_EQ(arena.sounds.blast->getPlayCount(), 0);
}

// Each event that has a sound plays it once: a blast, a bump into a labyrinth wall, a player
// caught by a creature (not one hit by a blast); the rest are silent.
TEST(PlayerSounds, EventsPlayTheirOwnSounds) {
    ScratchDir dir;
    writeEffects(dir);
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    std::unique_ptr<slScheduler> scheduler(createScheduler());
    ASSERT_FALSE(scheduler->notWorking());
    Arena arena;
    arena.sounds.load(scheduler.get());
    const RoundEvent quiet[] = {RoundEvent::of(RoundEvent::obstacleOpened, 0, 2, 2),
                                RoundEvent::of(RoundEvent::itemTaken, 1, 2, 2, kindCoin),
                                RoundEvent::of(RoundEvent::sentHome, 2, 3, 3, causeBombOf1, 5)};
    arena.sounds.playEvents(quiet);
    EXPECT_EQ(arena.sounds.blast->getPlayCount(), 0);
    EXPECT_EQ(arena.sounds.bounce->getPlayCount(), 0);
    EXPECT_EQ(arena.sounds.caught->getPlayCount(), 0);

    const RoundEvent heard[] = {RoundEvent::of(RoundEvent::blast, 1, 2, 2),
                                RoundEvent::of(RoundEvent::bump, 2, 101, 104),
                                RoundEvent::of(RoundEvent::sentHome, 1, 5, 5, causeCreature, 5)};
    arena.sounds.playEvents(heard);
    EXPECT_EQ(arena.sounds.blast->getPlayCount(), 1);
    EXPECT_EQ(arena.sounds.bounce->getPlayCount(), 1);
    EXPECT_EQ(arena.sounds.caught->getPlayCount(), 1);
    for (slSample* s : {arena.sounds.blast, arena.sounds.bounce, arena.sounds.caught})
        stopAndLetGo(*scheduler, s);
}

// Missing files, and files that once crashed or hung the start: a sample of 0 bits (SIGFPE) and
// a bump whose data size says 2 GB (15 s and 3.4 GB). Each warns, plays silence, and the mixer
// goes on.
TEST(PlayerSounds, MissingOrDamagedEffectFilesLeaveEmptySamplesThatPlaySilence) {
    for (const bool damaged : {false, true}) {
        ScratchDir dir;
        if (damaged) {
            WavHeader noBits;
            noBits.bits = 0;
            writeFile(dir.path("sounds/smexp.wav"), wavBytes(noBits, std::vector<uint8_t>(4000)));
            WavHeader lying;
            lying.dataSize = 0x7FFFFFFF;
            writeFile(dir.path("sounds/wallbounce.wav"),
                      wavBytes(lying, std::vector<uint8_t>(48000)));
        }
        ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
        std::unique_ptr<slScheduler> scheduler(createScheduler());
        ASSERT_FALSE(scheduler->notWorking());
        Arena arena;
        testing::internal::CaptureStderr();
        arena.sounds.load(scheduler.get());
        const std::string warnings = testing::internal::GetCapturedStderr();
        EXPECT_NE(warnings.find("sounds/smexp.wav: "), std::string::npos) << warnings;
        EXPECT_NE(warnings.find("sounds/wallbounce.wav: "), std::string::npos) << warnings;
        EXPECT_NE(warnings.find("sounds/caught.wav: "), std::string::npos) << warnings;

        EXPECT_EQ(arena.sounds.blast->getLength(), 0);
        EXPECT_EQ(arena.sounds.bounce->getLength(), 0);
        arena.sounds.play(arena.sounds.blast);
        arena.sounds.play(arena.sounds.bounce);
        runFrames(*scheduler, 200);
        EXPECT_EQ(arena.sounds.blast->getPlayCount(), 0);
        EXPECT_FALSE(scheduler->notWorking());
    }
}

} // namespace
