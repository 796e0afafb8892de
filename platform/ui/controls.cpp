#include "platform/ui/controls.h"

#include "platform/ui/accessible.h"

#include "platform/ui/textlayout.h"

#include <QFontMetrics>
#include <QPainter>

namespace platform {

QString TLabel::PresentedName() const {
    if (!AccessibleName().isEmpty()) return AccessibleName();
    return CaptionAsName(Caption(), showAccelChar_);
}

// ---- TLabel ------------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TControl(owner) {
    resize(65, 13);
    AdjustBounds();
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    AdjustBounds();
    update();
}

void TLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    update();
}

void TLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    update();
}

void TLabel::SetShowAccelChar(bool show) {
    showAccelChar_ = show;
    AdjustBounds();
    update();
}

// An empty caption still takes the room of one blank: an emptied label keeps its height.
QString TLabel::ShownText() const {
    QString text = showAccelChar_ ? textlayout::StripPrefix(Caption()) : Caption();
    return text.isEmpty() ? QString(" ") : text;
}

QStringList TLabel::Lines() const {
    QFontMetrics metrics(const_cast<TLabel*>(this)->Font()->ToQFont());
    return textlayout::BreakLines(ShownText(), metrics, wordWrap_, Width());
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || adjusting_) return;
    adjusting_ = true;
    QFontMetrics metrics(Font()->ToQFont());
    QStringList lines = Lines();
    int width = wordWrap_ ? Width() : textlayout::WidestLine(lines, metrics);
    int height = int(lines.size()) * textlayout::LineHeight(metrics);
    int left = Left();
    // A right-aligned label keeps its right edge.
    if (alignment_ == taRightJustify && !wordWrap_) left = Left() + Width() - width;
    SetBounds(left, Top(), width, height);
    adjusting_ = false;
}

void TLabel::FontChanged() {
    TControl::FontChanged();
    AdjustBounds();
}

void TLabel::CaptionChanged() {
    AdjustBounds();
    update();
}

void TLabel::Resized() {
    if (wordWrap_) AdjustBounds();
}

void TLabel::PaintControl(QPainter& painter) {
    if (!transparent_) painter.fillRect(rect(), ToQColor(Color()));
    QFont font = Font()->ToQFont();
    QFontMetrics metrics(font);
    painter.setFont(font);
    int lineHeight = textlayout::LineHeight(metrics);
    int y = 0;
    for (const QString& line : Lines()) {
        int width = metrics.horizontalAdvance(line);
        int x = 0;
        if (alignment_ == taCenter) x = (Width() - width) / 2;
        if (alignment_ == taRightJustify) x = Width() - width;
        if (Enabled()) {
            painter.setPen(ToQColor(Font()->Color()));
            painter.drawText(x, y + metrics.ascent(), line);
        } else {
            // Disabled text: grey with a light shade below it, readable on any background.
            painter.setPen(ToQColor(clWhite));
            painter.drawText(x + 1, y + 1 + metrics.ascent(), line);
            painter.setPen(ToQColor(clGray));
            painter.drawText(x, y + metrics.ascent(), line);
        }
        y += lineHeight;
    }
}

// ---- TShape ------------------------------------------------------------------------

TShape::TShape(TComponent* owner) : TControl(owner) {
    resize(65, 65);
    brush_.OnChange = [this] { update(); };
    pen_.OnChange = [this] { update(); };
}

void TShape::SetShape(TShapeType shape) {
    shape_ = shape;
    update();
}

void TShape::PaintControl(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    int w = pen_.Style() == psClear ? 0 : pen_.Width();
    QRect area = rect();
    if (shape_ == stSquare || shape_ == stCircle) {
        int side = std::min(Width(), Height());
        area = QRect((Width() - side) / 2, (Height() - side) / 2, side, side);
    }
    if (shape_ == stRectangle || shape_ == stSquare) {
        if (brush_.Style() == bsSolid) {
            painter.fillRect(area.adjusted(w, w, -w, -w), ToQColor(brush_.Color()));
        }
        if (w > 0) {
            QColor c = ToQColor(pen_.Color());
            painter.fillRect(QRect(area.left(), area.top(), area.width(), w), c);
            painter.fillRect(QRect(area.left(), area.bottom() - w + 1, area.width(), w), c);
            painter.fillRect(QRect(area.left(), area.top(), w, area.height()), c);
            painter.fillRect(QRect(area.right() - w + 1, area.top(), w, area.height()), c);
        }
        return;
    }
    if (w > 0) {
        QPen pen(ToQColor(pen_.Color()));
        pen.setWidth(w <= 1 ? 0 : w);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(brush_.Style() == bsSolid ? QBrush(ToQColor(brush_.Color())) : QBrush());
    QRect inner = area.adjusted(w / 2, w / 2, -(w / 2) - 1, -(w / 2) - 1);
    if (shape_ == stRoundRect) {
        int corner = std::min(area.width(), area.height()) / 4;
        painter.drawRoundedRect(inner, corner, corner);
    } else {
        painter.drawEllipse(inner);
    }
}

// ---- TImage ------------------------------------------------------------------------

TImage::TImage(TComponent* owner) : TControl(owner) {
    resize(105, 105);
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
    scaled_ = QImage();
    if (autoSize_ && !picture_.Empty())
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    update();
}

void TImage::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    PictureChanged();
}

void TImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    update();
}

void TImage::SetCenter(bool center) {
    center_ = center;
    update();
}

void TImage::PaintControl(QPainter& painter) {
    if (picture_.Empty()) return;
    if (stretch_) {
        if (scaled_.size() != size()) {
            TBitmap scaled(Width(), Height());
            scaled.Canvas()->StretchDraw(ClientRect(), &picture_);
            scaled_ = scaled.Image();
        }
        painter.drawImage(0, 0, scaled_);
        return;
    }
    int x = center_ ? (Width() - picture_.Width()) / 2 : 0;
    int y = center_ ? (Height() - picture_.Height()) / 2 : 0;
    painter.drawImage(x, y, picture_.Image());
}

// ---- TPanel ------------------------------------------------------------------------

TPanel::TPanel(TComponent* owner) : TControl(owner) {
    resize(185, 41);
}

void TPanel::SetBevelOuter(TBevelCut bevel) {
    bevelOuter_ = bevel;
    update();
}

void TPanel::PaintControl(QPainter& painter) {
    painter.fillRect(rect(), ToQColor(Color()));
    if (bevelOuter_ != bvNone) {
        QColor light = ToQColor(clWhite);
        QColor dark = ToQColor(clGray);
        if (bevelOuter_ == bvLowered) std::swap(light, dark);
        painter.fillRect(QRect(0, 0, Width(), 1), light);
        painter.fillRect(QRect(0, 0, 1, Height()), light);
        painter.fillRect(QRect(0, Height() - 1, Width(), 1), dark);
        painter.fillRect(QRect(Width() - 1, 0, 1, Height()), dark);
    }
    if (!Caption().isEmpty()) {
        painter.setFont(Font()->ToQFont());
        painter.setPen(ToQColor(Font()->Color()));
        painter.drawText(rect(), Qt::AlignCenter, Caption());
    }
}

} // namespace platform
