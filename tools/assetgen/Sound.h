#pragma once
#include <cstdint>
#include <vector>

namespace assetgen {

inline constexpr int soundRate = 22050;

// Signed 16-bit mono samples.
using SoundWave = std::vector<std::int16_t>;

// A cheerful tune with bass and light drums, exactly 16 seconds, that repeats without a seam:
// every note that rings past the end carries on at the start, and the loop begins at an upward
// zero crossing.
SoundWave composeMusicLoop();

// A bomb going off: a noise burst whose brightness falls away, about one second.
SoundWave synthesizeExplosion();

// A soft bump against a labyrinth wall, 0.15 seconds, peaking below half scale because the game
// plays it at double volume.
SoundWave synthesizeWallBounce();

// Being caught by a creature: two short notes sliding down, 0.4 seconds.
SoundWave synthesizeCaught();

// 16-bit mono PCM in a RIFF WAVE file.
std::vector<std::uint8_t> encodeWav(const SoundWave& samples, int rate);

} // namespace assetgen
