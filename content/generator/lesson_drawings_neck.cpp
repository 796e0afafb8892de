// The slide pictures of the fretting hand and the fretboard: chord diagrams
// with finger numbers, the hand on a chord, a chord change with the fingers'
// ways, fingering charts, the notes of an exercise, the tuning chart, the
// bass notes of chords, tablature, the tuner and the one-minute changes.

#include "content/generator/lesson_drawings_all.h"

#include "content/generator/art_paint.h"

#include <QLineF>
#include <algorithm>
#include <cmath>
#include <map>

namespace art::drawing {

namespace {

QString FingerName(const Context& ctx, int finger) {
    switch (finger) {
    case 1: return ctx.Say("Zeigefinger", "index finger");
    case 2: return ctx.Say("Mittelfinger", "middle finger");
    case 3: return ctx.Say("Ringfinger", "ring finger");
    default: return ctx.Say("kleiner Finger", "little finger");
    }
}

// The chord names of args[first..], each a known chord; false with the error set.
bool ChordArgs(Context& ctx, std::size_t first, std::size_t fewest, std::size_t most,
               std::vector<const content::ChordShape*>& shapes) {
    shapes.clear();
    for (std::size_t i = first; i < ctx.args.size(); ++i) {
        const content::ChordShape* shape = ctx.Chord(ctx.args[i]);
        if (shape == nullptr) return false;
        shapes.push_back(shape);
    }
    if (shapes.size() < fewest || shapes.size() > most)
        return ctx.Fail("needs " + std::to_string(fewest) + " to " + std::to_string(most) + " chord names");
    return true;
}

int HighestFret(const content::ChordShape& shape) {
    return *std::max_element(shape.frets.begin(), shape.frets.end());
}

QString ChordLabel(const content::ChordShape& shape) { return QString::fromStdString(shape.name); }

// A small anchor: the sign of a finger that stays where it is.
void Anchor(QPainter& p, QPointF at, double size, QColor colour) {
    p.setPen(QPen(colour, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at + QPointF(0, -size * 0.75), size * 0.2, size * 0.2);
    p.drawLine(at + QPointF(0, -size * 0.55), at + QPointF(0, size * 0.55));
    p.drawLine(at + QPointF(-size * 0.3, -size * 0.3), at + QPointF(size * 0.3, -size * 0.3));
    p.drawArc(QRectF(at.x() - size * 0.55, at.y() - size * 0.1, size * 1.1, size * 0.75), 200 * 16, 140 * 16);
}

} // namespace

bool DrawChord(Context& ctx) {
    std::vector<const content::ChordShape*> shapes;
    if (!ChordArgs(ctx, 0, 1, 1, shapes)) return false;
    const content::ChordShape& shape = *shapes.front();
    QPainter& p = ctx.p;
    const int frets = std::max(4, HighestFret(shape));
    const QRectF box(22, 28, 52, 72);
    Text(p, QPointF(48, 9), ChordLabel(shape), 14, true, C("accent"));
    ChordDiagram(p, box, shape, frets);
    // What the marks mean: the fingers, then the open and silent strings.
    bool muted = false, open = false;
    std::vector<int> fingers;
    for (int s = 0; s < 6; ++s) {
        muted = muted || shape.frets[static_cast<std::size_t>(s)] < 0;
        open = open || shape.frets[static_cast<std::size_t>(s)] == 0;
        const int f = shape.fingers[static_cast<std::size_t>(s)];
        if (f > 0 && std::find(fingers.begin(), fingers.end(), f) == fingers.end()) fingers.push_back(f);
    }
    std::sort(fingers.begin(), fingers.end());
    double y = 30;
    for (int finger : fingers) {
        Marker(p, QPointF(96, y), 5, QString::number(finger), C("accent"));
        ctx.Words(QRectF(104, y - 6, 88, 12), Qt::AlignLeft | Qt::AlignVCenter, FingerName(ctx, finger), 8, false, C("ink"));
        y += 14;
    }
    y += 4;
    if (open) {
        ctx.Words(QRectF(90, y - 6, 102, 12), Qt::AlignLeft | Qt::AlignVCenter, ctx.Say("o  leer anschlagen", "o  play open"),
                  8, false, C("ink-soft"));
        y += 14;
    }
    if (muted)
        ctx.Words(QRectF(90, y - 6, 102, 12), Qt::AlignLeft | Qt::AlignVCenter,
                  ctx.Say("x  nicht anschlagen", "x  do not play"), 8, false, C("ink-soft"));
    return true;
}

bool DrawChords(Context& ctx) {
    std::vector<const content::ChordShape*> shapes;
    if (!ChordArgs(ctx, 0, 2, 4, shapes)) return false;
    const double cell = ctx.area.width() / static_cast<double>(shapes.size());
    const double width = std::min(48.0, cell - 14);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const double left = cell * static_cast<double>(i) + (cell - width) / 2;
        const int frets = std::max(4, HighestFret(*shapes[i]));
        Text(ctx.p, QPointF(left + width / 2, 10), ChordLabel(*shapes[i]), 13, true, C("accent"));
        ChordDiagram(ctx.p, QRectF(left, 32, width, 68), *shapes[i], frets);
    }
    return true;
}

bool DrawChart(Context& ctx) {
    std::vector<const content::ChordShape*> shapes;
    if (!ChordArgs(ctx, 0, 5, 12, shapes)) return false;
    const std::size_t perRow = (shapes.size() + 1) / 2;
    const double cell = ctx.area.width() / static_cast<double>(perRow);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const double left = cell * static_cast<double>(i % perRow) + cell * 0.22;
        const double top = i < perRow ? 0 : 56;
        const double width = cell * 0.56;
        Text(ctx.p, QPointF(left + width / 2, top + 5), ChordLabel(*shapes[i]), 9, true, C("accent"));
        ChordDiagram(ctx.p, QRectF(left, top + 23, width, 29), *shapes[i], std::max(4, HighestFret(*shapes[i])));
    }
    return true;
}

// The fretting hand on a chord, seen as the chord diagram shows the neck
// (head at the top, low E at the left): the fingers come from the palm at the
// right, over the higher strings, and press with their tips.
bool DrawHandOnChord(Context& ctx) {
    std::vector<const content::ChordShape*> shapes;
    if (!ChordArgs(ctx, 0, 1, 1, shapes)) return false;
    const content::ChordShape& shape = *shapes.front();
    QPainter& p = ctx.p;
    const int frets = std::max(4, HighestFret(shape));
    const QRectF neck(38, 14, 76, 92);
    const double dx = neck.width() / 6, dy = neck.height() / frets;
    auto stringX = [&](int s) { return neck.left() + dx * (s + 0.5); };
    auto fretY = [&](int f) { return neck.top() + dy * (f - 0.5); };
    // The neck: wood, frets, the nut, six strings (the low ones thicker).
    QLinearGradient wood(neck.left(), 0, neck.right(), 0);
    wood.setColorAt(0, C("fretboard").lighter(115));
    wood.setColorAt(1, C("fretboard"));
    p.fillRect(neck, wood);
    p.fillRect(QRectF(neck.left(), neck.top() - 4, neck.width(), 4), C("cream-shade"));
    for (int f = 1; f <= frets; ++f) p.fillRect(QRectF(neck.left(), neck.top() + f * dy - 1, neck.width(), 2), C("fret"));
    for (int s = 0; s < 6; ++s) {
        p.setPen(QPen(s < 3 ? C("string-wound") : C("string-plain"), 2.2 - s * 0.25));
        p.drawLine(QPointF(stringX(s), neck.top() - 4), QPointF(stringX(s), neck.bottom()));
        const int fret = shape.frets[static_cast<std::size_t>(s)];
        if (fret < 0) Text(p, QPointF(stringX(s), 7), QStringLiteral("x"), 9, true, C("ink"));
        if (fret == 0) Text(p, QPointF(stringX(s), 7), QStringLiteral("o"), 9, true, C("ink"));
    }
    Text(p, QPointF(20, 12), ChordLabel(shape), 14, true, C("accent"));
    // Where each finger presses (the lowest string it holds).
    std::map<int, QPointF> tips;
    for (int s = 0; s < 6; ++s) {
        const int finger = shape.fingers[static_cast<std::size_t>(s)];
        if (finger > 0 && !tips.count(finger)) tips[finger] = QPointF(stringX(s), fretY(shape.frets[static_cast<std::size_t>(s)]));
    }
    // The palm at the right; each finger's knuckle at the height of its fret.
    const double knuckleX = neck.right() + 16;
    std::vector<Limb> hand = {{QPointF(knuckleX + 20, 40), QPointF(knuckleX + 22, 80), 34},
                              {QPointF(knuckleX + 36, 62), QPointF(192, 70), 26}};
    std::vector<std::pair<QPointF, QPointF>> fingers;
    for (int finger = 1; finger <= 4; ++finger) {
        const double y = 26 + (finger - 1) * 19;
        const QPointF knuckle(knuckleX, y);
        QPointF tip = tips.count(finger) ? tips[finger] : knuckle + QPointF(-9, 7); // a free finger curls in
        fingers.push_back({knuckle, tip});
        hand.push_back({knuckle + QPointF(8, 0), knuckle, 9});
    }
    DrawLimbs(p, hand, C("skin"), C("skin-line"));
    for (int f = 3; f >= 0; --f) { // the little finger lowest, the index finger on top
        // Each finger arches: its middle joint stands off the strings, toward the head.
        const auto& [knuckle, tip] = fingers[static_cast<std::size_t>(f)];
        const QPointF joint = tip + (knuckle - tip) * 0.45 + QPointF(0, -5);
        DrawLimbs(p, {{knuckle, joint, 8.5}, {joint, tip, 8}}, C("skin"), C("skin-line"), 1);
    }
    for (const auto& [finger, tip] : tips) Marker(p, tip, 5, QString::number(finger), C("accent"));
    return true;
}

// A change between two chords on one diagram: where the fingers were
// (dashed), where they go (filled), an arrow for each finger that moves, an
// anchor for each that stays.
bool DrawChange(Context& ctx) {
    std::vector<const content::ChordShape*> shapes;
    if (!ChordArgs(ctx, 0, 2, 2, shapes)) return false;
    const content::ChordShape &from = *shapes[0], &to = *shapes[1];
    QPainter& p = ctx.p;
    const int frets = std::max(4, std::max(HighestFret(from), HighestFret(to)));
    const QRectF box(68, 32, 60, 70);
    Text(p, QPointF(98, 9), ChordLabel(from) + QStringLiteral("  \u2192  ") + ChordLabel(to), 13, true, C("accent"));
    ChordDiagram(p, box, to, frets);
    ChordDiagram(p, box, from, frets, true);
    ChordDiagram(p, box, to, frets); // the new shape on top, its x and o marks clean
    auto where = [&](const content::ChordShape& shape, int finger, QPointF& at) {
        for (int s = 0; s < 6; ++s)
            if (shape.fingers[static_cast<std::size_t>(s)] == finger) {
                at = DiagramPoint(box, s, shape.frets[static_cast<std::size_t>(s)], frets);
                return true;
            }
        return false;
    };
    bool anchors = false, moves = false;
    for (int finger = 1; finger <= 4; ++finger) {
        QPointF a, b;
        if (!where(from, finger, a) || !where(to, finger, b)) continue;
        if (QLineF(a, b).length() < 1) { // an anchor: a ring round the finger that stays
            p.setPen(QPen(C("wood-dark"), 1.6));
            p.drawEllipse(b, 8, 8);
            anchors = true;
            continue;
        }
        // The way arches over the strings in between, from the old place to the new.
        const QPointF middle = (a + b) / 2 + QPointF(0, -9);
        CurvedArrow(p, a + QPointF(0, -5), middle, b + QPointF(0, -6), C("wood-dark"), 1.4, 3.5);
        moves = true;
    }
    // The legend: before and after at the left, stay and move at the right.
    p.setPen(QPen(C("ink-soft"), 1, Qt::DashLine));
    p.drawEllipse(QPointF(8, 44), 4.5, 4.5);
    ctx.Words(QRectF(15, 38, 52, 12), Qt::AlignLeft | Qt::AlignVCenter, ctx.Say("vorher", "before"), 8, false, C("ink"));
    Marker(p, QPointF(8, 60), 4.5, QString(), C("accent"));
    ctx.Words(QRectF(15, 54, 52, 12), Qt::AlignLeft | Qt::AlignVCenter, ctx.Say("nachher", "after"), 8, false, C("ink"));
    double y = 44;
    if (anchors) {
        p.setPen(QPen(C("wood-dark"), 1.6));
        p.drawEllipse(QPointF(140, y), 6, 6);
        Anchor(p, QPointF(140, y), 8, C("wood-dark"));
        ctx.Words(QRectF(148, y - 6, 44, 12), Qt::AlignLeft | Qt::AlignVCenter, ctx.Say("bleibt liegen", "stays put"), 8,
               false, C("ink"));
        y += 16;
    }
    if (moves) {
        Arrow(p, QPointF(134, y), QPointF(146, y), C("wood-dark"), 1.6, 3.5);
        ctx.Words(QRectF(148, y - 6, 44, 12), Qt::AlignLeft | Qt::AlignVCenter, ctx.Say("wandert", "moves"), 8, false,
               C("ink"));
    }
    return true;
}

// A fingering chart: "e1/1" = high e string, 1st fret, finger 1; "g0" = open.
bool DrawFingering(Context& ctx) {
    if (ctx.args.empty()) return ctx.Fail("which notes? (\"e0 e1/1 e3/3\")");
    static const std::string names = "EADghe";
    struct Spot { int string, fret, finger; };
    std::vector<Spot> spots;
    for (const std::string& arg : ctx.args) {
        const std::size_t slash = arg.find('/');
        const std::size_t string = arg.empty() ? std::string::npos : names.find(arg[0]);
        Spot spot{static_cast<int>(string), -1, 0};
        try {
            spot.fret = std::stoi(arg.substr(1, slash == std::string::npos ? std::string::npos : slash - 1));
            if (slash != std::string::npos) spot.finger = std::stoi(arg.substr(slash + 1));
        } catch (...) {
            spot.fret = -1;
        }
        if (string == std::string::npos || spot.fret < 0 || spot.fret > 5 || (spot.fret > 0) != (spot.finger > 0) ||
            spot.finger > 4)
            return ctx.Fail("bad note '" + arg + "' (string E A D g h e, fret, '/finger' when fretted)");
        spots.push_back(spot);
    }
    Fretboard board{QRectF(36, 16, 146, 72), 4};
    DrawFretboard(ctx.p, board, ctx.English());
    for (const Spot& spot : spots) {
        const QPointF at(board.X(spot.fret), board.Y(spot.string));
        const QString note = NoteName(content::StringNote(spot.string, spot.fret), ctx.English());
        if (spot.fret == 0) {
            ctx.p.setPen(QPen(C("accent"), 1.6));
            ctx.p.setBrush(C("cream-light"));
            ctx.p.drawEllipse(at, 5, 5);
            ctx.p.setBrush(Qt::NoBrush);
            Text(ctx.p, at, QStringLiteral("0"), 7, true, C("accent"));
        } else {
            Marker(ctx.p, at, 5.5, QString::number(spot.finger), C("accent"));
        }
        // The note's name beside its marker, on a cream patch so that it reads on the wood.
        const QRectF label(at.x() + 7, at.y() - 6, 6.0 * note.size() + 3, 11);
        ctx.p.fillRect(label, C("cream-light", 230));
        ctx.Words(label.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, note, 8, true, C("ink"));
    }
    ctx.Words(QRectF(30, 96, 150, 12), Qt::AlignLeft | Qt::AlignVCenter,
           ctx.Say("Punkt: Finger  \u00b7  daneben: der Ton", "dot: finger  \u00b7  beside it: the note"), 8,
           false, C("ink-soft"));
    return true;
}

// Every note of the exercise on the fretboard with its name.
bool DrawExerciseNotes(Context& ctx) {
    const content::Exercise& exercise = *ctx.source.lesson.exercise;
    std::vector<std::pair<int, int>> notes;
    for (const content::Bar& bar : exercise.bars)
        for (const content::ScoreEvent& e : bar.events)
            for (const auto& note : e.notes)
                if (std::find(notes.begin(), notes.end(), note) == notes.end()) notes.push_back(note);
    if (notes.empty()) return ctx.Fail("the exercise has no single notes to show");
    int frets = 4;
    for (const auto& [string, fret] : notes) frets = std::max(frets, fret);
    if (frets > 5) return ctx.Fail("the exercise's notes go beyond the 5th fret");
    Fretboard board{QRectF(36, 12, 146, 82), frets};
    DrawFretboard(ctx.p, board, ctx.English());
    for (const auto& [string, fret] : notes) {
        const QPointF at(board.X(fret), board.Y(string));
        Marker(ctx.p, at, 6.5, NoteName(content::StringNote(string, fret), ctx.English()), C("accent"));
    }
    return true;
}

// Tuning by the 5th fret: the low E from the tuner first, then each string
// to the one below it, the B string to the G string at the 4th fret.
bool DrawTuningChart(Context& ctx) {
    QPainter& p = ctx.p;
    Fretboard board{QRectF(48, 12, 134, 72), 5};
    DrawFretboard(p, board, ctx.English());
    // Step 1: the low E from a reference, a tuning fork.
    const QPointF fork(12, board.Y(0));
    p.setPen(QPen(C("accent"), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(fork + QPointF(-3, -9), fork + QPointF(-3, -1));
    p.drawLine(fork + QPointF(3, -9), fork + QPointF(3, -1));
    p.drawArc(QRectF(fork.x() - 3, fork.y() - 4, 6, 6), 180 * 16, 180 * 16);
    p.drawLine(fork + QPointF(0, 2), fork + QPointF(0, 7));
    Marker(p, QPointF(board.box.left() - 4, board.Y(0)), 5, QStringLiteral("1"), C("wood-dark"));
    // Steps 2 to 6: the fretted note (filled) and the open string it tunes
    // (a ring at the nut), both with the step's number.
    const int steps[5][3] = {{0, 5, 2}, {1, 5, 3}, {2, 5, 4}, {3, 4, 5}, {4, 5, 6}}; // string, fret, step
    for (const auto& step : steps) {
        const QString number = QString::number(step[2]);
        Marker(p, QPointF(board.X(step[1]), board.Y(step[0])), 5.5, number, C("accent"));
        const QPointF open(board.box.left() - 4, board.Y(step[0] + 1));
        p.setPen(QPen(C("accent"), 1.4));
        p.setBrush(C("cream-light"));
        p.drawEllipse(open, 5, 5);
        p.setBrush(Qt::NoBrush);
        Text(p, open, number, 7, true, C("accent"));
    }
    ctx.Words(QRectF(0, 92, 192, 16), Qt::AlignCenter,
              ctx.Say("gleiche Zahl = gleicher Ton; zuerst E stimmen", "same number = same note; tune the E first"), 8,
              false, C("ink-soft"));
    return true;
}

// The bass notes of chords: per chord a piece of neck (the three low strings),
// the root with the count it falls on, and with "alternating" the second bass.
bool DrawBassNotes(Context& ctx) {
    std::vector<std::string> names;
    bool alternating = false;
    for (const std::string& arg : ctx.args) {
        if (arg == "alternating") alternating = true;
        else names.push_back(arg);
    }
    if (names.empty() || names.size() > 5) return ctx.Fail("needs 1 to 5 chord names");
    // Root and alternating bass of the chords the course accompanies this way.
    static const std::map<std::string, std::pair<std::pair<int, int>, std::pair<int, int>>> bass = {
        {"G", {{0, 3}, {2, 0}}}, {"C", {{1, 3}, {2, 2}}}, {"D", {{2, 0}, {1, 0}}},
        {"Em", {{0, 0}, {1, 2}}}, {"Am", {{1, 0}, {0, 0}}}, {"E", {{0, 0}, {1, 2}}}, {"A", {{1, 0}, {0, 0}}}};
    QPainter& p = ctx.p;
    const double cell = 192.0 / static_cast<double>(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto known = bass.find(names[i]);
        if (known == bass.end() || !ctx.Chord(names[i])) return ctx.Fail("no bass notes known for '" + names[i] + "'");
        const double left = cell * static_cast<double>(i) + cell / 2 - 12;
        const QRectF box(left, 28, 24, 56);
        Text(p, QPointF(box.center().x(), 8), QString::fromStdString(names[i]), 12, true, C("accent"));
        p.setPen(QPen(C("ink"), 1));
        for (int s = 0; s < 3; ++s) {
            p.drawLine(QPointF(left + s * 12, box.top()), QPointF(left + s * 12, box.bottom()));
            Text(p, QPointF(left + s * 12, box.bottom() + 7), StringName(s, ctx.English()), 7, true, C("ink-soft"));
        }
        for (int f = 1; f <= 4; ++f) p.drawLine(QPointF(left, box.top() + f * 14), QPointF(box.right(), box.top() + f * 14));
        p.fillRect(QRectF(left - 0.5, box.top() - 2, 25, 2.5), C("ink"));
        auto mark = [&](std::pair<int, int> note, const QString& count, bool filled) {
            const QPointF at(left + note.first * 12, note.second == 0 ? box.top() - 7 : box.top() + (note.second - 0.5) * 14);
            if (filled) Marker(p, at, 5, count, C("accent"));
            else Marker(p, at, 5, count, C("wood-light"));
        };
        mark(known->second.first, QStringLiteral("1"), true);
        if (alternating) mark(known->second.second, QStringLiteral("3"), false);
    }
    ctx.Words(QRectF(0, 96, 192, 14), Qt::AlignCenter,
           alternating ? ctx.Say("Zahl = Zählzeit des Basstons", "number = the beat of the bass note")
                       : ctx.Say("der Basston auf der Eins", "the bass note on beat one"),
           8, false, C("ink-soft"));
    return true;
}

// The exercise's bars as tablature, with the counts below and, with
// "fingers", the fretting finger above each note, with "pima" the picking finger.
bool DrawTab(Context& ctx) {
    int first = 0, last = 0;
    if (!ctx.Bars(0, first, last)) return false;
    const content::Exercise& exercise = *ctx.source.lesson.exercise;
    const int perBar = static_cast<int>(ctx.source.lesson.values.geometry[content::kBeatsPerBar]);
    const bool fingers = ctx.Has("fingers"), pima = ctx.Has("pima");
    QPainter& p = ctx.p;
    const double left = 14, right = 186, top = fingers || pima ? 30 : 22, gap = 10;
    const int bars = last - first + 1;
    const double beat = (right - left - 8) / (bars * perBar);
    p.setPen(QPen(C("ink-soft"), 0.8));
    for (int s = 0; s < 6; ++s) p.drawLine(QPointF(left, top + s * gap), QPointF(right, top + s * gap));
    p.setPen(QPen(C("ink"), 1.2));
    p.drawLine(QPointF(left, top), QPointF(left, top + 5 * gap));
    p.drawLine(QPointF(right, top), QPointF(right, top + 5 * gap));
    for (int s = 0; s < 6; ++s) Text(p, QPointF(left - 7, top + (5 - s) * gap), StringName(s, ctx.English()), 7, true, C("ink-soft"));
    for (int b = first; b <= last; ++b) {
        const double barLeft = left + 4 + (b - first) * perBar * beat;
        if (b > first) {
            p.setPen(QPen(C("ink"), 1.2));
            p.drawLine(QPointF(barLeft, top), QPointF(barLeft, top + 5 * gap));
        }
        int units = 0;
        for (const content::ScoreEvent& e : exercise.bars[static_cast<std::size_t>(b - 1)].events) {
            const double x = barLeft + beat * (0.5 + static_cast<double>(units) / content::kUnitsPerBeat);
            std::vector<std::pair<int, int>> notes = e.notes;
            if (e.kind == content::ScoreEvent::Kind::Chord) {
                const content::ChordShape* shape = ctx.Chord(e.chord);
                if (!shape) return false;
                for (int s : content::StruckStrings(e, *shape)) notes.push_back({s, shape->frets[static_cast<std::size_t>(s)]});
                Text(p, QPointF(x, top - (fingers || pima ? 18 : 9)), QString::fromStdString(e.chord), 8, true, C("accent"));
            }
            for (const auto& [string, fret] : notes) {
                const QPointF at(x, top + (5 - string) * gap);
                p.fillRect(QRectF(at.x() - 4, at.y() - 5, 8, 10), C("cream-light"));
                Text(p, at, QString::number(fret), 9, true, C("ink"));
            }
            if (!notes.empty() && (fingers || pima)) {
                const auto& [string, fret] = notes.front();
                static const char* letters[] = {"p", "p", "p", "i", "m", "a"};
                const QString mark = pima ? QString::fromLatin1(letters[string]) : fret == 0 ? QStringLiteral("0") : QString::number(std::min(fret, 4));
                Text(p, QPointF(x, top - 8), mark, 8, true, C("wood-dark"));
            }
            const QString label = CountLabel(exercise, perBar, b, units);
            if (!label.isEmpty()) Text(p, QPointF(x, top + 5 * gap + 9), label, 8, true, C("accent"));
            units += e.units;
        }
    }
    return true;
}

// The tablature's lines beside the strings they stand for.
bool DrawTabAndStrings(Context& ctx) {
    QPainter& p = ctx.p;
    const double top = 16, gap = 14;
    p.setPen(QPen(C("ink-soft"), 0.9));
    for (int s = 0; s < 6; ++s) p.drawLine(QPointF(8, top + s * gap), QPointF(70, top + s * gap));
    p.setPen(QPen(C("ink"), 1.2));
    p.drawLine(QPointF(8, top), QPointF(8, top + 5 * gap));
    ctx.Label(QPointF(40, 4), ctx.Say("Tabulatur", "Tab"), 8, true, C("ink"));
    p.fillRect(QRectF(36, top - 6, 9, 12), C("cream-light"));
    Text(p, QPointF(40, top), QStringLiteral("3"), 10, true, C("accent"));
    Fretboard board{QRectF(118, top - gap / 2, 70, gap * 6), 3};
    DrawFretboard(p, board, ctx.English(), false);
    Marker(p, QPointF(board.X(3), board.Y(5)), 5, QStringLiteral("3"), C("accent"));
    for (int s = 0; s < 6; ++s)
        Arrow(p, QPointF(74, top + (5 - s) * gap), QPointF(board.box.left() - 24, board.Y(s)), C("wood-light"), 1, 3);
    ctx.Words(QRectF(0, 96, 192, 12), Qt::AlignCenter,
           ctx.Say("oberste Linie = hohe e-Saite, 3 = 3. Bund", "top line = high E string, 3 = 3rd fret"), 8, false,
           C("ink-soft"));
    return true;
}

// The tuner panel: the fretboard with the six strings named, one string
// clicked and sounding.
bool DrawTuner(Context& ctx) {
    QPainter& p = ctx.p;
    const QRectF panel(14, 8, 164, 90);
    PaperCard(p, panel, 6, 41, C("wood-light"));
    const QRectF board(24, 18, 118, 70);
    p.fillRect(board, C("fretboard"));
    for (int f = 1; f < 5; ++f) p.fillRect(QRectF(board.left() + f * 26, board.top(), 1.5, board.height()), C("fret"));
    for (int i = 0; i < 6; ++i) {
        const int string = 5 - i; // the tuner shows the high e at the top
        const double y = board.top() + (i + 0.5) * board.height() / 6;
        const bool sounding = string == 1;
        p.setPen(QPen(sounding ? C("accent-light") : (string < 3 ? C("string-wound") : C("string-plain")),
                      sounding ? 2.2 : 1 + (5 - string) * 0.2));
        p.drawLine(QPointF(board.left(), y), QPointF(board.right(), y));
        const QRectF label(board.right() + 8, y - 5.5, 22, 11);
        p.setPen(QPen(C("wood-dark"), 0.8));
        p.setBrush(sounding ? C("accent") : C("cream-light"));
        p.drawRoundedRect(label, 3, 3);
        p.setBrush(Qt::NoBrush);
        Text(p, label.center(), StringName(string, ctx.English()), 8, true, sounding ? C("cream-light") : C("ink"));
    }
    // Sound waves from the clicked string.
    p.setPen(QPen(C("accent"), 1.3));
    const double y = board.top() + 4.5 * board.height() / 6;
    for (int w = 1; w <= 3; ++w) p.drawArc(QRectF(160 + w * 3 - 6, y - 3 * w - 2, 6 * w, 6 * w + 4), -60 * 16, 120 * 16);
    return true;
}

// One minute on the clock, two chords with the way back and forth between them.
bool DrawStopwatch(Context& ctx) {
    std::vector<const content::ChordShape*> shapes;
    if (!ChordArgs(ctx, 0, 2, 2, shapes)) return false;
    QPainter& p = ctx.p;
    const QPointF centre(96, 60);
    p.setPen(QPen(C("wood-dark"), 2));
    p.setBrush(C("cream-light"));
    p.drawEllipse(centre, 24, 24);
    p.fillRect(QRectF(centre.x() - 4, centre.y() - 32, 8, 6), C("wood-dark"));
    p.setPen(QPen(C("ink-soft"), 1));
    for (int t = 0; t < 12; ++t) {
        const double a = t * M_PI / 6;
        p.drawLine(centre + QPointF(std::sin(a), -std::cos(a)) * 19, centre + QPointF(std::sin(a), -std::cos(a)) * 22);
    }
    p.setPen(QPen(C("accent"), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(0, -17));
    Text(p, centre + QPointF(0, 9), QStringLiteral("1:00"), 9, true, C("ink"));
    for (int i = 0; i < 2; ++i) {
        const double left = i == 0 ? 12 : 142;
        Text(p, QPointF(left + 19, 10), ChordLabel(*shapes[static_cast<std::size_t>(i)]), 12, true, C("accent"));
        ChordDiagram(p, QRectF(left, 30, 38, 62), *shapes[static_cast<std::size_t>(i)]);
    }
    CurvedArrow(p, QPointF(62, 34), QPointF(96, 14), QPointF(132, 34), C("wood-dark"), 1.4, 4);
    CurvedArrow(p, QPointF(132, 92), QPointF(96, 108), QPointF(62, 92), C("wood-dark"), 1.4, 4);
    return true;
}

} // namespace art::drawing
