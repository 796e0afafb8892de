// The manual clock of the test hooks.

#include "mxmidi/testing.h"
#include "mxmidi/synthport.h"
#include "mxmidi/toolkitclock.h"
#include "mxmidi/toolkitstate.h"

namespace mxmidi::testing {

using namespace mxmidi::detail;

namespace {

void SwitchClock(bool manual) {
    std::lock_guard lock(TheToolkit().mutex);
    SetManualClock(manual);
    WakeAllTimers();
}

// The earliest time at or after `now`, up to `limit`, at which a timer has work.
std::uint64_t NextStep(std::uint64_t now, std::uint64_t limit) {
    std::lock_guard lock(TheToolkit().mutex);
    std::uint64_t next = limit;
    for (auto& [handle, sync] : TheToolkit().syncs)
        if (sync->state == SyncState::Running)
            next = std::min(next, std::max(now, sync->NextDeadline()));
    return next;
}

void ProcessAllTimers(std::uint64_t now) {
    std::lock_guard lock(TheToolkit().mutex);
    for (auto& [handle, sync] : TheToolkit().syncs)
        sync->ProcessDue(now);
}

} // namespace

void UseManualClock() {
    SwitchClock(true);
}
void UseSteadyClock() {
    SwitchClock(false);
}
std::uint64_t ClockNow() {
    return detail::ClockNow();
}

void AdvanceClock(std::uint64_t microseconds) {
    if (!ClockIsManual()) return;
    std::uint64_t now = detail::ClockNow();
    const std::uint64_t target = now + microseconds;
    for (;;) {
        std::uint64_t step = NextStep(now, target);
        SetManualNow(step);
        RenderSynthUpTo(step); // sound up to this moment, then what falls due in it
        ProcessAllTimers(step);
        now = step;
        if (now == target && NextStep(now, target + 1) > target) break;
    }
}

} // namespace mxmidi::testing
