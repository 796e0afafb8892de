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
// even where the fundamental itself is too weak to measure. A period whose
// first partial is missing from the spectrum (below 120 Hz: its first two)
// is a multiple of the true one, a higher string heard while a lower one is
// searched for, and is refused.
//
// The same estimator serves the tuner (a range around one string, or all
// six) and anyone who checks an expected note in a recording (a range around
// that note).

#include "listening/guitarstrings.h"

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
    // The first partial's frequency, or 0 for a period that is a multiple:
    // when the first partial (or, with `secondMayStandIn` below 120 Hz, the
    // second) lies more than `missingDb` under the strongest.
    double FirstPartial(const float* frames, double period, double missingDb, bool secondMayStandIn);
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
