#pragma once
// Test hooks of the MIDI toolkit: a clock that tests move by hand, ports that
// record what is sent to them, and a look at what the built-in synthesizer
// renders. Real programs never call these.
//
// Manual clock: after UseManualClock() the toolkit's time stands at 0 µs and
// moves only by AdvanceClock(). AdvanceClock steps through every deadline on
// the way (events, beats, synthesizer blocks) in time order, so everything is
// sent with its own due time, and returns once all of it has been sent and the
// notifications are posted. The notifications are then waiting in the Qt event
// queue: call QCoreApplication::sendPostedEvents() (or processEvents()) to
// deliver them. Switch clocks only while no timer runs.

#include "mxmidi/mxmidi.h"

#include <cstdint>
#include <vector>

namespace mxmidi::testing {

// Time stands still at 0 µs until advanced.
void UseManualClock();
// Moves time; returns when all that fell due was sent.
void AdvanceClock(std::uint64_t microseconds);
// Back to real time (the default).
void UseSteadyClock();
// The toolkit's time in µs (either clock).
std::uint64_t ClockNow();

// One event as a port sent it, stamped with the toolkit's clock. A
// system-exclusive message is recorded as one entry per byte, in the layout of
// mxmidi.h: status 0xF0, the byte in data1 (from 0xF0 to 0xF7), data2 0, all
// with the time the whole message was sent.
struct SentEvent {
    std::uint64_t microseconds;
    std::uint8_t status, data1, data2;
};

// Adds an output port that records instead of playing; it is listed after all
// other ports (technology MOD_MIDIPORT) and keeps recording across opens.
// Returns its device id.
std::uint16_t AddRecordingPort(const char* name);
// What the port sent since the last call, oldest first.
std::vector<SentEvent> TakeRecordedEvents(std::uint16_t id);
// The instruments PrepareMidiOut announced to the port since the last call.
std::vector<MidiProgram> TakePreparedPrograms(std::uint16_t id);
void RemoveTestPorts();

// Frames the built-in synthesizer rendered since the last call (all outputs
// on it together) and the largest absolute sample value among them. Under the
// manual clock the synthesizer never opens an audio device: AdvanceClock
// renders it at 44100 frames per second, in periods of 512 frames, each once
// all its frames are due, and only while it is awake (from a message until it
// has been quiet for five seconds), as a sound server stream would take it.
struct SynthOutput {
    std::uint64_t frames;
    float peak;
};
SynthOutput TakeSynthOutput();

// Keeps the left channel of what the synthesizer renders under the manual
// clock from now on, until TakeSynthCapture: `firstDue` is the toolkit time
// the first sample is due for (it is heard an output latency later), and the
// samples follow at 44100 a second; the time the synthesizer slept is filled
// with silence.
struct SynthCapture {
    std::int64_t firstDue = 0;
    std::vector<float> samples;
};
void StartSynthCapture();
SynthCapture TakeSynthCapture();

// What the synthesizer's sound did so far (either clock): its stream's wakes
// and sleeps, jumps of its frame clock, underruns the sound server reported,
// messages that came too late for their block, and whether it renders now.
struct SynthCounts {
    std::uint64_t wakes = 0, sleeps = 0, jumps = 0, underruns = 0, lateMessages = 0;
    bool awake = false;
};
SynthCounts GetSynthCounts();

} // namespace mxmidi::testing
