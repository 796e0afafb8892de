#include "platform/ui/jpegbitmap.h"

#include "platform/ui/graphics.h"

#include <cstring>

namespace platform {

QImage JpegPictureToImage(const JpegPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_BGR888);
    if (image.isNull()) return image;
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.Row(y), picture.RowBytes());
    return image;
}

bool ReadJpegIntoBitmap(TBitmap* bitmap, const std::string& path, std::string* error) {
    JpegPicture picture;
    if (!DecodeJpegFile(path, picture, error)) return false;
    QImage image = JpegPictureToImage(picture);
    if (image.isNull()) {
        if (error) *error = "Not enough memory for JPEG picture";
        return false;
    }
    bitmap->Assign(image);
    return true;
}

} // namespace platform
