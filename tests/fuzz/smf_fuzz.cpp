// libFuzzer target for the MIDI file reader: any byte sequence must parse
// cleanly or be refused, and what is read must hold only playable events.

#include "mxmidi/smfreader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<mxmidi::smf::SmfContent> content = mxmidi::smf::ParseSmf(data, size);
    if (!content) return 0;
    if (content->resolution == 0 || content->resolution > 0x7FFF) std::abort();
    std::size_t total = 0;
    for (const mxmidi::smf::SmfTrack& track : content->tracks) {
        total += track.events.size();
        for (const MidiEvent& e : track.events) {
            if (e.time == MXMIDI_NOW) std::abort();
            bool channel = e.status >= 0x80 && e.status < 0xF0;
            if (e.status != 0 && e.status != 0xF0 && !channel) std::abort();
            if (channel && (e.data1 >= 0x80 || e.data2 >= 0x80 || e.data3 != 0)) std::abort();
        }
    }
    if (total > size) std::abort(); // memory must stay bounded by the input
    return 0;
}
