// libFuzzer target for the MIDI file writer: the input is taken as a track of
// 8-byte event records. What the writer makes of any track must read back as
// a file, and channel messages and tempo changes must come back as written
// (data bytes cut to 7 bits, events a file cannot hold left out with their
// delta carried, deltas cut to what a file can hold).

#include "mxmidi/smfwriter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using mxmidi::smf::kLargestFileDelta;

// What reading the written track must give, without system-exclusive runs.
std::vector<MidiEvent> Expected(const std::vector<MidiEvent>& events) {
    std::vector<MidiEvent> expected;
    std::uint64_t pending = 0; // delta not yet written
    std::uint64_t carried = 0; // written delta of events the reader skips
    for (const MidiEvent& e : events) {
        pending += e.time == MXMIDI_NOW ? 0 : e.time;
        bool tempo = e.status == 0;
        bool channel = e.status >= 0x80 && e.status < 0xF0;
        if (!tempo && !channel) continue;
        std::uint64_t written = std::min<std::uint64_t>(pending, kLargestFileDelta);
        pending = 0;
        if (tempo && (e.data1 | e.data2 | e.data3) == 0) {
            carried += written; // a tempo of 0 is no tempo: skipped
            continue;
        }
        MidiEvent out = e;
        out.time = std::uint32_t(std::min<std::uint64_t>(carried + written, 0xFFFFFFFEu));
        carried = 0;
        if (channel) {
            out.data1 &= 0x7F;
            std::uint8_t kind = e.status & 0xF0;
            out.data2 = (kind == 0xC0 || kind == 0xD0) ? 0 : (e.data2 & 0x7F);
            out.data3 = 0;
        }
        expected.push_back(out);
    }
    return expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mxmidi::smf::SmfTrack track;
    track.events.resize(size / sizeof(MidiEvent));
    if (!track.events.empty()) std::memcpy(track.events.data(), data, track.events.size() * 8);
    if (size % 8 != 0) track.metas.push_back({3, std::string(data, data + size % 8)});
    std::string bytes = mxmidi::smf::EncodeSmf(96, {track});
    auto read =
        mxmidi::smf::ParseSmf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!read || read->tracks.size() != 1) std::abort();
    bool hasSysex = std::any_of(track.events.begin(), track.events.end(),
                                [](const MidiEvent& e) { return e.status == 0xF0; });
    if (hasSysex) return 0;
    std::vector<MidiEvent> expected = Expected(track.events);
    const std::vector<MidiEvent>& got = read->tracks[0].events;
    if (got.size() != expected.size() ||
        std::memcmp(got.data(), expected.data(), got.size() * sizeof(MidiEvent)) != 0)
        std::abort();
    const mxmidi::smf::SmfMeta* name = read->tracks[0].FindMeta(3);
    if (size % 8 != 0 && (name == nullptr || name->data != track.metas[0].data)) std::abort();
    return 0;
}
