#pragma once
// Helpers of the MIDI file tests: building file bytes by hand, and loading a
// file through the toolkit's public functions the way the engine does.

#include "mxmidi/mxmidi.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Event records compare and print field by field in the tests.
bool operator==(const MidiEvent& a, const MidiEvent& b);
void PrintTo(const MidiEvent& event, std::ostream* out);

namespace smftest {

// Bytes from a list of byte values.
std::string Bytes(std::initializer_list<int> values);
// A variable-length number as the format writes it.
std::string VarLen(std::uint32_t value);
std::string Be32(std::uint32_t value);
std::string Chunk(const std::string& id, const std::string& body);
// An "MThd" chunk of 6 bytes.
std::string Header(int format, int tracks, int division);
// An "MTrk" chunk with `events` and a closing end-of-track.
std::string Track(const std::string& events);
// A meta event with its delta time.
std::string Meta(std::uint32_t delta, int type, const std::string& data);

MidiEvent Ev(std::uint32_t time, int status, int d1, int d2 = 0, int d3 = 0);
std::string Describe(const std::vector<MidiEvent>& events);

// A file read through OpenSMF / ReadSMF / ReadMetaEvent / GetSMFResolution.
struct Loaded {
    std::uint16_t format = 0;
    std::uint16_t resolution = 0;
    std::vector<std::vector<MidiEvent>> tracks;
    std::vector<std::optional<std::string>> names; // meta type 3 per track
};

// Loads `path`, asking for at most `chunk` events per ReadSMF call; nothing
// when OpenSMF refuses the file.
std::optional<Loaded> Load(const std::string& path, std::uint32_t chunk = MXMIDI_SMF_CHUNK);

// Writes tracks (with optional names) through OpenSMF('w') / WriteMetaEvent /
// WriteSMF / CloseSMF; false when OpenSMF refused.
bool Save(const std::string& path, std::uint16_t resolution,
          const std::vector<std::vector<MidiEvent>>& tracks,
          const std::vector<std::string>& names = {});

// Sum of the delta times up to and including each event.
std::vector<std::uint64_t> AbsoluteTimes(const std::vector<MidiEvent>& events);

} // namespace smftest
