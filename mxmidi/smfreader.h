#pragma once
// The Standard MIDI File reader of the toolkit: turns the bytes of a whole
// file into tracks of MidiEvent records (delta times, the layouts of
// mxmidi.h) and the meta events the toolkit hands out on request.
//
// The reader accepts any byte sequence: it either gives the events found up to
// the first damage of each track, or refuses the file. It never reads outside
// the buffer, and memory stays bounded by the file's size (every event costs
// at least one byte of the file). How it reads what the format leaves open:
// - Format 0 and 1 as they are; format 2 and any other number as format 1.
// - The header's track count is not trusted: the tracks are the "MTrk" chunks
//   found. Other chunks are skipped and not counted. A header longer than 6
//   bytes is skipped to its declared end.
// - A RIFF "RMID" wrapper is opened and its "data" chunk read.
// - Time division 0 is read as 480 ticks per quarter note. An SMPTE division
//   (frames per second and ticks per frame) is read as ticks per quarter note
//   at 120 beats per minute (ticks per second / 2, 29 fps counted as 29.97),
//   and the file's tempo events are dropped, since its times are absolute.
// - Running status carries over meta and system-exclusive events (real files
//   rely on it); a data byte at the start of a track without a status ends
//   the track there, as does a status byte F1..FE other than F7, a byte of
//   0x80 or more where a channel message has its data, a variable-length
//   number of more than 4 bytes, a length beyond the bytes left and a
//   truncated event.
// - Tempo metas of exactly 3 bytes and a non-zero value become status-0
//   events; every other meta is skipped, its delta time carried over to the
//   next event. The first meta of each type is kept for ReadMetaEvent.
// - System-exclusive data in the F0 form, split over F7 continuation packets,
//   and the F7 escape form, all become runs of status-0xF0 events. A message
//   left open by a new F0 or by the end of the track is closed with an F7.
//   Meta and system-exclusive events of length 0 are skipped like other metas.
// - The first end-of-track ends the track; a track without one ends at the end
//   of its chunk. A chunk whose declared length is too short (no end-of-track
//   inside it and no chunk header after it) is read on until its end-of-track;
//   one whose declared length is too long gives way to an "MTrk" header that
//   follows its end-of-track directly.

#include "mxmidi/mxmidi.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mxmidi::smf {

// Files larger than this are refused before they are read.
// Tracks beyond kMaxTracks (what a 16-bit track count can hold) are ignored.
inline constexpr std::size_t kMaxTracks = 0xFFFF;
inline constexpr std::size_t kMaxFileBytes = 64u * 1024u * 1024u;
// The ticks per quarter note given to a file whose division is 0.
inline constexpr std::uint16_t kDefaultResolution = 480;

// One meta event of a track: its type and data bytes (a string so that the
// bytes handed out are always followed by a NUL).
struct SmfMeta {
    std::uint8_t type = 0;
    std::string data;
};

// A track as read: its events in file order and the first meta of each type.
struct SmfTrack {
    std::vector<MidiEvent> events;
    std::vector<SmfMeta> metas;

    // The first meta of `type`, or nullptr when the track has none.
    const SmfMeta* FindMeta(std::uint8_t type) const;
};

// A whole file as read.
struct SmfContent {
    std::uint16_t format = 1;     // 0 or 1
    std::uint16_t resolution = 0; // ticks per quarter note, never 0
    std::vector<SmfTrack> tracks; // the "MTrk" chunks in file order
};

// Parses the bytes of a whole file; nothing when they are not a MIDI file.
std::optional<SmfContent> ParseSmf(const std::uint8_t* data, std::size_t size);

} // namespace mxmidi::smf
