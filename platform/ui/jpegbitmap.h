#pragma once
// JPEG pictures into the platform's bitmaps: the bridge between the JPEG
// decoder (jpegdecoder.h) and TBitmap.

#include "platform/ui/jpegdecoder.h"

#include <QImage>
#include <string>

namespace platform {

class TBitmap;

// The decoded picture as a 24-bit image (QImage::Format_BGR888).
QImage JpegPictureToImage(const JpegPicture& picture);

// Decodes the JPEG file at the file-system path `path` into `bitmap`. On
// failure the bitmap is left as it was, false is returned and `error` (when
// given) receives the reason.
bool ReadJpegIntoBitmap(TBitmap* bitmap, const std::string& path, std::string* error = nullptr);

} // namespace platform
