#pragma once

class slScheduler;
class slSample;
class slEnvelope;

// The game's one mixer: 8000 Hz, 8-bit mono. With no audio device it reports notWorking() and
// every later call on it is harmless; the game then runs silent.
slScheduler* createScheduler();

// Sets the scheduler's safety margin (0.128 s queued ahead) and starts the music loop from
// "sounds/reefer_c1.wav". The music is heard once updateSound() begins to be called. Answers the
// music sample, which must outlive every update of the scheduler.
slSample* startMusic(slScheduler& scheduler);

// Mixes the sound that is due and hands it to the device; once per game frame. Accepts null.
// The queue ahead is 0.128 s, grown to cover 1.5 frame intervals (up to 0.5 s) where frames come
// slower than that, so the music does not break up on a slow machine.
void updateSound(slScheduler* scheduler);
// The queue kept ahead of the device for a given time between frames, in seconds.
float safetyMarginFor(float frameSeconds);

// Silences the music while the round waits, and lets it play on after. Accepts nulls.
void pauseMusic(slScheduler* scheduler, slSample* music, bool paused);

// The music's and the effects' volumes, 0 (silent) to 10 (as made), heard at once: each is a
// constant volume envelope on every player of its sounds, so changing one changes what is mixed
// from the next mixing pass on.
void setVolumes(int music, int effects);
slEnvelope* musicVolume();
slEnvelope* effectsVolume();
