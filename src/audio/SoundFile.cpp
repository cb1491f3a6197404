#include "audio/SoundFile.h"

#include <SDL.h>
#include <plib/sl.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

// SDL reads the WAV formats (PCM of 8 to 32 bits, float, the ADPCM kinds, a-law and mu-law,
// any channel layout it knows) and rejects malformed headers; its converter changes rate, width
// and channels. What SDL does not promise is checked here first: it allocates whatever
// size a chunk declares before finding the file shorter, and it takes any rate from 1 Hz up.

namespace {

// Far more than any sound of the game; a larger file is not one of them.
constexpr size_t kLargestFile = 128u << 20;

uint32_t u32At(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

std::string chunkName(const uint8_t* id) {
    std::string name(4, '?');
    for (int i = 0; i < 4; ++i)
        if (id[i] >= 0x20 && id[i] < 0x7f)
            name[i] = static_cast<char>(id[i]);
    return name;
}

// Every chunk must lie inside the RIFF chunk, and the RIFF chunk inside the file.
bool chunksFitTheFile(const uint8_t* data, size_t size, std::string& problem) {
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
        problem = "not a RIFF WAVE file";
        return false;
    }
    const uint64_t riffEnd = 8 + static_cast<uint64_t>(u32At(data + 4));
    if (riffEnd > size) {
        problem = "cut short: its header says " + std::to_string(riffEnd) +
                  " bytes, the file has " + std::to_string(size);
        return false;
    }
    for (uint64_t at = 12; at + 8 <= riffEnd;) {
        const uint64_t length = u32At(data + at + 4);
        if (length > riffEnd - (at + 8)) {
            problem = "the '" + chunkName(data + at) + "' chunk says " + std::to_string(length) +
                      " bytes, only " + std::to_string(riffEnd - (at + 8)) + " follow";
            return false;
        }
        at += 8 + length + (length & 1);
    }
    return true;
}

struct WavFree {
    void operator()(Uint8* p) const { SDL_FreeWAV(p); }
};

MixFormat formatOf(const slScheduler* mixer) {
    MixFormat format;
    // A mixer without a device still knows the format it was asked for.
    if (mixer && mixer->getRate() > 0 && (mixer->getBps() == 8 || mixer->getBps() == 16)) {
        format.rate = mixer->getRate();
        format.bits = mixer->getBps();
        format.stereo = mixer->getStereo() != 0;
    }
    return format;
}

} // namespace

bool decodeSound(const uint8_t* data, size_t size, const MixFormat& format,
                 std::vector<uint8_t>& samples, std::string& problem) {
    samples.clear();
    if (size > kLargestFile) {
        problem = "larger than " + std::to_string(kLargestFile >> 20) + " MiB";
        return false;
    }
    if (!chunksFitTheFile(data, size, problem))
        return false;

    // A data chunk shorter than its header says, or a last frame cut in half, is an error
    // rather than sound made up to fill the gap.
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "verystrict");
    SDL_AudioSpec spec;
    Uint8* wavBuffer = nullptr;
    Uint32 wavLength = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1, &spec, &wavBuffer,
                        &wavLength)) {
        problem = SDL_GetError();
        return false;
    }
    const std::unique_ptr<Uint8, WavFree> sound(wavBuffer);
    if (spec.freq < lowestSoundRate || spec.freq > highestSoundRate) {
        problem = "a sample rate of " + std::to_string(spec.freq) + " Hz is outside " +
                  std::to_string(lowestSoundRate) + " to " + std::to_string(highestSoundRate) +
                  " Hz";
        return false;
    }
    if (wavLength == 0) {
        problem = "it holds no sound";
        return false;
    }

    // Eight-bit sound is made signed and then given its unsigned midpoint: SDL's own unsigned
    // output puts silence at 127, a step off the mixer's 128.
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq,
                          format.bits == 8 ? AUDIO_S8 : AUDIO_S16SYS, format.stereo ? 2 : 1,
                          format.rate) < 0) {
        problem = std::string("cannot be converted: ") + SDL_GetError();
        return false;
    }
    std::vector<uint8_t> work(static_cast<size_t>(wavLength) * static_cast<size_t>(cvt.len_mult));
    std::memcpy(work.data(), sound.get(), wavLength);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(wavLength);
    if (SDL_ConvertAudio(&cvt) != 0) {
        problem = std::string("cannot be converted: ") + SDL_GetError();
        return false;
    }
    if (cvt.len_cvt <= 0) {
        problem = "it holds no sound";
        return false;
    }
    work.resize(static_cast<size_t>(cvt.len_cvt));
    if (format.bits == 8)
        for (uint8_t& b : work)
            b ^= 0x80;
    samples = std::move(work);
    return true;
}

bool readSoundFile(const char* path, const MixFormat& format, std::vector<uint8_t>& samples,
                   std::string& problem) {
    samples.clear();
    std::FILE* f = path ? std::fopen(path, "rb") : nullptr;
    if (!f) {
        problem = std::string("cannot be opened (") + std::strerror(errno) + ")";
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while (bytes.size() <= kLargestFile && (got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool readFailed = std::ferror(f) != 0;
    std::fclose(f);
    if (readFailed) {
        problem = "cannot be read";
        return false;
    }
    return decodeSound(bytes.data(), bytes.size(), format, samples, problem);
}

slSample* loadSoundFile(const char* path, const slScheduler* mixer) {
    // An empty buffer rather than none: SL never finishes a player whose buffer is null, so
    // such a sample would hold its playing slot for ever.
    auto* sample = new slSample(nullptr, 0);
    const MixFormat format = formatOf(mixer);
    std::vector<uint8_t> samples;
    std::string problem;
    if (readSoundFile(path, format, samples, problem) && samples.size() > INT_MAX) {
        samples.clear();
        problem = "too long to mix";
    }
    if (samples.empty()) {
        std::fprintf(stderr, "%s: %s; that sound stays silent.\n", path ? path : "(no file)",
                     problem.c_str());
        return sample;
    }
    sample->setBuffer(samples.data(), static_cast<int>(samples.size()));
    sample->setRate(format.rate);
    sample->setBps(format.bits);
    sample->setStereo(format.stereo ? SL_TRUE : SL_FALSE);
    return sample;
}
