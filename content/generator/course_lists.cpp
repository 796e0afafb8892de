#include "content/generator/course_lists.h"

#include "platform/core/cp1252.h"

#include <QString>

namespace content {

namespace {

const char* const kLineEnd = "\r\n";

std::string Entries(int count, int lesson, int level, int playCount) {
    std::string text = std::string("3") + kLineEnd;
    for (int i = 0; i < count; ++i)
        for (int field : {lesson, level, playCount})
            text += std::to_string(field) + kLineEnd;
    return text;
}

std::string AnsiLine(const std::string& utf8) {
    return platform::ToAnsi(QString::fromUtf8(utf8)) + kLineEnd;
}

} // namespace

std::string FreshPlanList() {
    return Entries(3, -1, 1, 0);
}

std::string FreshWaitingList() {
    return Entries(30, 1, 1, 0);
}

std::string ExplorerTexts(const Outline& outline) {
    const bool english = !outline.lessons.empty() && outline.lessons.front().edition == Edition::English;
    std::string text =
        AnsiLine(english ? "Zupfari Basis Explorer: title and text of each lesson, the closing video last"
                         : "Zupfari Basis Explorer: Titel und Text je Lektion, zuletzt das Abschlussvideo");
    for (const Lesson& lesson : outline.lessons)
        text += AnsiLine(lesson.title) + AnsiLine(lesson.explorer);
    text += AnsiLine(outline.closingTitle) + AnsiLine(outline.closingText);
    return text;
}

} // namespace content
