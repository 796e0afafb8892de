#pragma once
// The built-in synthesizer "Zupfari Synth": one FluidSynth instance with the
// General MIDI sound font for the whole process, shared by every output
// opened on it (device 0 and the MIDI mapper).
//
// Loading: the sound font is loaded once per process, on a thread of its own,
// started by the first device listing (or the first opening of the
// synthesizer, whichever comes first). Opening the synthesizer waits for that
// load to finish; nothing else does. A font that cannot be loaded leaves the
// synthesizer unable to open for the rest of the process.
//
// Timing: every message reaches the synthesizer with its due time and is
// applied at the 64-frame block nearest to it, so it is heard a constant
// output latency after its due time (synthoutput.h), whatever the periods in
// which the sound is handed on.
//
// Sound: from the opening of the first output on the synthesizer to the
// closing of the last, its sound goes to the desktop's sound server (a
// PulseAudio stream), else to an ALSA device through FluidSynth's driver.
// The stream sleeps (corked) after five seconds in which nothing sounded and
// nothing was sent, and the next message wakes it in time for that message.
// Where there is no audio output nothing is rendered (no one would hear it);
// under the manual clock AdvanceClock renders it, so that tests can look at
// the sound (testing.h).

#include <cstdint>

namespace mxmidi::detail {

// Starts loading the sound font in the background, once per process.
void StartSynthLoading();

// Under the manual clock: renders the synthesizer, while an output is open on
// it and it is awake, up to the given toolkit time.
void RenderSynthUpTo(std::uint64_t now);

} // namespace mxmidi::detail
