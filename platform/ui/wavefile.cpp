#include "platform/ui/wavefile.h"

namespace platform {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint32_t kMaxSampleRate = 1000000;

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
    };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

std::uint16_t Le16(std::string_view bytes, std::size_t at) {
    auto b = [&](std::size_t i) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at + i]));
    };
    return static_cast<std::uint16_t>(b(0) | (b(1) << 8));
}

void PutLe32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutLe16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

std::optional<WaveSound> Refuse(std::string* error, const char* reason) {
    if (error != nullptr) *error = reason;
    return std::nullopt;
}

// The chunks of a RIFF WAVE file that matter: where "fmt " and "data" lie.
struct ChunkPlaces {
    std::string_view format;
    std::string_view data;
    bool hasFormat = false;
    bool hasData = false;
};

// Walks the chunk list after the 12-byte RIFF header. A chunk whose length
// runs past the end of the file ends the walk; if it is the data chunk it
// keeps the bytes that are there.
ChunkPlaces FindChunks(std::string_view bytes) {
    ChunkPlaces places;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        std::string_view id = bytes.substr(at, 4);
        std::uint64_t length = Le32(bytes, at + 4);
        std::size_t body = at + 8;
        std::uint64_t left = bytes.size() - body;
        std::string_view content =
            bytes.substr(body, static_cast<std::size_t>(std::min(length, left)));
        if (id == "fmt " && !places.hasFormat) {
            places.format = content;
            places.hasFormat = true;
        } else if (id == "data" && !places.hasData) {
            places.data = content;
            places.hasData = true;
        }
        if (length > left) break;
        at = body + static_cast<std::size_t>(length) + (length & 1); // chunks are word aligned
    }
    return places;
}

} // namespace

std::uint64_t WaveSound::FrameCount() const {
    int frame = BytesPerFrame();
    return frame > 0 ? samples.size() / static_cast<std::uint64_t>(frame) : 0;
}

std::uint64_t WaveSound::DurationMs() const {
    if (sampleRate <= 0) return 0;
    std::uint64_t rate = static_cast<std::uint64_t>(sampleRate);
    return (FrameCount() * 1000 + rate - 1) / rate;
}

std::optional<WaveSound> ParseWave(std::string_view bytes, std::string* error) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return Refuse(error, "not a RIFF WAVE file");
    ChunkPlaces places = FindChunks(bytes);
    if (!places.hasFormat) return Refuse(error, "no format chunk");
    if (places.format.size() < 16) return Refuse(error, "format chunk too short");
    if (!places.hasData) return Refuse(error, "no data chunk");

    std::string_view fmt = places.format;
    std::uint16_t encoding = Le16(fmt, 0);
    if (encoding == kFormatExtensible) {
        // The real encoding is the first two bytes of the sub-format GUID.
        if (fmt.size() < 40) return Refuse(error, "extensible format chunk too short");
        encoding = Le16(fmt, 24);
    }
    if (encoding != kFormatPcm) return Refuse(error, "not uncompressed PCM");

    WaveSound sound;
    sound.channels = Le16(fmt, 2);
    std::uint32_t rate = Le32(fmt, 4);
    sound.bitsPerSample = Le16(fmt, 14);
    if (sound.channels != 1 && sound.channels != 2) return Refuse(error, "not mono or stereo");
    if (sound.bitsPerSample != 8 && sound.bitsPerSample != 16)
        return Refuse(error, "not 8 or 16 bits per sample");
    if (rate == 0 || rate > kMaxSampleRate) return Refuse(error, "impossible sample rate");
    sound.sampleRate = static_cast<int>(rate);

    std::size_t frame = static_cast<std::size_t>(sound.BytesPerFrame());
    std::size_t whole = places.data.size() - places.data.size() % frame;
    sound.samples.assign(places.data.substr(0, whole));
    return sound;
}

std::string MakeWaveFile(int channels, int sampleRate, int bitsPerSample,
                         std::string_view samples) {
    const std::uint32_t dataLength = static_cast<std::uint32_t>(samples.size());
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * bitsPerSample / 8);
    std::string out = "RIFF";
    PutLe32(out, 36 + dataLength + (dataLength & 1));
    out += "WAVEfmt ";
    PutLe32(out, 16);
    PutLe16(out, kFormatPcm);
    PutLe16(out, static_cast<std::uint16_t>(channels));
    PutLe32(out, static_cast<std::uint32_t>(sampleRate));
    PutLe32(out, static_cast<std::uint32_t>(sampleRate) * blockAlign);
    PutLe16(out, blockAlign);
    PutLe16(out, static_cast<std::uint16_t>(bitsPerSample));
    out += "data";
    PutLe32(out, dataLength);
    out.append(samples);
    if (dataLength & 1) out.push_back('\0');
    return out;
}

} // namespace platform
