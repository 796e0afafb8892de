#pragma once
// Test pictures made with libjpeg's compressor: the decoder tests and the
// skin tests write real JPEG files of known content.

#include <cstdint>
#include <functional>
#include <string>

namespace testjpeg {

// Colour of one pixel as 0xRRGGBB.
using PixelFn = std::function<std::uint32_t(int x, int y)>;

enum class Kind { Colour, Grey, Cmyk, AdobeCmyk };

struct Options {
    Kind kind = Kind::Colour;
    bool progressive = false;
    int quality = 95;
};

// The JPEG file's bytes for a width × height picture.
std::string Make(int width, int height, const PixelFn& pixel, const Options& options = {});

// A picture of one colour.
std::string MakeSolid(int width, int height, std::uint32_t rgb, const Options& options = {});

// The same file with the frame header's width and height replaced, so a small
// file claims huge dimensions.
std::string WithClaimedSize(std::string jpeg, int width, int height);

} // namespace testjpeg
