#pragma once
// Reading a recording for the analysis: a RIFF WAVE file as mono float
// samples. Accepts PCM with 8, 16, 24 or 32 bits and IEEE float with 32 or
// 64 bits (also in the extensible format), any number of channels (mixed to
// one). A file cut short gives the whole frames that are there.

#include <string>
#include <string_view>
#include <vector>

namespace listening {

struct MonoRecording {
    int sampleRate = 0;
    std::vector<float> samples; // -1 .. 1
};

// Parses the bytes of a WAV file. On failure returns false and puts a short
// English reason into `error`.
bool ParseRecording(std::string_view bytes, MonoRecording& recording, std::string& error);

// Reads a WAV file. On failure returns false with the reason in `error`.
bool ReadRecording(const std::string& path, MonoRecording& recording, std::string& error);

} // namespace listening
