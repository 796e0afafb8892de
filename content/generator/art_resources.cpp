#include "content/generator/art_resources.h"

#include "layout/screenlayout.h"
#include "content/generator/art_jpeg.h"
#include "content/generator/art_paint.h"
#include "content/generator/art_scenes.h"
#include "content/generator/contentstep.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace art {

namespace {

enum class Look { Normal, Over, Down };

// The rounded cream button of the left column, the quiz, the slide windows
// and the dialogs; the control draws its caption over it.
QImage ButtonFace(QSize size, Look look) {
    QImage image = Canvas(size, C("wood-dark"));
    QPainter p;
    BeginPainter(p, image);
    const double radius = layout::ButtonCornerEllipse / 2.0;
    const QRectF face(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient fill(0, 0, 0, size.height());
    switch (look) {
    case Look::Normal:
        fill.setColorAt(0, C("cream-light"));
        fill.setColorAt(1, C("cream-shade"));
        break;
    case Look::Over:
        fill.setColorAt(0, QColor(0xFF, 0xF6, 0xE0));
        fill.setColorAt(1, C("honey"));
        break;
    case Look::Down:
        fill.setColorAt(0, C("honey"));
        fill.setColorAt(1, C("cream-shade"));
        break;
    }
    p.setBrush(fill);
    p.setPen(QPen(look == Look::Over ? C("accent") : C("wood"), 1));
    p.drawRoundedRect(face, radius, radius);
    if (look == Look::Down) {
        p.setPen(QPen(C("shadow", 90), 1));
        p.drawLine(QPointF(radius, 1.5), QPointF(size.width() - radius, 1.5));
    } else {
        p.setPen(QPen(QColor(255, 255, 255, 170), 1));
        p.drawLine(QPointF(radius, 1.5), QPointF(size.width() - radius, 1.5));
    }
    return image;
}

// A transport key on its console: a cream key with a symbol and a small lamp.
QImage TransportKey(int row, int column, Icon icon, Look look) {
    const QPoint at = layout::TransportKey(row, column);
    QImage image = MainBackground().copy(QRect(at, layout::TransportButton));
    QPainter p;
    BeginPainter(p, image);
    const QRectF key(2.5, 2.5, image.width() - 5, image.height() - 5);
    QPainterPath path;
    path.addRoundedRect(key, 5, 5);
    if (look != Look::Down) SoftShadow(p, path, QPointF(1, 2), 2, C("shadow", 170));
    QLinearGradient fill(0, key.top(), 0, key.bottom());
    fill.setColorAt(0, look == Look::Over ? QColor(0xFF, 0xF6, 0xE0) : C("cream-light"));
    fill.setColorAt(1, look == Look::Down ? C("honey") : C("cream-shade"));
    if (look == Look::Down) {
        fill.setColorAt(0, C("cream-shade"));
    }
    p.setBrush(fill);
    p.setPen(QPen(look == Look::Over ? C("accent") : C("wood-dark"), 1));
    p.drawPath(path);
    if (look == Look::Down) Inset(p, key, 5, 50);
    else Raised(p, key, 5, 90);
    const QPointF shift = look == Look::Down ? QPointF(1, 1) : QPointF(0, 0);
    const QColor symbol = look == Look::Normal ? C("ink") : C("accent");
    DrawIcon(p, icon, QRectF(key.center() - QPointF(10, 10) + shift, QSizeF(20, 20)), symbol);
    // The lamp shows a pressed (or latched) key.
    const QPointF lamp(key.right() - 6, key.top() + 6);
    p.setPen(QPen(C("shadow", 120), 0.8));
    p.setBrush(look == Look::Down ? C("led-light") : C("led-dark"));
    p.drawEllipse(lamp, 2.2, 2.2);
    return image;
}

QImage BlankKey() {
    QImage image = TransportKey(1, 3, Icon::Dot, Look::Normal);
    return image;
}

QImage LedSegment(bool lit) {
    QImage image = Canvas(layout::LedSegment, lit ? C("led-light") : C("led-dark"));
    const int w = image.width(), h = image.height();
    QColor top = lit ? QColor(0xFF, 0xE2, 0xA0) : C("led-dark").lighter(125);
    QColor bottom = lit ? QColor(0xD8, 0x86, 0x1C) : C("led-dark").darker(130);
    for (int x = 0; x < w; ++x) {
        image.setPixelColor(x, 0, top);
        image.setPixelColor(x, h - 1, bottom);
    }
    for (int y = 0; y < h; ++y) {
        image.setPixelColor(0, y, bottom);
        image.setPixelColor(w - 1, y, bottom);
    }
    return image;
}

QImage LedBackground() {
    QImage image = MainBackground().copy(layout::LedPanel);
    QPainter p;
    BeginPainter(p, image);
    const QRectF well(0.5, 0.5, image.width() - 1, image.height() - 1);
    p.setBrush(C("shadow"));
    p.setPen(QPen(C("wood-dark"), 1));
    p.drawRoundedRect(well, 3, 3);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QImage dark = LedSegment(false);
    for (int i = 0; i < 10; ++i) p.drawImage(layout::LedSegmentAt(i) - layout::LedPanel.topLeft(), dark);
    p.drawImage(layout::PreRollLamp - layout::LedPanel.topLeft(), dark);
    return image;
}

QImage LevelPlate() {
    QImage image = MainBackground().copy(layout::LevelBlock);
    QPainter p;
    BeginPainter(p, image);
    const QRectF plate(1.5, 1.5, image.width() - 3, image.height() - 3);
    QLinearGradient fill(0, 0, 0, image.height());
    fill.setColorAt(0, C("cream-light"));
    fill.setColorAt(1, C("cream-shade"));
    p.setBrush(fill);
    p.setPen(QPen(C("wood-dark"), 1));
    p.drawRoundedRect(plate, 6, 6);
    Raised(p, plate, 6, 70);
    return image;
}

QImage TrackBar(bool over) {
    QImage image = MainBackground().copy(layout::TempoBar);
    QPainter p;
    BeginPainter(p, image);
    const QRectF plate(0.5, 0.5, image.width() - 1, image.height() - 1);
    QLinearGradient fill(0, 0, image.width(), 0);
    fill.setColorAt(0, over ? C("wood-light") : C("wood"));
    fill.setColorAt(1, C("wood-dark"));
    p.setBrush(fill);
    p.setPen(QPen(over ? C("accent") : C("shadow"), 1));
    p.drawRoundedRect(plate, 8, 8);
    const int margin = layout::TrackThumb.height() / 2 + layout::TrackTailSize;
    const QRectF groove(image.width() / 2.0 - 3, margin - 3, 6, image.height() - 2 * margin + 6);
    p.setBrush(C("shadow"));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(groove, 3, 3);
    Inset(p, groove, 3, 60);
    if (over) {
        p.setPen(QPen(C("accent-light", 120), 1));
        p.drawLine(QPointF(image.width() / 2.0, margin), QPointF(image.width() / 2.0, image.height() - margin));
    }
    return image;
}

QImage TrackThumb() {
    QImage image = Canvas(layout::TrackThumb, C("wood-dark"));
    QPainter p;
    BeginPainter(p, image);
    const QRectF knob(0.5, 0.5, image.width() - 1, image.height() - 1);
    QLinearGradient fill(0, 0, 0, image.height());
    fill.setColorAt(0, C("cream-light"));
    fill.setColorAt(1, C("cream-shade"));
    p.setBrush(fill);
    p.setPen(QPen(C("wood-dark"), 1));
    p.drawRoundedRect(knob, 3, 3);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int mid = image.height() / 2;
    p.fillRect(QRect(4, mid - 1, image.width() - 8, 2), C("accent"));
    p.setPen(C("wood"));
    for (int x : {6, 9, image.width() - 10, image.width() - 7}) {
        p.drawLine(x, 3, x, mid - 3);
        p.drawLine(x, mid + 2, x, image.height() - 4);
    }
    return image;
}

// The moving point: coloured inside its circle, black elsewhere, so that an OR
// over the black ellipse drawn beneath shows exactly the point.
QImage PointBitmap() {
    QImage image = Canvas(layout::PointBitmap, Qt::black);
    const double cx = image.width() / 2.0, cy = image.height() / 2.0, r = image.width() / 2.0 - 1.0;
    QColor rim = C("accent"), core = C("accent-light");
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double d = std::sqrt(dx * dx + dy * dy);
            if (d > r) continue;
            double light = std::clamp(1.0 - std::hypot(dx + r * 0.35, dy + r * 0.35) / (1.6 * r), 0.0, 1.0);
            QColor c = QColor::fromRgbF(rim.redF() + (core.redF() - rim.redF()) * light,
                                        rim.greenF() + (core.greenF() - rim.greenF()) * light,
                                        rim.blueF() + (core.blueF() - rim.blueF()) * light);
            if (d > r - 1.0) c = C("wood-dark");
            image.setPixelColor(x, y, c);
        }
    return image;
}

// The locator mark, a triangle pointing down; `mask` gives its AND mask
// (black on the mark, white around it), otherwise the mark on black.
QImage LocatorMark(bool mask) {
    QImage image = Canvas(layout::LocatorMark, mask ? Qt::white : Qt::black);
    const double w = image.width(), h = image.height();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            double px = x + 0.5, py = y + 0.5;
            double half = (w / 2.0) * (1.0 - py / h); // half width of the triangle at this row
            if (std::abs(px - w / 2.0) > half) continue;
            bool edge = std::abs(px - w / 2.0) > half - 1.2 || y == 0;
            image.setPixelColor(x, y, mask ? QColor(Qt::black) : (edge ? C("wood-dark") : C("accent")));
        }
    return image;
}

// The intro video's play and stop buttons, with the edition's word.
QImage VideoButton(bool stop, bool english) {
    const QRect place(layout::BVideoStop - layout::LessonScreen.topLeft(), layout::VideoButton);
    QImage image = NoLessonBackdrop().copy(place);
    QPainter p;
    BeginPainter(p, image);
    const QRectF pill(1.5, 1.5, image.width() - 3, image.height() - 3);
    QPainterPath path;
    path.addRoundedRect(pill, 12, 12);
    QLinearGradient fill(0, 0, 0, image.height());
    fill.setColorAt(0, stop ? C("accent-light") : C("wood-light"));
    fill.setColorAt(1, stop ? C("accent") : C("wood"));
    p.fillPath(path, fill);
    p.setPen(QPen(C("wood-dark"), 1));
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(C("cream"));
    p.drawEllipse(QPointF(15, image.height() / 2.0), 9, 9);
    DrawIcon(p, stop ? Icon::Stop : Icon::Play, QRectF(8, image.height() / 2.0 - 7, 14, 14),
             stop ? C("accent") : C("wood-dark"));
    EmbossedText(p, QRectF(28, 0, image.width() - 32, image.height()), Qt::AlignCenter,
                 stop ? (english ? QStringLiteral("Stop") : QStringLiteral("Stopp"))
                      : (english ? QStringLiteral("Intro") : QStringLiteral("Einführung")),
                 Sans(13, true), C("cream"));
    return image;
}

QImage LogoButton(bool over) {
    QImage image = MainBackground().copy(QRect(layout::BLogo, layout::LogoButton));
    QPainter p;
    BeginPainter(p, image);
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    DrawRosette(p, centre, image.width() / 2.0 - 3, over);
    EmbossedText(p, QRectF(0, centre.y() - 14, image.width(), 26), Qt::AlignCenter, QStringLiteral("Zupfari"),
                 Serif(17, true), over ? C("cream-light") : C("cream"));
    return image;
}

QImage ScrollButton(bool down, bool over) {
    QImage panel = ExplorerBackground();
    const QPoint at = down ? layout::BScrollDown : layout::BScrollUp;
    QImage image = panel.copy(QRect(at, layout::ScrollButton));
    QPainter p;
    BeginPainter(p, image);
    const QRectF bar(1.5, 1.5, image.width() - 3, image.height() - 3);
    p.setBrush(over ? C("wood", 200) : C("shadow", 110));
    p.setPen(QPen(over ? C("accent") : C("wood"), 1));
    p.drawRoundedRect(bar, 6, 6);
    const QPointF c = bar.center();
    QPolygonF arrow;
    const double dir = down ? 1 : -1;
    arrow << c + QPointF(-7, -3 * dir) << c + QPointF(7, -3 * dir) << c + QPointF(0, 4 * dir);
    p.setPen(Qt::NoPen);
    p.setBrush(over ? C("accent-light") : C("honey"));
    p.drawPolygon(arrow);
    return image;
}

// The locked quiz button's place, named as the edition names the quiz.
QImage KontrolleCover(bool english) {
    QImage image = MainBackground().copy(layout::KontrolleCover);
    QPainter p;
    BeginPainter(p, image);
    const QRectF slot(QPointF(layout::BKontrolle - layout::KontrolleCover.topLeft()), QSizeF(layout::Button));
    p.fillPath([&] { QPainterPath s; s.addRoundedRect(slot, 6, 6); return s; }(), C("shadow", 80));
    Inset(p, slot, 6, 70);
    DrawIcon(p, Icon::Lock, QRectF(slot.left() + 8, slot.top() + 4, 16, 16), C("honey"));
    p.setFont(Sans(11, false, true));
    p.setPen(C("honey"));
    p.drawText(slot.adjusted(26, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
               english ? QStringLiteral("Quiz") : QStringLiteral("Kontrolle"));
    return image;
}

// An E major chord chart for the tuner's chord button.
QImage ChordChart() {
    const QPoint at = layout::BTunerAkkord; // panel coordinates, like the tuner picture
    QImage image = TunerBackground().copy(QRect(at, layout::TunerChordButton));
    QPainter p;
    BeginPainter(p, image);
    const QRectF card(0.5, 0.5, image.width() - 1, image.height() - 1);
    p.setBrush(C("cream-light"));
    p.setPen(QPen(C("wood-dark"), 1));
    p.drawRoundedRect(card, 4, 4);
    p.setFont(Sans(11, true));
    p.setPen(C("ink"));
    p.drawText(QRectF(0, 2, image.width(), 14), Qt::AlignCenter, QStringLiteral("E"));
    const double left = 8, right = image.width() - 8, top = 22, fret = 11.5;
    const double step = (right - left) / 5;
    p.setPen(QPen(C("ink"), 2.5));
    p.drawLine(QPointF(left, top), QPointF(right, top));
    p.setPen(QPen(C("ink-soft"), 1));
    for (int f = 1; f <= 4; ++f) p.drawLine(QPointF(left, top + f * fret), QPointF(right, top + f * fret));
    for (int s = 0; s < 6; ++s) p.drawLine(QPointF(left + s * step, top), QPointF(left + s * step, top + 4 * fret));
    // Strings E A D g h e from left to right: A and D at the second fret, g at the first.
    const int frets[6] = {0, 2, 2, 1, 0, 0};
    for (int s = 0; s < 6; ++s) {
        const double x = left + s * step;
        if (frets[s] == 0) {
            p.setPen(QPen(C("ink"), 1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(x, top - 4), 2, 2);
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(C("accent"));
            p.drawEllipse(QPointF(x, top + (frets[s] - 0.5) * fret), 3, 3);
        }
    }
    return image;
}

using Painter = std::function<QImage()>;

const std::vector<std::pair<std::string, Painter>>& Table() {
    static const std::vector<std::pair<std::string, Painter>> table = {
#define ZUPFARI_RESOURCE(name, picture) {#name, [] { return picture; }},
#include "content/generator/art_resources.def"
#undef ZUPFARI_RESOURCE
    };
    return table;
}

bool WriteResources(const content::GeneratorContext& context) {
    if (!PrepareArt(context.sources)) return false;
    bool ok = true;
    for (const auto& [name, paint] : Table()) {
        std::string path = (context.out / (name + ".bmp")).string();
        ok = WriteBytes(path, EncodeBmp24(paint())) && ok;
    }
    return ok;
}

content::StepRegistration registration{"art-resources", WriteResources, content::StepKind::Resources};

} // namespace

std::vector<std::string> ResourceNames() {
    std::vector<std::string> names;
    for (const auto& entry : Table()) names.push_back(entry.first);
    return names;
}

QImage ResourceImage(const std::string& name) {
    for (const auto& [known, paint] : Table())
        if (known == name) return paint();
    return {};
}

} // namespace art
