#include "tests/mxmidi/smf_testfiles.h"

#include <cstdio>

bool operator==(const MidiEvent& a, const MidiEvent& b) {
    return a.time == b.time && a.status == b.status && a.data1 == b.data1 && a.data2 == b.data2 &&
           a.data3 == b.data3;
}

void PrintTo(const MidiEvent& event, std::ostream* out) {
    *out << smftest::Describe({event});
}

namespace smftest {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out.push_back(char(v));
    return out;
}

std::string VarLen(std::uint32_t value) {
    std::string out(1, char(value & 0x7F));
    while ((value >>= 7) != 0)
        out.insert(out.begin(), char((value & 0x7F) | 0x80));
    return out;
}

std::string Be32(std::uint32_t value) {
    return Bytes(
        {int(value >> 24), int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF)});
}

std::string Chunk(const std::string& id, const std::string& body) {
    return id + Be32(std::uint32_t(body.size())) + body;
}

std::string Header(int format, int tracks, int division) {
    return Chunk("MThd", Bytes({format >> 8, format & 0xFF, tracks >> 8, tracks & 0xFF,
                                (division >> 8) & 0xFF, division & 0xFF}));
}

std::string Track(const std::string& events) {
    return Chunk("MTrk", events + Bytes({0, 0xFF, 0x2F, 0}));
}

std::string Meta(std::uint32_t delta, int type, const std::string& data) {
    return VarLen(delta) + Bytes({0xFF, type}) + VarLen(std::uint32_t(data.size())) + data;
}

MidiEvent Ev(std::uint32_t time, int status, int d1, int d2, int d3) {
    return MidiEvent{time, std::uint8_t(status), std::uint8_t(d1), std::uint8_t(d2),
                     std::uint8_t(d3)};
}

std::string Describe(const std::vector<MidiEvent>& events) {
    std::string out;
    char line[64];
    for (const MidiEvent& e : events) {
        std::snprintf(line, sizeof line, "%u:%02X %02X %02X %02X\n", e.time, e.status, e.data1,
                      e.data2, e.data3);
        out += line;
    }
    return out;
}

std::optional<Loaded> Load(const std::string& path, std::uint32_t chunk) {
    std::uint16_t format = 1;
    std::uint16_t tracks = 0;
    HSMF smf = OpenSMF(path.c_str(), &format, 'r', &tracks);
    if (smf == 0) return std::nullopt;
    Loaded loaded;
    loaded.format = format;
    loaded.resolution = GetSMFResolution(smf);
    RewindSMF(smf);
    std::vector<MidiEvent> buffer(chunk);
    for (std::uint16_t t = 0; t < tracks; ++t) {
        std::vector<MidiEvent> events;
        while (std::uint32_t n = ReadSMF(smf, t, buffer.data(), chunk))
            events.insert(events.end(), buffer.begin(), buffer.begin() + n);
        loaded.tracks.push_back(std::move(events));
        const std::uint8_t* data = nullptr;
        std::uint32_t length = 0;
        if (ReadMetaEvent(smf, t, 3, &data, &length) == 0)
            loaded.names.emplace_back(std::string(reinterpret_cast<const char*>(data), length));
        else
            loaded.names.emplace_back(std::nullopt);
    }
    CloseSMF(smf);
    return loaded;
}

bool Save(const std::string& path, std::uint16_t resolution,
          const std::vector<std::vector<MidiEvent>>& tracks,
          const std::vector<std::string>& names) {
    std::uint16_t format = 1;
    HSMF smf = OpenSMF(path.c_str(), &format, 'w', nullptr);
    if (smf == 0) return false;
    SetSMFResolution(smf, resolution);
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        if (t < names.size() && !names[t].empty())
            WriteMetaEvent(smf, std::uint16_t(t), 3, names[t].c_str(), 0);
        WriteSMF(smf, std::uint16_t(t), tracks[t].data(), std::uint32_t(tracks[t].size()));
    }
    CloseSMF(smf);
    return true;
}

std::vector<std::uint64_t> AbsoluteTimes(const std::vector<MidiEvent>& events) {
    std::vector<std::uint64_t> times;
    std::uint64_t now = 0;
    for (const MidiEvent& e : events)
        times.push_back(now += e.time);
    return times;
}

} // namespace smftest
