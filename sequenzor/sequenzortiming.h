#pragma once
// Sequenzor's time line for a program that draws what is heard: the engine's
// clock, when a beat of the current run falls on it, and how long after its
// due time a message is heard on the chosen device. Three functions with C
// linkage beyond the 35 numbered ones of sequenzor.h; they carry no number and
// are exported by name only. Call them on the engine's thread, like the rest.

#include "sequenzor/sequenzor.h"

extern "C" {

// Now on the engine's clock, in microseconds: the steady clock since its
// epoch, so equal to std::chrono::steady_clock in microseconds (under the
// tests' manual clock, the manual time).
SEQUENZOR_API long long MidiGetClock();

// The time on the engine's clock (µs) at which the current run's beat counter,
// as MidiGetBeats counts it, reaches `beats`: at the tempo in force, the
// file's tempo events included. A count the run started at or above gives the
// run's start. -1 when no run is going (before MidiStart, after MidiStop or
// the end of the piece) or the time is not known (paused before that beat).
SEQUENZOR_API long long MidiGetBeatTime(int beats);

// Microseconds from an event's due time on the engine's clock to the moment it
// is heard on the chosen device: the built-in synthesizer's output latency;
// 0 for devices that send at once ("MIDI Log", system MIDI ports) and when no
// device is open.
SEQUENZOR_API int MidiGetOutputLatency();

} // extern "C"
