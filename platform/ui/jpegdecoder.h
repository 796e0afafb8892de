#pragma once
// The one JPEG decoder of the program: every picture the course reads from a
// JPEG file (backgrounds, skins, slides, monitor thumbnails) is decoded here,
// by libjpeg called directly, into 24-bit rows of blue, green, red bytes.
//
// A damaged or hostile file is refused with a reason instead of crashing:
// libjpeg's fatal errors and a premature end of the data come back as a failed
// decode, dimensions beyond the limits below are refused before any pixel
// memory is taken, and libjpeg's own working memory is capped.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Largest width or height accepted.
inline constexpr int kJpegMaxSide = 16384;
// Largest number of pixels accepted (about 120 MB of decoded rows).
inline constexpr std::int64_t kJpegMaxPixels = 40'000'000;
// Largest file read from disk.
inline constexpr std::int64_t kJpegMaxFileBytes = 128 * 1024 * 1024;

// A decoded picture: `height` rows of `width` pixels, each pixel the three
// bytes blue, green, red; rows follow each other without padding, top first.
struct JpegPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;

    std::size_t RowBytes() const { return static_cast<std::size_t>(width) * 3; }
    const std::uint8_t* Row(int y) const { return bgr.data() + RowBytes() * y; }
};

// Decodes the JPEG held in `data`. On success `out` holds the picture and the
// result is true; on failure `out` is left empty, false is returned and
// `error` (when given) receives libjpeg's or our own reason. Colour, greyscale
// and CMYK/YCCK pictures (also Adobe's inverted CMYK) come out as B,G,R;
// baseline and progressive files are both read.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, JpegPicture& out,
                std::string* error = nullptr);

// Reads the file at `path` (a file-system path; content paths go through the
// resolver first) and decodes it like DecodeJpeg.
bool DecodeJpegFile(const std::string& path, JpegPicture& out, std::string* error = nullptr);

} // namespace platform
