#include "content/generator/sound_wav.h"

#include "content/generator/bytes.h"
#include "platform/core/files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace content {

namespace {

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
    PutLe32(out, 36 + dataBytes);
    out += "WAVE";
    out += "fmt ";
    PutLe32(out, 16);
    PutLe16(out, 1); // PCM
    PutLe16(out, channels);
    PutLe32(out, kSampleRate);
    PutLe32(out, kSampleRate * blockAlign);
    PutLe16(out, blockAlign);
    PutLe16(out, 16);
    out += "data";
    PutLe32(out, dataBytes);
    for (float x : sound.samples)
        PutLe16(out, static_cast<std::uint16_t>(ToPcm16(x)));
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
