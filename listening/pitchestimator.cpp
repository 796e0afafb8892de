#include "listening/pitchestimator.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>

namespace listening {

namespace {

// A peak counts as the period when it reaches this share of the highest.
constexpr double kKeyPeakShare = 0.9;
// The fine spectrum is this many times longer than the window.
constexpr int kPadding = 4;
// Partials measured for the fit: at most this many, below this frequency.
constexpr int kMaxPartials = 12;
constexpr double kHighestPartialHz = 2500;
// A fitted fundamental further than this from the period's reading is not
// trusted (a partial taken for another); the period's reading stands.
constexpr double kLargestCorrectionCents = 15;
// Stiffness beyond which a fit is not a string's.
constexpr double kLargestInharmonicity = 1e-3;
// A partial this far (in dB) under the strongest counts as missing. When
// every partial but the multiples of 2 (or of 3) is missing, the period is
// a multiple of the true one: a higher string heard while a lower one is
// searched for. The fundamental alone may be that weak (the low strings, a
// small microphone).
constexpr double kMissingPartialsDb = 30;
// The stiffness is fitted from this many partials on; fewer give their mean.
constexpr int kFewestForStiffness = 3;

std::vector<float> BlackmanHarris(int n) {
    std::vector<float> window(static_cast<size_t>(n));
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < n; ++i) {
        const double x = 2 * pi * i / n;
        window[size_t(i)] = float(0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) -
                                  0.01168 * std::cos(3 * x));
    }
    return window;
}

} // namespace

// aubio's FFT and its buffers, twice the window long so that the circular
// correlation equals the linear one.
struct PitchEstimator::Fft {
    explicit Fft(int size)
        : fft(new_aubio_fft(uint_t(size))), input(new_fvec(uint_t(size))),
          spectrum(new_cvec(uint_t(size))), output(new_fvec(uint_t(size))) {}
    ~Fft() {
        del_fvec(output);
        del_cvec(spectrum);
        del_fvec(input);
        if (fft != nullptr) del_aubio_fft(fft);
    }
    aubio_fft_t* fft;
    fvec_t* input;
    cvec_t* spectrum;
    fvec_t* output;
};

int PitchEstimator::WindowFor(int sampleRate) {
    int window = 256;
    while (window < sampleRate * 0.08) window *= 2;
    return window;
}

PitchEstimator::PitchEstimator(int sampleRate, int windowFrames, bool fitPartials)
    : sampleRate_(std::max(sampleRate, 1000)), window_(std::max(windowFrames, 64)), fitPartials_(fitPartials),
      fft_(std::make_unique<Fft>(2 * window_)), fine_(std::make_unique<Fft>(kPadding * window_)),
      taper_(BlackmanHarris(window_)), logMagnitude_(size_t(kPadding * window_) / 2 + 1),
      energy_(size_t(window_) + 1), nsdf_(size_t(window_) + 1) {}

PitchEstimator::~PitchEstimator() = default;

PitchEstimate PitchEstimator::Analyse(const float* frames, FrequencyRange range) {
    PitchEstimate result;
    if (fft_->fft == nullptr || frames == nullptr) return result;
    const int n = window_;

    double mean = 0;
    for (int i = 0; i < n; ++i) mean += frames[i];
    mean /= n;
    energy_[0] = 0;
    smpl_t* in = fft_->input->data;
    for (int i = 0; i < n; ++i) {
        const double x = frames[i] - mean;
        in[i] = smpl_t(x);
        energy_[size_t(i) + 1] = energy_[size_t(i)] + x * x;
    }
    std::fill(in + n, in + 2 * n, smpl_t(0));
    const double total = energy_[size_t(n)];
    result.levelDb = total > 0 ? 10.0 * std::log10(total / n) : -200.0;
    if (total <= 1e-12) return result;

    // Autocorrelation: the inverse transform of the power spectrum.
    aubio_fft_do(fft_->fft, fft_->input, fft_->spectrum);
    for (uint_t k = 0; k < fft_->spectrum->length; ++k) {
        fft_->spectrum->norm[k] *= fft_->spectrum->norm[k];
        fft_->spectrum->phas[k] = 0;
    }
    aubio_fft_rdo(fft_->fft, fft_->spectrum, fft_->output);
    const smpl_t* acf = fft_->output->data;
    if (!(acf[0] > 0)) return result;
    const double scale = total / acf[0];

    // Periods of the range, one lag of margin each side for the parabola;
    // at least two periods must fit into the window.
    const int shortest = std::max(2, int(std::floor(sampleRate_ / std::max(range.high, 1.0))) - 1);
    const int longest = std::min(n / 2, int(std::ceil(sampleRate_ / std::max(range.low, 1.0))) + 1);
    if (longest - shortest < 2) return result;
    for (int lag = shortest; lag <= longest; ++lag) {
        const double overlap = energy_[size_t(n - lag)] + (total - energy_[size_t(lag)]);
        nsdf_[size_t(lag)] = overlap > 0 ? 2.0 * scale * acf[lag] / overlap : 0.0;
    }

    double highest = 0;
    for (int lag = shortest + 1; lag < longest; ++lag) {
        const double y = nsdf_[size_t(lag)];
        if (y > nsdf_[size_t(lag) - 1] && y >= nsdf_[size_t(lag) + 1]) highest = std::max(highest, y);
    }
    if (highest <= 0) return result;
    for (int lag = shortest + 1; lag < longest; ++lag) {
        const double y = nsdf_[size_t(lag)];
        if (!(y > nsdf_[size_t(lag) - 1] && y >= nsdf_[size_t(lag) + 1]) || y < kKeyPeakShare * highest) continue;
        double clarity = 0;
        const double period = RefinedPeak(lag, clarity);
        result.clarity = clarity;
        if (!fitPartials_) {
            result.frequency = sampleRate_ / period;
            break;
        }
        result.frequency = FirstPartial(frames, period);
        break; // the first key peak decides, also when its partials refute it
    }
    if (result.frequency < range.low || result.frequency > range.high) result.frequency = 0;
    if (result.frequency == 0) result.clarity = 0;
    return result;
}

double PitchEstimator::RefinedPeak(int lag, double& height) const {
    const double left = nsdf_[size_t(lag) - 1], y = nsdf_[size_t(lag)], right = nsdf_[size_t(lag) + 1];
    const double curvature = left - 2 * y + right;
    const double shift = curvature < 0 ? 0.5 * (left - right) / curvature : 0.0;
    height = std::min(1.0, y - 0.25 * (left - right) * shift);
    return lag + shift;
}

std::vector<PitchEstimator::Partial> PitchEstimator::MeasurePartials(const float* frames, double coarse) {
    std::vector<Partial> partials;
    const int size = kPadding * window_;
    smpl_t* in = fine_->input->data;
    for (int i = 0; i < window_; ++i) in[i] = frames[i] * taper_[size_t(i)];
    std::fill(in + window_, in + size, smpl_t(0));
    aubio_fft_do(fine_->fft, fine_->input, fine_->spectrum);
    const uint_t bins = fine_->spectrum->length;
    for (uint_t k = 0; k < bins; ++k)
        logMagnitude_[k] = std::log(std::max(double(fine_->spectrum->norm[k]), 1e-20));

    // Each partial: the highest bin near k times the period's frequency,
    // then the vertex of the parabola through it and its neighbours.
    const double binHz = double(sampleRate_) / size;
    for (int k = 1; k <= kMaxPartials && k * coarse < kHighestPartialHz; ++k) {
        Partial partial;
        partial.number = k;
        const double expected = k * coarse / binHz;
        const double reach = std::max(kPadding * 1.0, expected * 0.01);
        const int from = std::max(1, int(expected - reach));
        const int to = std::min(int(bins) - 2, int(expected + reach) + 1);
        int peak = -1;
        for (int b = from; b <= to; ++b)
            if (peak < 0 || logMagnitude_[size_t(b)] > logMagnitude_[size_t(peak)]) peak = b;
        const double left = logMagnitude_[size_t(peak) - 1], centre = logMagnitude_[size_t(peak)],
                     right = logMagnitude_[size_t(peak) + 1];
        const double curvature = left - 2 * centre + right;
        // No peak inside (an edge of a slope): missing, at the level there.
        if (peak > from && peak < to && curvature < 0) {
            const double shift = 0.5 * (left - right) / curvature;
            partial.frequency = (peak + shift) * binHz;
            partial.logPeak = centre - 0.25 * (left - right) * shift;
        } else {
            partial.logPeak = centre;
        }
        partials.push_back(partial);
    }
    return partials;
}

bool PitchEstimator::IsMultiplePeriod(const std::vector<Partial>& partials) {
    double strongest = -1e9;
    for (const Partial& p : partials)
        if (p.frequency > 0) strongest = std::max(strongest, p.logPeak);
    const double floor = strongest - kMissingPartialsDb * std::log(10.0) / 20.0;
    for (int m = 2; m <= 3; ++m) {
        bool anyPresent = false;
        for (const Partial& p : partials)
            if (p.number % m != 0 && p.frequency > 0 && p.logPeak >= floor) anyPresent = true;
        if (!anyPresent) return true;
    }
    return false;
}

PitchEstimator::Law PitchEstimator::FitLaw(const std::vector<Partial>& partials) {
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    int used = 0;
    for (const Partial& p : partials) {
        if (p.frequency <= 0) continue;
        const double x = double(p.number) * p.number;
        const double y = (p.frequency / p.number) * (p.frequency / p.number);
        // Weighted by strength and, beyond that, by height: the body's
        // resonances after the pluck (and a room's) lie low, near the first
        // partials, and a frequency error of partial k moves the
        // fundamental by only 1/k of it.
        const double weight = std::exp(2 * p.logPeak) * x * x;
        sw += weight;
        sx += weight * x;
        sy += weight * y;
        sxx += weight * x * x;
        sxy += weight * x * y;
        ++used;
    }
    Law law;
    if (used == 0 || sw <= 0) return law;
    const double denominator = sw * sxx - sx * sx;
    law.slope = used >= kFewestForStiffness && denominator > 0 ? (sw * sxy - sx * sy) / denominator : 0;
    law.intercept = (sy - law.slope * sx) / sw;
    if (law.intercept <= 0 || law.slope < 0 || law.slope > kLargestInharmonicity * law.intercept) {
        // Not a stiff string's spread: the weighted mean of the partials.
        law.slope = 0;
        law.intercept = sy / sw;
    }
    return law;
}

double PitchEstimator::FirstPartial(const float* frames, double period) {
    const double coarse = sampleRate_ / period;
    if (fine_->fft == nullptr) return coarse;
    std::vector<Partial> partials = MeasurePartials(frames, coarse);
    if (IsMultiplePeriod(partials)) return 0;
    int measured = 0;
    for (const Partial& p : partials) measured += p.frequency > 0 ? 1 : 0;
    if (measured < 2) return coarse;
    const Law law = FitLaw(partials);
    if (law.intercept <= 0) return coarse;
    const double fitted = law.Partial(1);
    return std::fabs(CentsBetween(fitted, coarse)) <= kLargestCorrectionCents ? fitted : coarse;
}

} // namespace listening
