// The practice journal at work, without the main window: a folder of its
// own, a settings file, and a stand-in for the learner's answers.
#include "app/msgwin.h"
#include "app/practicejournal.h"
#include "platform/ui/forms.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PracticeJournalTest : public ::testing::Test {
protected:
    PracticeJournalTest()
        : practice_(
              [this](const QString& title, const QString& body, const QString&, const QString&) {
                  asked_ << title + "|" + body;
                  return answer_;
              },
              [this](journal::Journal* journal) { connected_.push_back(journal); }) {}

    std::string DataFolder() const { return folder_.path().toStdString() + "/"; }
    std::string SettingsText() const {
        QFile file(folder_.filePath("zupfaripref.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
    void Open() {
        settings_ = std::make_unique<platform::IniFile>(folder_.filePath("zupfaripref.ini").toStdString());
        practice_.Open(DataFolder(), true, settings_);
    }

    QTemporaryDir folder_;
    std::unique_ptr<platform::IniFile> settings_;
    QStringList asked_;
    int answer_ = platform::mrOk;
    std::vector<journal::Journal*> connected_;
    app::PracticeJournal practice_;
};

TEST_F(PracticeJournalTest, OpensInTheDataFolderAndClosesOnce) {
    Open();
    ASSERT_NE(practice_.Journal, nullptr);
    EXPECT_EQ(QDir::cleanPath(practice_.Journal->Path()), QDir::cleanPath(folder_.filePath("journal.sqlite")));
    EXPECT_NE(practice_.Journal->SessionId(), 0) << "the session starts with opening";
    ASSERT_EQ(connected_.size(), 1u);
    EXPECT_EQ(connected_[0], practice_.Journal.get());
    practice_.Close();
    EXPECT_EQ(practice_.Journal, nullptr);
    practice_.Close();
    EXPECT_EQ(connected_, (std::vector<journal::Journal*>{connected_[0], nullptr}))
        << "the second close tells no one";
    EXPECT_TRUE(QFile::exists(folder_.filePath("journal.sqlite")));
}

// The switch comes from the settings file and goes back to it; once the
// settings file is gone (leaving) a change is simply not kept.
TEST_F(PracticeJournalTest, TheLaddersSwitchLivesInTheSettingsFile) {
    Open();
    EXPECT_FALSE(practice_.Journal->LadderOn());
    practice_.Journal->SetLadderOn(true);
    EXPECT_NE(SettingsText().find("TempoLadder=1"), std::string::npos);
    practice_.Close();

    Open();
    EXPECT_TRUE(practice_.Journal->LadderOn());
    settings_.reset();
    practice_.Journal->SetLadderOn(false);
    EXPECT_NE(SettingsText().find("TempoLadder=1"), std::string::npos);
}

TEST_F(PracticeJournalTest, TheNextLevelIsOfferedOnceWhenDueAndOnlyAYesTakesIt) {
    Open();
    EXPECT_FALSE(practice_.OfferNextLevel(1, 4)) << "nothing is due yet";
    practice_.Journal->SetLadderOn(true);
    for (int i = 0; i < 3; ++i) practice_.Journal->PlayAlongChecked(1, 4, 28, 30);
    answer_ = 2;
    EXPECT_FALSE(practice_.OfferNextLevel(1, 4));
    ASSERT_EQ(asked_.size(), 1);
    EXPECT_EQ(asked_[0], app::MessageText(406) + "|" + app::MessageText(407).arg(5));
    EXPECT_FALSE(practice_.OfferNextLevel(1, 4)) << "asking counts as the offer";
    EXPECT_EQ(asked_.size(), 1);

    for (int i = 0; i < 3; ++i) practice_.Journal->PlayAlongChecked(2, 7, 30, 30);
    answer_ = platform::mrOk;
    EXPECT_TRUE(practice_.OfferNextLevel(2, 7));
    EXPECT_EQ(asked_.size(), 2);
    practice_.Close();
    EXPECT_FALSE(practice_.OfferNextLevel(2, 7)) << "a closed journal offers nothing";
}

// A journal in the way is told once; a data folder that takes nothing is
// not told twice when the learner heard so for the lists.
TEST_F(PracticeJournalTest, ATroubleIsToldOnceAndAnUnwritableFolderNotTwice) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir("journal.sqlite")); // a folder where the file should be
    Open();
    practice_.TellNotice(true);
    EXPECT_TRUE(asked_.isEmpty());
    practice_.Close();

    Open();
    practice_.TellNotice(false);
    ASSERT_EQ(asked_.size(), 1);
    practice_.TellNotice(false);
    EXPECT_EQ(asked_.size(), 1);
}

} // namespace
