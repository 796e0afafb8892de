#include "content/generator/lesson_pictures.h"

#include "content/generator/art_paint.h"
#include "content/generator/lesson_screens.h"
#include "content/generator/lesson_text.h"
#include "layout/screenlayout.h"

#include <QRegularExpression>
#include <algorithm>

namespace art {
namespace {

constexpr int kCaptionHeight = 34;
const char* const kNoteNames[] = {"C", "Cis", "D", "Dis", "E", "F", "Fis", "G", "Gis", "A", "B", "H"};
const char* const kNoteNamesEnglish[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "Bb", "B"};

// Draws a chord box: six strings, four frets, dots, x and o above.
void DrawChordBox(QPainter& p, const QRectF& box, const content::ChordShape& shape) {
    const double dx = box.width() / 5, dy = box.height() / 4;
    p.setPen(QPen(C("ink"), 1));
    for (int s = 0; s < 6; ++s) p.drawLine(QPointF(box.left() + s * dx, box.top()), QPointF(box.left() + s * dx, box.bottom()));
    for (int f = 0; f <= 4; ++f) p.drawLine(QPointF(box.left(), box.top() + f * dy), QPointF(box.right(), box.top() + f * dy));
    p.fillRect(QRectF(box.left() - 0.5, box.top() - 2.5, box.width() + 1, 3), C("ink"));
    for (int s = 0; s < 6; ++s) {
        const int fret = shape.frets[static_cast<std::size_t>(s)];
        const double x = box.left() + s * dx;
        const double r = std::min(dx, dy) * 0.32;
        p.setBrush(Qt::NoBrush);
        if (fret < 0) {
            p.setPen(QPen(C("ink"), 1.3));
            p.drawLine(QPointF(x - r, box.top() - 5 - 2 * r), QPointF(x + r, box.top() - 5));
            p.drawLine(QPointF(x - r, box.top() - 5), QPointF(x + r, box.top() - 5 - 2 * r));
        } else if (fret == 0) {
            p.setPen(QPen(C("ink"), 1.1));
            p.drawEllipse(QPointF(x, box.top() - 5 - r), r, r);
        } else if (fret <= 4) {
            p.setPen(Qt::NoPen);
            p.setBrush(C("accent"));
            p.drawEllipse(QPointF(x, box.top() + (fret - 0.5) * dy), r * 1.2, r * 1.2);
        }
    }
    p.setBrush(Qt::NoBrush);
}

void Caption(QPainter& p, const QString& text) {
    const QRectF strip(0, 144 - kCaptionHeight, 192, kCaptionHeight);
    p.fillRect(strip, C("cream-shade"));
    p.setPen(C("ink"));
    QFont font = Sans(text.size() > 70 ? 9 : 10);
    p.setFont(font);
    p.drawText(strip.adjusted(5, 1, -5, -1), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void ChordsPicture(QPainter& p, const std::vector<std::string>& chords, const content::Outline& outline) {
    const int count = static_cast<int>(std::min<std::size_t>(chords.size(), 4));
    const double cell = 192.0 / count;
    const double width = std::min(52.0, cell - 16);
    for (int i = 0; i < count; ++i) {
        const double left = cell * i + (cell - width) / 2;
        p.setPen(C("accent"));
        p.setFont(Sans(13, true));
        p.drawText(QRectF(cell * i, 2, cell, 18), Qt::AlignCenter, QString::fromStdString(chords[static_cast<std::size_t>(i)]));
        DrawChordBox(p, QRectF(left, 36, width, 68), outline.chords.at(chords[static_cast<std::size_t>(i)]));
    }
}

// The notes of the exercise on a fretboard, high e at the top, frets 0..5;
// string and note names as the edition's learners know them (German h = B).
void FretboardPicture(QPainter& p, const content::Exercise& exercise, content::Edition edition) {
    const bool english = edition == content::Edition::English;
    const char* const* noteNames = english ? kNoteNamesEnglish : kNoteNames;
    const char* stringNames = english ? "EADGBE" : "EADghe";
    const QRectF board(22, 10, 162, 96);
    p.fillRect(board, C("fretboard"));
    const double dx = board.width() / 5, dy = board.height() / 5.5;
    p.setPen(QPen(C("fret"), 2));
    for (int f = 0; f <= 5; ++f) p.drawLine(QPointF(board.left() + f * dx, board.top()), QPointF(board.left() + f * dx, board.bottom()));
    p.setPen(QPen(C("string-wound"), 1.2));
    for (int s = 0; s < 6; ++s) {
        const double y = board.top() + (5 - s + 0.25) * dy;
        p.drawLine(QPointF(board.left() - 10, y), QPointF(board.right(), y));
        p.setPen(C("ink"));
        p.setFont(Sans(9, true));
        p.drawText(QRectF(2, y - 6, 12, 12), Qt::AlignCenter, QString(QChar(stringNames[s])));
        p.setPen(QPen(s < 3 ? C("string-wound") : C("string-plain"), 1.2));
    }
    std::vector<std::pair<int, int>> notes;
    for (const content::Bar& bar : exercise.bars)
        for (const content::ScoreEvent& e : bar.events)
            for (const auto& note : e.notes)
                if (note.second <= 5 && std::find(notes.begin(), notes.end(), note) == notes.end()) notes.push_back(note);
    p.setFont(Sans(8, true));
    for (const auto& [string, fret] : notes) {
        const double x = fret == 0 ? board.left() - 5 : board.left() + (fret - 0.5) * dx;
        const double y = board.top() + (5 - string + 0.25) * dy;
        p.setPen(Qt::NoPen);
        p.setBrush(C("accent"));
        p.drawEllipse(QPointF(x, y), 7, 7);
        p.setPen(C("cream-light"));
        p.drawText(QRectF(x - 8, y - 7, 16, 14), Qt::AlignCenter,
                   QString::fromLatin1(noteNames[content::StringNote(string, fret) % 12]));
    }
    p.setBrush(Qt::NoBrush);
}

// The first bars of the exercise as small tablature with counting.
void TabPicture(QPainter& p, const content::Exercise& exercise, int beatsPerBar) {
    const int bars = std::min<int>(2, static_cast<int>(exercise.bars.size()));
    const double left = 12, right = 184, top = 22, gap = 10;
    const double beat = (right - left - 6) / (bars * beatsPerBar);
    p.setPen(QPen(C("ink-soft"), 0.8));
    for (int s = 0; s < 6; ++s) p.drawLine(QPointF(left, top + s * gap), QPointF(right, top + s * gap));
    p.setPen(QPen(C("ink"), 1));
    p.drawLine(QPointF(left, top), QPointF(left, top + 5 * gap));
    p.drawLine(QPointF(right, top), QPointF(right, top + 5 * gap));
    int units = 0;
    for (int b = 0; b < bars; ++b) {
        p.setPen(QPen(C("ink"), 1));
        if (b > 0) p.drawLine(QPointF(left + 6 + b * beatsPerBar * beat - beat / 2 + 3, top),
                              QPointF(left + 6 + b * beatsPerBar * beat - beat / 2 + 3, top + 5 * gap));
        for (const content::ScoreEvent& e : exercise.bars[static_cast<std::size_t>(b)].events) {
            const double x = left + 6 + beat / 2 + units * beat / content::kUnitsPerBeat;
            p.setFont(Sans(10, true));
            if (e.kind == content::ScoreEvent::Kind::Chord) {
                p.setPen(QPen(C("ink"), 1.6));
                p.drawLine(QPointF(x, top), QPointF(x, top + 5 * gap));
                const double tip = e.upStroke ? top : top + 5 * gap;
                p.drawLine(QPointF(x, tip), QPointF(x - 3, tip + (e.upStroke ? 5 : -5)));
                p.drawLine(QPointF(x, tip), QPointF(x + 3, tip + (e.upStroke ? 5 : -5)));
                p.setPen(C("accent"));
                p.drawText(QPointF(x - 6, top - 8), QString::fromStdString(e.chord));
            }
            for (const auto& [string, fret] : e.notes) {
                const double y = top + (5 - string) * gap;
                QRectF box(x - 6, y - 6, 12, 12);
                p.fillRect(box.adjusted(2, 1, -2, -1), C("cream-light"));
                p.setPen(C("ink"));
                p.drawText(box, Qt::AlignCenter, QString::number(fret));
            }
            if (units % content::kUnitsPerBeat == 0) {
                p.setPen(C("accent"));
                p.setFont(Sans(9, true));
                p.drawText(QRectF(x - 6, top + 5 * gap + 4, 12, 12), Qt::AlignCenter,
                           QString::number((units / content::kUnitsPerBeat) % beatsPerBar + 1));
            }
            units += e.units;
        }
    }
}

void GuitarPicture(QPainter& p) {
    DrawGuitar(p, QRectF(16, 14, 160, 64), 0);
}

// True when a word of `text` begins with one of `words` (letter case ignored).
bool Mentions(const std::string& text, std::initializer_list<const char*> words) {
    const QString t = QString::fromStdString(text);
    return std::any_of(words.begin(), words.end(), [&](const char* w) {
        const QRegularExpression start(QStringLiteral("\\b") + QRegularExpression::escape(QString::fromUtf8(w)),
                                       QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
        return start.match(t).hasMatch();
    });
}

} // namespace

std::vector<std::string> ChordsNamed(const std::string& text, const content::Outline& outline) {
    static const QRegularExpression word(QStringLiteral(R"(([A-Ha-h])-(Dur|Moll)|\b([A-G](?:m|maj7|m7|7|5)?)\b(?!-))"));
    std::vector<std::string> names;
    for (auto it = word.globalMatch(QString::fromStdString(text)); it.hasNext();) {
        auto m = it.next();
        QString name = m.captured(3);
        if (name.isEmpty()) {
            name = m.captured(1).toUpper() + (m.captured(2) == QStringLiteral("Moll") ? QStringLiteral("m") : QString());
            if (name.startsWith(QLatin1Char('H'))) name.replace(0, 1, QStringLiteral("B"));
        }
        const std::string key = name.toStdString();
        if (outline.chords.count(key) && std::find(names.begin(), names.end(), key) == names.end()) names.push_back(key);
    }
    return names;
}

QImage SlidePicture(const content::Lesson& lesson, const content::Outline& outline, const std::string& text,
                    unsigned seed, const std::string& caption) {
    QImage image = Paper(layout::SlidePicture, seed, C("cream-light"));
    QPainter p;
    BeginPainter(p, image);
    const std::vector<std::string> chords = ChordsNamed(text, outline);
    const int beatsPerBar = static_cast<int>(lesson.values.geometry[content::kBeatsPerBar]);
    const bool aboutChords =
        Mentions(text, {"Griff", "Akkord", "Dur", "Moll", "Kadenz", "Wechsel", "Vergleich", "nebeneinander"});
    if (!chords.empty() && aboutChords && !Mentions(text, {"Griffbrett", "Töne"}))
        ChordsPicture(p, chords, outline);
    else if (Mentions(text, {"Tabulatur", "Notation", "Rhythmus", "Takt", "Muster", "Riff", "Pfeil", "Schlagpfeil", "Zähl", "Ablauf"}))
        TabPicture(p, *lesson.exercise, beatsPerBar);
    else if (Mentions(text, {"Griffbrett", "Töne", "Saite", "Griffbild", "Bund", "Basstöne"}))
        FretboardPicture(p, *lesson.exercise, lesson.edition);
    else
        GuitarPicture(p);
    Caption(p, QString::fromStdString(caption.empty() ? text : caption));
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
    DrawChordBox(p, QRectF(10, 30, kChordPicture.width() - 20, kChordPicture.height() - 36), shape);
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
