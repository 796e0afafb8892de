#pragma once
// LessonRegistry: what differs from lesson to lesson, put to work. Each owner
// window keeps a table of 30 bound calls built here (the main window's
// LoadMainScreen, a slide window's LoadSlideA/B/C, the quiz window's LoadQuiz
// and CheckAnswers); the values behind them are the tables of registrydata.h.
// The main window's cursor geometry and tempo tables for the learner's
// language are built here too.

#include "lessons/registrydata.h"
#include "playback/cursorgeometry.h"

#include <array>
#include <functional>

namespace lessons {

class SkinLoader;

// The fields LoadMainScreen sets on the main window and its threads, and the
// skin loader of its lesson main screen.
class MainScreenHost {
public:
    virtual ~MainScreenHost() = default;
    virtual void SetCountInBeats(int beats) = 0;
    // The fifth value of the loop record.
    virtual void SetLoopRecordFifth(int value) = 0;
    virtual void SetBeatDisplayOffset(int offset) = 0;
    virtual void SetPlayCount(int count) = 0;
    // Puts a hold range into the window's geometry of `lesson`.
    virtual void SetHoldRange(int lesson, const HoldRange& hold) = 0;
    virtual void SetCursorActive(bool active) = 0;
    virtual SkinLoader* MainScreenSkin() = 0;
};

// What LoadQuiz and CheckAnswers need of the quiz window.
class QuizHost {
public:
    virtual ~QuizHost() = default;
    virtual void ResetPageIndex() = 0;
    virtual SkinLoader* QuizSkin() = 0;
    virtual void ShowQuiz() = 0;
    virtual void SetWrongAnswers(int mask) = 0;
};

// The cursor geometry and tempo rows of all lessons for one language code.
struct CourseTables {
    std::array<playback::CursorGeometry, kLessonCount> CursorGeometry;
    std::array<TempoRow, kLessonCount> TempoTable;
};

class LessonRegistry {
public:
    using Entry = std::function<void()>;
    using Table = std::array<Entry, kLessonCount>;

    // The tables as the main window fills them at construction: geometry
    // and tempo rows of the edition the code is served (CourseEdition): the
    // German rows for code 0, the language 1 rows for every other code.
    static CourseTables BuildCourseTables(int languageCode);

    // Count-in, loop record, beat display offset (or the play-count preset),
    // lesson 19's hold range, cursor flag, then the main screen's skin.
    static void LoadMainScreen(MainScreenHost& host, int lesson);
    // Loads the skin of slide window 0 = A, 1 = B, 2 = C.
    static void LoadSlide(SkinLoader& skin, int lesson, int window);
    // Page index 0, the quiz skin, then the quiz window shows.
    static void LoadQuiz(QuizHost& host, int lesson);
    // Bit q set when question q + 1's correct box is not ticked; 0: all right.
    static int CheckAnswers(const SkinLoader& quizSkin, int lesson);

    // The owners' tables of bound calls.
    static Table MainScreenTable(MainScreenHost& host);
    static Table SlideTable(SkinLoader& skin, int window);
    static Table QuizTable(QuizHost& host);
    static Table CheckAnswersTable(QuizHost& host);

    // Runs `lesson`'s entry; false (nothing run) for a number outside 0..29
    // or an empty entry.
    static bool Run(const Table& table, int lesson);
};

} // namespace lessons
