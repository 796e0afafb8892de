#include "listening/tuninganalyzer.h"

#include <algorithm>
#include <cstring>

namespace listening {

namespace {

constexpr std::size_t kMedianOf = 3;
// In automatic mode, estimates that fail this many times in a row while
// something sounds release the string found (a new string whose pluck the
// onset detection missed).
constexpr int kMissesBeforeRelease = 2;

} // namespace

TuningAnalyzer::TuningAnalyzer(int sampleRate)
    : estimator_(sampleRate, PitchEstimator::WindowFor(sampleRate)), onsets_(sampleRate),
      hop_(estimator_.WindowFrames() / 2), window_(std::size_t(estimator_.WindowFrames()), 0.0f) {}

void TuningAnalyzer::SetString(int string) {
    const int wanted = string >= 0 && string < kGuitarStrings ? string : kAutoString;
    if (wanted == chosen_) return;
    chosen_ = wanted;
    StartOver(fed_ > window_.size() ? fed_ - window_.size() : 0);
}

void TuningAnalyzer::Reset() {
    StartOver(fed_);
    latest_ = TuningReading{};
    latest_.frame = fed_;
}

void TuningAnalyzer::StartOver(std::uint64_t fromFrame) {
    freshFrom_ = fromFrame;
    recent_.clear();
    locked_ = kAutoString;
    misses_ = 0;
}

std::vector<std::uint64_t> TuningAnalyzer::TakeOnsets() {
    std::vector<std::uint64_t> taken;
    taken.swap(untaken_);
    return taken;
}

void TuningAnalyzer::Feed(const float* frames, std::size_t count, std::vector<TuningReading>* readings) {
    const std::size_t size = window_.size();
    while (count > 0) {
        const std::size_t step = std::min(count, std::size_t(hop_ - sinceAnalysis_));
        // Shift the window and append the new samples.
        if (step >= size) {
            std::memcpy(window_.data(), frames + step - size, size * sizeof(float));
        } else {
            std::memmove(window_.data(), window_.data() + step, (size - step) * sizeof(float));
            std::memcpy(window_.data() + size - step, frames, step * sizeof(float));
        }
        filled_ = std::min(size, filled_ + step);
        found_.clear();
        onsets_.Feed(frames, step, found_);
        fed_ += step;
        for (std::uint64_t onset : found_) {
            untaken_.push_back(onset);
            StartOver(onset);
        }
        frames += step;
        count -= step;
        sinceAnalysis_ += int(step);
        if (sinceAnalysis_ == hop_) {
            sinceAnalysis_ = 0;
            Analyse();
            if (readings != nullptr) readings->push_back(latest_);
        }
    }
}

void TuningAnalyzer::Analyse() {
    latest_.frame = fed_;
    const bool fresh = filled_ == window_.size() && fed_ >= freshFrom_ + window_.size();
    if (fresh) {
        const int string = chosen_ != kAutoString ? chosen_ : locked_;
        const FrequencyRange range = string == kAutoString ? AllStringsRange() : StringRange(string);
        const PitchEstimate estimate = estimator_.Analyse(window_.data(), range);
        if (estimate.frequency > 0 && estimate.clarity >= kClarity && estimate.levelDb >= kSilenceDb) {
            const int heardString = string == kAutoString ? NearestString(estimate.frequency) : string;
            if (chosen_ == kAutoString && locked_ != heardString) {
                // Automatic mode settles on the string it heard; the next
                // estimates search around it only.
                locked_ = heardString;
                recent_.clear();
            }
            recent_.push_back(estimate.frequency);
            if (recent_.size() > kMedianOf) recent_.pop_front();
            std::vector<double> sorted(recent_.begin(), recent_.end());
            std::sort(sorted.begin(), sorted.end());
            const std::size_t middle = sorted.size() / 2;
            const double frequency =
                sorted.size() % 2 == 1 ? sorted[middle] : 0.5 * (sorted[middle - 1] + sorted[middle]);
            latest_.heard = true;
            latest_.string = heardString;
            latest_.frequency = frequency;
            latest_.cents = CentsBetween(frequency, OpenStringFrequency(heardString));
            latest_.clarity = estimate.clarity;
            lastHeard_ = fed_;
            misses_ = 0;
            return;
        }
        if (locked_ != kAutoString && estimate.levelDb >= kSilenceDb && ++misses_ >= kMissesBeforeRelease) {
            locked_ = kAutoString;
            recent_.clear();
            misses_ = 0;
        }
    }
    if (latest_.heard && double(fed_ - lastHeard_) > kHoldSeconds * SampleRate()) latest_.heard = false;
}

} // namespace listening
