#pragma once
// A small WAV reader and pitch meter for the content tests, written apart from
// the generator's writer so that the tests check the files, not the writer's
// own idea of them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace coursetest {

struct WavFile {
    int format = 0; // 1 = PCM
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int byteRate = 0;
    int blockAlign = 0;
    std::uint32_t riffSize = 0;
    std::size_t fileSize = 0;
    std::vector<double> left; // first channel, -1..1
    std::string problem;      // empty when the file is a well-formed WAV
};

// Parses a RIFF/WAVE file from its bytes; `problem` tells what is wrong.
WavFile ParseWav(const std::string& bytes);

// The frequency near `guess` (within `range` Hz) at which the Hann-windowed
// spectrum of `samples` peaks, found by a fine search (far below a cent).
double PeakFrequency(const std::vector<double>& samples, double sampleRate, double guess,
                     double range);

double Cents(double target, double actual);

// The build's program folder with its generated content, ending in '/'.
std::string ContentFolder();

} // namespace coursetest
