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
// Sound: the synthesizer is rendered only while an output is open on it and
// something takes the sound. Where the machine has an audio output, a
// FluidSynth audio driver (PulseAudio, else ALSA) renders it at the device's
// pace, from the opening of the first output on it to the closing of the
// last. Where there is none, nothing is rendered on the steady clock (no one
// would hear it); under the manual clock AdvanceClock renders it, so that
// tests can look at the sound (RenderSynthUpTo, TakeSynthOutput).

#include <cstdint>

namespace mxmidi::detail {

inline constexpr int kSynthSampleRate = 44100;
inline constexpr int kSynthBlockFrames = 64;

// Starts loading the sound font in the background, once per process.
void StartSynthLoading();

// Under the manual clock: renders the synthesizer, while an output is open on
// it, up to the given toolkit time.
void RenderSynthUpTo(std::uint64_t now);

} // namespace mxmidi::detail
