#include "FuzzFile.h"
#include "audio/SoundFile.h"

#include <plib/sl.h>

#include <cstdlib>
#include <memory>

// Whatever the bytes, the loader either makes sound in the mixer's format, no longer than the
// file can hold, and hands it to a sample, or says what is wrong and makes none. The
// sanitizers watch every read and write; the malloc limit catches a size taken on trust.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzFilePath("sound.wav");
    writeFuzzFile(path, data, size);
    std::vector<uint8_t> samples;
    std::string problem;
    const MixFormat mixer;
    if (readSoundFile(path.c_str(), mixer, samples, problem)) {
        // At most two frames a byte (4-bit ADPCM), doubled from the lowest rate to the mixer's.
        const size_t longest = size * 2 * (mixer.rate / lowestSoundRate) + 64;
        if (samples.empty() || samples.size() > longest || !problem.empty())
            std::abort();
        const auto sample = std::make_unique<slSample>(samples.data(), int(samples.size()));
        sample->adjustVolume(2.0f);
        if (sample->getLength() != int(samples.size()))
            std::abort();
    } else if (!samples.empty() || problem.empty()) {
        std::abort();
    }
    return 0;
}
