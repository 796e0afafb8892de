#include "mxmidi/smfreader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace mxmidi::smf {

namespace {

constexpr std::uint8_t kMetaStatus = 0xFF;
constexpr std::uint8_t kSysexStatus = 0xF0;
constexpr std::uint8_t kEscapeStatus = 0xF7;
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
constexpr std::uint8_t kMetaTempo = 0x51;
constexpr std::uint32_t kLargestDelta = 0xFFFFFFFEu; // 0xFFFFFFFF means "at once"

std::uint32_t ReadBe32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

std::uint32_t ReadLe32(const std::uint8_t* p) {
    return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) |
           std::uint32_t(p[0]);
}

std::uint16_t ReadBe16(const std::uint8_t* p) {
    return std::uint16_t((p[0] << 8) | p[1]);
}

bool HasId(const std::uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

// The part of a buffer the reader works on.
struct ByteSpan {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// A RIFF "RMID" file carries the MIDI file in its "data" chunk; anything else
// is taken as it is.
ByteSpan UnwrapRiff(ByteSpan whole) {
    if (whole.size < 12 || !HasId(whole.data, "RIFF") || !HasId(whole.data + 8, "RMID"))
        return whole;
    std::size_t pos = 12;
    while (whole.size - pos >= 8) {
        std::uint32_t length = ReadLe32(whole.data + pos + 4);
        std::size_t left = whole.size - pos - 8;
        if (HasId(whole.data + pos, "data"))
            return {whole.data + pos + 8, std::min<std::size_t>(length, left)};
        std::size_t padded = std::size_t(length) + (length & 1u);
        if (padded > left) break;
        pos += 8 + padded;
    }
    return {whole.data, 0}; // an RMID file without MIDI data
}

// Ticks per quarter note for the header's time division; `absolute` is set
// when the division counts SMPTE frames, whose times do not follow tempo.
std::uint16_t ResolutionOf(std::uint16_t division, bool& absolute) {
    absolute = false;
    if (division == 0) return kDefaultResolution;
    if ((division & 0x8000) == 0) return division;
    int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
    int ticksPerFrame = division & 0xFF;
    if (framesPerSecond <= 0 || ticksPerFrame == 0) return kDefaultResolution;
    absolute = true;
    double ticksPerSecond = framesPerSecond * ticksPerFrame;
    if (framesPerSecond == 29) ticksPerSecond = 29.97 * ticksPerFrame;
    // At 120 beats per minute a quarter note lasts half a second.
    long ticksPerQuarter = std::lround(ticksPerSecond / 2.0);
    return std::uint16_t(std::clamp(ticksPerQuarter, 1L, 0x7FFFL));
}

// Reads the events of one "MTrk" chunk. Nothing of the track's state changes
// until an event has been read whole, so a truncated event can be read again
// once the chunk has been found to run on past its declared end.
class TrackParser {
public:
    TrackParser(const std::uint8_t* data, std::size_t size, std::size_t start,
                std::size_t declaredEnd, bool dropTempo)
        : data_(data), size_(size), pos_(start), end_(declaredEnd), declaredEnd_(declaredEnd),
          dropTempo_(dropTempo) {
        metaIndex_.fill(-1);
    }

    // Reads the track; NextChunk() then tells where the next chunk starts.
    SmfTrack Parse();
    std::size_t NextChunk() const { return next_; }

private:
    enum class Step { Event, EndOfTrack, Truncated, Damaged };
    enum class VarLen { Ok, Truncated, TooLong };

    Step ParseEvent();
    VarLen ReadVarLen(std::size_t& p, std::uint32_t& value) const;
    Step ParseMeta(std::size_t p, std::uint32_t delta);
    Step ParseSysex(std::size_t p, std::uint32_t delta, std::uint8_t form);
    Step ParseChannel(std::size_t p, std::uint32_t delta);
    bool TryExtend();
    void Emit(std::uint8_t status, std::uint8_t d1, std::uint8_t d2 = 0, std::uint8_t d3 = 0);
    void EmitSysexBytes(const std::uint8_t* bytes, std::size_t count);
    void KeepMeta(std::uint8_t type, const std::uint8_t* bytes, std::size_t count);
    void CloseOpenSysex();

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_;
    std::size_t end_;
    std::size_t declaredEnd_;
    std::size_t next_ = 0;
    bool dropTempo_;
    bool extended_ = false;
    bool sysexOpen_ = false;
    std::uint8_t runningStatus_ = 0;
    std::uint64_t pendingDelta_ = 0;
    std::array<int, 256> metaIndex_;
    SmfTrack track_;
};

SmfTrack TrackParser::Parse() {
    Step step = Step::Event;
    while (step == Step::Event) {
        std::size_t eventStart = pos_;
        step = ParseEvent();
        if (step == Step::Truncated && TryExtend()) {
            pos_ = eventStart;
            step = Step::Event;
        }
    }
    CloseOpenSysex();
    if (extended_) {
        next_ = step == Step::EndOfTrack ? pos_ : size_;
    } else if (step == Step::EndOfTrack && pos_ < declaredEnd_ && size_ - pos_ >= 4 &&
               HasId(data_ + pos_, "MTrk")) {
        next_ = pos_; // the declared length ran into the next track
    } else {
        next_ = declaredEnd_;
    }
    return std::move(track_);
}

// A chunk that ends without its end-of-track and is not followed by another
// chunk header (four printable characters) is read on to the end of the file.
bool TrackParser::TryExtend() {
    if (extended_ || end_ >= size_) return false;
    if (size_ - end_ >= 8) {
        bool printable = std::all_of(data_ + end_, data_ + end_ + 4,
                                     [](std::uint8_t c) { return c >= 0x20 && c < 0x7F; });
        if (printable) return false;
    }
    extended_ = true;
    end_ = size_;
    return true;
}

TrackParser::VarLen TrackParser::ReadVarLen(std::size_t& p, std::uint32_t& value) const {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (p >= end_) return VarLen::Truncated;
        std::uint8_t b = data_[p++];
        value = (value << 7) | (b & 0x7Fu);
        if ((b & 0x80) == 0) return VarLen::Ok;
    }
    return VarLen::TooLong;
}

TrackParser::Step TrackParser::ParseEvent() {
    std::size_t p = pos_;
    std::uint32_t delta = 0;
    VarLen deltaRead = ReadVarLen(p, delta);
    if (deltaRead == VarLen::TooLong) return Step::Damaged;
    if (deltaRead == VarLen::Truncated || p >= end_) return Step::Truncated;
    std::uint8_t first = data_[p];
    if (first == kMetaStatus) return ParseMeta(p + 1, delta);
    if (first == kSysexStatus || first == kEscapeStatus) return ParseSysex(p + 1, delta, first);
    if (first > 0xF0) return Step::Damaged; // system common and real-time bytes
    return ParseChannel(p, delta);
}

TrackParser::Step TrackParser::ParseMeta(std::size_t p, std::uint32_t delta) {
    if (p >= end_) return Step::Truncated;
    std::uint8_t type = data_[p++];
    std::uint32_t length = 0;
    VarLen lengthRead = ReadVarLen(p, length);
    if (lengthRead == VarLen::TooLong) return Step::Damaged;
    if (lengthRead == VarLen::Truncated || length > end_ - p) return Step::Truncated;
    pos_ = p + length;
    pendingDelta_ += delta;
    if (type == kMetaEndOfTrack) return Step::EndOfTrack;
    const std::uint8_t* bytes = data_ + p;
    if (type == kMetaTempo && !dropTempo_ && length == 3 && (bytes[0] | bytes[1] | bytes[2]) != 0)
        Emit(0, bytes[0], bytes[1], bytes[2]);
    KeepMeta(type, bytes, length);
    return Step::Event;
}

TrackParser::Step TrackParser::ParseSysex(std::size_t p, std::uint32_t delta, std::uint8_t form) {
    std::uint32_t length = 0;
    VarLen lengthRead = ReadVarLen(p, length);
    if (lengthRead == VarLen::TooLong) return Step::Damaged;
    if (lengthRead == VarLen::Truncated || length > end_ - p) return Step::Truncated;
    pos_ = p + length;
    pendingDelta_ += delta;
    const std::uint8_t* bytes = data_ + p;
    bool closes = length > 0 && bytes[length - 1] == 0xF7;
    if (form == kSysexStatus) {
        // An opening packet, perhaps empty, perhaps continued in F7 packets.
        CloseOpenSysex();
        Emit(kSysexStatus, kSysexStatus);
        EmitSysexBytes(bytes, length);
        sysexOpen_ = !closes;
    } else if (length > 0) {
        // A continuation packet while a message is open, else the escape
        // form: raw bytes to be sent as they are.
        EmitSysexBytes(bytes, length);
        if (sysexOpen_ && closes) sysexOpen_ = false;
    }
    return Step::Event;
}

TrackParser::Step TrackParser::ParseChannel(std::size_t p, std::uint32_t delta) {
    std::uint8_t status = data_[p];
    if (status >= 0x80) {
        ++p;
    } else if (runningStatus_ != 0) {
        status = runningStatus_;
    } else {
        return Step::Damaged; // data byte with no status to run on
    }
    std::uint8_t kind = status & 0xF0;
    std::size_t count = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    if (end_ - std::min(p, end_) < count) return Step::Truncated;
    std::uint8_t d1 = data_[p];
    std::uint8_t d2 = count == 2 ? data_[p + 1] : 0;
    if (d1 >= 0x80 || d2 >= 0x80) return Step::Damaged;
    pos_ = p + count;
    pendingDelta_ += delta;
    runningStatus_ = status;
    Emit(status, d1, d2);
    return Step::Event;
}

void TrackParser::Emit(std::uint8_t status, std::uint8_t d1, std::uint8_t d2, std::uint8_t d3) {
    auto time = std::uint32_t(std::min<std::uint64_t>(pendingDelta_, kLargestDelta));
    pendingDelta_ = 0;
    track_.events.push_back(MidiEvent{time, status, d1, d2, d3});
}

void TrackParser::EmitSysexBytes(const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        Emit(kSysexStatus, bytes[i]);
}

void TrackParser::CloseOpenSysex() {
    if (!sysexOpen_) return;
    Emit(kSysexStatus, 0xF7);
    sysexOpen_ = false;
}

void TrackParser::KeepMeta(std::uint8_t type, const std::uint8_t* bytes, std::size_t count) {
    if (metaIndex_[type] >= 0) return;
    metaIndex_[type] = int(track_.metas.size());
    track_.metas.push_back(SmfMeta{type, std::string(reinterpret_cast<const char*>(bytes), count)});
}

} // namespace

const SmfMeta* SmfTrack::FindMeta(std::uint8_t type) const {
    for (const SmfMeta& meta : metas)
        if (meta.type == type) return &meta;
    return nullptr;
}

std::optional<SmfContent> ParseSmf(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size > kMaxFileBytes) return std::nullopt;
    ByteSpan file = UnwrapRiff({data, size});
    if (file.size < 14 || !HasId(file.data, "MThd")) return std::nullopt;
    std::uint32_t headerLength = ReadBe32(file.data + 4);
    if (headerLength < 6) return std::nullopt;

    SmfContent content;
    content.format = ReadBe16(file.data + 8) == 0 ? 0 : 1;
    bool absoluteTimes = false;
    content.resolution = ResolutionOf(ReadBe16(file.data + 12), absoluteTimes);

    std::size_t pos = 8 + std::min<std::size_t>(headerLength, file.size - 8);
    while (file.size - pos >= 8 && content.tracks.size() < kMaxTracks) {
        std::uint32_t length = ReadBe32(file.data + pos + 4);
        std::size_t body = pos + 8;
        std::size_t left = file.size - body;
        if (HasId(file.data + pos, "MTrk")) {
            std::size_t declaredEnd = body + std::min<std::size_t>(length, left);
            TrackParser parser(file.data, file.size, body, declaredEnd, absoluteTimes);
            content.tracks.push_back(parser.Parse());
            pos = parser.NextChunk();
        } else {
            if (length > left) break; // an unknown chunk cut short: nothing follows it
            pos = body + length;
        }
    }
    return content;
}

} // namespace mxmidi::smf
