#include "audio/Sound.h"

#include <plib/sl.h>

namespace {

constexpr int kMixingRate = 8000;
constexpr float kSafetyMargin = 0.128f; // seconds of sound kept queued ahead of the device
constexpr const char* kMusicFile = "sounds/reefer_c1.wav";

} // namespace

slScheduler* createScheduler() {
    return new slScheduler(kMixingRate);
}

slSample* startMusic(slScheduler& scheduler) {
    scheduler.setSafetyMargin(kSafetyMargin);
    // Loaded against the scheduler so that it is converted to the device's format once, here.
    auto* music = new slSample(kMusicFile, &scheduler);
    // SL has already reported a missing or unreadable file. Looping an empty sample would spin
    // the mixer forever, so the game goes on without music instead.
    if (music->getLength() > 0)
        scheduler.loopSample(music, 0, SL_SAMPLE_MUTE, 0, nullptr);
    return music;
}

void updateSound(slScheduler* scheduler) {
    if (scheduler != nullptr)
        scheduler->update();
}
