// The progress window over a real journal file: the first-day text of an
// empty journal, the four charts of a practised month (or the text standing
// for a chart without data), saving as CSV, the tempo ladder's tick box and
// closing.
#include "journal/journal.h"
#include "journal/progresswin.h"
#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"
#include "tests/journal/journalfixture.h"
#include "tests/support/testsupport.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLineSeries>
#include <gtest/gtest.h>

using journal::Journal;
using journal::TProgressWin;
using testsupport::TempFolder;

namespace {

QString MessageText(int number) {
    return platform::FromAnsi(DLL_GetMessage(number));
}

class ProgressWinTest : public ::testing::Test {
protected:
    void SetUp() override {
        journal_ = std::make_unique<Journal>(folder_.QPath() + "journal.sqlite");
        journal_->StartSession();
        ASSERT_TRUE(journal_->Flush(3000));
        window_ = new TProgressWin(nullptr, journal_.get(), folder_.Path());
    }
    void TearDown() override {
        delete window_;
        journal_.reset();
    }
    // A month of practice: lesson 1 for 30 minutes a day, its level rising
    // every week, and two quizzes.
    void PractiseAMonth() {
        QStringList statements;
        for (int daysAgo = 0; daysAgo < 30; ++daysAgo)
            statements << QString("INSERT INTO practice (session_id, day, lesson, level, seconds,"
                                  " passes_started, passes_completed) VALUES (%1, '%2', 1, %3, 1800, 12, 11)")
                              .arg(daysAgo + 10)
                              .arg(QDate::currentDate().addDays(-daysAgo).toString("yyyy-MM-dd"))
                              .arg(1 + (29 - daysAgo) / 7);
        statements << "INSERT INTO quiz_attempts (session_id, at, lesson, passed, answers)"
                      " VALUES (10, 'x', 1, 0, '4,2,4'), (10, 'x', 1, 1, '4,3,4')";
        ASSERT_TRUE(journaltest::Exec(folder_.QPath() + "journal.sqlite", statements));
    }
    bool ChartShown(int panel) const {
        return !window_->Charts[static_cast<std::size_t>(panel)]->isHidden();
    }

    TempFolder folder_;
    std::unique_ptr<Journal> journal_;
    TProgressWin* window_ = nullptr;
};

TEST_F(ProgressWinTest, AnEmptyJournalGetsTheFirstDayTextInsteadOfEmptyAxes) {
    window_->ShowProgress();
    EXPECT_TRUE(window_->isVisible());
    EXPECT_FALSE(window_->LWelcome->isHidden());
    EXPECT_TRUE(window_->LWelcome->text().contains(MessageText(408).toHtmlEscaped()));
    for (int panel = 0; panel < 4; ++panel) {
        EXPECT_FALSE(ChartShown(panel)) << panel;
        EXPECT_TRUE(window_->EmptyTexts[static_cast<std::size_t>(panel)]->isHidden()) << panel;
        EXPECT_TRUE(window_->PanelTitles[static_cast<std::size_t>(panel)]->isHidden()) << panel;
    }
}

TEST_F(ProgressWinTest, AMonthOfPracticeShowsItsChartsAndTextsWhereThereIsNothingYet) {
    PractiseAMonth();
    window_->ShowProgress();
    EXPECT_TRUE(window_->LWelcome->isHidden());
    // 30 days of half an hour: 15 hours on 30 days.
    EXPECT_EQ(window_->LTotals->text(), MessageText(410).arg(15).arg(0).arg(30));

    ASSERT_TRUE(ChartShown(0));
    auto bars = window_->Charts[0]->chart()->series();
    ASSERT_EQ(bars.size(), 1);
    EXPECT_EQ(static_cast<QAbstractBarSeries*>(bars[0])->barSets().at(0)->count(), 28);
    EXPECT_DOUBLE_EQ(static_cast<QAbstractBarSeries*>(bars[0])->barSets().at(0)->at(27), 30.0);

    ASSERT_TRUE(ChartShown(1));
    auto lines = window_->Charts[1]->chart()->series();
    ASSERT_EQ(lines.size(), 1);
    const auto points = static_cast<QLineSeries*>(lines[0])->points();
    ASSERT_FALSE(points.isEmpty());
    EXPECT_EQ(points.front().y(), 1);
    EXPECT_EQ(points.back().y(), 5); // the level reached this week

    EXPECT_TRUE(ChartShown(2)); // the quizzes
    EXPECT_FALSE(ChartShown(3)); // no play-along results: the text that says how to get them
    EXPECT_EQ(window_->EmptyTexts[3]->text(), MessageText(412));
    EXPECT_FALSE(window_->EmptyTexts[3]->isHidden());
}

TEST_F(ProgressWinTest, SaveAsCsvWritesTheRecordsWhereTheLearnerChose) {
    PractiseAMonth();
    window_->ShowProgress();
    const QString file = folder_.QPath() + "journal.csv";
    window_->ChooseCsvFile = [&] { return file; };
    window_->BCsvClick(window_->BCsv);
    EXPECT_EQ(QString::fromUtf8(journaltest::Bytes(file)).count("\r\n"), 31);
    EXPECT_TRUE(window_->LStatus->text().contains(file));

    // Cancelled: nothing happens. Unwritable: the window says so.
    window_->LStatus->clear();
    window_->ChooseCsvFile = [] { return QString(); };
    window_->BCsvClick(window_->BCsv);
    EXPECT_TRUE(window_->LStatus->text().isEmpty());
    window_->ChooseCsvFile = [&] { return folder_.QPath() + "missing/journal.csv"; };
    window_->BCsvClick(window_->BCsv);
    EXPECT_EQ(window_->LStatus->text(), MessageText(415).arg(folder_.QPath() + "missing/journal.csv"));
}

TEST_F(ProgressWinTest, TheTickBoxSwitchesTheTempoLadderAndEscCloses) {
    window_->ShowProgress();
    EXPECT_FALSE(window_->CbLadder->isChecked());
    window_->CbLadder->click();
    EXPECT_TRUE(journal_->LadderOn());
    window_->CbLadder->click();
    EXPECT_FALSE(journal_->LadderOn());
    platform::WORD key = platform::VK_ESCAPE;
    window_->FormKeyDown(window_, key, {});
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(ProgressWinTest, PanelsAreWhiteWithTheQuizFrameOverTheBackground) {
    PractiseAMonth();
    window_->ShowProgress();
    journaltest::Pump(100);
    const QImage shot = window_->grab().toImage();
    const auto panels = TProgressWin::Panels();
    // The frame's outer line, and white inside beside the chart.
    EXPECT_EQ(shot.pixelColor(panels[0].Left, panels[0].Top + 40), QColor(212, 159, 114));
    EXPECT_EQ(shot.pixelColor(panels[3].Left + 5, panels[3].Bottom - 5), QColor(Qt::white));
}

TEST(ProgressWinWithoutJournalTest, SaysTheJournalCannotBeRead) {
    TempFolder folder;
    TProgressWin window(nullptr, nullptr, folder.Path());
    window.ShowProgress();
    EXPECT_EQ(window.LStatus->text(), MessageText(416));
    EXPECT_FALSE(window.LWelcome->isHidden());
}

} // namespace

namespace {

TEST(ProgressWinWithoutJournalTest, AJournalThatCannotBeReadIsNotTakenForAFirstDay) {
    TempFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.QPath() + "journal.sqlite"));
    Journal journal(folder.QPath() + "journal.sqlite");
    journal.StartSession();
    TProgressWin window(nullptr, &journal, folder.Path());
    window.ShowProgress();
    EXPECT_EQ(window.LStatus->text(), MessageText(416));
}

} // namespace
