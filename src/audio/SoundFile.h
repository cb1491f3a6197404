#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class slSample;
class slScheduler;

// The format the mixer plays, which every sound is converted to once, at load time.
struct MixFormat {
    int rate = 8000;
    int bits = 8; // 8: unsigned bytes; 16: signed words in the machine's byte order
    bool stereo = false;
};

// The sample rates a sound file may have. Outside them a file is taken as damaged: a rate of
// 1 Hz would turn a few kilobytes into gigabytes at the mixer's rate.
constexpr int lowestSoundRate = 4000;
constexpr int highestSoundRate = 192000;

// Checks a WAV file held in memory and converts its sound to `format`. Sizes that do not fit
// the file, a format the game does not play, and a rate outside the range above all fail: the
// answer is false, `problem` says what is wrong and `samples` is empty. Nothing outside `data`
// is read, and nothing larger than the file's own sound is allocated.
bool decodeSound(const uint8_t* data, size_t size, const MixFormat& format,
                 std::vector<uint8_t>& samples, std::string& problem);

// The same for a file on disk; a file that cannot be read fails the same way.
bool readSoundFile(const char* path, const MixFormat& format, std::vector<uint8_t>& samples,
                   std::string& problem);

// A sample for the mixer, read from a WAV file and converted to the mixer's format. A file that
// is missing, damaged or of a kind the game does not play gets one warning on standard error
// naming it and what is wrong, and an empty sample, which plays silence. Never null.
slSample* loadSoundFile(const char* path, const slScheduler* mixer);
