#pragma once
// Real-time priority for the toolkit's threads (the timer, the synthesizer's
// sound), for root and for a normal user.
//
// In this order, the first that works:
// 1. SCHED_FIFO directly (root, or a user whose RLIMIT_RTPRIO allows it);
// 2. RealtimeKit over the system bus, as desktop audio programs do: the
//    process first limits its real-time CPU time (RLIMIT_RTTIME) to what
//    RealtimeKit demands, then asks for SCHED_RR at a priority within
//    RealtimeKit's maximum;
// 3. RealtimeKit's high priority: the lowest nice level it grants;
// 4. the lowest nice level RLIMIT_NICE allows.
// Where there is no system bus (a build machine, a container) the steps over
// the bus fail at once and the thread goes on at what it got.

#include <string>

namespace mxmidi::detail {

// Raises the calling thread's priority as far as it can and returns how it
// is scheduled now, as GetTimerScheduling reports it. The timer's thread and
// the synthesizer's sound thread ask for it.
std::string RaiseThreadPriority();

} // namespace mxmidi::detail
