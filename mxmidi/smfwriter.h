#pragma once
// The Standard MIDI File writer of the toolkit: turns tracks of MidiEvent
// records (delta times, the layouts of mxmidi.h) back into the bytes of a
// format-1 file, and stores them safely.
//
// Per track: its metas first (delta 0, in the order given), then its events,
// then an end-of-track. Channel messages are written with running status
// (the status is written again after every meta and system-exclusive event,
// as the format asks); data bytes are cut to 7 bits. Status-0 events become
// tempo metas (FF 51 03). A run of status-0xF0 events from an opening F0 to
// the closing F7 becomes one "F0 length ..." event; a run that a non-zero
// delta time splits is written as an F0 packet followed by F7 continuation
// packets, and a run that does not begin with F0 in the F7 escape form.
// Events that cannot stand in a file (status 0x01..0x7F, system common and
// real-time) are left out, their delta time carried over to the next event.
// Delta times above 0x0FFFFFFF (the largest a file can hold) are written as
// 0x0FFFFFFF, and 0xFFFFFFFF ("at once") as 0.

#include "mxmidi/smfreader.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace mxmidi::smf {

// The largest delta time a file can hold (four bytes of seven bits).
inline constexpr std::uint32_t kLargestFileDelta = 0x0FFFFFFF;

// The bytes of a format-1 file with `tracks` at `resolution` ticks per
// quarter note (1..0x7FFF).
std::string EncodeSmf(std::uint16_t resolution, const std::vector<SmfTrack>& tracks);

// Writes `bytes` to `path` through a temporary file in the same folder that
// replaces the old file only once it is complete, so a failed write leaves an
// existing file as it was. False when the file could not be written.
bool SaveSmfFile(const QString& path, const std::string& bytes);

} // namespace mxmidi::smf
