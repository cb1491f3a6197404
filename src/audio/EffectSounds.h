#pragma once
#include <cstdint>

class Player;
class slScheduler;
class slSample;

// The blast, the wall bounce and being caught, loaded once against the mixer and played when a tick
// raises them. Without a mixer every call is silent and harmless.
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
    // Plays the effects a player's steps raised since the last call, then forgets them.
    void playRaised(Player& player);

    slScheduler* scheduler = nullptr;
    slSample* blast = nullptr;
    slSample* bounce = nullptr;
    slSample* caught = nullptr;
};
