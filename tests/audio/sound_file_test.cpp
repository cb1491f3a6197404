#include "SoundTestFiles.h"

#include "audio/SoundFile.h"

#include <plib/sl.h>

#include <gtest/gtest.h>

#include <memory>

using namespace soundtest;

namespace {

constexpr double kAmplitude = 0.5; // of full scale
constexpr float kSeconds = 0.5f;

// A 440 Hz tone for every channel of each frame; `rightToo` false leaves the right one silent.
std::vector<double> toneFrames(uint32_t rate, int channels, bool rightToo = true) {
    std::vector<double> values;
    const size_t frames = static_cast<size_t>(kSeconds * rate);
    for (size_t i = 0; i < frames; ++i) {
        const double v = kAmplitude * std::sin(2.0 * M_PI * 440.0 * double(i) / rate);
        values.push_back(v);
        if (channels == 2)
            values.push_back(rightToo ? v : 0.0);
    }
    return values;
}

struct Level {
    double mean = 0, rms = 0;
};

// Mean and root mean square about the 8-bit midpoint of unsigned 8-bit sound.
Level levelOf(const std::vector<uint8_t>& bytes) {
    Level l;
    for (uint8_t b : bytes) {
        l.mean += b;
        l.rms += (b - 128.0) * (b - 128.0);
    }
    l.mean /= double(bytes.size());
    l.rms = std::sqrt(l.rms / double(bytes.size()));
    return l;
}

struct Loaded {
    std::unique_ptr<slSample> sample;
    std::string warnings;
};

WavHeader header(void (*change)(WavHeader&)) {
    WavHeader h;
    change(h);
    return h;
}

Loaded load(const std::filesystem::path& file) {
    testing::internal::CaptureStderr();
    Loaded l;
    l.sample.reset(loadSoundFile(file.string().c_str(), nullptr));
    l.warnings = testing::internal::GetCapturedStderr();
    return l;
}

std::vector<uint8_t> tone16(size_t bytes) {
    std::vector<uint8_t> data = encode(toneFrames(kFileRate, 1), 16, false);
    data.resize(bytes, 0);
    return data;
}

TEST(SoundFile, AFileThatLiesOrIsNotPlayableWarnsOnceNamingItAndStaysSilent) {
    ScratchDir dir;
    struct Case {
        const char* what;
        WavHeader header;
        std::vector<uint8_t> data;
        const char* says; // part of the warning that tells what is wrong
    };
    const std::vector<uint8_t> some = tone16(1000);
    const std::vector<Case> cases = {
        {"0 bits a sample", header([](WavHeader& h) { h.bits = 0; }), some, "bits per sample"},
        {"17 bits a sample", header([](WavHeader& h) { h.bits = 17; }), some, "17-bit"},
        {"data size 0xFFFFFFF0", header([](WavHeader& h) { h.dataSize = 0xFFFFFFF0u; }), some,
         "'data' chunk says 4294967280 bytes, only 1000 follow"},
        {"rate 0", header([](WavHeader& h) { h.rate = 0; }), some, "rate"},
        {"rate 0xFFFFFFFF", header([](WavHeader& h) { h.rate = 0xFFFFFFFFu; }), some, "rate"},
        {"rate 1", header([](WavHeader& h) { h.rate = 1; }), some, "rate of 1 Hz"},
        {"48 KB saying 0x7FFFFFFF", header([](WavHeader& h) { h.dataSize = 0x7FFFFFFFu; }),
         tone16(48000), "'data' chunk says 2147483647 bytes, only 48000 follow"},
        {"header only", header([](WavHeader& h) { h.dataSize = 22050; }), {}, "only 0 follow"},
        {"half the data", header([](WavHeader& h) { h.dataSize = 22050; }), tone16(11026),
         "only 11026 follow"},
        {"RIFF size past the end", header([](WavHeader& h) { h.riffSize = 5000; }), some,
         "cut short"},
        {"a last frame cut in half", WavHeader{}, tone16(1001), "Truncated"},
        {"64-bit float", header([](WavHeader& h) {
             h.format = 3;
             h.bits = 64;
         }),
         tone16(1024), "not supported"},
        {"nine channels", header([](WavHeader& h) { h.channels = 9; }), tone16(1800),
         "cannot be converted"},
        {"no sound at all", WavHeader{}, {}, "no sound"},
    };
    for (const Case& c : cases) {
        const auto file = dir.path("sounds/smexp.wav");
        writeFile(file, wavBytes(c.header, c.data));
        const Loaded l = load(file);
        ASSERT_NE(l.sample, nullptr) << c.what;
        EXPECT_EQ(l.sample->getLength(), 0) << c.what;
        EXPECT_EQ(std::count(l.warnings.begin(), l.warnings.end(), '\n'), 1) << l.warnings;
        EXPECT_NE(l.warnings.find(file.string() + ": "), std::string::npos) << l.warnings;
        EXPECT_NE(l.warnings.find(c.says), std::string::npos) << c.what << ": " << l.warnings;
    }

    writeFile(dir.path("sounds/wallbounce.wav"), {'R', 'I', 'F', 'F', 0, 0});
    EXPECT_NE(load(dir.path("sounds/wallbounce.wav")).warnings.find("not a RIFF WAVE file"),
              std::string::npos);
    const Loaded missing = load(dir.path("sounds/none.wav"));
    EXPECT_EQ(missing.sample->getLength(), 0);
    EXPECT_NE(missing.warnings.find("none.wav: cannot be opened"), std::string::npos)
        << missing.warnings;
}

// Whatever the file's width, kind, channels and rate, the mixer gets the same half-scale tone:
// 0.5 * 128 / sqrt(2) = 45.3 about the midpoint 128, for half a second at 8000 Hz.
TEST(SoundFile, EveryWidthFloatStereoAndRatePlaysTheToneAtItsLevel) {
    ScratchDir dir;
    struct Kind {
        const char* what;
        uint16_t format, channels;
        uint32_t rate;
        uint16_t bits;
    };
    const std::vector<Kind> kinds = {
        {"8-bit", 1, 1, 22050, 8},
        {"16-bit", 1, 1, 22050, 16},
        {"24-bit", 1, 1, 22050, 24},
        {"32-bit", 1, 1, 22050, 32},
        {"float", 3, 1, 22050, 32},
        {"stereo", 1, 2, 44100, 16},
        {"4 kHz", 1, 1, 4000, 16},
        {"11025 Hz", 1, 1, 11025, 16},
        {"96 kHz", 1, 1, 96000, 24},
        {"192 kHz", 1, 1, 192000, 16},
        {"stereo float 48 kHz", 3, 2, 48000, 32},
    };
    const double fullLevel = kAmplitude * 128 / std::sqrt(2.0);
    for (const Kind& k : kinds) {
        const auto file = dir.path("sounds/reefer_c1.wav");
        WavHeader h;
        h.format = k.format;
        h.channels = k.channels;
        h.rate = k.rate;
        h.bits = k.bits;
        writeFile(file, wavBytes(h, encode(toneFrames(k.rate, k.channels), k.bits, k.format == 3)));
        std::vector<uint8_t> samples;
        std::string problem;
        ASSERT_TRUE(readSoundFile(file.string().c_str(), MixFormat{}, samples, problem))
            << k.what << ": " << problem;
        EXPECT_NEAR(double(samples.size()), kSeconds * 8000, 8) << k.what;
        const Level level = levelOf(samples);
        EXPECT_NEAR(level.mean, 128.0, 1.0) << k.what;
        EXPECT_NEAR(level.rms, fullLevel, 2.0) << k.what;
    }

    // Stereo becomes mono by taking both channels: a tone on the left alone is half as loud.
    const auto file = dir.path("sounds/smexp.wav");
    writeFile(file, wavBytes(header([](WavHeader& h) { h.channels = 2; }),
                             encode(toneFrames(kFileRate, 2, false), 16, false)));
    std::vector<uint8_t> samples;
    std::string problem;
    ASSERT_TRUE(readSoundFile(file.string().c_str(), MixFormat{}, samples, problem)) << problem;
    EXPECT_NEAR(levelOf(samples).rms, fullLevel / 2, 1.5);
    EXPECT_NEAR(double(samples.size()), kSeconds * 8000, 8);

    // The mixer's sample carries the converted sound and says what format it is in.
    const Loaded l = load(file);
    EXPECT_EQ(l.warnings, "");
    ASSERT_EQ(l.sample->getLength(), int(samples.size()));
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), l.sample->getBuffer()));
    EXPECT_EQ(l.sample->getRate(), 8000);
    EXPECT_EQ(l.sample->getBps(), 8);
    EXPECT_EQ(l.sample->getStereo(), SL_FALSE);
}

} // namespace
