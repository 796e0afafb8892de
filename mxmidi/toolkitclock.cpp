#include "mxmidi/toolkitclock.h"

#include <atomic>

namespace mxmidi::detail {
namespace {
std::atomic<bool> manualClock{false};
std::atomic<std::uint64_t> manualNow{0};
std::atomic<std::uint32_t> generation{0};
} // namespace

std::uint64_t ClockNow() {
    if (manualClock.load()) return manualNow.load();
    auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count();
}

bool ClockIsManual() {
    return manualClock.load();
}

void SetManualClock(bool manual) {
    manualNow.store(0);
    manualClock.store(manual);
    generation.fetch_add(1);
}

std::uint32_t ClockGeneration() {
    return generation.load();
}

void SetManualNow(std::uint64_t microseconds) {
    manualNow.store(microseconds);
}

} // namespace mxmidi::detail
