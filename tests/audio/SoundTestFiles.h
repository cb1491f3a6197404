#pragma once
// Helpers of the sound tests: WAV files written on the spot, a scratch working directory with a
// sounds/ folder, environment settings that undo themselves, and the disk driver's output.
#include <plib/sl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace soundtest {

constexpr int kFileRate = 22050;

// The header of a WAV file, every field set by the test so that it can also lie.
struct WavHeader {
    uint16_t format = 1; // 1 PCM, 3 float
    uint16_t channels = 1;
    uint32_t rate = kFileRate;
    uint16_t bits = 16;
    std::optional<uint32_t> dataSize; // the data chunk's declared size; default: the truth
    std::optional<uint32_t> riffSize; // the RIFF chunk's declared size; default: the truth
};

inline void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A whole file: RIFF header, a 16-byte format chunk and a data chunk holding `data`.
inline std::vector<uint8_t> wavBytes(const WavHeader& h, const std::vector<uint8_t>& data) {
    const uint32_t declared = h.dataSize.value_or(static_cast<uint32_t>(data.size()));
    const uint16_t frameBytes = static_cast<uint16_t>(h.channels * ((h.bits + 7) / 8));
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    putLe(out, h.riffSize.value_or(static_cast<uint32_t>(36 + data.size())), 4);
    for (char c : std::string("WAVEfmt "))
        out.push_back(static_cast<uint8_t>(c));
    putLe(out, 16, 4);
    putLe(out, h.format, 2);
    putLe(out, h.channels, 2);
    putLe(out, h.rate, 4);
    putLe(out, h.rate * frameBytes, 4);
    putLe(out, frameBytes, 2);
    putLe(out, h.bits, 2);
    for (char c : std::string("data"))
        out.push_back(static_cast<uint8_t>(c));
    putLe(out, declared, 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Sound values from -1 to 1 stored as `bits`-bit PCM (8 unsigned; 16, 24, 32 signed) or, with
// `isFloat`, 32-bit float; interleaved frames in, little-endian bytes out.
inline std::vector<uint8_t> encode(const std::vector<double>& values, int bits, bool isFloat) {
    std::vector<uint8_t> out;
    for (double v : values) {
        if (isFloat) {
            const float f = static_cast<float>(v);
            uint32_t word;
            std::memcpy(&word, &f, 4);
            putLe(out, word, 4);
        } else if (bits == 8) {
            out.push_back(static_cast<uint8_t>(std::lround(128 + v * 127)));
        } else {
            const double full = std::ldexp(1.0, bits - 1) - 1;
            putLe(out, static_cast<uint32_t>(static_cast<int64_t>(std::llround(v * full))),
                  bits / 8);
        }
    }
    return out;
}

// A 16-bit mono PCM WAV file at 22050 Hz.
inline void writeWav(const std::filesystem::path& path, const std::vector<int16_t>& samples) {
    std::vector<uint8_t> data;
    for (int16_t s : samples)
        putLe(data, static_cast<uint16_t>(s), 2);
    writeFile(path, wavBytes(WavHeader{}, data));
}

// A sine tone; amplitude in 16-bit units.
inline std::vector<int16_t> tone(float seconds, float hertz, float amplitude) {
    std::vector<int16_t> samples(static_cast<size_t>(seconds * kFileRate));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(
            std::lround(amplitude * std::sin(2.0 * M_PI * hertz * double(i) / kFileRate)));
    return samples;
}

// Steady levels, each held for the given time; levels in 16-bit units.
inline std::vector<int16_t> steps(const std::vector<int16_t>& levels, float secondsEach) {
    std::vector<int16_t> samples;
    const size_t each = static_cast<size_t>(secondsEach * kFileRate);
    for (int16_t level : levels)
        samples.insert(samples.end(), each, level);
    return samples;
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            hadOld_ = true;
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (hadOld_)
            setenv(name_.c_str(), old_.c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::string old_;
    bool hadOld_ = false;
};

// A fresh directory with an empty sounds/ folder, made the working directory for the life of
// the object (the game reads its sounds relative to the working directory).
class ScratchDir {
  public:
    ScratchDir() : previous_(std::filesystem::current_path()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tuvo-sound-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        std::filesystem::create_directories(root_ / "sounds");
        std::filesystem::current_path(root_);
    }
    ~ScratchDir() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::filesystem::path path(const std::string& name) const { return root_ / name; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path root_;
};

// Calls update the way the main loop does, with short frames, for about `ms` of wall time.
inline void runFrames(slScheduler& scheduler, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        scheduler.update();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

inline void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// SL refuses to have a sample freed while a player of it is still queued: stopping it is not
// enough, the mixer lets go of it on its next mixing pass.
inline void stopAndLetGo(slScheduler& scheduler, slSample* sample) {
    scheduler.stopSample(sample);
    for (int tries = 0; tries < 100 && sample->getPlayCount() > 0; ++tries)
        runFrames(scheduler, 20);
    ASSERT_EQ(sample->getPlayCount(), 0);
}

inline std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Signal energy of unsigned 8-bit sound about its midpoint 128.
inline double energy(const std::vector<uint8_t>& bytes, size_t from = 0) {
    double sum = 0;
    for (size_t i = from; i < bytes.size(); ++i)
        sum += double(bytes[i] - 128) * double(bytes[i] - 128);
    return sum;
}

} // namespace soundtest
