#include "platform/ui/graphics.h"

#include "platform/ui/exceptions.h"
#include "platform/ui/textlayout.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

// ---- Colours ----------------------------------------------------------------

QColor ToQColor(TColor color) {
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

TColor FromQColor(const QColor& color) {
    return RGB(color.red(), color.green(), color.blue());
}

// ---- Font, brush, pen ------------------------------------------------------

TFont::TFont(const TFont& other)
    : name_(other.name_), height_(other.height_), style_(other.style_), color_(other.color_) {}

TFont& TFont::operator=(const TFont& other) {
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    color_ = other.color_;
    Changed();
    return *this;
}

void TFont::Changed() {
    if (OnChange) OnChange();
}

void TFont::SetName(const QString& name) {
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    height_ = height;
    Changed();
}

namespace {
// MulDiv of Windows: a * b / c, rounded half away from zero.
int MulDiv(int a, int b, int c) {
    long long product = static_cast<long long>(a) * b;
    long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}
} // namespace

int TFont::Size() const {
    return -MulDiv(height_, 72, 96);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, 96, 72));
}

void TFont::SetStyle(TFontStyles style) {
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    color_ = color;
    Changed();
}

void TFont::Assign(const TFont* source) {
    if (source != nullptr) *this = *source;
}

QFont TFont::ToQFont() const {
    QFont font(name_);
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferMatch);
    int pixels = 11;
    if (height_ < 0) {
        pixels = -height_;
    } else if (height_ > 0) {
        // A positive height names the whole cell; scale the character size
        // so that ascent plus descent come to it.
        QFont probe(font);
        probe.setPixelSize(100);
        QFontMetrics metrics(probe);
        int cell = std::max(1, metrics.ascent() + metrics.descent());
        pixels = std::max(1, height_ * 100 / cell);
    }
    font.setPixelSize(pixels);
    font.setBold((style_ & fsBold) != 0);
    font.setItalic((style_ & fsItalic) != 0);
    font.setUnderline((style_ & fsUnderline) != 0);
    font.setStrikeOut((style_ & fsStrikeOut) != 0);
    return font;
}

TBrush::TBrush(const TBrush& other) : color_(other.color_), style_(other.style_) {}

TBrush& TBrush::operator=(const TBrush& other) {
    color_ = other.color_;
    style_ = other.style_;
    if (OnChange) OnChange();
    return *this;
}

void TBrush::SetColor(TColor color) {
    color_ = color;
    if (OnChange) OnChange();
}

void TBrush::SetStyle(TBrushStyle style) {
    style_ = style;
    if (OnChange) OnChange();
}

TPen::TPen(const TPen& other) : color_(other.color_), width_(other.width_), style_(other.style_) {}

TPen& TPen::operator=(const TPen& other) {
    color_ = other.color_;
    width_ = other.width_;
    style_ = other.style_;
    if (OnChange) OnChange();
    return *this;
}

void TPen::SetColor(TColor color) {
    color_ = color;
    if (OnChange) OnChange();
}

void TPen::SetWidth(int width) {
    width_ = std::max(1, width);
    if (OnChange) OnChange();
}

void TPen::SetStyle(TPenStyle style) {
    style_ = style;
    if (OnChange) OnChange();
}

// ---- Canvas -------------------------------------------------------------------

namespace {

TRect Normalised(int x1, int y1, int x2, int y2) {
    return Rect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
}

TRect Intersect(const TRect& a, const TRect& b) {
    TRect r = Rect(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                   std::min(a.Bottom, b.Bottom));
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

bool IsEmpty(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

void PutPixel(QImage& image, int x, int y, TColor color) {
    std::uint8_t* p = image.scanLine(y) + 3 * x;
    p[0] = std::uint8_t(GetBValue(color));
    p[1] = std::uint8_t(GetGValue(color));
    p[2] = std::uint8_t(GetRValue(color));
}

bool PenVisible(const TPen& pen) {
    return pen.Style() != psClear;
}

// A QPainter on the canvas image set up for exact pixels: no antialiasing for shapes.
void PreparePainter(QPainter& painter, const TPen& pen, const TBrush& brush) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (PenVisible(pen)) {
        QPen qpen(ToQColor(pen.Color()));
        qpen.setWidth(pen.Width() <= 1 ? 0 : pen.Width());
        painter.setPen(qpen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    if (brush.Style() == bsSolid) {
        painter.setBrush(ToQColor(brush.Color()));
    } else {
        painter.setBrush(Qt::NoBrush);
    }
}

} // namespace

TCanvas::TCanvas(TCanvasTarget* target) : target_(target) {}

int TCanvas::Width() const {
    return target_->CanvasImage().width();
}

int TCanvas::Height() const {
    return target_->CanvasImage().height();
}

void TCanvas::Changed(const TRect& area) {
    TRect clipped = Intersect(area, Rect(0, 0, Width(), Height()));
    if (!IsEmpty(clipped)) target_->CanvasChanged(clipped);
}

TColor TCanvas::Pixel(int x, int y) const {
    const QImage& image = target_->CanvasImage();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return 0;
    const std::uint8_t* p = image.constScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    QImage& image = target_->CanvasImage();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
    PutPixel(image, x, y, color);
    Changed(Rect(x, y, x + 1, y + 1));
}

void TCanvas::FillArea(const TRect& rect, TColor color) {
    QImage& image = target_->CanvasImage();
    TRect r = Intersect(rect, Rect(0, 0, image.width(), image.height()));
    if (IsEmpty(r)) return;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x)
            PutPixel(image, x, y, color);
    }
}

void TCanvas::MoveTo(int x, int y) {
    penPos_ = Point(x, y);
}

void TCanvas::LineTo(int x, int y) {
    if (PenVisible(pen_)) DrawLine(penPos_.X, penPos_.Y, x, y);
    penPos_ = Point(x, y);
}

// Bresenham from (x1, y1) towards (x2, y2), the end point left out. Wider
// pens stamp a square of the pen's width centred on each point.
void TCanvas::DrawLine(int x1, int y1, int x2, int y2) {
    int dx = std::abs(x2 - x1);
    int dy = -std::abs(y2 - y1);
    int sx = x1 < x2 ? 1 : -1;
    int sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int w = pen_.Width();
    int before = (w - 1) / 2;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        FillArea(Rect(x - before, y - before, x - before + w, y - before + w), pen_.Color());
        int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
    Changed(Rect(std::min(x1, x2) - w, std::min(y1, y2) - w, std::max(x1, x2) + w,
                 std::max(y1, y2) + w));
}

void TCanvas::FillRect(const TRect& rect) {
    TRect r = Normalised(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (brush_.Style() == bsClear) return;
    FillArea(r, brush_.Color());
    Changed(r);
}

void TCanvas::FrameRect(const TRect& rect) {
    TRect r = Normalised(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (IsEmpty(r)) return;
    TColor c = brush_.Color();
    FillArea(Rect(r.Left, r.Top, r.Right, r.Top + 1), c);
    FillArea(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), c);
    FillArea(Rect(r.Left, r.Top, r.Left + 1, r.Bottom), c);
    FillArea(Rect(r.Right - 1, r.Top, r.Right, r.Bottom), c);
    Changed(r);
}

// The outline lies inside the rectangle, as wide as the pen; without a pen
// the filled area is one pixel smaller to the right and bottom, so that
// rectangles sharing an edge do not overlap.
void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    TRect r = Normalised(x1, y1, x2, y2);
    if (IsEmpty(r)) return;
    if (!PenVisible(pen_)) {
        if (brush_.Style() == bsSolid)
            FillArea(Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), brush_.Color());
        Changed(r);
        return;
    }
    int w = pen_.Width();
    if (brush_.Style() == bsSolid) {
        FillArea(Rect(r.Left + w, r.Top + w, r.Right - w, r.Bottom - w), brush_.Color());
    }
    TColor c = pen_.Color();
    FillArea(Rect(r.Left, r.Top, r.Right, r.Top + w), c);
    FillArea(Rect(r.Left, r.Bottom - w, r.Right, r.Bottom), c);
    FillArea(Rect(r.Left, r.Top, r.Left + w, r.Bottom), c);
    FillArea(Rect(r.Right - w, r.Top, r.Right, r.Bottom), c);
    Changed(r);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    TRect r = Normalised(x1, y1, x2, y2);
    if (IsEmpty(r)) return;
    {
        QPainter painter(&target_->CanvasImage());
        PreparePainter(painter, pen_, brush_);
        painter.drawEllipse(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    }
    Changed(r);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    TRect r = Normalised(x1, y1, x2, y2);
    if (IsEmpty(r)) return;
    {
        QPainter painter(&target_->CanvasImage());
        PreparePainter(painter, pen_, brush_);
        painter.drawRoundedRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1),
                                cornerWidth / 2.0, cornerHeight / 2.0);
    }
    Changed(r);
}

int TCanvas::TextWidth(const QString& text) const {
    return QFontMetrics(font_.ToQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const {
    return textlayout::LineHeight(QFontMetrics(font_.ToQFont()));
}

void TCanvas::TextOut(int x, int y, const QString& text) {
    QFont qfont = font_.ToQFont();
    QFontMetrics metrics(qfont);
    int width = metrics.horizontalAdvance(text);
    int height = textlayout::LineHeight(metrics);
    {
        QPainter painter(&target_->CanvasImage());
        if (brush_.Style() == bsSolid) {
            painter.fillRect(QRect(x, y, width, height), ToQColor(brush_.Color()));
        }
        painter.setFont(qfont);
        painter.setPen(ToQColor(font_.Color()));
        painter.drawText(x, y + metrics.ascent(), text);
    }
    penPos_ = Point(x + width, y);
    // Italic and overhanging glyphs may reach a little beyond the advance.
    Changed(Rect(x - 2, y, x + width + height / 2 + 2, y + height));
}

void TCanvas::DrawTextLines(const QStringList& lines, const TRect& box, unsigned format,
                            bool clip) {
    QFont qfont = font_.ToQFont();
    QFontMetrics metrics(qfont);
    int lineHeight = textlayout::LineHeight(metrics);
    int y = box.Top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0) y = box.Top + (box.Height() - lineHeight) / 2;
        if ((format & DT_BOTTOM) != 0) y = box.Bottom - lineHeight;
    }
    QPainter painter(&target_->CanvasImage());
    if (clip) painter.setClipRect(QRect(box.Left, box.Top, box.Width(), box.Height()));
    painter.setFont(qfont);
    for (const QString& line : lines) {
        int width = metrics.horizontalAdvance(line);
        int x = box.Left;
        if ((format & DT_CENTER) != 0)
            x = box.Left + (box.Width() - width) / 2;
        else if ((format & DT_RIGHT) != 0)
            x = box.Right - width;
        if (brush_.Style() == bsSolid) {
            painter.fillRect(QRect(x, y, width, lineHeight), ToQColor(brush_.Color()));
        }
        painter.setPen(ToQColor(font_.Color()));
        painter.drawText(x, y + metrics.ascent(), line);
        y += lineHeight;
    }
}

int TCanvas::DrawText(const QString& text, TRect& rect, unsigned format) {
    QString shown = (format & DT_NOPREFIX) != 0 ? text : textlayout::StripPrefix(text);
    QFontMetrics metrics(font_.ToQFont());
    QStringList lines;
    if ((format & DT_SINGLELINE) != 0) {
        lines << QString(shown).remove('\r').remove('\n');
    } else {
        lines = textlayout::BreakLines(shown, metrics, (format & DT_WORDBREAK) != 0, rect.Width());
    }
    int height = int(lines.size()) * textlayout::LineHeight(metrics);
    if ((format & DT_CALCRECT) != 0) {
        rect.Right = rect.Left + textlayout::WidestLine(lines, metrics);
        rect.Bottom = rect.Top + height;
        return height;
    }
    DrawTextLines(lines, rect, format, (format & DT_NOCLIP) == 0);
    int widest = textlayout::WidestLine(lines, metrics);
    int lineHeight = textlayout::LineHeight(metrics);
    Changed(Rect(std::min(rect.Left, rect.Right - widest) - 2, rect.Top - lineHeight,
                 std::max(rect.Right, rect.Left + widest) + lineHeight,
                 rect.Bottom + height + lineHeight));
    return height;
}

void TCanvas::Draw(int x, int y, const TBitmap* bitmap) {
    if (bitmap == nullptr || bitmap->Empty()) return;
    StretchBlt(this, x, y, bitmap->Width(), bitmap->Height(),
               const_cast<TBitmap*>(bitmap)->Canvas(), 0, 0, bitmap->Width(), bitmap->Height(),
               SRCCOPY);
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap* bitmap) {
    if (bitmap == nullptr || bitmap->Empty()) return;
    StretchBlt(this, rect.Left, rect.Top, rect.Width(), rect.Height(),
               const_cast<TBitmap*>(bitmap)->Canvas(), 0, 0, bitmap->Width(), bitmap->Height(),
               SRCCOPY);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas* source, const TRect& sourceRect) {
    StretchBlt(this, dest.Left, dest.Top, dest.Width(), dest.Height(), source, sourceRect.Left,
               sourceRect.Top, sourceRect.Width(), sourceRect.Height(), copyMode_);
}

// ---- Block transfers -----------------------------------------------------------

namespace {

bool NeedsSource(std::uint32_t rop) {
    return rop != BLACKNESS && rop != WHITENESS;
}

bool KnownRop(std::uint32_t rop) {
    switch (rop) {
    case SRCCOPY:
    case SRCPAINT:
    case SRCAND:
    case SRCINVERT:
    case NOTSRCCOPY:
    case BLACKNESS:
    case WHITENESS:
        return true;
    default:
        return false;
    }
}

std::uint8_t Combine(std::uint32_t rop, std::uint8_t source, std::uint8_t dest) {
    switch (rop) {
    case SRCCOPY:
        return source;
    case SRCPAINT:
        return source | dest;
    case SRCAND:
        return source & dest;
    case SRCINVERT:
        return source ^ dest;
    case NOTSRCCOPY:
        return std::uint8_t(~source);
    case BLACKNESS:
        return 0;
    default: // WHITENESS
        return 0xFF;
    }
}

} // namespace

bool BitBlt(TCanvas* dest, int x, int y, int w, int h, const TCanvas* source, int sx, int sy,
            std::uint32_t rop) {
    return StretchBlt(dest, x, y, w, h, source, sx, sy, w, h, rop);
}

namespace {

// Applies `combine` to every byte of the destination row span, reading the
// source pixel given by `sourceX` for each column.
template <class Combiner>
void BlendRow(std::uint8_t* out, const std::uint8_t* in, const std::vector<int>& targetX,
              const std::vector<int>& sourceX, Combiner combine) {
    for (std::size_t i = 0; i < targetX.size(); ++i) {
        std::uint8_t* d = out + 3 * targetX[i];
        const std::uint8_t* s = in + 3 * sourceX[i];
        d[0] = combine(s[0], d[0]);
        d[1] = combine(s[1], d[1]);
        d[2] = combine(s[2], d[2]);
    }
}

void TransferRow(std::uint32_t rop, std::uint8_t* out, const std::uint8_t* in,
                 const std::vector<int>& targetX, const std::vector<int>& sourceX) {
    switch (rop) {
    case SRCAND:
        BlendRow(out, in, targetX, sourceX,
                 [](std::uint8_t s, std::uint8_t d) { return std::uint8_t(s & d); });
        break;
    case SRCPAINT:
        BlendRow(out, in, targetX, sourceX,
                 [](std::uint8_t s, std::uint8_t d) { return std::uint8_t(s | d); });
        break;
    case SRCINVERT:
        BlendRow(out, in, targetX, sourceX,
                 [](std::uint8_t s, std::uint8_t d) { return std::uint8_t(s ^ d); });
        break;
    default:
        BlendRow(out, in, targetX, sourceX,
                 [rop](std::uint8_t s, std::uint8_t d) { return Combine(rop, s, d); });
        break;
    }
}

} // namespace

bool StretchBlt(TCanvas* dest, int x, int y, int w, int h, const TCanvas* source, int sx, int sy,
                int sw, int sh, std::uint32_t rop) {
    if (dest == nullptr || !KnownRop(rop)) return false;
    bool withSource = NeedsSource(rop);
    if (withSource && source == nullptr) return false;
    if (w <= 0 || h <= 0 || (withSource && (sw <= 0 || sh <= 0))) return false;
    QImage& target = dest->Image();
    if (!withSource) {
        TColor fill = rop == WHITENESS ? clWhite : clBlack;
        dest->FillArea(Bounds(x, y, w, h), fill);
        dest->Changed(Bounds(x, y, w, h));
        return true;
    }
    // A transfer within one surface reads from a copy, so overlapping areas
    // come out as if read before written.
    QImage sourceCopy;
    const QImage* from = &source->Image();
    if (source == dest) {
        sourceCopy = target.copy();
        from = &sourceCopy;
    }
    // The columns that lie inside both surfaces, and where each reads from
    // (the nearest source pixel, as without smoothing).
    std::vector<int> targetX, sourceX;
    targetX.reserve(std::size_t(w));
    sourceX.reserve(std::size_t(w));
    for (int col = 0; col < w; ++col) {
        int tx = x + col;
        int fx = sx + int(static_cast<long long>(col) * sw / w);
        if (tx < 0 || tx >= target.width() || fx < 0 || fx >= from->width()) continue;
        targetX.push_back(tx);
        sourceX.push_back(fx);
    }
    if (!targetX.empty()) {
        bool contiguous = sw == w; // unscaled: one block copy per row
        for (int row = 0; row < h; ++row) {
            int ty = y + row;
            int fy = sy + int(static_cast<long long>(row) * sh / h);
            if (ty < 0 || ty >= target.height() || fy < 0 || fy >= from->height()) continue;
            std::uint8_t* out = target.scanLine(ty);
            const std::uint8_t* in = from->constScanLine(fy);
            if (rop == SRCCOPY && contiguous) {
                std::memcpy(out + 3 * targetX.front(), in + 3 * sourceX.front(),
                            3 * targetX.size());
            } else {
                TransferRow(rop, out, in, targetX, sourceX);
            }
        }
    }
    dest->Changed(Bounds(x, y, w, h));
    return true;
}

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
