#include "content/generator/lesson_notation.h"

#include "content/generator/art_paint.h"
#include "content/generator/art_scenes.h"
#include "content/generator/course_cursor.h"
#include "layout/screenlayout.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace art {
namespace {

using content::Geometry;
using content::ScoreEvent;

constexpr int kBandHeight = content::kPointHeight; // the count row the point runs along
constexpr int kChordLine = 14;
constexpr int kScreenBottom = 589;
constexpr int kScreenRight = 726;

// Where things go: the grid of the cursor and the heights of one notation row.
struct Grid {
    Geometry g{};
    int beats = 0;       // notation beats (WrapLength)
    int perLine = 0;
    int perBar = 0;
    int barBeats = 0;    // beats between two bar lines: a 4/4 bar of eighths spans two bars of the outline
    bool eighths = false;
    double beatWidth = 0;
    double spacing = 6;  // between two tab lines
    bool chordsInBand = false;

    double Plain(int beat) const { return content::PointForNotationBeat(g, beat).x + content::kPointWidth / 2.0; }
    bool Squeezed(int beat) const { return Plain(beat) + beatWidth / 2 > kScreenRight; }
    // Beats that the grid would put beyond the screen's right edge (the
    // cursor never points at them: it holds still there) share the room left
    // at the end of their line: from `from` on, `step` pixels each.
    void Squeeze(int beat, int& fit, double& from, double& step) const {
        const int rowFirst = beat - beat % perLine;
        fit = beat;
        while (fit > rowFirst && Squeezed(fit)) --fit;
        const int rowLast = std::min(beats, rowFirst + perLine) - 1;
        from = Plain(fit) + beatWidth / 2;
        step = (kScreenRight - from) / std::max(1, rowLast - fit);
    }
    // A beat's centre column.
    double Centre(int beat) const {
        if (!Squeezed(beat)) return Plain(beat);
        int fit;
        double from, step;
        Squeeze(beat, fit, from, step);
        return from + (beat - fit - 0.5) * step;
    }
    // The width a beat takes: the beat width, or less where squeezed.
    double Step(int beat) const {
        if (!Squeezed(beat)) return beatWidth;
        int fit;
        double from, step;
        Squeeze(beat, fit, from, step);
        return step;
    }
    int Baseline(int beat) const { return content::PointForNotationBeat(g, beat).y; }
    double StaffTop(int beat) const { return Baseline(beat) + 3.5; } // on a pixel's middle: crisp lines
    double LineY(int beat, int string) const { return StaffTop(beat) + (5 - string) * spacing; }
    int Rows() const { return (beats + perLine - 1) / perLine; }
};

bool HasChords(const content::Exercise& exercise) {
    for (const content::Bar& bar : exercise.bars)
        for (const ScoreEvent& e : bar.events)
            if (e.kind == ScoreEvent::Kind::Chord) return true;
    return false;
}

Grid MakeGrid(const content::Lesson& lesson) {
    Grid grid;
    grid.g = lesson.values.geometry; // the edition's rows
    grid.beats = static_cast<int>(grid.g[content::kWrapLength]);
    grid.perLine = static_cast<int>(grid.g[content::kBeatsPerLine]);
    grid.perBar = static_cast<int>(grid.g[content::kBeatsPerBar]);
    grid.eighths = lesson.exercise->eighths;
    grid.barBeats = grid.eighths ? 2 * grid.perBar : grid.perBar;
    grid.beatWidth = static_cast<float>(grid.g[content::kBeatWidth]);
    const int lineSpacing = static_cast<int>(grid.g[content::kLineSpacing]);
    const bool chords = HasChords(*lesson.exercise);
    grid.chordsInBand = chords && lineSpacing < 62;
    const int chordRoom = chords && !grid.chordsInBand ? kChordLine : 0;
    double spacing = (lineSpacing - kBandHeight - 6 - chordRoom) / 5.0;
    const int lastBaseline = grid.Baseline(grid.beats - 1);
    spacing = std::min(spacing, (kScreenBottom - 3 - lastBaseline) / 5.0);
    grid.spacing = std::floor(std::clamp(spacing, 4.0, 7.0));
    return grid;
}

// Draws `text` centred on `centre` and returns its ink box.
QRectF CentredText(QPainter& p, QPointF centre, const QString& text, const QFont& font, QColor colour,
                   QColor knockout = QColor()) {
    QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    const double height = metrics.ascent() * 0.74; // digit height
    QRectF box(centre.x() - width / 2, centre.y() - height / 2, width, height);
    if (knockout.isValid()) p.fillRect(box.adjusted(-1.5, -1, 1.5, 1), knockout);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QPointF(box.left(), box.bottom()), text);
    return box;
}

class NotationPainter {
public:
    NotationPainter(QPainter& painter, const Grid& grid, const content::Outline& outline, std::vector<QRect>& glyphs)
        : p_(painter), grid_(grid), outline_(outline), glyphs_(glyphs), named_(glyphs.size(), false) {}

    void Staves();
    void Events(const content::Exercise& exercise);
    void Counts(const std::vector<bool>& started);
    void Repeats(const content::Exercise& exercise);

private:
    void Note(const ScoreEvent& e, int beat, double x);
    void Strum(const ScoreEvent& e, int beat, double x);
    void Ghost(const ScoreEvent& e, int beat, double x);
    void Rest(const ScoreEvent& e, int beat, double x);
    void ChordName(const std::string& name, int beat, double x);
    void Record(int beat, const QRectF& box, bool main);
    void RepeatBar(double x, int beat, bool start);

public:
    void Fermata(int beat);

private:
    double RowLeft() const { return grid_.Centre(0) - grid_.Step(0) / 2; }

    QPainter& p_;
    const Grid& grid_;
    const content::Outline& outline_;
    std::vector<QRect>& glyphs_;
    std::vector<bool> named_; // beats whose chord name stands in the count row
    std::string lastChord_;
    int lastChordRow_ = -1;
};

void NotationPainter::Record(int beat, const QRectF& box, bool main) {
    QRect& slot = glyphs_[static_cast<std::size_t>(beat)];
    const QRect rounded = box.toAlignedRect();
    if (main) slot = slot.isNull() ? rounded : slot.united(rounded);
}

void NotationPainter::Staves() {
    const QColor ink = C("ink");
    for (int row = 0; row < grid_.Rows(); ++row) {
        const int first = row * grid_.perLine;
        const int last = std::min(grid_.beats, first + grid_.perLine) - 1;
        const double left = std::floor(RowLeft()) - (row == 0 ? 58 : 38) + 0.5;
        const double right = std::floor(grid_.Centre(last) + grid_.Step(last) / 2) + 0.5;
        p_.setPen(QPen(C("ink-soft"), 0.9));
        for (int s = 0; s < 6; ++s)
            p_.drawLine(QPointF(left, grid_.LineY(first, s)), QPointF(right, grid_.LineY(first, s)));
        p_.setPen(QPen(ink, 1.2));
        const double top = grid_.LineY(first, 5), bottom = grid_.LineY(first, 0);
        p_.drawLine(QPointF(left, top), QPointF(left, bottom));
        // The tablature clef: T A B stacked in the staff.
        QFont clef = Serif(static_cast<int>(grid_.spacing * 1.6), true);
        const double clefX = left + 9;
        const char* letters[] = {"T", "A", "B"};
        for (int i = 0; i < 3; ++i)
            CentredText(p_, QPointF(clefX, top + (bottom - top) * (i + 0.5) / 3), letters[i], clef, ink);
        if (row == 0) {
            QFont digits = Serif(static_cast<int>(grid_.spacing * 2.6), true);
            const double x = left + 27, mid = (top + bottom) / 2;
            const int numerator = grid_.eighths ? grid_.barBeats / 2 : grid_.perBar;
            CentredText(p_, QPointF(x, mid - grid_.spacing * 1.25), QString::number(numerator), digits, ink);
            CentredText(p_, QPointF(x, mid + grid_.spacing * 1.25), QStringLiteral("4"), digits, ink);
        }
        // Bar lines between bars, and at the end of the row.
        for (int beat = first + 1; beat <= last; ++beat)
            if (beat % grid_.barBeats == 0) {
                const double x = std::floor(grid_.Centre(beat) - grid_.Step(beat) / 2) + 0.5;
                p_.drawLine(QPointF(x, top), QPointF(x, bottom));
            }
        p_.drawLine(QPointF(right, top), QPointF(right, bottom));
        if (last == grid_.beats - 1) {
            p_.fillRect(QRectF(right - 3, top, 3, bottom - top), ink);
            p_.drawLine(QPointF(right - 6, top), QPointF(right - 6, bottom));
        }
    }
}

void NotationPainter::Note(const ScoreEvent& e, int beat, double x) {
    QFont font = Sans(std::max(9, static_cast<int>(std::lround(grid_.spacing * 1.65))), true);
    for (const auto& [string, fret] : e.notes) {
        QRectF box = CentredText(p_, QPointF(x, grid_.LineY(beat, string)), QString::number(fret), font,
                                 C("ink"), C("cream-light"));
        Record(beat, box, true);
        // A held note rings on: a thin line along its string.
        if (e.units > content::kUnitsPerBeat) {
            const double end = x + grid_.Step(beat) * (e.units / double(content::kUnitsPerBeat) - 0.6);
            p_.setPen(QPen(C("accent", 140), 1.4));
            p_.drawLine(QPointF(box.right() + 2, grid_.LineY(beat, string)), QPointF(end, grid_.LineY(beat, string)));
        }
    }
}

void NotationPainter::Strum(const ScoreEvent& e, int beat, double x) {
    // The arrow spans the strings struck: all six, only the highest few, or
    // the two of a power chord.
    int lowest = 0, highest = 5;
    auto shape = outline_.chords.find(e.chord);
    if (shape != outline_.chords.end()) {
        const std::vector<int> struck = content::StruckStrings(e, shape->second);
        lowest = struck.front();
        highest = struck.back();
    }
    const double top = grid_.LineY(beat, highest) - 1, bottom = grid_.LineY(beat, lowest) + 1;
    const double head = std::min(5.0, grid_.spacing);
    QPainterPath arrow;
    const double tip = e.upStroke ? top : bottom;
    const double dir = e.upStroke ? 1 : -1;
    arrow.moveTo(x, tip);
    arrow.lineTo(x - 3.5, tip + dir * head * 1.3);
    arrow.lineTo(x + 3.5, tip + dir * head * 1.3);
    arrow.closeSubpath();
    p_.fillRect(QRectF(x - 2.5, top, 5, bottom - top), C("cream-light"));
    p_.setPen(QPen(C("ink"), e.upStroke ? 1.2 : 1.8));
    p_.drawLine(QPointF(x, top), QPointF(x, bottom));
    p_.fillPath(arrow, e.upStroke ? C("ink-soft") : C("ink"));
    Record(beat, QRectF(x - 4, top, 8, bottom - top), true);
    if (e.chord != lastChord_ || beat / grid_.perLine != lastChordRow_) ChordName(e.chord, beat, x);
}

// A missed strum: the hand swings past the strings; a thin dashed arrow.
void NotationPainter::Ghost(const ScoreEvent& e, int beat, double x) {
    const double top = grid_.LineY(beat, 5) - 1, bottom = grid_.LineY(beat, 0) + 1;
    p_.fillRect(QRectF(x - 2.5, top, 5, bottom - top), C("cream-light"));
    p_.setPen(QPen(C("ink-soft"), 1.1, Qt::DashLine));
    p_.drawLine(QPointF(x, top), QPointF(x, bottom));
    const double tip = e.upStroke ? top : bottom, dir = e.upStroke ? 1 : -1;
    const double head = std::min(5.0, grid_.spacing);
    p_.setPen(QPen(C("ink-soft"), 1.1));
    p_.drawLine(QPointF(x, tip), QPointF(x - 3.5, tip + dir * head * 1.3));
    p_.drawLine(QPointF(x, tip), QPointF(x + 3.5, tip + dir * head * 1.3));
    Record(beat, QRectF(x - 4, top, 8, bottom - top), true);
}

void NotationPainter::ChordName(const std::string& name, int beat, double x) {
    lastChord_ = name;
    lastChordRow_ = beat / grid_.perLine;
    if (grid_.chordsInBand) named_[static_cast<std::size_t>(beat)] = true;
    const double y = grid_.chordsInBand ? grid_.Baseline(beat) - kBandHeight / 2.0
                                        : grid_.Baseline(beat) - kBandHeight - kChordLine / 2.0 - 1;
    QFont font = Sans(grid_.chordsInBand ? 11 : 12, true);
    QFontMetricsF metrics(font);
    const QString text = QString::fromStdString(name);
    const double width = metrics.horizontalAdvance(text);
    // Chord names start at their beat, so that neighbours never collide.
    const double left = std::max(x - 4.0, x - width / 2);
    p_.setFont(font);
    p_.setPen(C("accent"));
    p_.drawText(QPointF(left, y + metrics.capHeight() / 2), text);
}

void NotationPainter::Rest(const ScoreEvent& e, int beat, double x) {
    const double mid = (grid_.LineY(beat, 5) + grid_.LineY(beat, 0)) / 2;
    const double s = grid_.spacing;
    QRectF box;
    p_.setPen(Qt::NoPen);
    p_.setBrush(C("ink"));
    if (e.units >= 2 * content::kUnitsPerBeat) {
        // Half rest sits on the middle line, whole rest hangs from the line above.
        const bool whole = e.units >= 4 * content::kUnitsPerBeat;
        box = QRectF(x - s, whole ? mid - s * 0.5 - s * 0.55 : mid - s * 0.5, 2 * s, s * 0.55);
        p_.fillRect(box.adjusted(-2, -2, 2, 2), C("cream-light"));
        p_.drawRect(box);
    } else {
        QPainterPath path;
        if (e.units >= content::kUnitsPerBeat) { // quarter rest: the zigzag
            path = QuarterRestPath(x, mid, s * 3.2, s * 0.9);
        } else { // eighth rest: a dot and a slanted stem
            path.addEllipse(QPointF(x - s * 0.35, mid - s * 0.6), s * 0.38, s * 0.38);
            path.moveTo(x - s * 0.35, mid - s * 0.3);
            path.lineTo(x + s * 0.55, mid - s * 0.85);
            path.lineTo(x - s * 0.05, mid + s * 1.2);
            path.lineTo(x - s * 0.3, mid + s * 1.2);
            path.lineTo(x + s * 0.3, mid - s * 0.35);
            path.closeSubpath();
        }
        box = path.boundingRect();
        p_.fillRect(box.adjusted(-1, -1, 1, 1), C("cream-light"));
        p_.drawPath(path);
    }
    p_.setBrush(Qt::NoBrush);
    Record(beat, box, true);
}

void NotationPainter::Events(const content::Exercise& exercise) {
    std::vector<bool> started(static_cast<std::size_t>(grid_.beats), false);
    int units = 0;
    for (const content::Bar& bar : exercise.bars) {
        for (const ScoreEvent& e : bar.events) {
            const int beat = units / content::kUnitsPerBeat;
            const double offset = (units % content::kUnitsPerBeat) * grid_.Step(std::min(beat, grid_.beats - 1)) /
                                  content::kUnitsPerBeat;
            if (beat < grid_.beats) {
                const double x = grid_.Centre(beat) + offset;
                const bool onBeat = units % content::kUnitsPerBeat == 0;
                if (onBeat) started[static_cast<std::size_t>(beat)] = true;
                std::vector<QRect> before = glyphs_;
                if (e.kind == ScoreEvent::Kind::Notes) Note(e, beat, x);
                else if (e.kind == ScoreEvent::Kind::Chord) Strum(e, beat, x);
                else if (e.kind == ScoreEvent::Kind::Ghost) Ghost(e, beat, x);
                else Rest(e, beat, x);
                if (!onBeat) glyphs_ = before; // an off-beat event is not the beat's glyph
            }
            units += e.units;
        }
    }
    Counts(started);
}

// The count row along which the point runs: the beat's number in its bar,
// "+" for the off-beats of eighths. A beat where nothing starts is held.
void NotationPainter::Counts(const std::vector<bool>& started) {
    QFont font = Sans(10, true);
    for (int beat = 0; beat < grid_.beats; ++beat) {
        const double y = grid_.Baseline(beat) - kBandHeight / 2.0;
        if (grid_.Squeezed(beat) && !started[static_cast<std::size_t>(beat)]) continue; // no room, never pointed at
        QRectF box;
        // Eighths are counted "1 + 2 + 3 + 4 +" over the 4/4 bar.
        const QString count = grid_.eighths ? (beat % 2 ? QStringLiteral("+") : QString::number(beat % grid_.barBeats / 2 + 1))
                                            : QString::number(beat % grid_.perBar + 1);
        if (!named_[static_cast<std::size_t>(beat)])
            box = CentredText(p_, QPointF(grid_.Centre(beat), y), count, font,
                              started[static_cast<std::size_t>(beat)] ? C("ink-soft") : C("honey"));
        if (!started[static_cast<std::size_t>(beat)]) Record(beat, box, true);
    }
}

void NotationPainter::RepeatBar(double x, int beat, bool start) {
    const double top = grid_.LineY(beat, 5), bottom = grid_.LineY(beat, 0);
    x = std::floor(x) + 0.5;
    const double thick = start ? x - 2 : x - 3, thin = start ? x + 3.5 : x - 5.5, dots = start ? x + 7 : x - 9;
    p_.fillRect(QRectF(thick, top, 3, bottom - top), C("ink"));
    p_.setPen(QPen(C("ink"), 1.2));
    p_.drawLine(QPointF(thin, top), QPointF(thin, bottom));
    p_.setPen(Qt::NoPen);
    p_.setBrush(C("ink"));
    const double mid = (top + bottom) / 2;
    p_.drawEllipse(QPointF(dots, mid - grid_.spacing), 1.8, 1.8);
    p_.drawEllipse(QPointF(dots, mid + grid_.spacing), 1.8, 1.8);
    p_.setBrush(Qt::NoBrush);
}

void NotationPainter::Repeats(const content::Exercise& exercise) {
    for (const content::RepeatedRun& run : content::RepeatedRuns(exercise)) {
        if (run.times < 2) continue;
        const int firstBeat = run.first * grid_.perBar, lastBeat = (run.last + 1) * grid_.perBar - 1;
        if (lastBeat >= grid_.beats) continue;
        const double start = grid_.Centre(firstBeat) - grid_.Step(firstBeat) / 2;
        RepeatBar(firstBeat % grid_.perLine == 0 ? start - 8 : start, firstBeat, true);
        const double end = grid_.Centre(lastBeat) + grid_.Step(lastBeat) / 2;
        RepeatBar(end + 3, lastBeat, false); // clear of a glyph on the bar's last beat
        if (run.times > 2) {
            p_.setFont(Sans(10, true, true));
            p_.setPen(C("accent"));
            p_.drawText(QPointF(end - 18, grid_.LineY(lastBeat, 0) + 12), QString::number(run.times) + QStringLiteral("×"));
        }
    }
}

// A fermata over the first beat of `beat`'s bar: the chord is held longer
// than written (and the play cursor holds still there).
void NotationPainter::Fermata(int beat) {
    const double x = grid_.Centre(beat), y = grid_.LineY(beat, 5) - 6;
    p_.setPen(QPen(C("ink"), 1.6));
    p_.setBrush(Qt::NoBrush);
    p_.drawArc(QRectF(x - 7, y - 6, 14, 12), 0, 180 * 16);
    p_.setPen(Qt::NoPen);
    p_.setBrush(C("ink"));
    p_.drawEllipse(QPointF(x, y - 1), 1.6, 1.6);
    p_.setBrush(Qt::NoBrush);
}

} // namespace

NotationPicture DrawNotation(const content::Lesson& lesson, const content::Outline& outline) {
    NotationPicture picture;
    const QRect screen = layout::LessonScreen;
    picture.backdrop = MainBackground().copy(screen);
    Grid grid = MakeGrid(lesson);
    picture.glyphs.assign(static_cast<std::size_t>(grid.beats), QRect());
    QPainter p;
    BeginPainter(p, picture.backdrop);
    p.translate(-screen.topLeft());
    // The paper strip the notation is printed on.
    const double chordRoom = HasChords(*lesson.exercise) && !grid.chordsInBand ? kChordLine : 0;
    picture.top = static_cast<int>(grid.Baseline(0) - kBandHeight - chordRoom - 4);
    const int lastRowBottom = static_cast<int>(grid.LineY(grid.beats - 1, 0)) + 5;
    PaperCard(p, QRectF(screen.left() + 8, picture.top - 6, screen.width() - 16,
                        std::min(screen.bottom() - 2, lastRowBottom + 4) - picture.top + 6),
              6, 100u + static_cast<unsigned>(lesson.number), C("cream-light"));
    NotationPainter notation(p, grid, outline, picture.glyphs);
    notation.Staves();
    notation.Repeats(*lesson.exercise);
    notation.Events(*lesson.exercise);
    for (int bar : lesson.exercise->fermataBars) notation.Fermata(bar * grid.perBar);
    p.end();
    return picture;
}

} // namespace art
