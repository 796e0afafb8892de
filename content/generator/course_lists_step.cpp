// Generator step "course-lists": writes Listen/ListeUeplan.ztl,
// Listen/ListeWarten.ztl (fresh start) and Listen/LTextXplorer.ztl, and the
// English edition's explorer texts into its overlay folder.

#include "content/generator/contentstep.h"
#include "content/generator/course_edition_files.h"
#include "content/generator/course_lists.h"
#include "content/generator/art_paint.h"
#include "content/generator/lesson_text.h"
#include "layout/screenlayout.h"

#include <QFontMetrics>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace content {
namespace {

// The explorer's displays show lines as the file breaks them: 11-pixel Arial
// (8 points) inside a 4-pixel border. A title keeps the lines its lesson
// gives it and is broken further where one is too wide; a text is broken
// afresh for its display.
constexpr int kDisplayPoints = 8;
constexpr int kDisplayBorder = 4;

// Lines still wider than `width` (one long word) are broken after their
// hyphens: "Zwei-Finger-Powerchords" becomes "Zwei-Finger-$nPowerchords".
QString BreakAtHyphens(const QString& text, int width) {
    const QFontMetrics metrics(art::LabelFont(kDisplayPoints, 0));
    static const QRegularExpression afterHyphen(QStringLiteral("(?<=-)"));
    QStringList out;
    for (const QString& line : text.split(QStringLiteral("$n"))) {
        QString current;
        for (const QString& part : line.split(afterHyphen, Qt::SkipEmptyParts)) {
            if (!current.isEmpty() && metrics.horizontalAdvance(current + part) > width) {
                out << current;
                current = part;
            } else {
                current += part;
            }
        }
        out << current;
    }
    return out.join(QStringLiteral("$n"));
}

std::string BrokenTitle(const std::string& title) {
    const int width = layout::XplText2.width() - 2 * kDisplayBorder;
    return BreakAtHyphens(art::BreakText(QString::fromStdString(title), kDisplayPoints, 0, width), width)
        .toStdString();
}

std::string BrokenText(const std::string& text) {
    const int width = layout::XplText3.width() - 2 * kDisplayBorder;
    const QString plain = QString::fromStdString(text).replace(QStringLiteral("$n"), QStringLiteral(" "),
                                                              Qt::CaseInsensitive);
    return BreakAtHyphens(art::BreakText(plain.simplified(), kDisplayPoints, 0, width), width).toStdString();
}

// The outline's explorer titles and texts broken for the explorer's displays.
Outline ForTheExplorer(Outline outline) {
    for (Lesson& lesson : outline.lessons) {
        lesson.title = BrokenTitle(lesson.title);
        lesson.explorer = BrokenText(lesson.explorer);
    }
    outline.closingTitle = BrokenTitle(outline.closingTitle);
    outline.closingText = BrokenText(outline.closingText);
    return outline;
}

bool RunLists(const GeneratorContext& context) {
    if (!art::PrepareArt(context.sources)) return false; // the explorer texts are measured
    std::vector<std::string> errors, notes;
    std::vector<Outline> editions;
    if (!LoadEditions((context.sources / "course").string(), editions, errors, notes)) {
        std::fprintf(stderr, "content: the course outline has errors (see course-outline)\n");
        return false;
    }
    bool ok = true;
    for (const Outline& outline : editions) {
        const Edition edition = outline.lessons.front().edition;
        ok = WriteEditionFile(context.out, edition, "Listen/ListeUeplan.ztl", FreshPlanList()) && ok;
        ok = WriteEditionFile(context.out, edition, "Listen/ListeWarten.ztl", FreshWaitingList()) && ok;
        ok = WriteEditionFile(context.out, edition, "Listen/LTextXplorer.ztl", ExplorerTexts(ForTheExplorer(outline))) && ok;
    }
    return ok;
}

StepRegistration registration{"course-lists", RunLists};

} // namespace
} // namespace content
