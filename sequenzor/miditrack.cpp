#include "sequenzor/miditrack.h"

#include "sequenzor/midifile.h"
#include "sequenzor/midiin.h"
#include "sequenzor/midiout.h"

#include <algorithm>

namespace sequenzor {

CMidiTrack::CMidiTrack() : events_(kGrowthStep, MidiEvent{}) {}

CMidiTrack::~CMidiTrack() {
    if (file) file->Detach(this);
    if (output) output->RemoveCursor(this);
    if (input) input->Detach(this);
}

void CMidiTrack::Grow(std::uint32_t extra) {
    events_.resize(events_.size() + extra, MidiEvent{});
}

bool CMidiTrack::Insert(const MidiEvent& event, std::uint32_t index) {
    if (index != kAppend && index > count_) return false;
    if (count_ == Capacity()) Grow(kGrowthStep);
    if (index == kAppend) {
        events_[count_] = event;
    } else {
        std::move_backward(events_.begin() + index, events_.begin() + count_,
                           events_.begin() + count_ + 1);
        events_[index] = event;
    }
    ++count_;
    return true;
}

void CMidiTrack::Read(HSMF smf, std::uint16_t index) {
    count_ = 0;
    for (;;) {
        // Room for a full read: the array grows by what was read so far, so it
        // about doubles while a long track comes in (and since the capacity
        // is never below 8192, that always leaves 8192 free slots).
        if (Capacity() - count_ < MXMIDI_SMF_CHUNK) Grow(count_);
        std::uint32_t read = ReadSMF(smf, index, events_.data() + count_, MXMIDI_SMF_CHUNK);
        if (read == 0) break;
        count_ += std::min(read, MXMIDI_SMF_CHUNK);
    }
}

std::uint32_t CMidiTrack::AbsoluteTime(std::uint32_t index) const {
    if (index >= count_) return 0;
    std::uint32_t sum = 0;
    for (std::uint32_t i = 0; i <= index; ++i)
        sum += events_[i].time;
    return sum;
}

std::uint32_t CMidiTrack::EndTime() const {
    return count_ == 0 ? 0 : AbsoluteTime(count_ - 1);
}

const std::optional<std::string>& CMidiTrack::FetchName() {
    if (name_ || !file || !file->IsOpen() || file->Mode() != kModeRead) return name_;
    int index = file->IndexOf(this);
    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
    if (index >= 0 &&
        ReadMetaEvent(file->Handle(), static_cast<std::uint16_t>(index), 3, &data, &length) != -1) {
        name_ = data ? std::string(reinterpret_cast<const char*>(data), length) : std::string();
    }
    return name_;
}

} // namespace sequenzor
