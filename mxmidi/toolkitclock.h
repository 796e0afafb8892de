#pragma once
// The toolkit's clock: microseconds on the steady clock, or, for tests, a
// manual clock that stands still until AdvanceClock moves it. Timer threads
// and the synthesizer's pacing thread read it; under the manual clock they
// leave their work to AdvanceClock.

#include <chrono>
#include <cstdint>

namespace mxmidi::detail {

std::uint64_t ClockNow();
bool ClockIsManual();
void SetManualClock(bool manual);
void SetManualNow(std::uint64_t microseconds);
// Counts the switches between the clocks: times taken before a switch mean
// nothing after it.
std::uint32_t ClockGeneration();

// The steady clock's time point of a toolkit time (steady mode only).
inline std::chrono::steady_clock::time_point SteadyTimePoint(std::uint64_t microseconds) {
    return std::chrono::steady_clock::time_point(std::chrono::microseconds(microseconds));
}

} // namespace mxmidi::detail
