#pragma once
// The built-in synthesizer "Zupfari Synth": one FluidSynth instance with the
// General MIDI sound font, shared by every output opened on it (device 0 and
// the MIDI mapper) and freed with the last of them.
//
// Sound: where the machine has an audio output, a FluidSynth audio driver
// (PulseAudio, else ALSA) renders it at the device's pace. Where there is
// none, our own pacing thread renders it at real-time pace on the toolkit's
// clock with fluid_synth_write_float, in blocks of 64 frames, and the sound
// goes nowhere. Under the manual clock no audio device is opened and
// AdvanceClock does the pacing (RenderSynthUpTo).

#include <cstdint>

namespace mxmidi::detail {

inline constexpr int kSynthSampleRate = 44100;
inline constexpr int kSynthBlockFrames = 64;

// Renders the synthesizer, if one is open without an audio device, up to the
// given toolkit time.
void RenderSynthUpTo(std::uint64_t now);

} // namespace mxmidi::detail
