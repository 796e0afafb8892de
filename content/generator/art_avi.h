#pragma once
// A small AVI (RIFF) writer for the course's videos: one Motion-JPEG video
// stream and one 16-bit mono PCM sound stream, interleaved frame by frame,
// with an index, as media players expect it.

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct AviClip {
    int width = 320;
    int height = 240;
    int framesPerSecond = 12;
    std::vector<std::string> jpegFrames; // one JPEG file per frame
    int sampleRate = 22050;
    std::vector<std::int16_t> samples;   // mono sound of the whole clip
};

// The bytes of the AVI file; empty when the clip has no frames.
std::string EncodeAvi(const AviClip& clip);

// Plucked-string synthesis (Karplus-Strong): adds a string of `frequency` Hz
// plucked at `start` seconds into `mix` (floating point, to be normalised).
void PluckString(std::vector<float>& mix, int sampleRate, double frequency, double start, double gain,
                 unsigned seed);
// Scales the mix to 16 bits with the given peak (0..1) and short fades at both ends.
std::vector<std::int16_t> ToPcm16(const std::vector<float>& mix, int sampleRate, double peak);

} // namespace art
