#pragma once
// Helpers of the sound tests: WAV files written on the spot, a scratch working directory with a
// sounds/ folder, environment settings that undo themselves, and the disk driver's output.
#include <plib/sl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace soundtest {

constexpr int kFileRate = 22050;

inline void putLe(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A 16-bit mono PCM WAV file at 22050 Hz.
inline void writeWav(const std::filesystem::path& path, const std::vector<int16_t>& samples) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    putLe(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLe(out, 16, 4);
    putLe(out, 1, 2); // PCM
    putLe(out, 1, 2); // mono
    putLe(out, kFileRate, 4);
    putLe(out, kFileRate * 2, 4);
    putLe(out, 2, 2);
    putLe(out, 16, 2);
    out.write("data", 4);
    putLe(out, dataBytes, 4);
    for (int16_t s : samples)
        putLe(out, static_cast<uint16_t>(s), 2);
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
