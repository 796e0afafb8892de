#include "lessons/lessonregistry.h"

#include "lessons/skinloader.h"

#include <QString>

namespace lessons {

CourseTables LessonRegistry::BuildCourseTables(int languageCode) {
    // The rows follow the edition the program folder serves for this code.
    const int edition = CourseEdition(languageCode);
    CourseTables tables;
    for (int n = 0; n < kLessonCount; ++n) {
        const auto i = static_cast<std::size_t>(n);
        tables.CursorGeometry[i] = LessonGeometry(n, edition);
        tables.TempoTable[i] = TempoRowFor(n, edition);
    }
    return tables;
}

void LessonRegistry::LoadMainScreen(MainScreenHost& host, int lesson) {
    const LessonValues& values = LessonValuesOf(lesson);
    host.SetCountInBeats(values.CountInBeats);
    host.SetLoopRecordFifth(0);
    if (values.PlayCountPreset != kNoPreset)
        host.SetPlayCount(values.PlayCountPreset);
    else if (values.BeatDisplayOffset != kUnchanged)
        host.SetBeatDisplayOffset(values.BeatDisplayOffset);
    const HoldRange hold = MainScreenHold(lesson);
    if (hold != HoldRange{}) host.SetHoldRange(lesson, hold);
    host.SetCursorActive(values.CursorActive);
    if (SkinLoader* skin = host.MainScreenSkin())
        skin->LoadSkin(QString::fromStdString(MainScreenFile(lesson)), values.Header);
}

void LessonRegistry::LoadSlide(SkinLoader& skin, int lesson, int window) {
    skin.LoadSkin(QString::fromStdString(SlideFile(lesson, window)), LessonValuesOf(lesson).Header);
}

void LessonRegistry::LoadQuiz(QuizHost& host, int lesson) {
    const std::string file = QuizFile(lesson);
    host.ResetPageIndex();
    if (SkinLoader* skin = host.QuizSkin()) skin->LoadSkin(QString::fromStdString(file), kQuizHeader);
    host.ShowQuiz();
}

int LessonRegistry::CheckAnswers(const SkinLoader& quizSkin, int lesson) {
    const std::array<int, 3>& key = LessonValuesOf(lesson).AnswerKey;
    int mask = 0;
    for (int q = 0; q < 3; ++q) {
        const CheckGroup* group = quizSkin.Group(q);
        const int box = key[static_cast<std::size_t>(q)];
        const bool ticked = group != nullptr && box >= 1 && box <= CheckGroup::kBoxes &&
                            group->Ticked(box) != 0;
        if (!ticked) mask |= 1 << q;
    }
    return mask;
}

LessonRegistry::Table LessonRegistry::MainScreenTable(MainScreenHost& host) {
    Table table;
    for (int n = 0; n < kLessonCount; ++n)
        table[static_cast<std::size_t>(n)] = [&host, n] { LoadMainScreen(host, n); };
    return table;
}

LessonRegistry::Table LessonRegistry::SlideTable(SkinLoader& skin, int window) {
    Table table;
    for (int n = 0; n < kLessonCount; ++n)
        table[static_cast<std::size_t>(n)] = [&skin, n, window] { LoadSlide(skin, n, window); };
    return table;
}

LessonRegistry::Table LessonRegistry::QuizTable(QuizHost& host) {
    Table table;
    for (int n = 0; n < kLessonCount; ++n)
        table[static_cast<std::size_t>(n)] = [&host, n] { LoadQuiz(host, n); };
    return table;
}

LessonRegistry::Table LessonRegistry::CheckAnswersTable(QuizHost& host) {
    Table table;
    for (int n = 0; n < kLessonCount; ++n)
        table[static_cast<std::size_t>(n)] = [&host, n] {
            if (SkinLoader* skin = host.QuizSkin()) host.SetWrongAnswers(CheckAnswers(*skin, n));
        };
    return table;
}

bool LessonRegistry::Run(const Table& table, int lesson) {
    if (!IsLesson(lesson)) return false;
    const Entry& entry = table[static_cast<std::size_t>(lesson)];
    if (!entry) return false;
    entry();
    return true;
}

} // namespace lessons
