#pragma once
// FrameClock: the time of every captured frame on the toolkit's clock
// (steady clock, microseconds), from the moments the blocks of frames
// arrive. A block arrives some time after its last frame was taken, never
// before, and that delay jitters with the scheduler; the device's own clock
// is steady. So the frames are counted, and the count is anchored where the
// arrivals say the frames were taken at the latest: the earliest arrival,
// less the frames' duration, among the blocks of the last few seconds (a
// window, so that a device clock slightly off the system's is followed).
// What remains is the server's constant capture delay, which a calibration
// measures.

#include <cstdint>
#include <deque>
#include <utility>

namespace listening {

class FrameClock {
public:
    explicit FrameClock(int sampleRate, double windowSeconds = 3.0);

    // A block of `count` frames arrived at `arrivalMicros` (toolkit clock).
    // Returns the time of its first frame.
    std::int64_t Stamp(std::int64_t arrivalMicros, std::uint64_t count);
    // The time of frame `frame` (counted from the first frame stamped).
    std::int64_t TimeOf(std::uint64_t frame) const;
    std::uint64_t Frames() const { return frames_; }

private:
    double rate_;
    std::int64_t window_;
    std::uint64_t frames_ = 0;
    // Candidate anchors (time of frame 0) with their arrival times, rising
    // in anchor: the front is the earliest of the window.
    std::deque<std::pair<std::int64_t, std::int64_t>> anchors_;
};

// The toolkit's clock now: steady clock microseconds.
std::int64_t ClockMicros();

} // namespace listening
