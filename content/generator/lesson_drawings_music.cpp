// The slide pictures of counting and rhythm: note values with their rests,
// a bar with its counts, the strumming pattern of an exercise's bars (seen
// as the strings lie under the hand), repeat signs, the fermata, the pick's
// stroke signs and an exercise's chord sequence.

#include "content/generator/lesson_drawings_all.h"

#include "content/generator/art_paint.h"

#include <algorithm>
#include <cmath>

namespace art::drawing {

bool DrawNoteValues(Context& ctx) {
    QPainter& p = ctx.p;
    const double gap = 4;
    const QString names[] = {ctx.Say("ganze", "whole"), ctx.Say("halbe", "half"), ctx.Say("Viertel", "quarter")};
    const double beats[] = {4, 2, 1};
    ctx.Label(QPointF(26, 26), ctx.Say("Note", "note"), 8, true, C("ink"));
    ctx.Label(QPointF(26, 62), ctx.Say("Pause", "rest"), 8, true, C("ink"));
    ctx.Label(QPointF(26, 88), ctx.Say("Zählzeiten", "beats"), 8, true, C("ink"));
    for (int i = 0; i < 3; ++i) {
        const double x = 78 + i * 45;
        ctx.Label(QPointF(x, 6), names[i], 9, true, C("accent"));
        const double noteMid = Staff(p, x - 20, x + 20, 18, gap);
        Note(p, QPointF(x - 2, noteMid), gap, i == 2, i > 0);
        const double restMid = Staff(p, x - 20, x + 20, 54, gap);
        Rest(p, x, restMid, gap, beats[i]);
        Text(p, QPointF(x, 88), QString::number(static_cast<int>(beats[i])), 11, true, C("ink"));
    }
    return true;
}

bool DrawBarCounts(Context& ctx) {
    if (ctx.args.size() != 1 || (ctx.args[0] != "3" && ctx.args[0] != "4")) return ctx.Fail("bar-counts 3|4");
    const int beats = ctx.args[0][0] - '0';
    QPainter& p = ctx.p;
    const double gap = 6, left = 14, right = 182;
    const double mid = Staff(p, left, right, 22, gap);
    p.setPen(QPen(C("ink"), 1.3));
    p.drawLine(QPointF(left, 22), QPointF(left, 22 + 4 * gap));
    p.drawLine(QPointF(right, 22), QPointF(right, 22 + 4 * gap));
    Text(p, QPointF(left + 12, mid - gap), QString::number(beats), 15, true, C("ink"));
    Text(p, QPointF(left + 12, mid + gap), QStringLiteral("4"), 15, true, C("ink"));
    const double step = (right - left - 40) / beats;
    for (int b = 0; b < beats; ++b) {
        const double x = left + 34 + step * (b + 0.5);
        Note(p, QPointF(x, mid), gap, true, true);
        const bool accent = beats == 3 && b == 0;
        if (accent) {
            p.setPen(QPen(C("accent"), 1.8));
            p.drawLine(QPointF(x - 6, mid - 3.3 * gap - 9), QPointF(x + 6, mid - 3.3 * gap - 6));
            p.drawLine(QPointF(x + 6, mid - 3.3 * gap - 6), QPointF(x - 6, mid - 3.3 * gap - 3));
        }
        Text(p, QPointF(x + 3, 84), QString::number(b + 1), accent ? 16 : 12, true, accent ? C("accent") : C("ink"));
    }
    if (beats == 3)
        ctx.Words(QRectF(0, 96, 192, 12), Qt::AlignCenter, ctx.Say("EINS zwei drei", "ONE two three"), 8, true, C("ink-soft"));
    return true;
}

// How a learner counts the event `units` into bar `bar` (1-based): the
// beat's number, "+" on the half beat; in eighths two bars make a 4/4 bar,
// counted "1 + 2 +" and "3 + 4 +". Empty where nothing is counted.
QString CountLabel(const content::Exercise& exercise, int perBar, int bar, int units) {
    const int beat = units / content::kUnitsPerBeat, within = units % content::kUnitsPerBeat;
    if (exercise.eighths) {
        if (within != 0) return {};
        return beat % 2 ? QStringLiteral("+") : QString::number(((bar - 1) % 2) * (perBar / 2) + beat / 2 + 1);
    }
    if (within == 0) return QString::number(beat % perBar + 1);
    if (within == content::kUnitsPerBeat / 2) return QStringLiteral("+");
    return {};
}

// The exercise's bars as the strumming hand plays them: the strings as the
// player sees them (low E at the top), a strum as an arrow over the strings
// it strikes (down from the low strings, up from the high ones), a missed
// strum dashed beside them, a bass note as a dot on its string, a rest as
// its sign; the counts below.
bool DrawPattern(Context& ctx) {
    int first = 0, last = 0;
    if (!ctx.Bars(0, first, last)) return false;
    const content::Exercise& exercise = *ctx.source.lesson.exercise;
    const int perBar = static_cast<int>(ctx.source.lesson.values.geometry[content::kBeatsPerBar]);
    QPainter& p = ctx.p;
    const StringBand band{QRectF(22, 22, 166, 48)};
    DrawStringBand(p, band, ctx.English());
    const int total = (last - first + 1) * perBar * content::kUnitsPerBeat;
    auto X = [&](int units) { return band.box.left() + band.box.width() * (units + 4.0) / (total + 2.0); };
    int units = 0;
    std::string lastChord;
    for (int b = first; b <= last; ++b) {
        if (b > first) {
            p.setPen(QPen(C("ink-soft"), 1, Qt::DotLine));
            p.drawLine(QPointF(X(units) - 6, band.box.top() - 4), QPointF(X(units) - 6, band.box.bottom() + 4));
        }
        for (const content::ScoreEvent& e : exercise.bars[static_cast<std::size_t>(b - 1)].events) {
            const double x = X(units);
            if (e.kind == content::ScoreEvent::Kind::Chord) {
                const content::ChordShape* shape = ctx.Chord(e.chord);
                if (!shape) return false;
                const std::vector<int> strings = content::StruckStrings(e, *shape);
                StrumArrow(p, x, band.Y(strings.front()) - 3, band.Y(strings.back()) + 3, e.upStroke,
                           e.upStroke ? C("wood-dark") : C("accent"));
                if (e.chord != lastChord) Text(p, QPointF(x + 2, 9), QString::fromStdString(e.chord), 9, true, C("accent"));
                lastChord = e.chord;
            } else if (e.kind == content::ScoreEvent::Kind::Ghost) {
                // The hand swings past: above the strings, dashed.
                StrumArrow(p, x, 12, band.box.top() - 1, e.upStroke, C("ink-soft"), true);
            } else if (e.kind == content::ScoreEvent::Kind::Notes) {
                for (const auto& [string, fret] : e.notes) {
                    Marker(p, QPointF(x, band.Y(string)), 4.5, QString(), C("wood-dark"));
                    ctx.Label(QPointF(x, band.Y(string) - 9), ctx.Say("Bass", "bass"), 7, true, C("wood-dark"));
                }
            } else {
                Rest(p, x, band.box.center().y(), 5, e.units / double(content::kUnitsPerBeat));
            }
            const QString count = CountLabel(exercise, perBar, b, units % (perBar * content::kUnitsPerBeat));
            if (!count.isEmpty())
                Text(p, QPointF(x, 82), count, 10, true, e.kind == content::ScoreEvent::Kind::Ghost ? C("ink-soft") : C("ink"));
            units += e.units;
        }
    }
    // The counts that fall inside held notes, lighter.
    for (int u = 0; u < total; u += content::kUnitsPerBeat) {
        bool started = false;
        int at = 0;
        for (int b = first; b <= last && !started; ++b)
            for (const content::ScoreEvent& e : exercise.bars[static_cast<std::size_t>(b - 1)].events) {
                if (at == u) started = true;
                at += e.units;
            }
        if (started) continue;
        const int barUnits = perBar * content::kUnitsPerBeat;
        Text(p, QPointF(X(u), 82), CountLabel(exercise, perBar, first + u / barUnits, u % barUnits), 10, false, C("honey"));
    }
    bool ghost = false;
    for (int b = first; b <= last; ++b)
        for (const content::ScoreEvent& e : exercise.bars[static_cast<std::size_t>(b - 1)].events)
            ghost = ghost || e.kind == content::ScoreEvent::Kind::Ghost;
    ctx.Words(QRectF(0, 94, 192, 14), Qt::AlignCenter,
              ghost ? ctx.Say("\u2193 ab   \u2191 auf   gestrichelt: an den Saiten vorbei",
                              "\u2193 down   \u2191 up   dashed: past the strings")
                    : ctx.Say("\u2193 Abschlag   \u2191 Aufschlag", "\u2193 downstroke   \u2191 upstroke"),
              8, false, C("ink-soft"));
    return true;
}

bool DrawRepeats(Context& ctx) {
    QPainter& p = ctx.p;
    const content::Exercise& exercise = *ctx.source.lesson.exercise;
    if (exercise.bars.size() < 4) return ctx.Fail("the exercise has fewer than four bars");
    const double gap = 5, left = 8, right = 184;
    const double mid = Staff(p, left, right, 36, gap);
    const double top = 36, bottom = 36 + 4 * gap;
    auto repeatSign = [&](double x, bool start) {
        p.fillRect(QRectF(start ? x : x - 3, top, 3, bottom - top), C("ink"));
        p.setPen(QPen(C("ink"), 1));
        const double thin = start ? x + 6 : x - 6;
        p.drawLine(QPointF(thin, top), QPointF(thin, bottom));
        p.setPen(Qt::NoPen);
        p.setBrush(C("accent"));
        const double dots = start ? x + 10 : x - 10;
        p.drawEllipse(QPointF(dots, mid - gap / 2), 1.8, 1.8);
        p.drawEllipse(QPointF(dots, mid + gap / 2), 1.8, 1.8);
        p.setBrush(Qt::NoBrush);
    };
    repeatSign(left + 2, true);
    repeatSign(right - 2, false);
    const double barWidth = (right - left - 24) / 4;
    for (int b = 0; b < 4; ++b) {
        const double x = left + 14 + b * barWidth;
        if (b > 0) {
            p.setPen(QPen(C("ink"), 1));
            p.drawLine(QPointF(x, top), QPointF(x, bottom));
        }
        const content::ScoreEvent& e = exercise.bars[static_cast<std::size_t>(b)].events.front();
        if (e.kind == content::ScoreEvent::Kind::Chord)
            Text(p, QPointF(x + barWidth / 2, 26), QString::fromStdString(e.chord), 9, true, C("accent"));
        for (int s = 0; s < 4; ++s) { // slashes: strum along
            const double sx = x + barWidth * (s + 0.5) / 4;
            p.setPen(QPen(C("ink"), 2.2));
            p.drawLine(QPointF(sx - 2, mid + 3), QPointF(sx + 2, mid - 3));
        }
    }
    ctx.Label(QPointF(96, 10), ctx.Say("Teil A", "part A"), 10, true, C("wood-dark"));
    Text(p, QPointF(172, 70), QStringLiteral("2\u00d7"), 11, true, C("accent"));
    ctx.Words(QRectF(0, 84, 192, 22), Qt::AlignCenter | Qt::TextWordWrap,
           ctx.Say("Zwischen den Zeichen: noch einmal spielen", "Between the signs: play it again"), 8, false,
           C("ink-soft"));
    return true;
}

bool DrawFermata(Context& ctx) {
    if (ctx.args.size() != 1) return ctx.Fail("fermata CHORD");
    if (!ctx.Chord(ctx.args[0])) return false;
    QPainter& p = ctx.p;
    const double gap = 6;
    const double mid = Staff(p, 20, 100, 44, gap);
    p.setPen(QPen(C("ink"), 1.2));
    p.drawLine(QPointF(100, 44), QPointF(100, 44 + 4 * gap));
    Note(p, QPointF(60, mid), gap, false, false);
    Text(p, QPointF(60, 12), QString::fromStdString(ctx.args[0]), 11, true, C("accent"));
    // The fermata: an arc with a dot under it.
    p.setPen(QPen(C("ink"), 2.2));
    p.drawArc(QRectF(48, 24, 24, 20), 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(C("ink"));
    p.drawEllipse(QPointF(60, 33), 2.4, 2.4);
    p.setBrush(Qt::NoBrush);
    // Held longer than the four written beats.
    p.setPen(QPen(C("ink-soft"), 1));
    for (int b = 0; b < 4; ++b) Text(p, QPointF(34 + b * 16, 84), QString::number(b + 1), 9, true, C("ink-soft"));
    Arrow(p, QPointF(26, 96), QPointF(180, 96), C("accent"), 2, 5);
    ctx.Words(QRectF(108, 44, 84, 40), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
           ctx.Say("länger aushalten und klingen lassen", "hold it longer and let it ring"), 9, true, C("accent"));
    return true;
}

bool DrawStrokeSigns(Context& ctx) {
    QPainter& p = ctx.p;
    for (int i = 0; i < 2; ++i) {
        const bool up = i == 1;
        const double x = 52 + i * 88;
        p.setPen(QPen(C("ink"), 2.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        if (up) {
            p.drawLine(QPointF(x - 11, 10), QPointF(x, 34));
            p.drawLine(QPointF(x, 34), QPointF(x + 11, 10));
        } else {
            p.drawLine(QPointF(x - 12, 34), QPointF(x - 12, 12));
            p.drawLine(QPointF(x - 12, 12), QPointF(x + 12, 12));
            p.drawLine(QPointF(x + 12, 12), QPointF(x + 12, 34));
        }
        // Three strings and the pick's way through them.
        p.setPen(QPen(C("ink-soft"), 1));
        for (int s = 0; s < 3; ++s) p.drawLine(QPointF(x - 24, 52 + s * 8), QPointF(x + 24, 52 + s * 8));
        StrumArrow(p, x, 46, 74, up, C("accent"));
        ctx.Label(QPointF(x, 88), up ? ctx.Say("Aufschlag", "upstroke") : ctx.Say("Abschlag", "downstroke"), 9, true,
             C("ink"));
    }
    ctx.Words(QRectF(0, 96, 192, 12), Qt::AlignCenter,
           ctx.Say("ab = zum Boden hin, auf = zu Ihnen hin", "down = toward the floor, up = toward you"), 8, false,
           C("ink-soft"));
    return true;
}

// The chord of every bar of the exercise, in rows of four bars.
bool DrawSequence(Context& ctx) {
    const content::Exercise& exercise = *ctx.source.lesson.exercise;
    QPainter& p = ctx.p;
    const int bars = static_cast<int>(exercise.bars.size());
    if (bars > 16) return ctx.Fail("the exercise has more than 16 bars");
    const int rows = (bars + 3) / 4;
    const double rowHeight = std::min(26.0, 104.0 / rows), width = 44;
    for (int b = 0; b < bars; ++b) {
        const QRectF box(8 + (b % 4) * width, 3 + (b / 4) * rowHeight, width, rowHeight - 4);
        p.setPen(QPen(C("ink-soft"), 1));
        p.setBrush(C("cream"));
        p.drawRect(box);
        p.setBrush(Qt::NoBrush);
        QStringList chords;
        for (const content::ScoreEvent& e : exercise.bars[static_cast<std::size_t>(b)].events)
            if (e.kind == content::ScoreEvent::Kind::Chord && (chords.isEmpty() || chords.back() != QString::fromStdString(e.chord)))
                chords << QString::fromStdString(e.chord);
        Text(p, box.center(), chords.join(QStringLiteral(" ")), chords.size() > 1 ? 9 : 11, true, C("accent"));
    }
    return true;
}

} // namespace art::drawing
