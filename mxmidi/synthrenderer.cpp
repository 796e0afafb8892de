#include "mxmidi/synthrenderer.h"

#include <fluidsynth.h>

namespace mxmidi::detail {

namespace {
// A message goes into the block whose first frame lies within half a block
// of its due time.
const std::int64_t kHalfBlock = FramesToMicroseconds(kSynthBlockFrames / 2);
} // namespace

bool SynthRenderer::Post(std::int64_t due, std::uint8_t status, std::uint8_t data1,
                         std::uint8_t data2) {
    const bool queued = queue_.Push(due, status, data1, data2);
    WakeIfAsleep();
    return queued;
}

bool SynthRenderer::PostSysEx(std::int64_t due, const std::vector<std::uint8_t>& message) {
    const bool queued = queue_.PushSysEx(due, message);
    WakeIfAsleep();
    return queued;
}

void SynthRenderer::WakeIfAsleep() {
    if (!awake_.load() && waker) waker();
}

void SynthRenderer::Restart(std::int64_t due) {
    anchorFrame_ = frames_;
    anchorDue_ = due;
    quietFrames_ = 0;
    awake_.store(true);
}

bool SynthRenderer::Sleep() {
    awake_.store(false);
    // A message that came meanwhile found the renderer awake and woke no one.
    if (queue_.Empty()) return true;
    awake_.store(true);
    return false;
}

void SynthRenderer::Reset() {
    awake_.store(false);
    queue_.Clear();
    fluid_synth_all_sounds_off(synth_, -1);
    quietFrames_ = 0;
}

void SynthRenderer::Render(float* left, float* right, int frames) {
    bool heard = false;
    for (int offset = 0; offset + kSynthBlockFrames <= frames; offset += kSynthBlockFrames) {
        const std::int64_t due = DueOf(frames_);
        queue_.TakeDue(due + kHalfBlock, [&](const SynthMessage& message, const std::uint8_t* sysex) {
            if (message.due < due - kHalfBlock) late_.fetch_add(1);
            Apply(message, sysex);
            heard = true;
        });
        fluid_synth_write_float(synth_, kSynthBlockFrames, left, offset, 1, right, offset, 1);
        if (tap) tap(due, left + offset, right + offset, kSynthBlockFrames);
        frames_ += kSynthBlockFrames;
    }
    if (heard || fluid_synth_get_active_voice_count(synth_) > 0 || !queue_.Empty())
        quietFrames_ = 0;
    else
        quietFrames_ += static_cast<std::uint64_t>(frames);
}

void SynthRenderer::Apply(const SynthMessage& message, const std::uint8_t* sysex) {
    if (sysex) {
        // FluidSynth takes the bytes between F0 and F7.
        if (message.sysexLength >= 2)
            fluid_synth_sysex(synth_, reinterpret_cast<const char*>(sysex + 1),
                              static_cast<int>(message.sysexLength - 2), nullptr, nullptr,
                              nullptr, 0);
        return;
    }
    const int channel = message.status & 0x0F;
    const int data1 = message.data1;
    const int data2 = message.data2;
    switch (message.status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth_, channel, data1);
        break;
    case 0x90:
        if (data2 == 0) {
            fluid_synth_noteoff(synth_, channel, data1);
            break;
        }
        // A channel that plays before any program change plays its default
        // instrument (the piano, or the drum kit): chosen, and loaded, now.
        if (!fluid_synth_get_channel_preset(synth_, channel))
            fluid_synth_program_change(synth_, channel, 0);
        fluid_synth_noteon(synth_, channel, data1, data2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth_, channel, data1, data2);
        break;
    case 0xB0:
        fluid_synth_cc(synth_, channel, data1, data2);
        break;
    case 0xC0:
        fluid_synth_program_change(synth_, channel, data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth_, channel, data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7));
        break;
    default:
        if (message.status == 0xFF) fluid_synth_system_reset(synth_);
        break;
    }
}

} // namespace mxmidi::detail
