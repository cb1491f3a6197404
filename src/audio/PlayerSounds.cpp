#include "actors/Player.h"
#include "audio/SoundFile.h"

#include <plib/sl.h>

namespace {

constexpr const char* kBlastFile = "sounds/smexp.wav";
constexpr const char* kBounceFile = "sounds/wallbounce.wav";
constexpr float kBounceVolume = 2.0f;
constexpr int kEffectPriority = 1;

} // namespace

void Player::loadSounds(slScheduler* mixer) {
    scheduler = mixer;
    // A sample may be playing on the mixer, so a second call keeps what it has.
    if (blastSample == nullptr)
        blastSample = loadSoundFile(kBlastFile, mixer);
    if (bounceSample == nullptr) {
        bounceSample = loadSoundFile(kBounceFile, mixer);
        // The volume change works on 8-bit samples, the format the working mixer converts to.
        if (bounceSample->getBps() == 8)
            bounceSample->adjustVolume(kBounceVolume);
    }
}

void Player::playEffect(slSample* sample) {
    if (scheduler == nullptr || sample == nullptr)
        return;
    scheduler->playSample(sample, kEffectPriority, SL_SAMPLE_ABORT, 0, nullptr);
}

void Player::playRaisedSounds() {
    for (; blastSoundsRaised > 0; --blastSoundsRaised)
        playEffect(blastSample);
    for (; bounceSoundsRaised > 0; --bounceSoundsRaised)
        playEffect(bounceSample);
}
