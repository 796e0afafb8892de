#include "content/generator/lesson_screens.h"

#include "content/generator/art_paint.h"
#include "content/generator/lesson_text.h"
#include "layout/screenlayout.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdio>

namespace art {
namespace {

constexpr int kLineGap = 6;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The few words the screens print around the outline's texts.
struct ScreenWords {
    const char* lesson;       // "Lektion %1"
    const char* window;       // "» Lernfenster " + A, B, C
    const char* order;        // before the playing order's bar ranges
    const char* picture;      // before the picture numbers
    const char* next;         // the next-picture link
    const char* listen;       // above the chord pictures
    // Above the video labels of window A, and above window B's and C's
    // videos, saying where they play (in window A and the monitor, or only in
    // the monitor for a lesson without window A); for one video, then more.
    const char* videos[2];
    const char* videosElsewhere[2];
    const char* videosInMonitor[2];
};

const ScreenWords& Words(const content::Lesson& lesson) {
    static const ScreenWords german{"Lektion %1", "» Lernfenster ", "Ablauf: Takt ", "Bild:", "weiter »",
                                    "Zum Anhören anklicken:", {"Video ansehen:", "Videos ansehen:"},
                                    {"Video dazu in Lernfenster A und im Monitor:", "Videos dazu in Lernfenster A und im Monitor:"},
                                    {"Video dazu im Monitor:", "Videos dazu im Monitor:"}};
    static const ScreenWords english{"Lesson %1", "» Window ", "Order: bars ", "Picture:", "next »",
                                     "Click to listen:", {"Watch the video:", "Watch the videos:"},
                                     {"Video in window A and in the monitor:", "Videos in window A and in the monitor:"},
                                     {"Video in the monitor:", "Videos in the monitor:"}};
    return lesson.edition == content::Edition::English ? english : german;
}

// Paragraphs broken to `width`, stacked from `top` while they fit above
// `bottom`; returns how many were placed.
int Paragraphs(SkinWriter& skin, const QStringList& paragraphs, QPoint at, int width, int bottom, int points,
               QColor colour, int gap = kLineGap) {
    int y = at.y(), placed = 0;
    for (const QString& paragraph : paragraphs) {
        const QString text = BreakText(paragraph, points, 0, width);
        const int height = LabelSize(text, points, 0).height();
        if (y + height > bottom) break;
        skin.Label(QPoint(at.x(), y), points, 0, colour, text);
        y += height + gap;
        ++placed;
    }
    return placed;
}

// The height the paragraphs take at `points`, broken to `width`.
int ParagraphsHeight(const QStringList& paragraphs, int width, int points, int gap = kLineGap) {
    int total = 0;
    for (const QString& paragraph : paragraphs)
        total += LabelSize(BreakText(paragraph, points, 0, width), points, 0).height() + gap;
    return total - gap;
}

// The largest of `sizes` at which all paragraphs fit in `height` at `width`;
// 0 when they fit at none.
int FittingSize(const QStringList& paragraphs, int width, int height, std::initializer_list<int> sizes) {
    for (int points : sizes)
        if (ParagraphsHeight(paragraphs, width, points) <= height) return points;
    return 0;
}

// The gap between the main screen's paragraphs at `points`: smaller text, closer lines.
int MainGap(int points) { return points >= 9 ? kLineGap : 3; }

// "Ablauf: Takt 1–8, 1–12, …": the order in which the bars are played, for
// orders that repeat signs cannot show.
QString PlayingOrder(const content::Lesson& lesson) {
    const content::Exercise& exercise = *lesson.exercise;
    QStringList parts;
    // Counted in eighths, two bars of the outline are one printed 4/4 bar.
    const int per = exercise.eighths ? 2 : 1;
    for (const auto& [first, last] : exercise.ranges) {
        const int a = first / per + 1, b = last / per + 1;
        parts << (a == b ? QString::number(a) : QStringLiteral("%1–%2").arg(a).arg(b));
    }
    return QString::fromUtf8(Words(lesson).order) + parts.join(QStringLiteral(", "));
}

// Window A plays every video of the lesson (labels tagged 131 to 133, in the
// order of the lesson's video lines); windows B and C name theirs and where
// they play, since only window A has a video panel.
void Videos(SkinWriter& skin, const content::Lesson& lesson, int window, QPoint at, int width) {
    std::vector<std::string> texts;
    for (int w = 0; w < 3; ++w)
        if (lesson.slides[static_cast<std::size_t>(w)] && (window == 0 || w == window))
            for (const std::string& text : lesson.slides[static_cast<std::size_t>(w)]->videos) texts.push_back(text);
    if (texts.empty()) return;
    const ScreenWords& words = Words(lesson);
    const int more = texts.size() > 1 ? 1 : 0;
    const char* heading = window == 0 ? words.videos[more]
                          : content::SkipsWindow(lesson.number, 0) ? words.videosInMonitor[more] : words.videosElsewhere[more];
    const QString title = BreakText(QString::fromUtf8(heading), 9, 0, width);
    skin.Label(at, 9, 0, C("ink-soft"), title);
    int y = at.y() + LabelSize(title, 9, 0).height() + 3;
    for (std::size_t k = 0; k < texts.size() && k < 3; ++k) {
        const QString text = BreakText(QStringLiteral("» ") + Q(texts[k]), 9, 1, width);
        if (window == 0)
            skin.Label(QPoint(at.x(), y), 9, 1, C("accent"), text, 131 + static_cast<int>(k));
        else
            skin.Label(QPoint(at.x(), y), 9, 1, C("ink"), text);
        y += LabelSize(text, 9, 1).height() + 2;
    }
}

// The height the video labels of a window take.
int VideosHeight(const content::Lesson& lesson, int window) {
    int count = 0;
    for (int w = 0; w < 3; ++w)
        if (lesson.slides[static_cast<std::size_t>(w)] && (window == 0 || w == window))
            count += static_cast<int>(lesson.slides[static_cast<std::size_t>(w)]->videos.size());
    return count == 0 ? 0 : 30 + 16 * std::min(count, 3);
}

} // namespace

QString LessonFile(int lesson, const QString& name) {
    return QStringLiteral("lektion%1\\").arg(lesson) + name;
}

SkinWriter MainScreenSkin(const content::Lesson& lesson, int notationTop, std::string& error) {
    error.clear();
    const QRect screen = layout::LessonScreen;
    SkinWriter skin(Q(lesson.values.header));
    skin.Image(screen.topLeft(), LessonFile(lesson.number, QStringLiteral("Notation.jpg")), 200);
    // A light honey wash behind the slide and tool buttons.
    const QRect tools(screen.right() - 196, screen.top() + 6, 190, 62);
    skin.Shape(tools, C("honey"), C("ink"), 275);
    const int left = screen.left() + 12, textWidth = tools.left() - left - 10;
    // "Lektion N" and the title on one line, on one baseline.
    const QString number = QString::fromUtf8(Words(lesson).lesson).arg(lesson.number);
    const int titleLeft = left + LabelSize(number, 9, 1).width() + 10, titleTop = screen.top() + 8;
    const int baseline = QFontMetrics(LabelFont(14, 1)).ascent() - QFontMetrics(LabelFont(9, 1)).ascent();
    skin.Label(QPoint(left, titleTop + baseline), 9, 1, C("accent"), number);
    QString title = Q(lesson.title).replace(QStringLiteral("$n"), QStringLiteral(" "), Qt::CaseInsensitive);
    title = BreakText(title, 14, 1, left + textWidth - titleLeft);
    skin.Label(QPoint(titleLeft, titleTop), 14, 1, C("ink"), title);
    const int y = titleTop + LabelSize(title, 14, 1).height() + 6;
    QStringList texts = {Q(lesson.exercise->description), Q(lesson.teaches)};
    if (!lesson.notation.empty()) texts << Q(lesson.notation);
    if (content::RepeatedRuns(*lesson.exercise).empty()) texts.prepend(PlayingOrder(lesson));
    const int room = notationTop - 8 - y;
    int points = 0;
    for (int size : {9, 8})
        if (points == 0 && ParagraphsHeight(texts, textWidth, size, MainGap(size)) <= room) points = size;
    if (points == 0)
        error = "the main screen's texts (description, teaches, notation) need " +
                std::to_string(ParagraphsHeight(texts, textWidth, 8, MainGap(8))) +
                " pixels at 8 points; above the notation are " + std::to_string(room);
    else
        Paragraphs(skin, texts, QPoint(left, y), textWidth, notationTop - 8, points, C("ink-soft"), MainGap(points));
    static const char* windows[] = {"A", "B", "C"};
    int row = 0;
    for (int w = 0; w < 3; ++w) {
        if (content::SkipsWindow(lesson.number, w)) continue;
        skin.Label(QPoint(tools.left() + 8, tools.top() + 6 + 18 * row++), 9, 1, C("wood-dark"),
                   QString::fromUtf8(Words(lesson).window) + QLatin1String(windows[w]), 101 + w);
    }
    skin.Image(QPoint(tools.right() - 2 * kSymbolSize.width() - 10, tools.top() + 6), kTunerSymbol, 403);
    skin.Image(QPoint(tools.right() - kSymbolSize.width() - 6, tools.top() + 6), kHelpSymbol, 405);
    return skin;
}

SkinWriter SlideSkin(const content::Lesson& lesson, int window, std::string& error) {
    error.clear();
    const content::Slide& slide = *lesson.slides[static_cast<std::size_t>(window)];
    const QString letter = QString(QChar('A' + window));
    const QRect card = kSlideCardRect;
    SkinWriter skin(Q(lesson.values.header));
    skin.Image(card.topLeft(), kSlideCard, 200);
    skin.Label(QPoint(card.left() + 26, card.top() + 20), 18, 1, C("ink"),
               BreakText(Q(slide.heading), 18, 1, card.width() - 52));
    const bool pictures = !slide.pictures.empty();
    const QPoint frame(card.right() - 26 - layout::SlidePicture.width(), card.top() + 70);
    const int textLeft = card.left() + 26;
    const int textWidth = (pictures ? frame.x() - 22 : card.right() - 26) - textLeft;
    QStringList paragraphs;
    for (const std::string& p : slide.paragraphs) paragraphs << Q(p);
    const int top = card.top() + 70;
    const int bottom = card.bottom() - 20 - (pictures ? 0 : VideosHeight(lesson, window));
    const int points = FittingSize(paragraphs, textWidth, bottom - top, {12, 11, 10, 9});
    if (points == 0)
        error = std::string("the text of window ") + static_cast<char>('A' + window) + " needs " +
                std::to_string(ParagraphsHeight(paragraphs, textWidth, 9)) + " pixels at 9 points; the window has " +
                std::to_string(bottom - top);
    else
        Paragraphs(skin, paragraphs, QPoint(textLeft, top), textWidth, bottom, points, C("ink"));
    if (!pictures) {
        Videos(skin, lesson, window, QPoint(textLeft, bottom + 6), textWidth);
        return skin;
    }
    skin.Image(frame, LessonFile(lesson.number, QStringLiteral("Dia%1%2.jpg").arg(letter).arg(1)), 110);
    int y = frame.y() + layout::SlidePicture.height() + 8;
    if (slide.pictures.size() > 1) {
        const QString word = QString::fromUtf8(Words(lesson).picture);
        skin.Label(QPoint(frame.x(), y), 9, 0, C("ink-soft"), word);
        const int numbers = std::max(34, LabelSize(word, 9, 0).width() + 8); // the numbers follow the word
        for (std::size_t k = 0; k < slide.pictures.size() && k < 4; ++k)
            skin.Label(QPoint(frame.x() + numbers + 22 * static_cast<int>(k), y), 10, 1, C("accent"),
                       QString::number(k + 1), 121 + static_cast<int>(k));
        skin.Label(QPoint(frame.x() + numbers + 92, y), 9, 1, C("accent"), QString::fromUtf8(Words(lesson).next), 120);
        y += 24;
    }
    if (window == 0 && !slide.samples.empty()) {
        skin.Label(QPoint(frame.x(), y), 9, 0, C("ink-soft"), QString::fromUtf8(Words(lesson).listen));
        for (std::size_t k = 0; k < slide.samples.size() && k < 3; ++k)
            skin.Image(QPoint(frame.x() + (kChordPicture.width() + 8) * static_cast<int>(k), y + 18),
                       LessonFile(lesson.number, QStringLiteral("AkkordBild%1.jpg").arg(k + 1)),
                       141 + static_cast<int>(k));
        y += 18 + kChordPicture.height() + 10;
    }
    Videos(skin, lesson, window, QPoint(frame.x(), y), layout::SlidePicture.width() + 16);
    return skin;
}

QRect AnswerPanel(int question) {
    const int w = (800 - 69) / 2, h = (600 - 69) / 2;
    if (question == 0) return QRect(QPoint(30, 30), QPoint(w + 30, h + 30));
    if (question == 1) return QRect(QPoint(w + 39, 30), QPoint(800 - 30, h + 30));
    return QRect(QPoint(30, h + 39), QPoint(w + 30, 600 - 30));
}

SkinWriter QuizSkin(const content::Lesson& lesson, std::string& error) {
    error.clear();
    SkinWriter skin(QStringLiteral("0"));
    for (int q = 0; q < 3; ++q) {
        const content::Question& question = lesson.quiz[static_cast<std::size_t>(q)];
        const QRect panel = AnswerPanel(q);
        const int left = panel.left() + 16, width = panel.width() - 32;
        QString text = BreakText(QStringLiteral("%1. ").arg(q + 1) + Q(question.text), 11, 1, width);
        skin.Label(QPoint(left, panel.top() + 14), 11, 1, C("ink"), text);
        int y = panel.top() + 14 + LabelSize(text, 11, 1).height() + 12;
        const int room = panel.bottom() - 10 - y;
        int needed = 0;
        for (const std::string& choice : question.choices)
            needed += LabelSize(BreakText(Q(choice), 10, 0, width - 24), 10, 0).height() + 8;
        const int gap = std::clamp(8 + (room - needed) / std::max<int>(1, question.choices.size()), 8, 16);
        std::vector<QPoint> boxes;
        for (const std::string& choice : question.choices) {
            const QString answer = BreakText(Q(choice), 10, 0, width - 24);
            boxes.push_back(QPoint(left + 2, y + 1));
            skin.Label(QPoint(left + 22, y), 10, 0, C("ink"), answer);
            y += LabelSize(answer, 10, 0).height() + gap;
        }
        if (y - gap > panel.bottom() - 4)
            error = "question " + std::to_string(q + 1) + " and its answers do not fit their panel (" +
                    std::to_string(y - gap - panel.bottom() + 4) + " pixels too tall)";
        skin.Group(q, boxes);
    }
    // The fourth quarter belongs to the quiz background's own heading and the buttons.
    return skin;
}

} // namespace art
