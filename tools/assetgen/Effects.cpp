#include "Paint.h"
#include "Sound.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

// Scales the wave so that its largest magnitude is `peak` of full scale.
SoundWave toSamples(const std::vector<double>& wave, double peak) {
    double largest = 0;
    for (double v : wave) {
        largest = std::max(largest, std::abs(v));
    }
    const double gain = largest > 0 ? peak * 32767.0 / largest : 0;
    SoundWave out(wave.size());
    for (std::size_t i = 0; i < wave.size(); ++i) {
        out[i] = static_cast<std::int16_t>(std::lround(wave[i] * gain));
    }
    return out;
}

double lowPassCoefficient(double cutoff) {
    return 1.0 - std::exp(-2 * M_PI * cutoff / soundRate);
}

// Fades the last `seconds` to silence so the effect ends without a click.
void fadeOut(std::vector<double>& wave, double seconds) {
    const auto n = static_cast<std::size_t>(seconds * soundRate);
    for (std::size_t k = 0; k < n && k < wave.size(); ++k) {
        wave[wave.size() - 1 - k] *= static_cast<double>(k) / n;
    }
}

} // namespace

SoundWave synthesizeExplosion() {
    const int count = soundRate * 11 / 10;
    std::vector<double> wave(count);
    Dice dice(707);
    double low1 = 0, low2 = 0, thumpPhase = 0, rumble = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / soundRate;
        // The burst is bright at first and darkens as it dies away.
        const double cutoff = 150 + 4500 * std::exp(-t / 0.09);
        const double a = lowPassCoefficient(cutoff);
        const double noise = dice.range(-1, 1);
        low1 += a * (noise - low1);
        low2 += a * (low1 - low2);
        rumble += lowPassCoefficient(90) * (noise - rumble);
        const double attack = std::min(1.0, t / 0.004);
        const double burst = low2 * attack * std::exp(-t / 0.28);
        thumpPhase += 2 * M_PI * (38 + 60 * std::exp(-t / 0.08)) / soundRate;
        const double thump = std::sin(thumpPhase) * attack * std::exp(-t / 0.22);
        wave[i] = burst * 2.2 + thump * 0.8 + rumble * 6.0 * std::exp(-t / 0.45);
    }
    // A soft saturation packs the blast's energy: it must stand out over the music, not only
    // peak above it.
    double largest = 0;
    for (double v : wave)
        largest = std::max(largest, std::abs(v));
    for (double& v : wave)
        v = std::tanh(3.0 * v / largest);
    fadeOut(wave, 0.08);
    wave[0] = 0;
    return toSamples(wave, 0.9);
}

SoundWave synthesizeWallBounce() {
    const int count = soundRate * 15 / 100;
    std::vector<double> wave(count);
    Dice dice(808);
    double phase = 0, tap = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / soundRate;
        phase += 2 * M_PI * (85 + 70 * std::exp(-t / 0.025)) / soundRate;
        tap += lowPassCoefficient(900) * (dice.range(-1, 1) - tap);
        const double attack = std::min(1.0, t / 0.003);
        wave[i] =
            attack * (std::sin(phase) * std::exp(-t / 0.045) + tap * 1.5 * std::exp(-t / 0.012));
    }
    fadeOut(wave, 0.03);
    wave[0] = 0;
    return toSamples(wave, 0.42);
}

SoundWave synthesizeCaught() {
    const int count = soundRate * 40 / 100;
    std::vector<double> wave(count);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / soundRate;
        // Two notes sliding down, a fifth and then a fourth: a cartoon "uh-oh".
        const bool second = t >= 0.16;
        const double local = second ? t - 0.16 : t;
        const double pitch = second ? 392 * std::pow(2.0, -local * 1.5) : 587 - 60 * local;
        phase += 2 * M_PI * pitch / soundRate;
        const double attack = std::min(1.0, local / 0.008);
        const double ring = std::exp(-local / (second ? 0.11 : 0.07));
        // A reedy tone: the fundamental with a little of its third and fifth harmonics.
        wave[i] = attack * ring *
                  (std::sin(phase) + 0.35 * std::sin(3 * phase) + 0.15 * std::sin(5 * phase));
    }
    fadeOut(wave, 0.04);
    wave[0] = 0;
    return toSamples(wave, 0.6);
}

} // namespace assetgen
