#pragma once
// Waveform sound as the program asks for it: WAV files played by name, one
// sound at a time for the whole process, asynchronously or looping, with the
// "do not interrupt" request that the named cues rely on.
//
// Whether a sound still plays is worked out from the WAV's own length on a
// steady clock, never from the audio device, so a machine without sound
// behaves exactly like one with it (only silently). Where the machine has an
// audio output the sound is heard through Qt Multimedia.
//
// Call from the user-interface thread (the program does); the state is
// guarded, so a call from another thread is safe but its sound starts once
// the user-interface thread runs its event loop.

#include "platform/ui/wavefile.h"

#include <cstdint>
#include <memory>

namespace platform {

inline constexpr unsigned SND_SYNC = 0x0;         // wait until the sound has ended
inline constexpr unsigned SND_ASYNC = 0x1;        // return at once
inline constexpr unsigned SND_NODEFAULT = 0x2;    // no default sound for a missing file
inline constexpr unsigned SND_LOOP = 0x8;         // repeat until stopped (implies SND_ASYNC)
inline constexpr unsigned SND_NOSTOP = 0x10;      // refuse while another sound plays
inline constexpr unsigned SND_PURGE = 0x40;       // stop (all of the named sound, or any)
inline constexpr unsigned SND_FILENAME = 0x20000; // the name is a file name

// Plays the WAV file `fileName` (a Windows-1252 path; backslashes and letter
// case are resolved like every content path; relative paths start at the
// current folder).
// - A null `fileName` stops the current sound, whatever the flags; true.
// - SND_PURGE with a name stops the current sound if it is that file; true.
// - SND_NOSTOP while another sound still plays: nothing changes; false.
// - Otherwise the current sound is stopped, then the file is loaded: a file
//   that is missing, unreadable, larger than 256 MiB or not an 8/16-bit mono or
//   stereo PCM WAV gives false and silence. There is no system default sound
//   here, so SND_NODEFAULT changes nothing and SND_FILENAME is implied.
// - Without SND_ASYNC (and without SND_LOOP) the call returns once the sound
//   has ended.
// Returns true when the sound was started.
bool PlaySound(const char* fileName, unsigned flags);

// True while the process's sound plays: a looping one until it is stopped,
// any other one for its length after it started.
bool SoundIsPlaying();

// The time source of the sound layer, in milliseconds. The default is the
// steady clock with a real sleep; tests install their own so that no test
// waits for a sound to end.
class SoundClock {
public:
    virtual ~SoundClock() = default;
    virtual std::uint64_t NowMs() = 0;
    // Blocks for `ms` milliseconds (synchronous playback).
    virtual void WaitMs(std::uint64_t ms) = 0;
};

// Installs `clock` (not owned); nullptr puts the steady clock back. Returns
// the one installed before (nullptr for the steady clock). Install it while no
// sound plays.
SoundClock* SetSoundClock(SoundClock* clock);

// Where the samples go. The default is chosen at the first sound: Qt
// Multimedia when the machine lists an audio output, else a silent output.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void Start(std::shared_ptr<const WaveSound> sound, bool loop) = 0;
    virtual void Stop() = 0;
};

// Installs `output` (not owned); nullptr puts the machine's own back. Any
// sound that plays is stopped first. Returns the one installed before
// (nullptr for the machine's own).
SoundOutput* SetSoundOutput(SoundOutput* output);

} // namespace platform
