// Colours, fonts, brushes and pens (the canvas, block transfers and bitmaps
// have files of their own: canvas.cpp, blocktransfer.cpp, bitmap.cpp).
#include "platform/ui/graphics.h"

#include <QFontMetrics>
#include <algorithm>

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

} // namespace platform
