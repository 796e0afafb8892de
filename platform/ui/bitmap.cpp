// Bitmaps: 24-bit images with bottom-padded scan lines, loaded from
// resources and files.
#include "platform/ui/graphics.h"

#include "platform/ui/exceptions.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace platform {

// ---- Bitmap ---------------------------------------------------------------------

TBitmap::TBitmap(int width, int height) {
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height() && !image_.isNull()) return;
    QImage resized;
    if (width > 0 && height > 0) {
        resized = QImage(width, height, QImage::Format_BGR888);
        if (resized.isNull()) {
            throw Exception(QString("Bitmap %1 x %2 is too large").arg(width).arg(height));
        }
        resized.fill(Qt::black);
        int rows = std::min(height, image_.height());
        int bytes = 3 * std::min(width, image_.width());
        for (int y = 0; y < rows; ++y)
            std::memcpy(resized.scanLine(y), image_.constScanLine(y), bytes);
    }
    image_ = resized;
    width_ = width;
    height_ = height;
    Changed();
}

std::uint8_t* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= image_.height()) {
        throw Exception(QString("Scan line index out of range: %1").arg(row));
    }
    return image_.scanLine(row);
}

const std::uint8_t* TBitmap::ScanLine(int row) const {
    if (row < 0 || row >= image_.height()) {
        throw Exception(QString("Scan line index out of range: %1").arg(row));
    }
    return image_.constScanLine(row);
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) canvas_.reset(new TCanvas(this));
    return canvas_.get();
}

void TBitmap::Assign(const TBitmap* source) {
    if (source == this) return;
    if (source == nullptr) {
        image_ = QImage();
        width_ = height_ = 0;
    } else {
        image_ = source->image_.copy();
        width_ = source->width_;
        height_ = source->height_;
    }
    Changed();
}

void TBitmap::Assign(const QImage& image) {
    image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_BGR888);
    width_ = image_.width();
    height_ = image_.height();
    Changed();
}

void TBitmap::LoadFromResourceName(const QString& name) {
    for (const QString& candidate :
         {":/res/" + name, ":/res/" + name + ".bmp", ":/res/" + name + ".png"}) {
        QImage image(candidate);
        if (!image.isNull()) {
            Assign(image);
            return;
        }
    }
    throw Exception(QString("Resource %1 not found").arg(name));
}

void TBitmap::LoadFromFile(const QString& path) {
    QImage image(path);
    if (image.isNull()) throw Exception(QString("Cannot read the bitmap %1").arg(path));
    Assign(image);
}

bool TBitmap::SaveToFile(const QString& path) const {
    if (image_.isNull()) return false;
    return image_.save(path, path.endsWith(".png", Qt::CaseInsensitive) ? "PNG" : "BMP");
}

void TBitmap::CanvasChanged(const TRect&) {
    Changed();
}

void TBitmap::Changed() {
    if (OnChange) OnChange();
}

} // namespace platform
