#pragma once
// Reading the PCM WAV files that the course plays as cues and tuner tones.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The sound of a WAV file: its format and its sample bytes as stored
// (8-bit samples unsigned, 16-bit samples signed little-endian, stereo
// frames left then right).
struct WaveSound {
    int channels = 0;      // 1 or 2
    int sampleRate = 0;    // frames per second
    int bitsPerSample = 0; // 8 or 16
    std::string samples;   // whole frames only

    int BytesPerFrame() const { return channels * bitsPerSample / 8; }
    std::uint64_t FrameCount() const;
    // Playing time in milliseconds, rounded up, so a sound that has any
    // frames lasts at least 1 ms.
    std::uint64_t DurationMs() const;
};

// Parses a RIFF WAVE file held in memory. Accepts uncompressed PCM (format 1,
// or the extensible format with the PCM sub-format) with 8 or 16 bits and one
// or two channels; chunks are found wherever they stand and unknown chunks are
// skipped. A data chunk that claims more bytes than the file holds (a file cut
// short) gives the whole frames that are there.
// Anything else is refused with nothing returned and, when `error` is given,
// a short English reason: not RIFF/WAVE, no "fmt " or "data" chunk, a format
// chunk that is too short, another encoding, sample size or channel count, a
// sample rate of 0 or above 1,000,000.
std::optional<WaveSound> ParseWave(std::string_view bytes, std::string* error = nullptr);

// Builds the bytes of a PCM WAV file (the 44-byte canonical header and the
// samples). Used to write sounds and by the tests to make their files.
std::string MakeWaveFile(int channels, int sampleRate, int bitsPerSample, std::string_view samples);

} // namespace platform
