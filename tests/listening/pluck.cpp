#include "tests/listening/pluck.h"

#include "listening/guitarstrings.h"
#include "platform/ui/wavefile.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace listentest {

Pluck GuitarPluck(int string, double detuneCents) {
    // Per string: inharmonicity, first partial against the second (the low
    // strings' fundamental lies 20-25 dB under their octave), decay.
    struct Preset {
        double inharmonicity, fundamentalDb, decay;
    };
    static constexpr Preset kPresets[listening::kGuitarStrings] = {
        {6e-5, -22, 3.5}, {5e-5, -15, 3.0}, {5e-5, -8, 2.8},
        {8e-5, -3, 2.5},  {1.2e-4, 0, 2.2}, {1e-4, 2, 2.0}};
    const Preset& preset = kPresets[std::clamp(string, 0, listening::kGuitarStrings - 1)];
    Pluck pluck;
    pluck.frequency = listening::OpenStringFrequency(string) * std::pow(2.0, detuneCents / 1200.0);
    pluck.inharmonicity = preset.inharmonicity;
    pluck.fundamentalDb = preset.fundamentalDb;
    pluck.decaySeconds = preset.decay;
    pluck.seed = std::uint32_t(1 + string * 101 + int(detuneCents * 7 + 1000));
    return pluck;
}

std::vector<float> Render(const Pluck& pluck, int sampleRate) {
    const double pi = std::numbers::pi;
    const auto lead = std::size_t(pluck.leadSeconds * sampleRate);
    const auto length = lead + std::size_t(pluck.seconds * sampleRate);
    std::vector<double> sound(length, 0.0);
    std::mt19937 random(pluck.seed);
    std::uniform_real_distribution<double> phase(0, 2 * pi);
    std::uniform_real_distribution<double> spread(-pluck.partialSpreadCents, pluck.partialSpreadCents);

    // Partial n sounds at n f0 sqrt(1 + B n^2); f0 is chosen so that the
    // first partial lies exactly at `frequency`.
    const double b = pluck.inharmonicity;
    const double f0 = pluck.frequency / std::sqrt(1 + b);
    std::vector<double> amplitude;
    for (int n = 1; n < 60; ++n) {
        const double f = n * f0 * std::sqrt(1 + b * n * n);
        if (f > 0.45 * sampleRate || f > 8000) break;
        amplitude.push_back(std::fabs(std::sin(n * pi * pluck.pluckPosition)) / (n * n) *
                            std::sqrt(double(n))); // a body that favours the upper partials
    }
    if (amplitude.size() >= 2)
        amplitude[0] = amplitude[1] * std::pow(10.0, pluck.fundamentalDb / 20.0);
    // The attack's sharpness, as a phase offset that every partial shares in
    // proportion to its frequency: the integral of (sharp - 1) over time.
    const double settle = 0.06 * sampleRate;
    const double sharp = std::pow(2.0, pluck.attackSharpCents / 1200.0) - 1.0;
    for (std::size_t i = 0; i < amplitude.size(); ++i) {
        const int n = int(i) + 1;
        const double off = n == 1 ? 1.0 : std::pow(2.0, spread(random) / 1200.0);
        const double f = n * f0 * std::sqrt(1 + b * n * n) * off;
        const double decay = pluck.decaySeconds / (1 + 0.35 * (n - 1));
        const double start = phase(random);
        const double step = 2 * pi * f / sampleRate;
        const double fall = std::exp(-1.0 / (decay * sampleRate));
        double envelope = amplitude[i];
        for (std::size_t t = lead; t < length; ++t) {
            const double since = double(t - lead);
            const double glide = sharp * settle * (1.0 - std::exp(-since / settle));
            sound[t] += envelope * std::sin(start + step * (since + glide));
            envelope *= fall;
        }
    }
    if (pluck.bodyHz > 0) {
        const double strongest = *std::max_element(amplitude.begin(), amplitude.end());
        const double start = phase(random);
        for (std::size_t t = lead; t < length; ++t) {
            const double since = double(t - lead) / sampleRate;
            sound[t] += strongest * std::pow(10.0, pluck.bodyDb / 20.0) * std::exp(-since / pluck.bodyDecaySeconds) *
                        std::sin(start + 2 * pi * pluck.bodyHz * since);
        }
    }
    // The attack: a 2 ms rise, and the pick's noise for the first 15 ms.
    std::normal_distribution<double> noise(0, 1);
    const auto rise = std::size_t(0.002 * sampleRate);
    double peak = 1e-12;
    for (std::size_t t = lead; t < length; ++t) peak = std::max(peak, std::fabs(sound[t]));
    for (std::size_t t = lead; t < lead + rise && t < length; ++t)
        sound[t] *= 0.5 - 0.5 * std::cos(pi * double(t - lead) / double(rise));
    for (std::size_t t = lead; t < lead + std::size_t(0.015 * sampleRate) && t < length; ++t)
        sound[t] += 0.2 * peak * noise(random) * std::exp(-double(t - lead) / (0.004 * sampleRate));

    const double scale = pluck.peak / peak;
    const double noiseLevel = std::pow(10.0, pluck.noiseDb / 20.0);
    std::vector<float> out(length);
    for (std::size_t t = 0; t < length; ++t) out[t] = float(sound[t] * scale + noiseLevel * noise(random));
    return out;
}

void MixInto(std::vector<float>& into, const std::vector<float>& sound, std::size_t at) {
    if (into.size() < at + sound.size()) into.resize(at + sound.size(), 0.0f);
    for (std::size_t i = 0; i < sound.size(); ++i) into[at + i] += sound[i];
}

std::string WaveFile16(const std::vector<float>& samples, int sampleRate) {
    std::string bytes;
    bytes.reserve(samples.size() * 2);
    for (float sample : samples) {
        const auto value = std::int16_t(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
        bytes.push_back(char(value & 0xff));
        bytes.push_back(char((value >> 8) & 0xff));
    }
    return platform::MakeWaveFile(1, sampleRate, 16, bytes);
}

} // namespace listentest
