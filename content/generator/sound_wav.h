#pragma once
// Writes PCM WAV files: 16-bit samples at 44.1 kHz, the format every sound of
// the course uses. Samples come in as floating point in -1..1 and are rounded
// (no dither) so that the same samples always give the same bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace content {

constexpr int kSampleRate = 44100;

// One sound: interleaved samples (-1..1) and the number of channels (1 or 2).
struct Sound {
    std::vector<float> samples;
    int channels = 1;
};

// The complete bytes of a RIFF/WAVE file holding `sound` as 16-bit PCM at
// kSampleRate. Samples beyond -1..1 are clipped.
std::string EncodeWav(const Sound& sound);

// Encodes `sound` and writes it to `path` (folders are created). Prints the
// reason to stderr and returns false when the file cannot be written.
bool WriteWav(const std::string& path, const Sound& sound);

} // namespace content
