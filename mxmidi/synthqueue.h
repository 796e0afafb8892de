#pragma once
// The messages waiting for the synthesizer's renderer, each with the toolkit
// time it is due at. Filled by whoever sends (the timer thread, the client's
// thread), emptied by the thread that renders the sound. A fixed ring, so
// that neither side allocates or frees memory while it holds the lock.

#include "mxmidi/pimutex.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace mxmidi::detail {

struct SynthMessage {
    std::int64_t due; // toolkit time, µs
    std::uint8_t status, data1, data2;
    std::uint32_t sysexLength; // 0: a channel message; else its bytes wait in the byte ring
};

class SynthMessageQueue {
public:
    static constexpr std::size_t kCapacity = 4096;
    static constexpr std::size_t kSysExBytes = 64 * 1024;

    // False when the queue is full (the message is dropped). Due times never
    // run backwards: a message due before the one queued last is due with
    // it, so the messages keep the order they were sent in.
    bool Push(std::int64_t due, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        std::lock_guard lock(mutex_);
        return PushLocked({Ordered(due), status, data1, data2, 0}, nullptr);
    }
    bool PushSysEx(std::int64_t due, const std::vector<std::uint8_t>& message) {
        std::lock_guard lock(mutex_);
        if (message.empty() || message.size() > kSysExBytes - sysexCount_) return false;
        return PushLocked({Ordered(due), 0xF0, 0, 0, static_cast<std::uint32_t>(message.size())},
                          message.data());
    }

    // Hands the messages due before `limit` to `apply(message, sysexBytes)`,
    // oldest first; sysexBytes is null for a channel message, else the whole
    // message from F0 to F7 (valid during the call only).
    template <typename Apply> void TakeDue(std::int64_t limit, Apply apply) {
        std::lock_guard lock(mutex_);
        while (count_ > 0 && slots_[head_].due < limit) {
            const SynthMessage message = slots_[head_];
            head_ = (head_ + 1) % kCapacity;
            --count_;
            if (message.sysexLength == 0) {
                apply(message, nullptr);
                continue;
            }
            for (std::uint32_t i = 0; i < message.sysexLength; ++i) {
                scratch_[i] = sysex_[sysexHead_];
                sysexHead_ = (sysexHead_ + 1) % kSysExBytes;
            }
            sysexCount_ -= message.sysexLength;
            apply(message, scratch_.data());
        }
    }

    bool Empty() {
        std::lock_guard lock(mutex_);
        return count_ == 0;
    }
    // The due time of the oldest message; false when there is none.
    bool FirstDue(std::int64_t& due) {
        std::lock_guard lock(mutex_);
        if (count_ == 0) return false;
        due = slots_[head_].due;
        return true;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        head_ = count_ = sysexHead_ = sysexCount_ = 0;
        haveLast_ = false;
    }

private:
    std::int64_t Ordered(std::int64_t due) {
        if (haveLast_ && due < lastDue_) due = lastDue_;
        lastDue_ = due;
        haveLast_ = true;
        return due;
    }
    bool PushLocked(const SynthMessage& message, const std::uint8_t* sysex) {
        if (count_ == kCapacity) return false;
        slots_[(head_ + count_) % kCapacity] = message;
        ++count_;
        for (std::uint32_t i = 0; i < message.sysexLength; ++i)
            sysex_[(sysexHead_ + sysexCount_ + i) % kSysExBytes] = sysex[i];
        sysexCount_ += message.sysexLength;
        return true;
    }

    PiMutex mutex_;
    std::array<SynthMessage, kCapacity> slots_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    std::array<std::uint8_t, kSysExBytes> sysex_{};
    std::array<std::uint8_t, kSysExBytes> scratch_{};
    std::size_t sysexHead_ = 0;
    std::size_t sysexCount_ = 0;
    std::int64_t lastDue_ = 0;
    bool haveLast_ = false;
};

} // namespace mxmidi::detail
