// The canvas: pixels, lines, shapes and text on a 24-bit image.
#include "platform/ui/graphics.h"

#include "platform/ui/textlayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace platform {

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

TCanvas::ChangeBatch::ChangeBatch(TCanvas* canvas) : target_(canvas ? canvas->target_ : nullptr) {
    if (target_ != nullptr) target_->BeginChanges();
}

TCanvas::ChangeBatch::~ChangeBatch() {
    if (target_ != nullptr) target_->EndChanges();
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
    int width = 0, height = 0;
    {
        QPainter painter(&target_->CanvasImage());
        WriteLine(painter, x, y, text, width, height);
    }
    penPos_ = Point(x + width, y);
    // Italic and overhanging glyphs may reach a little beyond the advance.
    Changed(Rect(x - 2, y, x + width + height / 2 + 2, y + height));
}

void TCanvas::TextOutOn(QPainter& painter, int x, int y, const QString& text) const {
    int width = 0, height = 0;
    painter.save();
    WriteLine(painter, x, y, text, width, height);
    painter.restore();
}

void TCanvas::WriteLine(QPainter& painter, int x, int y, const QString& text, int& width,
                        int& height) const {
    QFont qfont = font_.ToQFont();
    QFontMetrics metrics(qfont);
    width = metrics.horizontalAdvance(text);
    height = textlayout::LineHeight(metrics);
    if (brush_.Style() == bsSolid) {
        painter.fillRect(QRect(x, y, width, height), ToQColor(brush_.Color()));
    }
    painter.setFont(qfont);
    painter.setPen(ToQColor(font_.Color()));
    painter.drawText(x, y + metrics.ascent(), text);
}

void TCanvas::DrawTextLines(QPainter& painter, const QStringList& lines, const TRect& box,
                            unsigned format, bool clip) const {
    QFont qfont = font_.ToQFont();
    QFontMetrics metrics(qfont);
    int lineHeight = textlayout::LineHeight(metrics);
    int y = box.Top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0) y = box.Top + (box.Height() - lineHeight) / 2;
        if ((format & DT_BOTTOM) != 0) y = box.Bottom - lineHeight;
    }
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

QStringList TCanvas::TextLines(const QString& text, const TRect& rect, unsigned format) const {
    QString shown = (format & DT_NOPREFIX) != 0 ? text : textlayout::StripPrefix(text);
    if ((format & DT_SINGLELINE) != 0) return {QString(shown).remove('\r').remove('\n')};
    QFontMetrics metrics(font_.ToQFont());
    return textlayout::BreakLines(shown, metrics, (format & DT_WORDBREAK) != 0, rect.Width());
}

int TCanvas::DrawText(const QString& text, TRect& rect, unsigned format) {
    QFontMetrics metrics(font_.ToQFont());
    const QStringList lines = TextLines(text, rect, format);
    int height = int(lines.size()) * textlayout::LineHeight(metrics);
    if ((format & DT_CALCRECT) != 0) {
        rect.Right = rect.Left + textlayout::WidestLine(lines, metrics);
        rect.Bottom = rect.Top + height;
        return height;
    }
    {
        QPainter painter(&target_->CanvasImage());
        DrawTextLines(painter, lines, rect, format, (format & DT_NOCLIP) == 0);
    }
    int widest = textlayout::WidestLine(lines, metrics);
    int lineHeight = textlayout::LineHeight(metrics);
    Changed(Rect(std::min(rect.Left, rect.Right - widest) - 2, rect.Top - lineHeight,
                 std::max(rect.Right, rect.Left + widest) + lineHeight,
                 rect.Bottom + height + lineHeight));
    return height;
}

void TCanvas::DrawTextOn(QPainter& painter, const QString& text, const TRect& rect,
                         unsigned format) const {
    if ((format & DT_CALCRECT) != 0) return;
    painter.save();
    DrawTextLines(painter, TextLines(text, rect, format), rect, format, (format & DT_NOCLIP) == 0);
    painter.restore();
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

} // namespace platform
