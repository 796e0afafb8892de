#pragma once
// JPEG and BMP encoders of the content generator. JPEGs go through libjpeg
// with fixed settings (baseline, 4:2:0, fixed quality, a plain JFIF header
// without dates), so the same image always gives the same bytes.

#include <QImage>
#include <string>

namespace art {

inline constexpr int kJpegQuality = 90;

// The JPEG bytes of `image` (any format; alpha is dropped); empty on failure.
std::string EncodeJpeg(const QImage& image, int quality = kJpegQuality);

// A Windows bitmap file, 24 bits per pixel, bottom-up, no compression.
std::string EncodeBmp24(const QImage& image);

// Writes bytes to a file, creating its folder; prints the reason on failure.
bool WriteBytes(const std::string& path, const std::string& bytes);

} // namespace art
