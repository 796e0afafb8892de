#pragma once
// OnsetDetector: where notes begin in a stream of mono samples, found by
// aubio's onset detection (the Kullback-Liebler distance between whitened
// spectra of a 1024-frame phase vocoder every 256 frames, aubio's own peak
// picking and a silence gate). Onsets are
// reported as frame numbers from the first frame fed, already moved back by
// aubio's detection delay, so they lie on the note's attack.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace listening {

class OnsetDetector {
public:
    explicit OnsetDetector(int sampleRate);
    ~OnsetDetector();
    OnsetDetector(const OnsetDetector&) = delete;
    OnsetDetector& operator=(const OnsetDetector&) = delete;

    int SampleRate() const { return sampleRate_; }
    // Frames between two analyses; an onset is known at most a few hops
    // after its attack.
    static constexpr int kHop = 256;

    // Feeds `count` samples; the onsets found on the way are appended to
    // `onsets` (frame numbers counted from the first frame ever fed).
    void Feed(const float* frames, std::size_t count, std::vector<std::uint64_t>& onsets);
    // Frames fed so far.
    std::uint64_t FramesFed() const { return fed_; }

private:
    struct Aubio;
    int sampleRate_;
    std::unique_ptr<Aubio> aubio_;
    std::vector<float> pending_; // less than one hop
    std::uint64_t fed_ = 0;
};

// Every onset of a whole recording, in seconds from its start.
std::vector<double> FindOnsets(const std::vector<float>& samples, int sampleRate);

} // namespace listening
