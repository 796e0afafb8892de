#include "listening/frameclock.h"

#include <chrono>
#include <cmath>

namespace listening {

FrameClock::FrameClock(int sampleRate, double windowSeconds)
    : rate_(sampleRate > 0 ? sampleRate : 48000), window_(std::int64_t(windowSeconds * 1e6)) {}

std::int64_t FrameClock::Stamp(std::int64_t arrivalMicros, std::uint64_t count) {
    const std::uint64_t first = frames_;
    frames_ += count;
    const auto anchor = arrivalMicros - std::int64_t(std::llround(double(frames_) * 1e6 / rate_));
    // A monotonic queue of minima over the window.
    while (!anchors_.empty() && anchors_.back().first >= anchor) anchors_.pop_back();
    anchors_.emplace_back(anchor, arrivalMicros);
    while (anchors_.size() > 1 && anchors_.front().second < arrivalMicros - window_) anchors_.pop_front();
    return TimeOf(first);
}

std::int64_t FrameClock::TimeOf(std::uint64_t frame) const {
    const std::int64_t anchor = anchors_.empty() ? 0 : anchors_.front().first;
    return anchor + std::int64_t(std::llround(double(frame) * 1e6 / rate_));
}

std::int64_t ClockMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace listening
