#include "content/generator/lesson_pictures.h"

#include "content/generator/art_paint.h"
#include "content/generator/lesson_screens.h"
#include "content/generator/lesson_drawparts.h"
#include "content/generator/lesson_text.h"
#include "layout/screenlayout.h"

#include <QFontMetricsF>
#include <algorithm>

namespace art {
namespace {

constexpr int kCaptionHeight = 34;

// The caption in its strip; false when it needs more room than the strip has.
bool Caption(QPainter& p, const QString& text) {
    const QRectF strip(0, 144 - kCaptionHeight, 192, kCaptionHeight);
    p.fillRect(strip, C("cream-shade"));
    const QRectF room = strip.adjusted(5, 1, -5, -1);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    QFont font = Sans(10);
    if (QFontMetricsF(font).boundingRect(room, flags, text).height() > room.height()) font = Sans(9);
    p.setFont(font);
    p.setPen(C("ink"));
    p.drawText(room, flags, text);
    const QRectF needed = QFontMetricsF(font).boundingRect(room, flags, text);
    return needed.height() <= room.height() + 0.5 && needed.width() <= room.width() + 0.5;
}

} // namespace

QImage SlidePicture(const content::Lesson& lesson, const content::Outline& outline, const std::string& drawing,
                    unsigned seed, const std::string& caption, std::string& error) {
    QImage image = Paper(layout::SlidePicture, seed, C("cream-light"));
    QPainter p;
    BeginPainter(p, image);
    const DrawingSource source{lesson, outline};
    if (!DrawDrawing(p, QRectF(0, 0, 192, 144 - kCaptionHeight), source, drawing, error)) return {};
    if (!Caption(p, QString::fromStdString(caption))) {
        error = "the caption '" + caption + "' does not fit under its picture";
        return {};
    }
    p.setPen(QPen(C("wood"), 1));
    p.drawRect(QRectF(0.5, 0.5, 191, 143));
    return image;
}

QImage ChordPicture(const content::ChordShape& shape) {
    QImage image = Paper(kChordPicture, 7, C("cream-light"));
    QPainter p;
    BeginPainter(p, image);
    p.setPen(C("accent"));
    p.setFont(Sans(13, true));
    p.drawText(QRectF(0, 1, kChordPicture.width(), 16), Qt::AlignCenter, QString::fromStdString(shape.name));
    const int frets = std::max(4, *std::max_element(shape.frets.begin(), shape.frets.end()));
    drawing::ChordDiagram(p, QRectF(10, 30, kChordPicture.width() - 20, kChordPicture.height() - 36), shape, frets);
    p.setPen(QPen(C("wood"), 1));
    p.drawRect(QRectF(0.5, 0.5, kChordPicture.width() - 1, kChordPicture.height() - 1));
    return image;
}

QImage ToolSymbol(bool help) {
    QImage image = Canvas(kSymbolSize, C("cream"));
    QPainter p;
    BeginPainter(p, image);
    const QRectF box(1, 1, kSymbolSize.width() - 2, kSymbolSize.height() - 2);
    p.setPen(QPen(C("wood"), 1.2));
    p.setBrush(C("cream-light"));
    p.drawRoundedRect(box, 5, 5);
    p.setPen(QPen(C("accent"), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    if (help) {
        p.setFont(Sans(20, true));
        p.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
    } else { // a tuning fork
        const double cx = box.center().x();
        p.drawLine(QPointF(cx - 4, 6), QPointF(cx - 4, 15));
        p.drawLine(QPointF(cx + 4, 6), QPointF(cx + 4, 15));
        p.drawArc(QRectF(cx - 4, 11, 8, 8), 180 * 16, 180 * 16);
        p.drawLine(QPointF(cx, 19), QPointF(cx, 24));
    }
    return image;
}

QImage SlideCard() {
    QImage image(kSlideCardRect.size(), QImage::Format_RGB32);
    image.fill(C("cream"));
    QPainter p;
    BeginPainter(p, image);
    p.drawImage(0, 0, Paper(kSlideCardRect.size(), 31, C("cream-light")));
    p.setPen(QPen(C("honey"), 1));
    p.drawLine(QPointF(26, 56.5), QPointF(kSlideCardRect.width() - 26, 56.5));
    p.setPen(QPen(C("wood", 160), 1));
    p.drawRect(QRectF(0.5, 0.5, kSlideCardRect.width() - 1, kSlideCardRect.height() - 1));
    return image;
}

} // namespace art
