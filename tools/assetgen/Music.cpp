#include "Paint.h"
#include "Sound.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

constexpr double beatsPerMinute = 120;
constexpr int bars = 8;
// One eighth note in samples (a quarter of a second at 120 beats a minute is two eighths).
constexpr int eighth = static_cast<int>(soundRate * 60 / beatsPerMinute / 2);
constexpr int loopLength = eighth * 8 * bars;
// The mixer plays at 8000 Hz, so no partial is allowed above this.
constexpr double highestPartial = 3800;

struct Note {
    int start;  // in eighths from the start of the loop
    int length; // in eighths
    int pitch;  // MIDI note number
};

const Note melody[] = {
    {0, 2, 76},  {2, 2, 79},  {4, 3, 84},  {7, 1, 83},                            // C
    {8, 2, 83},  {10, 2, 79}, {12, 3, 74}, {15, 1, 79},                           // G
    {16, 2, 81}, {18, 2, 84}, {20, 2, 76}, {22, 1, 81}, {23, 1, 79},              // Am
    {24, 2, 77}, {26, 2, 81}, {28, 2, 84}, {30, 2, 81},                           // F
    {32, 1, 79}, {33, 1, 76}, {34, 2, 79}, {36, 2, 84}, {38, 1, 86}, {39, 1, 84}, // C
    {40, 2, 83}, {42, 2, 86}, {44, 1, 83}, {45, 1, 79}, {46, 2, 74},              // G
    {48, 1, 81}, {49, 1, 79}, {50, 2, 77}, {52, 2, 81}, {54, 1, 84}, {55, 1, 81}, // F
    {56, 2, 79}, {58, 1, 83}, {59, 1, 81}, {60, 2, 79}, {62, 2, 74},              // G
};

// Root of each bar's chord in the bass octave, and whether the chord is minor.
const struct {
    int root;
    bool minor;
} chords[bars] = {{48, false}, {43, false}, {45, true},  {41, false},
                  {48, false}, {43, false}, {41, false}, {43, false}};

double frequency(int pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

// White noise through four one-pole low passes: steep enough that next to nothing is left
// above 4 kHz.
class SoftNoise {
  public:
    explicit SoftNoise(double cutoff) : a_(1 - std::exp(-2 * M_PI * cutoff / soundRate)) {}
    double filter(double in) {
        for (double& stage : stages_) {
            stage += a_ * (in - stage);
            in = stage;
        }
        return in;
    }
    double next(Dice& dice) { return filter(dice.range(-1, 1)); }

  private:
    double a_;
    double stages_[4] = {};
};

class LoopMixer {
  public:
    LoopMixer() : wave_(loopLength, 0.0) {}

    // Adds a sample at a position of the loop; whatever rings past the end wraps to the start.
    void add(long position, double value) {
        wave_[static_cast<std::size_t>(position % loopLength)] += value;
    }

    // A tone built from harmonics below the mixer's limit, shaped by attack, decay to a
    // sustain level, and release after `held` samples.
    void tone(long start, long held, double freq, double level, double attack, double decay,
              double sustain, double release, const double* partials, int partialCount) {
        const long total = held + static_cast<long>(release * soundRate);
        for (long i = 0; i < total; ++i) {
            const double t = static_cast<double>(i) / soundRate;
            double envelope =
                t < attack ? t / attack : sustain + (1 - sustain) * std::exp(-(t - attack) / decay);
            if (i >= held) {
                envelope *= 1.0 - static_cast<double>(i - held) / (total - held);
            }
            double v = 0;
            for (int k = 0; k < partialCount; ++k) {
                const double f = freq * (k + 1);
                if (f < highestPartial) {
                    v += partials[k] * std::sin(2 * M_PI * f * t);
                }
            }
            add(start + i, v * envelope * level);
        }
    }

    void kick(long start) {
        double phase = 0;
        for (long i = 0; i < soundRate * 3 / 10; ++i) {
            const double t = static_cast<double>(i) / soundRate;
            phase += 2 * M_PI * (48 + 95 * std::exp(-t / 0.03)) / soundRate;
            add(start + i, std::sin(phase) * std::exp(-t / 0.11) * 0.85 * std::min(1.0, t / 0.002));
        }
    }

    void snare(long start, Dice& dice) {
        SoftNoise noise(2400);
        for (long i = 0; i < soundRate / 4; ++i) {
            const double t = static_cast<double>(i) / soundRate;
            const double body = std::sin(2 * M_PI * 190 * t) * std::exp(-t / 0.05);
            add(start + i, (noise.next(dice) * 1.6 * std::exp(-t / 0.08) + body * 0.3) *
                               std::min(1.0, t / 0.002));
        }
    }

    // A shaker: noise between about 1.2 and 3 kHz, very short.
    void shaker(long start, double level, Dice& dice) {
        SoftNoise wide(3000), narrow(1200);
        for (long i = 0; i < soundRate * 8 / 100; ++i) {
            const double t = static_cast<double>(i) / soundRate;
            const double n = dice.range(-1, 1);
            add(start + i, (wide.filter(n) - narrow.filter(n)) * 1.8 * level *
                               std::exp(-t / 0.022) * std::min(1.0, t / 0.003));
        }
    }

    std::vector<double>& wave() { return wave_; }

  private:
    std::vector<double> wave_;
};

} // namespace

SoundWave composeMusicLoop() {
    LoopMixer mix;
    Dice dice(1234);
    const double lead[] = {1.0, 0.28, 0.42, 0.1, 0.18, 0.05};
    const double pad[] = {1.0, 0.3, 0.1};
    const double bass[] = {1.0, 0.45, 0.15};
    for (const Note& n : melody) {
        const long start = static_cast<long>(n.start) * eighth;
        const long held = static_cast<long>(n.length) * eighth - eighth / 5;
        mix.tone(start, held, frequency(n.pitch), 0.3, 0.008, 0.12, 0.55, 0.08, lead, 6);
        // A soft echo three eighths later.
        mix.tone(start + 3 * eighth, held, frequency(n.pitch), 0.09, 0.01, 0.12, 0.5, 0.1, lead, 6);
    }
    for (int bar = 0; bar < bars; ++bar) {
        const int root = chords[bar].root;
        const long barStart = static_cast<long>(bar) * 8 * eighth;
        const int third = chords[bar].minor ? 3 : 4;
        for (int interval : {12, 12 + third, 19}) {
            mix.tone(barStart, 8 * eighth - eighth / 2, frequency(root + interval), 0.07, 0.08, 0.4,
                     0.7, 0.2, pad, 3);
        }
        const struct {
            int at, length, offset;
        } line[] = {{0, 2, 0}, {2, 1, 0}, {3, 1, 7}, {4, 2, 12}, {6, 2, 7}};
        for (const auto& b : line) {
            const double freq = frequency(root + b.offset);
            mix.tone(barStart + b.at * eighth, b.length * eighth - eighth / 4, freq, 0.34, 0.005,
                     0.18, 0.3, 0.05, bass, 3);
        }
        for (int e = 0; e < 8; ++e) {
            const long at = barStart + e * eighth;
            if (e == 0 || e == 4 || (bar % 2 == 1 && e == 5)) {
                mix.kick(at);
            }
            if (e == 2 || e == 6) {
                mix.snare(at, dice);
            }
            mix.shaker(at, e % 2 ? 0.22 : 0.13, dice);
        }
    }

    // Begin the loop at the first upward zero crossing; the wave is periodic, so turning it
    // round keeps the end joined to the start.
    std::vector<double>& wave = mix.wave();
    std::size_t begin = 0;
    for (std::size_t k = 1; k < wave.size() / 8; ++k) {
        if (wave[k - 1] < 0 && wave[k] >= 0) {
            begin = k;
            break;
        }
    }
    std::rotate(wave.begin(), wave.begin() + static_cast<std::ptrdiff_t>(begin), wave.end());
    double largest = 0;
    for (double v : wave) {
        largest = std::max(largest, std::abs(v));
    }
    // Background level: the effects are mixed on top and must stay clearly heard.
    const double gain = 0.45 * 32767 / largest;
    SoundWave out(wave.size());
    for (std::size_t i = 0; i < wave.size(); ++i) {
        out[i] = static_cast<std::int16_t>(std::lround(wave[i] * gain));
    }
    return out;
}

} // namespace assetgen
