#pragma once
// PitchEstimator: the fundamental frequency of one window of a string's
// sound, searched only within a given frequency range.
//
// A guitar's low strings carry a fundamental far weaker than their second
// harmonic, so a search over every period reads them an octave high. Here
// the normalised square difference of the window with itself (the
// autocorrelation computed through aubio's FFT, normalised by the energy of
// the two overlapping parts) is examined only at the periods of the range
// asked for. Within it the first peak that reaches nearly the height of the
// highest wins, so that in a wide range a period's multiples do not beat the
// period itself. The peak is refined by a parabola through its three lags.
//
// A stiff string's partials lie sharp of the harmonic series (partial k at
// k f0 sqrt(1 + B k^2)), and the period of the whole sound follows the
// strong upper partials: it reads a low string 1-3 cents sharp of its
// fundamental. So the period is only the first step: the low partials are
// then measured in a finely sampled spectrum (Blackman-Harris window, four
// times zero-padded, a parabola through the log magnitudes), and the law
// (f_k / k)^2 = f0^2 (1 + B k^2), a straight line in k^2, is fitted to them
// weighted by their strength. Its value at k = 1 is the fundamental, read
// even where the fundamental itself is too weak to measure. The fit trusts
// the higher partials more than their strength alone would say: right after
// a pluck the guitar body's resonances ring close to the low strings' first
// partials and pull their peaks aside by a fraction of a hertz, which moves
// partial k's reading of the fundamental by 1/k of it. A period whose
// spectrum holds only the multiples of its second (or third) partial is a
// multiple of the true one, a higher string heard while a lower one is
// searched for, and is refused.
//
// The same estimator serves the tuner (a range around one string, or all
// six) and anyone who checks an expected note in a recording (a range around
// that note).

#include "listening/guitarstrings.h"

#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

namespace listening {

struct PitchEstimate {
    double frequency = 0; // Hz; 0 when no period was found in the range
    double clarity = 0;   // height of the chosen peak, 0..1 (1 = exactly periodic)
    double levelDb = -200; // RMS level of the window in dB below full scale
};

class PitchEstimator {
public:
    // The window length for a sample rate: about 85 ms (4096 frames at 44.1
    // and 48 kHz), enough for several periods of the low E string.
    static int WindowFor(int sampleRate);

    // `fitPartials` false stops at the period (for comparison: it reads the
    // stiff strings sharp).
    PitchEstimator(int sampleRate, int windowFrames, bool fitPartials = true);
    ~PitchEstimator();
    PitchEstimator(const PitchEstimator&) = delete;
    PitchEstimator& operator=(const PitchEstimator&) = delete;

    int SampleRate() const { return sampleRate_; }
    int WindowFrames() const { return window_; }

    // Analyses `frames` (WindowFrames() samples) within `range`. Ranges
    // outside what the window can hold are narrowed to it.
    PitchEstimate Analyse(const float* frames, FrequencyRange range);

private:
    struct Fft;
    // The period at a peak of the difference function, refined by a
    // parabola, and the peak's height.
    double RefinedPeak(int lag, double& height) const;
    // One partial of the period's frequency as measured in the fine
    // spectrum; frequency 0 when no peak lies near where it belongs.
    struct Partial {
        int number = 0;
        double frequency = 0;
        double logPeak = -1e9; // natural log of the magnitude
    };
    // The stiffness law (f_k / k)^2 = intercept + slope k^2.
    struct Law {
        double intercept = 0, slope = 0;
        double Partial(int k) const { return k * std::sqrt(intercept + slope * k * k); }
    };
    // The first partial's frequency, or 0 for a period that is a multiple
    // of the sound's.
    double FirstPartial(const float* frames, double period);
    std::vector<Partial> MeasurePartials(const float* frames, double coarse);
    static bool IsMultiplePeriod(const std::vector<Partial>& partials);
    // The law fitted to the partials measured.
    static Law FitLaw(const std::vector<Partial>& partials);
    int sampleRate_;
    int window_;
    bool fitPartials_;
    std::unique_ptr<Fft> fft_;
    std::unique_ptr<Fft> fine_; // the zero-padded spectrum of the partials
    std::vector<float> taper_;  // the Blackman-Harris window
    std::vector<double> logMagnitude_;
    std::vector<double> energy_; // running sum of squares
    std::vector<double> nsdf_;
};

} // namespace listening
