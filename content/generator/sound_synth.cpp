#include "content/generator/sound_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace content {

namespace {

constexpr double kPi = std::numbers::pi;

// A two-pole band-pass resonator (constant 0 dB peak gain).
class Resonator {
public:
    Resonator(double frequency, double q) {
        double w = 2 * kPi * frequency / kSampleRate;
        double alpha = std::sin(w) / (2 * q);
        double a0 = 1 + alpha;
        b0_ = alpha / a0;
        b2_ = -alpha / a0;
        a1_ = -2 * std::cos(w) / a0;
        a2_ = (1 - alpha) / a0;
    }
    double Process(double x) {
        double y = b0_ * x + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double b0_, b2_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// The noise burst that starts a string: one period of seeded noise, smoothed
// according to the brightness and shaped by the pluck position (a comb).
std::vector<double> Excitation(std::size_t period, const PluckStyle& style) {
    NoiseSource noise(style.seed);
    std::vector<double> burst(period);
    double smooth = 0;
    double keep = 0.85 * (1.0 - std::clamp(style.brightness, 0.0, 1.0));
    for (double& x : burst) {
        smooth = keep * smooth + (1 - keep) * noise.Next();
        x = smooth;
    }
    std::size_t comb = static_cast<std::size_t>(std::lround(style.pluckPosition * period));
    std::vector<double> shaped(period);
    for (std::size_t i = 0; i < period; ++i)
        shaped[i] = burst[i] - (i >= comb ? burst[i - comb] : 0);
    return shaped;
}

} // namespace

double NoteFrequency(double midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

double CentsBetween(double target, double actual) {
    return 1200.0 * std::log2(actual / target);
}

float NoiseSource::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(static_cast<double>(state_) / 2147483647.5 - 1.0);
}

std::vector<float> PluckString(double frequency, double seconds, const PluckStyle& style) {
    const std::size_t total = static_cast<std::size_t>(seconds * kSampleRate);
    // Loop delay = whole samples + 0.5 (averaging filter) + fractional all-pass.
    const double period = kSampleRate / frequency;
    const std::size_t whole = static_cast<std::size_t>(std::floor(period - 0.5 - 0.2));
    const double fraction = period - 0.5 - static_cast<double>(whole);
    const double c = (1 - fraction) / (1 + fraction);
    const double loss = std::pow(0.001, 1.0 / (frequency * style.sustain));

    const std::vector<double> excitation = Excitation(whole, style);
    std::vector<double> y(total, 0.0);
    double apIn = 0, apOut = 0;
    for (std::size_t n = 0; n < total; ++n) {
        double d0 = n >= whole ? y[n - whole] : 0;
        double d1 = n >= whole + 1 ? y[n - whole - 1] : 0;
        double averaged = 0.5 * (d0 + d1);
        double ap = c * averaged + apIn - c * apOut;
        apIn = averaged;
        apOut = ap;
        y[n] = (n < excitation.size() ? excitation[n] : 0) + loss * ap;
    }
    return std::vector<float>(y.begin(), y.end());
}

void MixInto(std::vector<float>& mix, const std::vector<float>& part, std::size_t offset,
             float gain) {
    if (mix.size() < offset + part.size()) mix.resize(offset + part.size(), 0.0f);
    for (std::size_t i = 0; i < part.size(); ++i)
        mix[offset + i] += gain * part[i];
}

std::vector<float> ApplyBody(const std::vector<float>& dry, double amount) {
    // Air resonance, top plate and back plate of a classical guitar body.
    Resonator air(98, 6), top(204, 8), back(390, 5);
    std::vector<float> out(dry.size());
    for (std::size_t i = 0; i < dry.size(); ++i) {
        double x = dry[i];
        double body = 0.9 * air.Process(x) + 1.0 * top.Process(x) + 0.6 * back.Process(x);
        out[i] = static_cast<float>(x + amount * body);
    }
    return out;
}

std::vector<float> Strum(const std::vector<int>& notes, double gap, double seconds,
                         const PluckStyle& style) {
    std::vector<float> mix;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        PluckStyle string = style;
        string.seed = style.seed * 7919u + static_cast<std::uint32_t>(i) * 104729u + 1u;
        std::size_t offset = static_cast<std::size_t>(i * gap * kSampleRate);
        double length = std::max(0.01, seconds - i * gap);
        // Higher strings a little softer, as a relaxed strum sounds.
        float gain = static_cast<float>(1.0 - 0.06 * static_cast<double>(i));
        MixInto(mix, PluckString(NoteFrequency(notes[i]), length, string), offset, gain);
    }
    mix.resize(static_cast<std::size_t>(seconds * kSampleRate), 0.0f);
    return ApplyBody(mix, 0.8);
}

void DampAt(std::vector<float>& samples, double start, double end) {
    const double a = start * kSampleRate, b = end * kSampleRate;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double t = static_cast<double>(i);
        if (t >= b)
            samples[i] = 0.0f;
        else if (t > a)
            samples[i] *= static_cast<float>(0.5 + 0.5 * std::cos(kPi * (t - a) / (b - a)));
    }
}

void Normalise(std::vector<float>& samples, double peak) {
    float largest = 0;
    for (float x : samples)
        largest = std::max(largest, std::fabs(x));
    if (largest <= 0) return;
    const float scale = static_cast<float>(peak / largest);
    for (float& x : samples)
        x *= scale;
}

LoopFit FitLoop(const std::vector<double>& frequencies, double minSeconds, double maxSeconds) {
    LoopFit best;
    best.worstCents = 1e9;
    const std::size_t first = static_cast<std::size_t>(minSeconds * kSampleRate);
    const std::size_t last = static_cast<std::size_t>(maxSeconds * kSampleRate);
    for (std::size_t length = first; length <= last; ++length) {
        double worst = 0;
        for (double f : frequencies) {
            double cycles = std::round(f * static_cast<double>(length) / kSampleRate);
            double actual = cycles * kSampleRate / static_cast<double>(length);
            worst = std::max(worst, std::fabs(CentsBetween(f, actual)));
        }
        if (worst < best.worstCents) {
            best.worstCents = worst;
            best.length = length;
        }
    }
    for (double f : frequencies) {
        double cycles = std::round(f * static_cast<double>(best.length) / kSampleRate);
        best.frequencies.push_back(cycles * kSampleRate / static_cast<double>(best.length));
    }
    return best;
}

std::vector<float> SustainedTone(const std::vector<double>& frequencies, std::size_t length,
                                 std::uint32_t seed) {
    // One period of sine and cosine over the whole loop: every partial and
    // every slow level change completes whole cycles in it, so each sample is a
    // table look-up at an exact integer index (no drift, no seam).
    std::vector<double> sine(length), cosine(length);
    for (std::size_t k = 0; k < length; ++k) {
        double angle = 2 * kPi * static_cast<double>(k) / static_cast<double>(length);
        sine[k] = std::sin(angle);
        cosine[k] = std::cos(angle);
    }
    NoiseSource noise(seed);
    std::vector<double> mix(length, 0.0);
    const double pluck = 0.18; // a pluck near the sound hole
    for (double f : frequencies) {
        const std::uint64_t cycles =
            static_cast<std::uint64_t>(std::llround(f * static_cast<double>(length) / kSampleRate));
        for (std::uint64_t h = 1; static_cast<double>(h) * f < 6000.0; ++h) {
            const double hd = static_cast<double>(h);
            const double fh = hd * f;
            double amp = std::fabs(std::sin(kPi * hd * pluck)) / std::pow(hd, 1.1);
            amp /= 1.0 + (fh / 2500.0) * (fh / 2500.0);
            const double phase = kPi * (1.0 + noise.Next());
            // Overtones breathe slowly (a whole number of times per loop); the
            // fundamental stays steady so that the pitch reads cleanly.
            const double shimmer = h == 1 ? 0.0 : 0.12;
            const std::uint64_t rate = 1 + h % 3;
            const double shimmerPhase = kPi * (1.0 + noise.Next());
            const double cp = std::cos(phase), sp = std::sin(phase);
            const double cs = std::cos(shimmerPhase), ss = std::sin(shimmerPhase);
            const std::uint64_t step = h * cycles;
            for (std::size_t n = 0; n < length; ++n) {
                const std::size_t k = static_cast<std::size_t>((step * n) % length);
                const std::size_t slow = static_cast<std::size_t>((rate * n) % length);
                const double level = amp * (1.0 + shimmer * (sine[slow] * cs + cosine[slow] * ss));
                mix[n] += level * (sine[k] * cp + cosine[k] * sp);
            }
        }
    }
    return std::vector<float>(mix.begin(), mix.end());
}

} // namespace content
