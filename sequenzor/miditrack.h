#pragma once
// CMidiTrack: one track of the piece held by the engine.

#include "mxmidi/mxmidi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sequenzor {

class CMidiFile;
class CMidiIn;
class CMidiOut;

// One track of the piece: its events with delta times in a flat, zero-filled
// array that grows in large steps, its name, its mute and record flags, and
// links to the file, player and input that use it. Deleting a track unlinks
// it from all three first, so none of them is left pointing at it.
class CMidiTrack {
public:
    static constexpr std::uint32_t kGrowthStep = 8192; // slots added by an insertion
    static constexpr std::uint32_t kAppend = 0xFFFFFFFFu;

    CMidiTrack();
    ~CMidiTrack();
    CMidiTrack(const CMidiTrack&) = delete;
    CMidiTrack& operator=(const CMidiTrack&) = delete;

    std::uint32_t Count() const { return count_; }
    std::uint32_t Capacity() const { return static_cast<std::uint32_t>(events_.size()); }
    const MidiEvent* Events() const { return events_.data(); }
    MidiEvent* Events() { return events_.data(); }

    // Stores a copy of `event` at `index` (kAppend: after the last event);
    // later events move up by one. False when the index lies beyond the end.
    bool Insert(const MidiEvent& event, std::uint32_t index);
    // Reads the whole track `index` of an open file, 8192 events per call.
    void Read(HSMF smf, std::uint16_t index);
    // Sum of the delta times up to and including event `index`; 0 beyond the end.
    std::uint32_t AbsoluteTime(std::uint32_t index) const;
    // Absolute time of the last event (0 for an empty track).
    std::uint32_t EndTime() const;

    // The track name (meta event type 3): the one held, else the one of the
    // file the track was read from; none otherwise.
    const std::optional<std::string>& FetchName();
    const std::optional<std::string>& Name() const { return name_; }

    // Links, set and cleared by the file, player and input themselves.
    CMidiFile* file = nullptr;
    CMidiOut* output = nullptr;
    CMidiIn* input = nullptr;

    std::int32_t recordFlag = 0; // takes input, left out of playback
    std::int32_t muteFlag = 0;   // left out of playback

private:
    void Grow(std::uint32_t extra);

    std::vector<MidiEvent> events_; // size() is the capacity
    std::uint32_t count_ = 0;
    std::optional<std::string> name_;
};

} // namespace sequenzor
