#include "GeneratedFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

namespace {

using generated::Wave;

Wave sound(const char* name) {
    return generated::readWave(generated::buildDir() + "/sounds/" + name);
}

int peak(const Wave& w) {
    int p = 0;
    for (auto s : w.samples) {
        p = std::max(p, std::abs(static_cast<int>(s)));
    }
    return p;
}

TEST(SoundFiles, AllAre16BitMonoAt22050) {
    for (const char* name : {"reefer_c1.wav", "smexp.wav", "wallbounce.wav", "caught.wav"}) {
        SCOPED_TRACE(name);
        const Wave w = sound(name);
        ASSERT_TRUE(w.valid);
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.rate, 22050);
        EXPECT_EQ(w.bits, 16);
        EXPECT_GT(peak(w), 3000) << "audible";
    }
}

TEST(SoundFiles, EffectsAreShortAndTheBounceLeavesRoomForDoubling) {
    const Wave blast = sound("smexp.wav");
    EXPECT_GE(blast.seconds(), 0.6);
    EXPECT_LE(blast.seconds(), 1.5);
    const Wave bounce = sound("wallbounce.wav");
    EXPECT_GE(bounce.seconds(), 0.1);
    EXPECT_LE(bounce.seconds(), 0.2);
    // The game doubles the bounce about the middle: it must stay below half scale to not clip.
    EXPECT_LT(peak(bounce), 16384);
    // Being caught is heard at once and over before the player can walk again.
    const Wave caught = sound("caught.wav");
    EXPECT_GE(caught.seconds(), 0.2);
    EXPECT_LE(caught.seconds(), 0.6);
    // All start and end in silence, so they do not click.
    for (const Wave* w : {&blast, &bounce, &caught}) {
        ASSERT_FALSE(w->samples.empty());
        EXPECT_LT(std::abs(w->samples.front()), 200);
        EXPECT_LT(std::abs(w->samples.back()), 200);
    }
}

TEST(SoundFiles, MusicLoopLastsTenToTwentySecondsAndJoinsWithoutAJump) {
    const Wave music = sound("reefer_c1.wav");
    ASSERT_TRUE(music.valid);
    EXPECT_GE(music.seconds(), 10.0);
    EXPECT_LE(music.seconds(), 20.0);
    const auto& s = music.samples;
    // The loop starts at a zero crossing...
    EXPECT_LT(std::abs(s.front()), 1200);
    // ...and the step from its last sample back to its first is no larger than the ordinary
    // steps between neighbouring samples inside the loop.
    std::vector<int> steps;
    for (std::size_t i = 1; i < s.size(); ++i) {
        steps.push_back(std::abs(s[i] - s[i - 1]));
    }
    std::sort(steps.begin(), steps.end());
    const int usual = steps[steps.size() * 9 / 10];
    EXPECT_LE(std::abs(s.front() - s.back()), usual);
    // The end and the start continue the same motion: the slope across the join matches the
    // slopes beside it.
    const int before = s[s.size() - 1] - s[s.size() - 2];
    const int across = s[0] - s[s.size() - 1];
    const int after = s[1] - s[0];
    EXPECT_LE(std::abs(across - before), usual);
    EXPECT_LE(std::abs(after - across), usual);
}

// Share of a stretch of samples' energy above a frequency, by a discrete Fourier transform.
double energyAbove(const std::vector<std::int16_t>& s, std::size_t start, double hz, int rate) {
    const std::size_t n = 4096;
    std::vector<std::complex<double>> a(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2 * M_PI * i / n);
        a[i] = s[start + i] * window;
    }
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(a[i], a[j]);
        }
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2 * M_PI / len);
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> wk = 1;
            for (std::size_t k = 0; k < len / 2; ++k) {
                const auto u = a[i + k], v = a[i + k + len / 2] * wk;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                wk *= w;
            }
        }
    }
    double total = 0, high = 0;
    for (std::size_t k = 1; k < n / 2; ++k) {
        const double e = std::norm(a[k]);
        total += e;
        if (k * static_cast<double>(rate) / n > hz) {
            high += e;
        }
    }
    return total > 0 ? high / total : 0;
}

// The game's mixer plays at 8000 Hz: whatever the music has above 4 kHz would fold back as noise.
TEST(SoundFiles, MusicKeepsItsEnergyBelowFourKilohertz) {
    const Wave music = sound("reefer_c1.wav");
    ASSERT_TRUE(music.valid);
    for (double at : {0.5, 3.3, 7.1, 12.6}) {
        const auto start = static_cast<std::size_t>(at * music.rate);
        ASSERT_LT(start + 4096, music.samples.size());
        EXPECT_LT(energyAbove(music.samples, start, 4000, music.rate), 0.01) << "at " << at << " s";
    }
}

} // namespace
