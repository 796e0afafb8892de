#include "listening/audiofile.h"

#include <cstdint>
#include <cstring>
#include <fstream>

namespace listening {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::size_t kLargestFile = std::size_t(1) << 31; // 2 GiB

std::uint32_t Le(std::string_view bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | std::uint8_t(bytes[at + std::size_t(i)]);
    return value;
}

struct Format {
    std::uint16_t tag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bits = 0;
};

// One sample of the format at `p`, scaled to -1 .. 1.
double Sample(const Format& format, const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    if (format.tag == kFormatFloat) {
        if (format.bits == 32) {
            float value;
            std::memcpy(&value, b, 4);
            return value;
        }
        double value;
        std::memcpy(&value, b, 8);
        return value;
    }
    switch (format.bits) {
    case 8: return (int(b[0]) - 128) / 128.0;
    case 16: return std::int16_t(b[0] | (b[1] << 8)) / 32768.0;
    case 24: return double(std::int32_t(std::uint32_t(b[0] << 8 | b[1] << 16 | b[2] << 24)) >> 8) / 8388608.0;
    default: return std::int32_t(std::uint32_t(b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t(b[3]) << 24)) / 2147483648.0;
    }
}

bool ReadFormat(std::string_view chunk, Format& format, std::string& error) {
    if (chunk.size() < 16) {
        error = "the format chunk is too short";
        return false;
    }
    format.tag = std::uint16_t(Le(chunk, 0, 2));
    format.channels = int(Le(chunk, 2, 2));
    format.sampleRate = int(Le(chunk, 4, 4));
    format.bits = int(Le(chunk, 14, 2));
    if (format.tag == kFormatExtensible && chunk.size() >= 26) format.tag = std::uint16_t(Le(chunk, 24, 2));
    const bool pcm = format.tag == kFormatPcm &&
                     (format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32);
    const bool floating = format.tag == kFormatFloat && (format.bits == 32 || format.bits == 64);
    if (!pcm && !floating) {
        error = "not PCM or float samples of 8, 16, 24, 32 or 64 bits";
        return false;
    }
    if (format.channels < 1 || format.channels > 64) {
        error = "no channels or too many";
        return false;
    }
    if (format.sampleRate < 1000 || format.sampleRate > 768000) {
        error = "a sample rate outside 1 kHz .. 768 kHz";
        return false;
    }
    return true;
}

} // namespace

bool ParseRecording(std::string_view bytes, MonoRecording& recording, std::string& error) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        error = "not a WAV file";
        return false;
    }
    Format format;
    bool haveFormat = false;
    std::string_view data;
    bool haveData = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string_view id = bytes.substr(at, 4);
        const std::size_t claimed = Le(bytes, at + 4, 4);
        const std::size_t size = std::min(claimed, bytes.size() - at - 8);
        const std::string_view body = bytes.substr(at + 8, size);
        if (id == "fmt ") {
            if (!ReadFormat(body, format, error)) return false;
            haveFormat = true;
        } else if (id == "data" && !haveData) {
            data = body;
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData) {
        error = haveFormat ? "no data chunk" : "no format chunk";
        return false;
    }
    const std::size_t sampleBytes = std::size_t(format.bits / 8);
    const std::size_t frameBytes = sampleBytes * std::size_t(format.channels);
    const std::size_t frames = data.size() / frameBytes;
    recording.sampleRate = format.sampleRate;
    recording.samples.assign(frames, 0.0f);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        double sum = 0;
        for (int channel = 0; channel < format.channels; ++channel)
            sum += Sample(format, data.data() + frame * frameBytes + std::size_t(channel) * sampleBytes);
        const double mono = sum / format.channels;
        recording.samples[frame] = float(mono == mono ? mono : 0.0); // NaN in a float file: silence
    }
    return true;
}

bool ReadRecording(const std::string& path, MonoRecording& recording, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    file.seekg(0, std::ios::end);
    const auto size = file.tellg();
    if (size < 0 || std::size_t(size) > kLargestFile) {
        error = "cannot read " + path + " (not a file, or larger than 2 GiB)";
        return false;
    }
    file.seekg(0);
    std::string bytes(std::size_t(size), '\0');
    if (!file.read(bytes.data(), size)) {
        error = "cannot read " + path;
        return false;
    }
    if (!ParseRecording(bytes, recording, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace listening
