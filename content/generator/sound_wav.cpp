#include "content/generator/sound_wav.h"

#include "platform/core/files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace content {

namespace {

void PutU16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::int16_t ToPcm16(float x) {
    float clipped = std::clamp(x, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lround(clipped * 32767.0f));
}

} // namespace

std::string EncodeWav(const Sound& sound) {
    const std::uint16_t channels = static_cast<std::uint16_t>(sound.channels);
    const std::uint16_t blockAlign = channels * 2;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);

    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    PutU32(out, 36 + dataBytes);
    out += "WAVE";
    out += "fmt ";
    PutU32(out, 16);
    PutU16(out, 1); // PCM
    PutU16(out, channels);
    PutU32(out, kSampleRate);
    PutU32(out, kSampleRate * blockAlign);
    PutU16(out, blockAlign);
    PutU16(out, 16);
    out += "data";
    PutU32(out, dataBytes);
    for (float x : sound.samples)
        PutU16(out, static_cast<std::uint16_t>(ToPcm16(x)));
    return out;
}

bool WriteWav(const std::string& path, const Sound& sound) {
    if (sound.channels < 1 || sound.channels > 2 || sound.samples.size() % sound.channels != 0) {
        std::fprintf(stderr, "content: %s: bad channel layout\n", path.c_str());
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (!platform::WriteFileAtomically(path, EncodeWav(sound))) {
        std::fprintf(stderr, "content: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace content
