// The tempo ladder's rule and its offers, and the CSV export (the window's
// and the command line's).
#include "journal/csvexport.h"
#include "journal/journal.h"
#include "journal/tempoladder.h"
#include "tests/journal/journalfixture.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using journal::Journal;
using journal::NextLevelDue;
using journal::PlayAlongScore;
using testsupport::TempFolder;

namespace {

std::vector<PlayAlongScore> Scores(int level, std::initializer_list<std::pair<int, int>> results) {
    std::vector<PlayAlongScore> scores;
    for (auto [onTime, notes] : results) scores.push_back({1, level, onTime, notes});
    return scores;
}

TEST(TempoLadderTest, ThreePassesWithNinetyPercentOnTimeMakeTheNextLevelDue) {
    EXPECT_TRUE(NextLevelDue(Scores(4, {{27, 30}, {30, 30}, {45, 50}}), 4)); // 90 % exactly counts
    EXPECT_FALSE(NextLevelDue(Scores(4, {{27, 30}, {26, 29}, {30, 30}}), 4)); // 89.7 % does not
    EXPECT_FALSE(NextLevelDue(Scores(4, {{30, 30}, {30, 30}}), 4));          // two are not three
    // Only the last three count: an early miss does not hold the learner back.
    EXPECT_TRUE(NextLevelDue(Scores(4, {{3, 30}, {30, 30}, {29, 30}, {28, 30}}), 4));
    EXPECT_FALSE(NextLevelDue(Scores(4, {{30, 30}, {30, 30}, {30, 30}, {3, 30}}), 4));
    // A pass without notes tells nothing; the highest level has no next one.
    EXPECT_FALSE(NextLevelDue(Scores(4, {{0, 0}, {30, 30}, {30, 30}}), 4));
    EXPECT_FALSE(NextLevelDue(Scores(10, {{30, 30}, {30, 30}, {30, 30}}), 10));
    EXPECT_TRUE(NextLevelDue(Scores(9, {{30, 30}, {30, 30}, {30, 30}}), 9));
    // Results of another level do not count for this one.
    auto mixed = Scores(4, {{30, 30}, {30, 30}});
    mixed.push_back({1, 3, 30, 30});
    EXPECT_FALSE(NextLevelDue(mixed, 4));
}

TEST(TempoLadderTest, TheProgramOffersOnlyWithTheLadderOnAndThenAfterThreeMorePasses) {
    TempFolder folder;
    Journal journal(folder.QPath() + "journal.sqlite");
    journal.StartSession();
    EXPECT_FALSE(journal.LadderOn()); // off unless the learner switches it on
    for (int i = 0; i < 3; ++i) journal.PlayAlongChecked(2, 5, 30, 30);
    EXPECT_FALSE(journal.TakeNextLevelOffer(2, 5));

    journal.SetLadderOn(true);
    EXPECT_FALSE(journal.TakeNextLevelOffer(2, 4)); // another level
    EXPECT_FALSE(journal.TakeNextLevelOffer(3, 5)); // another lesson
    EXPECT_TRUE(journal.TakeNextLevelOffer(2, 5));
    // Declined: asked again only after three more good passes.
    EXPECT_FALSE(journal.TakeNextLevelOffer(2, 5));
    journal.PlayAlongChecked(2, 5, 30, 30);
    journal.PlayAlongChecked(2, 5, 30, 30);
    EXPECT_FALSE(journal.TakeNextLevelOffer(2, 5));
    journal.PlayAlongChecked(2, 5, 29, 30);
    EXPECT_TRUE(journal.TakeNextLevelOffer(2, 5));
}

TEST(TempoLadderTest, ResultsOfAnEarlierRunCount) {
    TempFolder folder;
    const QString path = folder.QPath() + "journal.sqlite";
    {
        Journal earlier(path);
        earlier.StartSession();
        earlier.PlayAlongChecked(7, 2, 30, 30);
        earlier.PlayAlongChecked(7, 2, 28, 30);
    }
    Journal journal(path);
    journal.StartSession();
    journal.SetLadderOn(true);
    EXPECT_FALSE(journal.TakeNextLevelOffer(7, 2));
    journal.PlayAlongChecked(7, 2, 27, 30);
    EXPECT_TRUE(journal.TakeNextLevelOffer(7, 2));
}

// ---- CSV ------------------------------------------------------------------------------------

TEST(CsvExportTest, OneRowPerPracticeRecordUnderAHeader) {
    const std::vector<journal::PracticeRecord> records = {
        {"2026-12-01", "2026-12-01 17:02:11", 1, 10, 95, 2, 1},
        {"2026-12-02", "2026-12-02 08:00:00", 12, 3, 3600, 40, 38},
    };
    EXPECT_EQ(QString::fromUtf8(journal::PracticeCsv(records)),
              "day,session_started,lesson,level,seconds,minutes,passes_started,passes_completed\r\n"
              "2026-12-01,2026-12-01 17:02:11,1,10,95,1.6,2,1\r\n"
              "2026-12-02,2026-12-02 08:00:00,12,3,3600,60.0,40,38\r\n");
    // A field with a comma or quote is quoted as spreadsheets expect.
    const QString odd = QString::fromUtf8(journal::PracticeCsv({{"a,b", "say \"hi\"", 0, 1, 0, 0, 0}}));
    EXPECT_TRUE(odd.endsWith("\"a,b\",\"say \"\"hi\"\"\",0,1,0,0.0,0,0\r\n")) << odd.toStdString();
}

TEST(CsvExportTest, TheCommandLineExportReadsTheJournalWithoutChangingIt) {
    TempFolder folder;
    const QString path = folder.QPath() + "journal.sqlite";
    {
        Journal journal(path);
        journal.StartSession();
        journal.PassStarted(3, 7);
        journal.PassEnded(true);
        journal.EndSession();
    }
    const QByteArray before = journaltest::Bytes(path);
    const QString csv = folder.QPath() + "out.csv";
    QString error;
    ASSERT_TRUE(journal::ExportJournal(path, csv, &error)) << error.toStdString();
    EXPECT_EQ(journaltest::Bytes(path), before);
    const QStringList lines = QString::fromUtf8(journaltest::Bytes(csv)).split("\r\n");
    ASSERT_EQ(lines.size(), 3); // header, one record, the empty rest after the last line end
    EXPECT_TRUE(lines[1].contains(",3,7,0,0.0,1,1")) << lines[1].toStdString();

    // No journal yet: the header alone. A damaged one: an error, no file.
    ASSERT_TRUE(journal::ExportJournal(folder.QPath() + "none.sqlite", csv, &error));
    EXPECT_EQ(QString::fromUtf8(journaltest::Bytes(csv)).count("\r\n"), 1);
    folder.Write("bad.sqlite", "no database");
    EXPECT_FALSE(journal::ExportJournal(folder.QPath() + "bad.sqlite", folder.QPath() + "bad.csv", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder.QPath() + "bad.csv"));
    // A CSV that cannot be written says so.
    EXPECT_FALSE(journal::ExportJournal(path, folder.QPath() + "no/such/folder/x.csv", &error));
}

} // namespace
