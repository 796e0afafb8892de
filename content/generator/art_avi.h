#pragma once
// A small AVI (RIFF) writer for the course's videos: one Motion-JPEG video
// stream and, when the clip has sound, one 16-bit mono PCM sound stream,
// interleaved frame by frame, with an index, as media players expect it. A
// frame may be a drop frame (an empty chunk): the player shows the frame
// before it again, so a picture that stands still costs nothing.

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct AviClip {
    int width = 320;
    int height = 240;
    int framesPerSecond = 12;
    std::vector<std::string> jpegFrames; // one JPEG file per frame; empty: the frame before again
    int sampleRate = 22050;
    std::vector<std::int16_t> samples;   // mono sound of the whole clip; none: a silent clip without sound stream
};

// The bytes of the AVI file; empty when the clip has no frames or its first
// frame is a drop frame.
std::string EncodeAvi(const AviClip& clip);

// Plucked-string synthesis (Karplus-Strong): adds a string of `frequency` Hz
// plucked at `start` seconds into `mix` (floating point, to be normalised).
void PluckString(std::vector<float>& mix, int sampleRate, double frequency, double start, double gain,
                 unsigned seed);
// Scales the mix to 16 bits with the given peak (0..1) and short fades at both ends.
std::vector<std::int16_t> ToPcm16(const std::vector<float>& mix, int sampleRate, double peak);

} // namespace art
