#pragma once
// The built-in synthesizer's renderer: it turns the messages sent to the
// synthesizer into sound, each at the 64-frame block of FluidSynth nearest to
// its due time. A frame clock maps every frame rendered to the toolkit time it
// is due for; whoever takes the sound (a sound server stream, an audio driver,
// the tests' manual clock) asks for frames period by period and says where its
// frames stand, so that a message due at t is heard at t plus one constant
// output latency, however the periods fall.
//
// Messages are posted from any thread (under the toolkit's lock); rendering,
// the frame clock and the quiet count belong to one rendering thread at a
// time. A renderer that has gone to sleep asks its waker to wake it when the
// next message comes.

#include "mxmidi/synthqueue.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

typedef struct _fluid_synth_t fluid_synth_t;

namespace mxmidi::detail {

inline constexpr int kSynthSampleRate = 44100;
inline constexpr int kSynthBlockFrames = 64;

// Microseconds of `frames` at the synthesizer's rate, rounded to nearest.
inline std::int64_t FramesToMicroseconds(std::int64_t frames) {
    return (frames * 1000000 + kSynthSampleRate / 2) / kSynthSampleRate;
}
inline std::int64_t MicrosecondsToFrames(std::int64_t microseconds) {
    return (microseconds * kSynthSampleRate + 500000) / 1000000;
}

class SynthRenderer {
public:
    explicit SynthRenderer(fluid_synth_t* synth) : synth_(synth) {}

    // --- Any thread --------------------------------------------------------
    // Queues a message due at `due` (toolkit µs). False when the queue is
    // full and the message was dropped.
    bool Post(std::int64_t due, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    bool PostSysEx(std::int64_t due, const std::vector<std::uint8_t>& message);
    // Called (outside any lock of the renderer) when a message comes while
    // the renderer sleeps; must not block.
    std::function<void()> waker;
    bool Awake() const { return awake_.load(); }

    // --- The rendering thread ----------------------------------------------
    // Wakes: the frames rendered from now on are due from `due` on.
    void Restart(std::int64_t due);
    // Moves the frame clock: the next frame is due `microseconds` later.
    void Shift(std::int64_t microseconds) { anchorDue_ += microseconds; }
    // The toolkit time the next frame to render is due for.
    std::int64_t NextFrameDue() const { return DueOf(frames_); }
    // Renders `frames` (a multiple of 64) into `left` and `right`, applying
    // every waiting message at the block whose start lies nearest its due
    // time (a message already late goes into the first block).
    void Render(float* left, float* right, int frames);
    // Nothing sounded and nothing waited for the last `microseconds`.
    bool QuietFor(std::int64_t microseconds) const {
        return FramesToMicroseconds(static_cast<std::int64_t>(quietFrames_)) >= microseconds;
    }
    // Goes to sleep unless a message waits; true when it sleeps now.
    bool Sleep();
    // Forgets what waits and silences every voice; asleep afterwards.
    void Reset();

    // Frames rendered so far, and messages applied later than their block.
    std::uint64_t Frames() const { return frames_; }
    std::uint64_t LateMessages() const { return late_.load(); }

    // Sees every block rendered: its due time and its samples (for tests).
    std::function<void(std::int64_t due, const float* left, const float* right, int frames)> tap;

private:
    std::int64_t DueOf(std::uint64_t frame) const {
        return anchorDue_ + FramesToMicroseconds(static_cast<std::int64_t>(frame - anchorFrame_));
    }
    void Apply(const SynthMessage& message, const std::uint8_t* sysex);
    void WakeIfAsleep();

    fluid_synth_t* synth_;
    SynthMessageQueue queue_;
    std::atomic<bool> awake_{false};
    std::uint64_t frames_ = 0;
    std::uint64_t anchorFrame_ = 0;
    std::int64_t anchorDue_ = 0;
    std::uint64_t quietFrames_ = 0;
    std::atomic<std::uint64_t> late_{0};
};

} // namespace mxmidi::detail
