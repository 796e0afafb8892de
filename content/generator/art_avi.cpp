#include "content/generator/art_avi.h"

#include "content/generator/bytes.h"

#include <algorithm>
#include <cmath>

namespace art {

using content::PutLe16;
using content::PutLe32;

namespace {

// A RIFF chunk: id, little-endian size, data, and a pad byte to an even size.
std::string Chunk(const char* id, const std::string& data) {
    std::string out(id, 4);
    PutLe32(out, static_cast<unsigned>(data.size()));
    out += data;
    if (data.size() % 2) out += '\0';
    return out;
}

std::string List(const char* type, const std::string& content) { return Chunk("LIST", std::string(type, 4) + content); }

std::string MainHeader(const AviClip& clip, unsigned largestChunk, unsigned bytesPerSecond) {
    std::string h;
    PutLe32(h, 1000000u / static_cast<unsigned>(clip.framesPerSecond));
    PutLe32(h, bytesPerSecond);
    PutLe32(h, 0);
    PutLe32(h, 0x10 | 0x100); // has an index; interleaved
    PutLe32(h, static_cast<unsigned>(clip.jpegFrames.size()));
    PutLe32(h, 0);
    PutLe32(h, clip.samples.empty() ? 1 : 2);
    PutLe32(h, largestChunk);
    PutLe32(h, static_cast<unsigned>(clip.width));
    PutLe32(h, static_cast<unsigned>(clip.height));
    for (int i = 0; i < 4; ++i) PutLe32(h, 0);
    return Chunk("avih", h);
}

std::string StreamHeader(const char* type, const char* handler, unsigned scale, unsigned rate, unsigned length,
                         unsigned bufferSize, unsigned sampleSize, int width, int height) {
    std::string h(type, 4);
    h += std::string(handler, 4);
    PutLe32(h, 0);       // flags
    PutLe16(h, 0);       // priority
    PutLe16(h, 0);       // language
    PutLe32(h, 0);       // initial frames
    PutLe32(h, scale);
    PutLe32(h, rate);
    PutLe32(h, 0);       // start
    PutLe32(h, length);
    PutLe32(h, bufferSize);
    PutLe32(h, 0xFFFFFFFFu); // quality: default
    PutLe32(h, sampleSize);
    PutLe16(h, 0);
    PutLe16(h, 0);
    PutLe16(h, static_cast<unsigned>(width));
    PutLe16(h, static_cast<unsigned>(height));
    return Chunk("strh", h);
}

std::string VideoFormat(const AviClip& clip) {
    std::string f;
    PutLe32(f, 40);
    PutLe32(f, static_cast<unsigned>(clip.width));
    PutLe32(f, static_cast<unsigned>(clip.height));
    PutLe16(f, 1);
    PutLe16(f, 24);
    f += "MJPG";
    PutLe32(f, static_cast<unsigned>(clip.width * clip.height * 3));
    for (int i = 0; i < 4; ++i) PutLe32(f, 0);
    return Chunk("strf", f);
}

std::string AudioFormat(const AviClip& clip) {
    std::string f;
    PutLe16(f, 1); // PCM
    PutLe16(f, 1); // mono
    PutLe32(f, static_cast<unsigned>(clip.sampleRate));
    PutLe32(f, static_cast<unsigned>(clip.sampleRate) * 2);
    PutLe16(f, 2);
    PutLe16(f, 16);
    PutLe16(f, 0);
    return Chunk("strf", f);
}

std::string Samples(const std::vector<std::int16_t>& samples, size_t from, size_t to) {
    std::string out;
    for (size_t i = from; i < to; ++i) PutLe16(out, static_cast<std::uint16_t>(samples[i]));
    return out;
}

} // namespace

std::string EncodeAvi(const AviClip& clip) {
    const size_t frames = clip.jpegFrames.size();
    if (frames == 0 || clip.framesPerSecond <= 0 || clip.jpegFrames.front().empty()) return {};
    // The movie list: per frame its picture, then the sound that belongs to it.
    std::string movi = "movi";
    std::string index;
    unsigned largest = 0;
    auto add = [&](const char* id, const std::string& data) {
        index += std::string(id, 4);
        PutLe32(index, data.empty() ? 0u : 0x10u); // every chunk but a drop frame is a key frame
        PutLe32(index, static_cast<unsigned>(movi.size())); // offset from the "movi" tag
        PutLe32(index, static_cast<unsigned>(data.size()));
        movi += Chunk(id, data);
        largest = std::max(largest, static_cast<unsigned>(data.size()));
    };
    const size_t total = clip.samples.size();
    for (size_t i = 0; i < frames; ++i) {
        add("00dc", clip.jpegFrames[i]);
        size_t from = total * i / frames, to = total * (i + 1) / frames;
        if (to > from) add("01wb", Samples(clip.samples, from, to));
    }
    const unsigned videoBytes = static_cast<unsigned>((movi.size() - 4) * clip.framesPerSecond / frames);
    const unsigned bytesPerSecond = videoBytes + (total > 0 ? static_cast<unsigned>(clip.sampleRate) * 2 : 0u);
    std::string videoList = StreamHeader("vids", "MJPG", 1, static_cast<unsigned>(clip.framesPerSecond),
                                         static_cast<unsigned>(frames), largest, 0, clip.width, clip.height) +
                            VideoFormat(clip);
    std::string audioList = StreamHeader("auds", "\0\0\0\0", 2, static_cast<unsigned>(clip.sampleRate) * 2,
                                         static_cast<unsigned>(total), largest, 2, 0, 0) +
                            AudioFormat(clip);
    std::string header = MainHeader(clip, largest, bytesPerSecond) + List("strl", videoList);
    if (total > 0) header += List("strl", audioList);
    std::string body = "AVI " + List("hdrl", header) + Chunk("LIST", movi) + Chunk("idx1", index);
    return Chunk("RIFF", body);
}

void PluckString(std::vector<float>& mix, int sampleRate, double frequency, double start, double gain,
                 unsigned seed) {
    // The averaging filter delays by half a sample, the all-pass by `fraction`.
    const double loop = sampleRate / frequency - 0.5;
    int length = static_cast<int>(loop);
    double fraction = loop - length;
    if (fraction < 0.1) {
        length -= 1;
        fraction += 1.0;
    }
    const double allpass = (1 - fraction) / (1 + fraction);
    std::vector<double> line(static_cast<size_t>(length));
    unsigned state = seed * 2654435761u + 12345u;
    double previous = 0;
    for (double& value : line) {
        state = state * 1664525u + 1013904223u;
        double noise = ((state >> 8) & 0xFFFF) / 32768.0 - 1.0;
        value = 0.5 * (noise + previous); // a softer pluck
        previous = noise;
    }
    size_t at = static_cast<size_t>(start * sampleRate);
    double lastIn = 0, lastOut = 0, last = line[0];
    for (size_t n = 0; at + n < mix.size(); ++n) {
        size_t i = n % static_cast<size_t>(length);
        double current = line[i];
        double averaged = 0.4985 * (current + last) * 1.0;
        last = current;
        double tuned = allpass * averaged + lastIn - allpass * lastOut;
        lastIn = averaged;
        lastOut = tuned;
        line[i] = tuned;
        mix[at + n] += static_cast<float>(gain * current);
    }
}

std::vector<std::int16_t> ToPcm16(const std::vector<float>& mix, int sampleRate, double peak) {
    float highest = 1e-6f;
    for (float value : mix) highest = std::max(highest, std::abs(value));
    const double scale = peak * 32767.0 / highest;
    const size_t fade = static_cast<size_t>(sampleRate / 50);
    std::vector<std::int16_t> pcm(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) {
        double envelope = 1.0;
        if (i < fade) envelope = static_cast<double>(i) / fade;
        if (mix.size() - i < fade * 10) envelope = static_cast<double>(mix.size() - i) / (fade * 10);
        pcm[i] = static_cast<std::int16_t>(std::lround(mix[i] * scale * envelope));
    }
    return pcm;
}

} // namespace art
