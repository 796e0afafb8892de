#include "listening/tuninganalyzer.h"

#include <algorithm>
#include <cstring>

namespace listening {

namespace {

constexpr std::size_t kMedianOf = 3;
// A window whose last quarter is this much louder (in energy) than its
// first holds a pluck: its period is the attack's, not the string's.
constexpr double kAttackRise = 1.25; // 1 dB
// After such a window the next analysis comes after this share of a hop,
// so that the first reading follows the pluck closely.
constexpr int kHopsAfterAttack = 4;

} // namespace

TuningAnalyzer::TuningAnalyzer(int sampleRate)
    : estimator_(sampleRate, PitchEstimator::WindowFor(sampleRate)), onsets_(sampleRate),
      hop_(estimator_.WindowFrames() / 2), nextHop_(hop_), window_(std::size_t(estimator_.WindowFrames()), 0.0f) {}

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
}

std::vector<std::uint64_t> TuningAnalyzer::TakeOnsets() {
    std::vector<std::uint64_t> taken;
    taken.swap(untaken_);
    return taken;
}

void TuningAnalyzer::Feed(const float* frames, std::size_t count, std::vector<TuningReading>* readings) {
    const std::size_t size = window_.size();
    while (count > 0) {
        const std::size_t step = std::min(count, std::size_t(nextHop_ - sinceAnalysis_));
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
        if (sinceAnalysis_ == nextHop_) {
            sinceAnalysis_ = 0;
            nextHop_ = hop_;
            Analyse();
            if (readings != nullptr) readings->push_back(latest_);
        }
    }
}

bool TuningAnalyzer::IsClear(const PitchEstimate& estimate) {
    return estimate.frequency > 0 && estimate.clarity >= kClarity && estimate.levelDb >= kSilenceDb;
}

void TuningAnalyzer::Show(const PitchEstimate& estimate) {
    if (chosen_ == kAutoString && locked_ == kAutoString) {
        // Automatic mode settles on the string it heard; the next estimates
        // search around it only.
        locked_ = NearestString(estimate.frequency);
        recent_.clear();
    }
    const int heardString = chosen_ != kAutoString ? chosen_ : locked_;
    recent_.push_back(estimate.frequency);
    if (recent_.size() > kMedianOf) recent_.pop_front();
    const double frequency = Steadied();
    latest_.heard = true;
    latest_.string = heardString;
    latest_.frequency = frequency;
    latest_.cents = CentsBetween(frequency, OpenStringFrequency(heardString));
    latest_.clarity = estimate.clarity;
    lastHeard_ = fed_;
}

double TuningAnalyzer::Steadied() const {
    // Estimates that all move the same way are the string settling after
    // the pluck: the latest is shown, as the median would lag a hop behind.
    const bool rising = std::is_sorted(recent_.begin(), recent_.end());
    const bool falling = std::is_sorted(recent_.rbegin(), recent_.rend());
    if (recent_.size() == kMedianOf && (rising || falling)) return recent_.back();
    std::vector<double> sorted(recent_.begin(), recent_.end());
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[middle] : 0.5 * (sorted[middle - 1] + sorted[middle]);
}

bool TuningAnalyzer::AttackInside() const {
    const std::size_t quarter = window_.size() / 4;
    double first = 0, last = 0;
    for (std::size_t i = 0; i < quarter; ++i) {
        first += double(window_[i]) * window_[i];
        last += double(window_[window_.size() - quarter + i]) * window_[window_.size() - quarter + i];
    }
    return last > kAttackRise * first && last > 0;
}

void TuningAnalyzer::Analyse() {
    latest_.frame = fed_;
    const bool fresh = filled_ == window_.size() && fed_ >= freshFrom_ + window_.size();
    if (fresh && AttackInside()) {
        // A pluck the onset detection has not reported (yet): what was
        // heard before belongs to the string before. Look again soon.
        recent_.clear();
        if (chosen_ == kAutoString) locked_ = kAutoString;
        nextHop_ = hop_ / kHopsAfterAttack;
    } else if (fresh) {
        const int searched = chosen_ != kAutoString ? chosen_ : locked_;
        PitchEstimate estimate =
            estimator_.Analyse(window_.data(), searched == kAutoString ? AllStringsRange() : StringRange(searched));
        if (!IsClear(estimate) && searched != chosen_ && estimate.levelDb >= kSilenceDb) {
            // Automatic mode no longer hears the string it found in what
            // sounds (a new string whose pluck the onset detection missed,
            // or one that only rang in another's attack): all strings again.
            locked_ = kAutoString;
            recent_.clear();
            estimate = estimator_.Analyse(window_.data(), AllStringsRange());
        }
        if (IsClear(estimate)) {
            Show(estimate);
            return;
        }
    }
    if (latest_.heard && double(fed_ - lastHeard_) > kHoldSeconds * SampleRate()) latest_.heard = false;
}

} // namespace listening
