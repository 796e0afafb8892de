#pragma once
// The plain values the practice journal stores and hands out: one practice
// record, and what the progress window shows of the whole journal. Times are
// the learner's local wall clock, written "yyyy-MM-dd HH:mm:ss"; days
// "yyyy-MM-dd".

#include <QDate>
#include <QString>
#include <vector>

namespace journal {

// One practice record: the time spent on one lesson at one tempo level on
// one day of one session, and the passes started and played to the end there.
struct PracticeRecord {
    QString Day;
    QString SessionStarted;
    int Lesson = 0;
    int Level = 0;
    int Seconds = 0;
    int PassesStarted = 0;
    int PassesCompleted = 0;
};

// One play-along result: how many of a pass's notes were on time.
struct PlayAlongScore {
    int Lesson = 0;
    int Level = 0;
    int NotesOnTime = 0;
    int Notes = 0;
};

// The highest tempo level practised on a day.
struct LevelPoint {
    QDate Day;
    int Level = 0;
};

// A lesson's highest level per day, in the order of the days.
struct LessonLevels {
    int Lesson = 0;
    std::vector<LevelPoint> Points;
};

// Quiz attempts of a lesson.
struct QuizTally {
    int Lesson = 0;
    int Passed = 0;
    int NotPassed = 0;
};

// What the progress window shows.
struct JournalSummary {
    QDate Today;
    // Minutes practised on each of the last days, the oldest first; the last
    // entry is today.
    std::vector<double> MinutesPerDay;
    std::vector<LessonLevels> Levels;
    std::vector<QuizTally> Quizzes;
    // The latest result of every lesson that has one.
    std::vector<PlayAlongScore> LatestScores;
    long long TotalSeconds = 0;
    int DaysPractised = 0;

    // Nothing recorded yet: no practice, no quiz, no play-along result.
    bool Empty() const { return TotalSeconds == 0 && Levels.empty() && Quizzes.empty() && LatestScores.empty(); }
};

} // namespace journal
