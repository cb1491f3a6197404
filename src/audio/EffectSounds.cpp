#include "audio/EffectSounds.h"
#include "audio/Sound.h"
#include "audio/SoundFile.h"
#include "world/MazeWorld.h"

#include <plib/sl.h>

namespace {

constexpr const char* kBlastFile = "sounds/smexp.wav";
constexpr const char* kBounceFile = "sounds/wallbounce.wav";
constexpr const char* kCaughtFile = "sounds/caught.wav";
constexpr float kBounceVolume = 2.0f;
constexpr int kEffectPriority = 1;

} // namespace

EffectSounds::~EffectSounds() {
    // A sample still being mixed must outlive its player; the process end releases it then.
    if (blast && blast->getPlayCount() == 0)
        delete blast;
    if (bounce && bounce->getPlayCount() == 0)
        delete bounce;
    if (caught && caught->getPlayCount() == 0)
        delete caught;
}

void EffectSounds::load(slScheduler* mixer) {
    scheduler = mixer;
    // A sample may be playing on the mixer, so a second call keeps what it has.
    if (blast == nullptr)
        blast = loadSoundFile(kBlastFile, mixer);
    if (bounce == nullptr) {
        bounce = loadSoundFile(kBounceFile, mixer);
        // The volume change works on 8-bit samples, the format the working mixer converts to.
        if (bounce->getBps() == 8)
            bounce->adjustVolume(kBounceVolume);
    }
    if (caught == nullptr)
        caught = loadSoundFile(kCaughtFile, mixer);
}

void EffectSounds::play(slSample* sample) {
    if (scheduler == nullptr || sample == nullptr)
        return;
    scheduler->playSample(sample, kEffectPriority, SL_SAMPLE_ABORT, 0, nullptr);
    scheduler->addSampleEnvelope(sample, 0, 0, effectsVolume(), SL_VOLUME_ENVELOPE);
}

void EffectSounds::playEvents(std::span<const RoundEvent> events) {
    for (const RoundEvent& e : events) {
        if (e.kind == RoundEvent::blast)
            play(blast);
        else if (e.kind == RoundEvent::bump)
            play(bounce);
        else if (e.kind == RoundEvent::sentHome && e.detail == causeCreature)
            play(caught);
    }
}
