#include "audio/Sound.h"
#include "audio/SoundFile.h"

#include <algorithm>
#include <chrono>
#include <plib/sl.h>

namespace {

constexpr int kMixingRate = 8000;
constexpr float kSafetyMargin = 0.128f; // seconds of sound kept queued ahead of the device
constexpr const char* kMusicFile = "sounds/reefer_c1.wav";
// The queue must outlast the time between two frames, or the device runs dry and the music
// breaks up; on a machine that draws slowly the margin grows to 1.5 frame intervals.
constexpr float kFrameCover = 1.5f;
constexpr float kLongestMargin = 0.5f;

float marginFor(float frameSeconds) {
    return std::clamp(frameSeconds * kFrameCover, kSafetyMargin, kLongestMargin);
}

// The envelopes outlive every player that holds them: they are never deleted.
slEnvelope* constantEnvelope() {
    auto* e = new slEnvelope(1, SL_SAMPLE_ONE_SHOT);
    e->setStep(0, 0.0f, 1.0f);
    return e;
}

} // namespace

slEnvelope* musicVolume() {
    static slEnvelope* const e = constantEnvelope();
    return e;
}

slEnvelope* effectsVolume() {
    static slEnvelope* const e = constantEnvelope();
    return e;
}

void setVolumes(int music, int effects) {
    musicVolume()->setStep(0, 0.0f, std::clamp(music, 0, 10) / 10.0f);
    effectsVolume()->setStep(0, 0.0f, std::clamp(effects, 0, 10) / 10.0f);
}

slScheduler* createScheduler() {
    return new slScheduler(kMixingRate);
}

slSample* startMusic(slScheduler& scheduler) {
    scheduler.setSafetyMargin(kSafetyMargin);
    // Loaded against the scheduler so that it is converted to the device's format once, here.
    auto* music = loadSoundFile(kMusicFile, &scheduler);
    // A missing or damaged file has already been reported. Looping an empty sample would spin
    // the mixer forever, so the game goes on without music instead.
    if (music->getLength() > 0) {
        scheduler.loopSample(music, 0, SL_SAMPLE_MUTE, 0, nullptr);
        scheduler.addSampleEnvelope(music, 0, 0, musicVolume(), SL_VOLUME_ENVELOPE);
    }
    return music;
}

float safetyMarginFor(float frameSeconds) {
    return marginFor(frameSeconds);
}

void updateSound(slScheduler* scheduler) {
    if (scheduler == nullptr)
        return;
    using Clock = std::chrono::steady_clock;
    static Clock::time_point lastUpdate;
    static float margin = kSafetyMargin;
    const Clock::time_point now = Clock::now();
    if (lastUpdate != Clock::time_point{}) {
        const float wanted = marginFor(std::chrono::duration<float>(now - lastUpdate).count());
        // Grows at once, shrinks slowly, so one quick frame does not empty the queue again.
        margin = wanted > margin ? wanted : margin + (wanted - margin) * 0.05f;
        scheduler->setSafetyMargin(margin);
    }
    lastUpdate = now;
    scheduler->update();
}

void pauseMusic(slScheduler* scheduler, slSample* music, bool paused) {
    if (!scheduler || !music)
        return;
    if (paused)
        scheduler->pauseSample(music);
    else
        scheduler->resumeSample(music);
}
