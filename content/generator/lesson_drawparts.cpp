#include "content/generator/lesson_drawparts.h"

#include "content/generator/art_paint.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace art::drawing {

QString Context::Say(const char* german, const char* english) const {
    return QString::fromUtf8(English() ? english : german);
}

bool Context::Fail(const std::string& why) const {
    error = why;
    return false;
}

const content::ChordShape* Context::Chord(const std::string& name) const {
    auto shape = source.outline.chords.find(name);
    if (shape != source.outline.chords.end()) return &shape->second;
    Fail("no chord '" + name + "' in akkorde.txt");
    return nullptr;
}

bool Context::Bars(std::size_t index, int& first, int& last) const {
    if (index >= args.size()) return Fail("which bars? (\"2\" or \"1-2\")");
    const std::string& range = args[index];
    const std::size_t dash = range.find('-');
    try {
        first = std::stoi(range.substr(0, dash));
        last = dash == std::string::npos ? first : std::stoi(range.substr(dash + 1));
    } catch (...) {
        return Fail("bad bars '" + range + "'");
    }
    const int bars = static_cast<int>(source.lesson.exercise->bars.size());
    if (first < 1 || last < first || last > bars)
        return Fail("bars " + range + " are not in the exercise (it has " + std::to_string(bars) + ")");
    return true;
}

bool Context::Has(const std::string& word) const {
    return std::find(args.begin(), args.end(), word) != args.end();
}

void Context::Words(const QRectF& box, int flags, const QString& text, int pixels, bool bold, QColor colour) {
    const QRectF needed = QFontMetricsF(Sans(pixels, bold)).boundingRect(box, flags, text);
    if (needed.width() > box.width() + 0.5 || needed.height() > box.height() + 0.5 ||
        !area.adjusted(-0.5, -0.5, 0.5, 0.5).contains(box))
        overflow = text;
    TextIn(p, box, flags, text, pixels, bold, colour);
}

void Context::Label(QPointF centre, const QString& text, int pixels, bool bold, QColor colour) {
    const QFontMetricsF metrics(Sans(pixels, bold));
    const double half = metrics.horizontalAdvance(text) / 2;
    if (centre.x() - half < area.left() - 0.5 || centre.x() + half > area.right() + 0.5) overflow = text;
    Text(p, centre, text, pixels, bold, colour);
}

// ---- Primitives.

namespace {

void Head(QPainter& p, QPointF tip, QPointF direction, QColor colour, double head) {
    const double length = std::hypot(direction.x(), direction.y());
    if (length <= 0) return;
    const QPointF d = direction / length, n(-d.y(), d.x());
    QPolygonF triangle;
    triangle << tip << tip - d * head * 1.5 + n * head * 0.8 << tip - d * head * 1.5 - n * head * 0.8;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(triangle);
    p.setBrush(Qt::NoBrush);
}

} // namespace

void Arrow(QPainter& p, QPointF from, QPointF to, QColor colour, double width, double head, bool dashed) {
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    if (length <= 0) return;
    const QPointF end = to - d / length * head * 1.2;
    QPen pen(colour, width, dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(from, end);
    Head(p, to, d, colour, head);
}

void CurvedArrow(QPainter& p, QPointF from, QPointF via, QPointF to, QColor colour, double width, double head,
                 bool dashed) {
    const QPointF d = to - via;
    const double length = std::hypot(d.x(), d.y());
    const QPointF end = length > 0 ? to - d / length * head * 1.2 : to;
    QPainterPath path;
    path.moveTo(from);
    path.quadTo(via, end);
    p.setPen(QPen(colour, width, dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    Head(p, to, d, colour, head);
}

void Text(QPainter& p, QPointF centre, const QString& text, int pixels, bool bold, QColor colour) {
    const QFont font = Sans(pixels, bold);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QPointF(centre.x() - width / 2, centre.y() + metrics.capHeight() / 2), text);
}

void TextIn(QPainter& p, const QRectF& box, int flags, const QString& text, int pixels, bool bold, QColor colour) {
    p.setFont(Sans(pixels, bold));
    p.setPen(colour);
    p.drawText(box, flags, text);
}

void Marker(QPainter& p, QPointF centre, double radius, const QString& label, QColor fill, QColor ink) {
    p.setPen(QPen(C("cream-light"), 1));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(Qt::NoBrush);
    if (!label.isEmpty())
        Text(p, centre, label, std::max(6, static_cast<int>(std::lround(radius * 1.45))), true,
             ink.isValid() ? ink : C("cream-light"));
}

void DrawLimbs(QPainter& p, const std::vector<Limb>& limbs, QColor fill, QColor outline, double line) {
    p.setBrush(Qt::NoBrush);
    for (int pass = 0; pass < 2; ++pass)
        for (const Limb& limb : limbs) {
            const double width = pass == 0 ? limb.width + 2 * line : limb.width;
            p.setPen(QPen(pass == 0 ? outline : fill, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            if (limb.a == limb.b) {
                p.setPen(Qt::NoPen);
                p.setBrush(pass == 0 ? outline : fill);
                p.drawEllipse(limb.a, width / 2, width / 2);
                p.setBrush(Qt::NoBrush);
            } else {
                p.drawLine(limb.a, limb.b);
            }
        }
}

namespace {

// A point of the hand's own frame (x across the knuckles, y along the
// fingers, pointing up) in picture coordinates.
QPointF HandPoint(const HandPose& hand, double x, double y) {
    QTransform t;
    t.translate(hand.palm.x(), hand.palm.y());
    t.rotate(hand.angle);
    return t.map(QPointF(x, y));
}

} // namespace

QPointF Knuckle(const HandPose& hand, int finger) {
    const double w = hand.palmWidth, side = hand.thumbRight ? 1 : -1;
    if (finger == 0) return HandPoint(hand, side * 0.42 * w, 0.05 * w);
    return HandPoint(hand, side * (0.33 - 0.22 * (finger - 1)) * w, -0.42 * w);
}

void DrawHand(QPainter& p, const HandPose& hand) {
    const double w = hand.palmWidth;
    std::vector<Limb> body = {
        {HandPoint(hand, 0, -0.12 * w), HandPoint(hand, 0, 0.22 * w), w * 0.92},
        {HandPoint(hand, 0, 0.3 * w), HandPoint(hand, 0, 1.2 * w), w * 0.62},
    };
    for (int f = 0; f < 5; ++f)
        body.push_back({Knuckle(hand, f), hand.tips[static_cast<std::size_t>(f)],
                        f == 0 ? hand.fingerWidth * 1.15 : hand.fingerWidth});
    DrawLimbs(p, body, C("skin"), C("skin-line"));
    // Each finger's outer part outlined again, so that fingers lying side by
    // side stay apart; the little finger first, so nearer fingers lie on top.
    for (int f = 4; f >= 0; --f) {
        const QPointF from = Knuckle(hand, f), to = hand.tips[static_cast<std::size_t>(f)];
        if (QLineF(from, to).length() < hand.fingerWidth) continue;
        const QPointF start = from + (to - from) * 0.45;
        DrawLimbs(p, {{start, to, f == 0 ? hand.fingerWidth * 1.15 : hand.fingerWidth}}, C("skin"), C("skin-line"), 0.9);
    }
}

// ---- The guitar.

QPointF DiagramPoint(const QRectF& box, int string, int fret, int frets) {
    return {box.left() + string * box.width() / 5, box.top() + (fret - 0.5) * box.height() / frets};
}

void ChordDiagram(QPainter& p, const QRectF& box, const content::ChordShape& shape, int frets, bool hollow) {
    const double dx = box.width() / 5, dy = box.height() / frets;
    const double r = std::min(dx, dy) * 0.4;
    if (!hollow) {
        p.setPen(QPen(C("ink"), 1));
        for (int s = 0; s < 6; ++s)
            p.drawLine(QPointF(box.left() + s * dx, box.top()), QPointF(box.left() + s * dx, box.bottom()));
        for (int f = 1; f <= frets; ++f)
            p.drawLine(QPointF(box.left(), box.top() + f * dy), QPointF(box.right(), box.top() + f * dy));
        p.fillRect(QRectF(box.left() - 0.5, box.top() - 2.5, box.width() + 1, 3), C("ink"));
    }
    for (int s = 0; s < 6; ++s) {
        const int fret = shape.frets[static_cast<std::size_t>(s)];
        const double x = box.left() + s * dx;
        const double mark = std::min(3.2, r * 0.8);
        if (fret < 0 && !hollow) {
            p.setPen(QPen(C("ink"), 1.3));
            p.drawLine(QPointF(x - mark, box.top() - 6 - 2 * mark), QPointF(x + mark, box.top() - 6));
            p.drawLine(QPointF(x - mark, box.top() - 6), QPointF(x + mark, box.top() - 6 - 2 * mark));
        } else if (fret == 0 && !hollow) {
            p.setPen(QPen(C("ink"), 1.1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(x, box.top() - 6 - mark), mark, mark);
        } else if (fret > 0 && fret <= frets) {
            const QPointF at = DiagramPoint(box, s, fret, frets);
            const QString finger = QString::number(shape.fingers[static_cast<std::size_t>(s)]);
            if (hollow) {
                p.setPen(QPen(C("ink-soft"), 1.1, Qt::DashLine));
                p.setBrush(C("cream-light"));
                p.drawEllipse(at, r, r);
                p.setBrush(Qt::NoBrush);
                Text(p, at, finger, std::max(6, static_cast<int>(r * 1.4)), true, C("ink-soft"));
            } else {
                Marker(p, at, r, r >= 3.6 ? finger : QString(), C("accent")); // too small a dot keeps no number
            }
        }
    }
}

double Fretboard::Y(int string) const { return box.top() + (5 - string + 0.5) * box.height() / 6; }
double Fretboard::Wire(int fret) const { return box.left() + fret * box.width() / frets; }
double Fretboard::X(int fret) const { return fret == 0 ? box.left() - 8 : Wire(fret) - box.width() / frets / 2; }

void DrawFretboard(QPainter& p, const Fretboard& board, bool english, bool numbers) {
    p.fillRect(board.box, C("fretboard"));
    p.setPen(QPen(C("fret"), 1.6));
    for (int f = 1; f <= board.frets; ++f)
        p.drawLine(QPointF(board.Wire(f), board.box.top()), QPointF(board.Wire(f), board.box.bottom()));
    p.fillRect(QRectF(board.box.left() - 2, board.box.top(), 3, board.box.height()), C("cream-shade"));
    for (int s = 0; s < 6; ++s) {
        p.setPen(QPen(s < 3 ? C("string-wound") : C("string-plain"), 0.8 + (5 - s) * 0.15));
        p.drawLine(QPointF(board.box.left() - 14, board.Y(s)), QPointF(board.box.right(), board.Y(s)));
        Text(p, QPointF(board.box.left() - 20, board.Y(s)), StringName(s, english), 8, true, C("ink"));
    }
    if (!numbers) return;
    for (int f = 1; f <= board.frets; ++f)
        Text(p, QPointF(board.X(f), board.box.bottom() + 6), QString::number(f), 7, false, C("ink-soft"));
}

double StringBand::Y(int string) const { return box.top() + (string + 0.5) * box.height() / 6; }

void DrawStringBand(QPainter& p, const StringBand& band, bool english, bool names, bool soundHole) {
    if (soundHole) {
        const double r = band.box.height() * 0.75;
        const QPointF centre(band.box.center().x(), band.box.center().y());
        p.setPen(QPen(C("wood-dark"), 1.2));
        p.setBrush(C("shadow"));
        p.drawEllipse(centre, r, r);
        p.setPen(QPen(C("wood-light"), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, r + 3, r + 3);
    }
    for (int s = 0; s < 6; ++s) {
        p.setPen(QPen(s < 3 ? C("string-wound").darker(130) : C("ink-soft"), 1.7 - s * 0.2));
        p.drawLine(QPointF(band.box.left(), band.Y(s)), QPointF(band.box.right(), band.Y(s)));
        if (names) Text(p, QPointF(band.box.left() - 7, band.Y(s)), StringName(s, english), 8, true, C("ink"));
    }
}

QString StringName(int string, bool english) {
    static const char* german[] = {"E", "A", "D", "g", "h", "e"};
    static const char* englishNames[] = {"E", "A", "D", "G", "B", "E"};
    const char* const* names = english ? englishNames : german;
    const int index = std::clamp(string, 0, 5);
    return QString::fromLatin1(names[index]);
}

QString NoteName(int midi, bool english) {
    static const char* german[] = {"C", "Cis", "D", "Dis", "E", "F", "Fis", "G", "Gis", "A", "B", "H"};
    static const char* englishNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "Bb", "B"};
    const char* const* names = english ? englishNames : german;
    const int index = ((midi % 12) + 12) % 12;
    return QString::fromLatin1(names[index]);
}

void DrawUprightGuitar(QPainter& p, const QRectF& box) {
    // The lying guitar of the course's pictures turned upright: head at the top.
    p.save();
    p.translate(box.center());
    p.rotate(-90);
    DrawGuitar(p, QRectF(-box.height() / 2, -box.width() / 2, box.height(), box.width()), 0);
    p.restore();
}

void DrawGuitarEdge(QPainter& p, QPointF body, QPointF head, double scale) {
    const QLineF axis(body, head);
    p.save();
    p.translate(body);
    p.rotate(-axis.angle());
    // x runs along the guitar toward the head; the top (sound board) faces -y.
    const double length = axis.length();
    QPainterPath slab;
    slab.addRoundedRect(QRectF(-22 * scale, -5 * scale, 44 * scale, 10 * scale), 4 * scale, 4 * scale);
    p.setPen(QPen(C("wood-dark"), 1));
    p.setBrush(C("honey"));
    p.drawPath(slab);
    p.fillRect(QRectF(-22 * scale, -5 * scale, 44 * scale, 2 * scale), C("wood-light"));
    p.setBrush(C("wood"));
    p.drawRect(QRectF(22 * scale, -2.5 * scale, length - 30 * scale, 4 * scale));
    QPainterPath headPath;
    headPath.moveTo(length - 8 * scale, -2.5 * scale);
    headPath.lineTo(length, -1 * scale);
    headPath.lineTo(length, 3 * scale);
    headPath.lineTo(length - 8 * scale, 1.5 * scale);
    headPath.closeSubpath();
    p.setBrush(C("wood-dark"));
    p.drawPath(headPath);
    p.restore();
}

// ---- Music.

double Staff(QPainter& p, double left, double right, double top, double gap) {
    p.setPen(QPen(C("ink-soft"), 0.8));
    for (int i = 0; i < 5; ++i) p.drawLine(QPointF(left, top + i * gap), QPointF(right, top + i * gap));
    return top + 2 * gap;
}

void Note(QPainter& p, QPointF at, double gap, bool filled, bool stem, bool flag) {
    p.save();
    p.translate(at);
    p.rotate(-22);
    p.setPen(QPen(C("ink"), filled ? 1 : 1.6));
    p.setBrush(filled ? C("ink") : Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), gap * 0.68, gap * 0.46);
    p.restore();
    p.setBrush(Qt::NoBrush);
    if (!stem) return;
    const double x = at.x() + gap * 0.6, top = at.y() - gap * 3.3;
    p.setPen(QPen(C("ink"), 1.1));
    p.drawLine(QPointF(x, at.y() - gap * 0.15), QPointF(x, top));
    if (flag) {
        QPainterPath curl;
        curl.moveTo(x, top);
        curl.cubicTo(x + gap * 0.2, top + gap * 1.0, x + gap * 1.4, top + gap * 1.2, x + gap * 0.8, top + gap * 2.4);
        p.setPen(QPen(C("ink"), 1.3));
        p.drawPath(curl);
    }
}

void Rest(QPainter& p, double x, double mid, double gap, double beats) {
    p.setPen(Qt::NoPen);
    p.setBrush(C("ink"));
    if (beats >= 4) {
        p.drawRect(QRectF(x - gap * 0.75, mid - gap, gap * 1.5, gap * 0.55)); // hangs from the fourth line
    } else if (beats >= 2) {
        p.drawRect(QRectF(x - gap * 0.75, mid - gap * 0.55, gap * 1.5, gap * 0.55)); // sits on the middle line
    } else if (beats >= 1) {
        p.drawPath(QuarterRestPath(x, mid, gap * 3.0, gap * 0.9));
    } else {
        QPainterPath path;
        path.addEllipse(QPointF(x - gap * 0.35, mid - gap * 0.6), gap * 0.36, gap * 0.36);
        path.moveTo(x - gap * 0.35, mid - gap * 0.3);
        path.lineTo(x + gap * 0.55, mid - gap * 0.85);
        path.lineTo(x - gap * 0.05, mid + gap * 1.2);
        path.lineTo(x - gap * 0.3, mid + gap * 1.2);
        path.lineTo(x + gap * 0.3, mid - gap * 0.35);
        path.closeSubpath();
        p.drawPath(path);
    }
    p.setBrush(Qt::NoBrush);
}

void StrumArrow(QPainter& p, double x, double top, double bottom, bool up, QColor colour, bool dashed) {
    if (up) Arrow(p, QPointF(x, bottom), QPointF(x, top), colour, 1.8, 4.5, dashed);
    else Arrow(p, QPointF(x, top), QPointF(x, bottom), colour, 1.8, 4.5, dashed);
}

} // namespace art::drawing
