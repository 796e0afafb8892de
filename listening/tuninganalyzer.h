#pragma once
// TuningAnalyzer: what a tuner shows while a string rings, worked out from a
// stream of mono samples. Every hop (about 43 ms) it analyses the latest
// window, searching only around the chosen string (or, in automatic mode,
// all six strings, keeping the string it found until the next pluck or
// until it no longer hears that string in what sounds). The
// reading it shows is the median of the last three estimates since the
// latest pluck, so it holds steady while the string rings (the latest when
// the three move all the same way: the string settling after the pluck,
// which the median would show a hop late); when nothing is
// heard clearly any more it keeps the last reading for a moment, then lets
// go. A new pluck starts afresh: one the onset detection reports, or a
// window whose end is louder than its start (the onset detection may report
// late or not at all over a noisy microphone). After such a window the next
// analysis comes a quarter hop later, so the first reading follows the pluck
// as soon as a window holds the string alone.

#include "listening/guitarstrings.h"
#include "listening/onsetdetector.h"
#include "listening/pitchestimator.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace listening {

struct TuningReading {
    std::uint64_t frame = 0; // the frame after the last one analysed
    bool heard = false;      // a string is heard (or held from a moment ago)
    int string = LowE;       // the string it is compared with
    double frequency = 0;    // Hz
    double cents = 0;        // against the string in standard tuning
    double clarity = 0;      // 0..1
};

class TuningAnalyzer {
public:
    explicit TuningAnalyzer(int sampleRate);

    int SampleRate() const { return estimator_.SampleRate(); }
    int HopFrames() const { return hop_; }

    // The string to tune (LowE .. HighE), or kAutoString.
    void SetString(int string);
    int String() const { return chosen_; }

    // Feeds samples; every completed hop yields a reading, appended to
    // `readings` when given.
    void Feed(const float* frames, std::size_t count, std::vector<TuningReading>* readings = nullptr);
    // Forgets what was heard (after a pause): the next reading waits for a
    // fresh window.
    void Reset();

    // What the tuner shows now.
    const TuningReading& Latest() const { return latest_; }
    std::uint64_t FramesFed() const { return fed_; }
    // Onsets found so far and not yet taken, as frame numbers.
    std::vector<std::uint64_t> TakeOnsets();

    // Quieter than this is silence, whatever its period.
    static constexpr double kSilenceDb = -55;
    // An estimate counts from this clarity on.
    static constexpr double kClarity = 0.8;
    // How long the last reading stays when nothing is heard clearly.
    static constexpr double kHoldSeconds = 1.0;

private:
    void Analyse();
    static bool IsClear(const PitchEstimate& estimate);
    // Takes a clear estimate into the median and the reading shown.
    void Show(const PitchEstimate& estimate);
    // The frequency shown: the median of the recent estimates, or the
    // latest when they all move the same way.
    double Steadied() const;
    // Whether the window holds a pluck: its end is louder than its start.
    bool AttackInside() const;
    void StartOver(std::uint64_t fromFrame);

    PitchEstimator estimator_;
    OnsetDetector onsets_;
    int hop_;
    int nextHop_; // frames from one analysis to the next
    int chosen_ = kAutoString;
    int locked_ = kAutoString; // the string automatic mode found for this pluck
    std::vector<float> window_; // the latest window, oldest first
    std::size_t filled_ = 0;    // valid samples at its end
    int sinceAnalysis_ = 0;
    std::uint64_t fed_ = 0;
    std::uint64_t freshFrom_ = 0; // windows must start here (after a pluck)
    std::deque<double> recent_;   // estimates since the pluck, newest last
    std::uint64_t lastHeard_ = 0;
    TuningReading latest_;
    std::vector<std::uint64_t> found_;
    std::vector<std::uint64_t> untaken_;
};

} // namespace listening
