#pragma once
// Where the built-in synthesizer's sound goes: a stream of the desktop's sound
// server (PulseAudio, or PipeWire's PulseAudio service), else a FluidSynth
// audio driver (ALSA). Each asks the renderer for one period at a time on a
// thread of its own, tells it where its frames stand on the toolkit's clock,
// puts the stream to sleep when the renderer has been quiet for a while and
// wakes it for the next message.

#include "mxmidi/synthrenderer.h"

#include <cstdint>
#include <memory>

typedef struct _fluid_hashtable_t fluid_settings_t;

namespace mxmidi::detail {

inline constexpr int kSynthPeriodFrames = 512; // frames per hand-over (11.6 ms)
// The latency asked of the sound server, stream buffer and device together, in
// periods: the server keeps five periods ahead and asks for the next when one
// has been played. A sound server gives the device half of what is left after
// two periods of safety: two periods here, so that the device wakes the
// server every 23 ms rather than every 11.6 ms (half the server's work while
// playing) and a busy machine has a period more before the sound breaks up.
inline constexpr int kSynthServerPeriods = 6;
// The renderer sleeps after this long with nothing sounding and nothing sent.
inline constexpr std::int64_t kSynthIdleMicroseconds = 5000000;
// What a message may come late to the renderer (the timer's wake-up on a
// busy machine) and still make its block.
inline constexpr std::int64_t kSynthMarginMicroseconds = 5000;
// The output latency: when the server asks for a period, the three before it
// are still to be heard; the period rendered then is heard after them, and
// every message due in it must have come, with the margin to spare.
inline constexpr std::uint32_t kSynthLatencyMicroseconds = static_cast<std::uint32_t>(
    (kSynthServerPeriods * kSynthPeriodFrames * 1000000ll + kSynthSampleRate - 1) /
        kSynthSampleRate +
    kSynthMarginMicroseconds);

class SynthOutput {
public:
    virtual ~SynthOutput() = default;
    // Wakes the stream for a message; any thread, never blocks.
    virtual void Wake() = 0;
    // From a message's due time to its sound, in µs: kSynthLatencyMicroseconds,
    // unless the sound server keeps more sound ahead than it was asked to
    // (then the latency grows to what it keeps, once, when the stream first
    // plays).
    virtual std::uint32_t Latency() const = 0;
    // Wake-ups, sleeps, jumps of the frame clock and underruns so far
    // (benchmarks).
    struct Counts {
        std::uint64_t wakes = 0, sleeps = 0, jumps = 0, underruns = 0;
    };
    virtual Counts Statistics() const { return {}; }
};

// A playback stream of the sound server, sleeping until the first message;
// null when no server answers.
std::unique_ptr<SynthOutput> OpenPulseOutput(SynthRenderer& renderer);
// A FluidSynth audio driver ("alsa") rendering through the callback; null
// when the driver does not open.
std::unique_ptr<SynthOutput> OpenDriverOutput(SynthRenderer& renderer, fluid_settings_t* settings);

// Keeps a renderer's frame clock on the times an output reports for the
// next frame it will play (heard = due + latency). The reports waver (the
// server's interpolation, the moment the thread got to run): an error below
// 4 ms slides the clock an eighth of the way. A larger error is a stall, an
// underrun or a sound card whose clock ran away; it moves every later frame,
// so the clock jumps by it, but only once three reports in a row agree on it
// within 2 ms: one odd report moves nothing.
class FrameClockKeeper {
public:
    // How far to move the renderer's clock after this report, in µs.
    std::int64_t Correct(std::int64_t heardNext, std::int64_t nextFrameDue, std::uint32_t latency);
    void Forget() { pending_ = 0; } // after a wake: earlier reports say nothing
    std::uint64_t Jumps() const { return jumps_; }

private:
    int pending_ = 0;             // large errors in a row that agree
    std::int64_t pendingError_ = 0;
    std::uint64_t jumps_ = 0;
};

} // namespace mxmidi::detail
