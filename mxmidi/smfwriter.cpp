#include "mxmidi/smfwriter.h"

#include <QSaveFile>
#include <algorithm>

namespace mxmidi::smf {

namespace {

constexpr std::uint8_t kSysexStatus = 0xF0;
constexpr std::uint8_t kEscapeStatus = 0xF7;

void AppendBe32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(char((value >> shift) & 0xFF));
}

void AppendBe16(std::string& out, std::uint16_t value) {
    out.push_back(char(value >> 8));
    out.push_back(char(value & 0xFF));
}

void AppendVarLen(std::string& out, std::uint64_t value) {
    auto v = std::uint32_t(std::min<std::uint64_t>(value, kLargestFileDelta));
    char bytes[4];
    int count = 0;
    do {
        bytes[count++] = char(v & 0x7F);
        v >>= 7;
    } while (v != 0);
    while (count > 1)
        out.push_back(char(bytes[--count] | 0x80));
    out.push_back(bytes[0]);
}

// Encodes the body of one "MTrk" chunk.
class TrackEncoder {
public:
    std::string Encode(const SmfTrack& track);

private:
    void AddEvent(const MidiEvent& event);
    void AddSysexByte(const MidiEvent& event, std::uint32_t delta);
    void FlushSysex();
    void WriteMeta(std::uint8_t type, const std::uint8_t* data, std::size_t count);
    void WriteChannel(const MidiEvent& event);

    std::string body_;
    std::uint64_t pendingDelta_ = 0;
    std::uint8_t runningStatus_ = 0;
    std::vector<std::uint8_t> sysex_; // the packet being collected
    std::uint64_t sysexDelta_ = 0;
    bool messageOpen_ = false; // an F0 packet was written without its F7
};

std::string TrackEncoder::Encode(const SmfTrack& track) {
    for (const SmfMeta& meta : track.metas)
        WriteMeta(meta.type, reinterpret_cast<const std::uint8_t*>(meta.data.data()),
                  meta.data.size());
    for (const MidiEvent& event : track.events)
        AddEvent(event);
    FlushSysex();
    WriteMeta(0x2F, nullptr, 0);
    return std::move(body_);
}

void TrackEncoder::AddEvent(const MidiEvent& event) {
    std::uint32_t delta = event.time == MXMIDI_NOW ? 0 : event.time;
    if (event.status == kSysexStatus) {
        AddSysexByte(event, delta);
        return;
    }
    FlushSysex();
    pendingDelta_ += delta;
    if (event.status == 0) {
        const std::uint8_t tempo[3] = {event.data1, event.data2, event.data3};
        WriteMeta(0x51, tempo, 3);
    } else if (event.status >= 0x80 && event.status < 0xF0) {
        WriteChannel(event);
    } // anything else cannot stand in a file; its delta goes to the next event
}

void TrackEncoder::AddSysexByte(const MidiEvent& event, std::uint32_t delta) {
    // A delay inside a run, or a new opening F0, starts a new packet.
    if (!sysex_.empty() && (delta != 0 || event.data1 == kSysexStatus)) FlushSysex();
    if (sysex_.empty()) {
        sysexDelta_ = pendingDelta_ + delta;
        pendingDelta_ = 0;
    }
    sysex_.push_back(event.data1);
    if (event.data1 == kEscapeStatus) FlushSysex();
}

void TrackEncoder::FlushSysex() {
    if (sysex_.empty()) return;
    AppendVarLen(body_, sysexDelta_);
    bool closes = sysex_.back() == kEscapeStatus;
    if (sysex_.front() == kSysexStatus) {
        body_.push_back(char(kSysexStatus));
        AppendVarLen(body_, sysex_.size() - 1);
        body_.append(sysex_.begin() + 1, sysex_.end());
        messageOpen_ = !closes;
    } else {
        body_.push_back(char(kEscapeStatus));
        AppendVarLen(body_, sysex_.size());
        body_.append(sysex_.begin(), sysex_.end());
        if (closes) messageOpen_ = false;
    }
    sysex_.clear();
    runningStatus_ = 0;
}

void TrackEncoder::WriteMeta(std::uint8_t type, const std::uint8_t* data, std::size_t count) {
    count = std::min<std::size_t>(count, kLargestFileDelta);
    AppendVarLen(body_, pendingDelta_);
    pendingDelta_ = 0;
    body_.push_back(char(0xFF));
    body_.push_back(char(type));
    AppendVarLen(body_, count);
    if (count > 0) body_.append(reinterpret_cast<const char*>(data), count);
    runningStatus_ = 0;
}

void TrackEncoder::WriteChannel(const MidiEvent& event) {
    AppendVarLen(body_, pendingDelta_);
    pendingDelta_ = 0;
    if (event.status != runningStatus_) body_.push_back(char(event.status));
    runningStatus_ = event.status;
    body_.push_back(char(event.data1 & 0x7F));
    std::uint8_t kind = event.status & 0xF0;
    if (kind != 0xC0 && kind != 0xD0) body_.push_back(char(event.data2 & 0x7F));
}

} // namespace

std::string EncodeSmf(std::uint16_t resolution, const std::vector<SmfTrack>& tracks) {
    std::string out = "MThd";
    AppendBe32(out, 6);
    AppendBe16(out, 1);
    AppendBe16(out, std::uint16_t(std::min<std::size_t>(tracks.size(), 0xFFFF)));
    AppendBe16(out, std::uint16_t(std::clamp<int>(resolution, 1, 0x7FFF)));
    for (std::size_t i = 0; i < tracks.size() && i < 0xFFFF; ++i) {
        std::string body = TrackEncoder().Encode(tracks[i]);
        out += "MTrk";
        AppendBe32(out, std::uint32_t(body.size()));
        out += body;
    }
    return out;
}

bool SaveSmfFile(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace mxmidi::smf
