#pragma once
#include "world/TickEvents.h"
#include <cstdint>
#include <span>

class slScheduler;
class slSample;

// The blast, the wall bounce and being caught, loaded once against the mixer and played for the
// events of the round's ticks. Without a mixer every call is silent and harmless.
class EffectSounds {
  public:
    EffectSounds() = default;
    ~EffectSounds();
    EffectSounds(const EffectSounds&) = delete;
    EffectSounds& operator=(const EffectSounds&) = delete;

    // Loads "sounds/smexp.wav", "sounds/wallbounce.wav" (the bounce at twice its volume) and
    // "sounds/caught.wav".
    void load(slScheduler* mixer);
    // Requests an effect on the mixer (priority 1, abort mode).
    void play(slSample* sample);
    // Plays what these events sound like, in their order: a blast, a bump into a labyrinth
    // wall, a player caught by a creature.
    void playEvents(std::span<const RoundEvent> events);

    slScheduler* scheduler = nullptr;
    slSample* blast = nullptr;
    slSample* bounce = nullptr;
    slSample* caught = nullptr;
};
