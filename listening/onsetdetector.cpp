#include "listening/onsetdetector.h"

#include <aubio/aubio.h>

#include <algorithm>

namespace listening {

namespace {

constexpr int kBuffer = 1024;
// Two onsets closer than this are one (a strum's strings, a pick's rattle).
constexpr double kMinimumGapMs = 60;
// Quieter than this (dB below full scale) is no onset.
constexpr double kSilenceDb = -60;
// aubio's onset function: the Kullback-Liebler distance of successive
// spectra, adaptively whitened, so that a softer pluck over a string that
// still rings stands out; and the threshold of aubio's peak picking. Chosen
// by measuring aubio's functions on plucked lines.
constexpr const char* kMethod = "kl";
constexpr double kThreshold = 0.3;

} // namespace

struct OnsetDetector::Aubio {
    explicit Aubio(int sampleRate)
        : onset(new_aubio_onset(kMethod, kBuffer, kHop, uint_t(sampleRate))),
          input(new_fvec(kHop)), output(new_fvec(1)) {
        if (onset == nullptr) return;
        aubio_onset_set_minioi_ms(onset, smpl_t(kMinimumGapMs));
        aubio_onset_set_silence(onset, smpl_t(kSilenceDb));
        aubio_onset_set_threshold(onset, smpl_t(kThreshold));
        aubio_onset_set_awhitening(onset, 1);
    }
    ~Aubio() {
        del_fvec(output);
        del_fvec(input);
        if (onset != nullptr) del_aubio_onset(onset);
    }
    aubio_onset_t* onset;
    fvec_t* input;
    fvec_t* output;
};

OnsetDetector::OnsetDetector(int sampleRate)
    : sampleRate_(std::max(sampleRate, 1000)), aubio_(std::make_unique<Aubio>(sampleRate_)) {
    pending_.reserve(kHop);
}

OnsetDetector::~OnsetDetector() = default;

void OnsetDetector::Feed(const float* frames, std::size_t count, std::vector<std::uint64_t>& onsets) {
    fed_ += count;
    if (aubio_->onset == nullptr) return;
    for (std::size_t i = 0; i < count; ++i) {
        pending_.push_back(frames[i]);
        if (pending_.size() < std::size_t(kHop)) continue;
        std::copy(pending_.begin(), pending_.end(), aubio_->input->data);
        pending_.clear();
        aubio_onset_do(aubio_->onset, aubio_->input, aubio_->output);
        if (aubio_->output->data[0] >= 1) onsets.push_back(aubio_onset_get_last(aubio_->onset));
    }
}

std::vector<double> FindOnsets(const std::vector<float>& samples, int sampleRate) {
    OnsetDetector detector(sampleRate);
    std::vector<std::uint64_t> frames;
    detector.Feed(samples.data(), samples.size(), frames);
    std::vector<double> seconds;
    for (std::uint64_t frame : frames) seconds.push_back(double(frame) / detector.SampleRate());
    return seconds;
}

} // namespace listening
