// What the program's calls leave in the journal: sessions, practice time and
// passes, quizzes and play-along results, read back with plain SQL; and the
// summary the progress window shows.
#include "journal/journal.h"
#include "journal/journalreader.h"
#include "tests/journal/journalfixture.h"
#include "tests/support/testsupport.h"

#include <QDate>
#include <QDateTime>
#include <gtest/gtest.h>

using journal::Journal;
using journaltest::Pump;
using journaltest::Rows;
using journaltest::Value;
using testsupport::TempFolder;

namespace {

QString Day(int daysAgo) {
    return QDate::currentDate().addDays(-daysAgo).toString("yyyy-MM-dd");
}

class JournalTest : public ::testing::Test {
protected:
    QString Path() const { return folder_.QPath() + "journal.sqlite"; }
    TempFolder folder_;
};

TEST_F(JournalTest, PassesAndPracticeTimeAddUpPerLessonAndLevel) {
    {
        Journal journal(Path());
        journal.StartSession();
        // Lesson 1 at level 3: a pass of about 2.3 s played to its end, a
        // second one stopped at once; then level 4, paused for a while.
        journal.PassStarted(1, 3);
        Pump(2300);
        journal.PassEnded(true);
        journal.PassStarted(1, 3);
        journal.PassEnded(false);
        journal.PassStarted(1, 4);
        Pump(1200);
        journal.PracticePaused();
        Pump(1600); // paused: not practice
        journal.PracticeResumed();
        Pump(1100);
        journal.PassEnded(true);
        journal.EndSession();
    }
    const auto rows = Rows(Path(), "SELECT day, lesson, level, seconds, passes_started,"
                                   " passes_completed FROM practice ORDER BY level");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].toString(), Day(0));
    EXPECT_EQ(rows[0].mid(1, 2), (QVariantList{1, 3}));
    EXPECT_EQ(rows[0].mid(4), (QVariantList{2, 1}));
    EXPECT_EQ(rows[1].mid(1, 2), (QVariantList{1, 4}));
    EXPECT_EQ(rows[1].mid(4), (QVariantList{1, 1}));
    // Two seconds each, give or take the last one's rounding; the pause does not count.
    EXPECT_GE(rows[0][3].toInt(), 2);
    EXPECT_LE(rows[0][3].toInt(), 3);
    EXPECT_GE(rows[1][3].toInt(), 2);
    EXPECT_LE(rows[1][3].toInt(), 3);
}

TEST_F(JournalTest, SessionsKnowTheirStartEndAndLastActivity) {
    qint64 first = 0, second = 0;
    {
        Journal journal(Path());
        journal.StartSession();
        first = journal.SessionId();
        journal.EndSession();
        journal.StartSession();
        second = journal.SessionId();
        journal.PassStarted(2, 1);
        journal.Flush(2000);
        // The journal goes without ending the session, as when the program
        // is killed: the session stays open in the file.
        journal.PracticePaused();
        journal.Flush(2000);
        const auto open = Rows(Path(), "SELECT ended, last_active FROM sessions WHERE id = " +
                                           QString::number(second));
        ASSERT_EQ(open.size(), 1u);
        EXPECT_TRUE(open[0][0].isNull());
        EXPECT_FALSE(open[0][1].toString().isEmpty());
    }
    EXPECT_GT(second, first);
    const auto sessions = Rows(Path(), "SELECT id, started, ended FROM sessions ORDER BY id");
    ASSERT_EQ(sessions.size(), 2u);
    for (const QVariantList& session : sessions) {
        const QDateTime started = QDateTime::fromString(session[1].toString(), "yyyy-MM-dd HH:mm:ss");
        EXPECT_LE(qAbs(started.secsTo(QDateTime::currentDateTime())), 60);
        EXPECT_FALSE(session[2].toString().isEmpty()); // ended at last, by the journal's end
    }
    // The pass of the second session was started, never completed.
    EXPECT_EQ(Rows(Path(), "SELECT session_id, passes_started, passes_completed FROM practice"),
              (std::vector<QVariantList>{{second, 1, 0}}));
}

TEST_F(JournalTest, QuizAttemptsAndPlayAlongResultsAreKeptOneRowEach) {
    {
        Journal journal(Path());
        journal.StartSession();
        journal.QuizEvaluated(1, false, {4, 2, 4});
        journal.QuizEvaluated(1, true, {4, 3, 4});
        journal.QuizEvaluated(2, false, {0, 0, 1});
        journal.PlayAlongChecked(1, 10, 27, 30);
        journal.EndSession();
    }
    EXPECT_EQ(Rows(Path(), "SELECT lesson, passed, answers FROM quiz_attempts ORDER BY id"),
              (std::vector<QVariantList>{{1, 0, "4,2,4"}, {1, 1, "4,3,4"}, {2, 0, "0,0,1"}}));
    EXPECT_EQ(Rows(Path(), "SELECT lesson, level, notes_on_time, notes FROM play_along"),
              (std::vector<QVariantList>{{1, 10, 27, 30}}));
    EXPECT_EQ(Value(Path(), "SELECT COUNT(DISTINCT session_id) FROM quiz_attempts").toInt(), 1);
}

TEST_F(JournalTest, NothingIsWrittenWhenTheJournalMayNotWrite) {
    {
        Journal journal(Path(), false);
        journal.StartSession();
        journal.PassStarted(1, 1);
        journal.PassEnded(true);
        journal.EndSession();
        EXPECT_FALSE(journal.Writing());
        EXPECT_FALSE(journal.TakeNotice().has_value());
    }
    EXPECT_FALSE(QFile::exists(Path()));
}

// The summary, over rows written straight into a journal file.
class SummaryTest : public JournalTest {
protected:
    void SetUp() override {
        Journal(Path()).StartSession(); // makes the file with its tables
        ASSERT_TRUE(journaltest::Exec(Path(), {"DELETE FROM sessions"}));
    }
    void Practice(int daysAgo, int lesson, int level, int seconds) {
        ASSERT_TRUE(journaltest::Exec(
            Path(), {QString("INSERT INTO practice (session_id, day, lesson, level, seconds)"
                             " VALUES (%1, '%2', %3, %4, %5)")
                         .arg(daysAgo + 1).arg(Day(daysAgo)).arg(lesson).arg(level).arg(seconds)}));
    }
    journal::JournalSummary Summary() { return Journal(Path()).Summary(); }
};

TEST_F(SummaryTest, AnEmptyJournalSaysSo) {
    const auto summary = Summary();
    EXPECT_TRUE(summary.Empty());
    EXPECT_EQ(summary.MinutesPerDay, std::vector<double>(journal::kDaysShown, 0.0));
}

TEST_F(SummaryTest, MinutesPerDayCoverTheLastFourWeeksEndingToday) {
    Practice(0, 1, 2, 600);
    Practice(0, 2, 1, 300);
    Practice(27, 1, 1, 120);
    Practice(28, 1, 1, 6000); // before the chart's weeks
    const auto summary = Summary();
    ASSERT_EQ(summary.MinutesPerDay.size(), 28u);
    EXPECT_DOUBLE_EQ(summary.MinutesPerDay[27], 15.0);
    EXPECT_DOUBLE_EQ(summary.MinutesPerDay[0], 2.0);
    EXPECT_DOUBLE_EQ(summary.MinutesPerDay[13], 0.0);
    EXPECT_EQ(summary.TotalSeconds, 600 + 300 + 120 + 6000);
    EXPECT_EQ(summary.DaysPractised, 3);
    EXPECT_FALSE(summary.Empty());
}

TEST_F(SummaryTest, TempoLinesKeepTheDaysTheLevelChangedAndTheLastDay) {
    // Lesson 3: level 2 for three days, 4 for two, then 5.
    for (int daysAgo : {10, 9, 8}) Practice(daysAgo, 3, 2, 60);
    Practice(7, 3, 1, 60); // a slower level the same week does not lower the day's highest
    Practice(7, 3, 4, 60);
    Practice(6, 3, 4, 60);
    Practice(5, 3, 5, 60);
    const auto summary = Summary();
    ASSERT_EQ(summary.Levels.size(), 1u);
    std::vector<std::pair<int, int>> points;
    for (const auto& p : summary.Levels[0].Points)
        points.emplace_back(static_cast<int>(p.Day.daysTo(summary.Today)), p.Level);
    EXPECT_EQ(points, (std::vector<std::pair<int, int>>{{10, 2}, {8, 2}, {7, 4}, {6, 4}, {5, 5}}));
}

TEST_F(SummaryTest, OnlyTheLessonsPractisedLastGetATempoLine) {
    for (int lesson = 0; lesson < 8; ++lesson) Practice(20 - lesson, lesson, 1, 60);
    const auto summary = Summary();
    std::vector<int> lessons;
    for (const auto& line : summary.Levels) lessons.push_back(line.Lesson);
    EXPECT_EQ(lessons, (std::vector<int>{3, 4, 5, 6, 7}));
}

TEST_F(SummaryTest, QuizzesAreCountedPerLessonAndTheLatestScoreOfEachLessonShown) {
    ASSERT_TRUE(journaltest::Exec(
        Path(),
        {"INSERT INTO quiz_attempts (session_id, at, lesson, passed, answers) VALUES"
         " (1, 'x', 2, 0, ''), (1, 'x', 2, 0, ''), (1, 'x', 2, 1, ''), (1, 'x', 5, 1, '')",
         "INSERT INTO play_along (session_id, at, lesson, level, notes_on_time, notes) VALUES"
         " (1, 'x', 1, 3, 10, 30), (1, 'x', 1, 4, 28, 30), (1, 'x', 6, 1, 5, 20)"}));
    const auto summary = Summary();
    ASSERT_EQ(summary.Quizzes.size(), 2u);
    EXPECT_EQ(summary.Quizzes[0].Lesson, 2);
    EXPECT_EQ(summary.Quizzes[0].Passed, 1);
    EXPECT_EQ(summary.Quizzes[0].NotPassed, 2);
    EXPECT_EQ(summary.Quizzes[1].Lesson, 5);
    ASSERT_EQ(summary.LatestScores.size(), 2u);
    EXPECT_EQ(summary.LatestScores[0].Level, 4);
    EXPECT_EQ(summary.LatestScores[0].NotesOnTime, 28);
    EXPECT_EQ(summary.LatestScores[1].Lesson, 6);
    EXPECT_FALSE(summary.Empty()); // no practice yet, but something to show
}

} // namespace
