// The course session without a main window: the level a lesson opens at, the
// passes that count toward the quiz and their way into the plan file, the
// plan entry that explorer mode comes back to, and a new start of the course.
// The window's side is a recorder of what the session asked of it.

#include "lessons/coursesession.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

namespace {

using lessons::CourseSession;
using plan::ListEntry;
using plan::ListStore;

class RecordingWindow : public lessons::CourseWindow {
public:
    int progressChanges = 0;
    int resets = 0;

    void OpenLesson() override {}
    void OpenSlidesA() override {}
    void ClearLessonScreen() override {}
    void ShowNoLessonScreen() override {}
    void RefreshPlanPanel() override {}
    void ShowRestartButton() override {}
    void CourseWasReset() override { ++resets; }
    lessons::SkinLoader* MainScreenSkin() override { return nullptr; }
    void PassProgressChanged() override { ++progressChanges; }
    bool IsVideoPlaying() const override { return false; }
    bool MediaPlayerPlaying() const override { return false; }
    void StopMediaPlayer() override {}
    void StopTransport() override {}
    void PlayVideo(const std::string&, const std::string&, const platform::TRect&, int, int,
                   platform::TPanel*) override {}
    int AskMessage(const QString&, const QString&, const QString&, const QString&) override {
        return 0;
    }
    bool LoadJpegBitmap(platform::TBitmap*, const std::string&) override { return false; }
    void LoadPictureInto(platform::TImage*, const std::string&) override {}
    void HelpButtonClick() override {}
    void AskTaskbarQuestion() override {}
    void ReportPictureError(const std::string&) override {}
};

class CourseSessionTest : public ::testing::Test {
protected:
    CourseSessionTest() : cues_(programFolder_.Path()) {
        dataFolder_.Write("Listen/.keep", "");
        lists_.ResetLists();
        lists_.KeepSavedIn(dataFolder_.Path(), false);
        session_ = std::make_unique<CourseSession>(lists_, cues_, window_, programFolder_.Path(), 0);
    }

    // The plan as the file on disk holds it now.
    std::array<ListEntry, ListStore::kPlanSlots> PlanOnDisk() const {
        std::array<ListEntry, ListStore::kPlanSlots> plan{};
        EXPECT_TRUE(ListStore::ReadList(plan.data(), ListStore::kPlanSlots,
                                        dataFolder_.Path() + "Listen/ListeUeplan.ztl"));
        return plan;
    }

    static playback::PassInfo Pass(int level, bool topLevel) {
        playback::PassInfo pass;
        pass.Lesson = 4;
        pass.Level = level;
        pass.TopLevel = topLevel;
        return pass;
    }

    testsupport::TempFolder programFolder_, dataFolder_;
    ListStore lists_;
    playback::SoundCues cues_;
    RecordingWindow window_;
    std::unique_ptr<CourseSession> session_;
};

TEST_F(CourseSessionTest, ALessonOpensAtItsPlanEntrysLevelWhenThatIsALevelElseAtOne) {
    lists_.Plan[1] = ListEntry{4, 7, 0};
    lists_.CurrentEntry = 1;
    EXPECT_EQ(session_->OpeningLevel(), 7);

    lists_.Plan[1].Level = 11; // a damaged entry
    EXPECT_EQ(session_->OpeningLevel(), 1);
    lists_.Plan[1].Level = 0;
    EXPECT_EQ(session_->OpeningLevel(), 1);

    lists_.Plan[1].Level = 7;
    lists_.CurrentEntry = ListStore::kPlanSlots; // outside the plan
    EXPECT_EQ(session_->OpeningLevel(), 1);

    lists_.CurrentEntry = 1;
    session_->SetExplorerMode(true);
    EXPECT_EQ(session_->OpeningLevel(), 1);
}

TEST_F(CourseSessionTest, OnlyPassesPlayedThroughAtTheTopLevelCountAndEachIsOnDiskAtOnce) {
    lists_.Plan[0] = ListEntry{4, 3, 1};
    lists_.CurrentEntry = 0;
    session_->SetCurrentLesson(4);
    session_->LessonOpening();
    EXPECT_EQ(session_->PlayCount(), 1); // from the plan entry

    session_->PassStarted(Pass(10, true));
    EXPECT_EQ(PlanOnDisk()[0].Level, 10); // the level that plays is kept at once
    EXPECT_EQ(PlanOnDisk()[0].PlayCount, 1);

    session_->PassPlayedThrough(Pass(9, false)); // below the top level
    EXPECT_EQ(session_->PlayCount(), 1);
    EXPECT_EQ(window_.progressChanges, 0);

    session_->PassPlayedThrough(Pass(10, true));
    EXPECT_FALSE(session_->QuizOpens());
    session_->PassPlayedThrough(Pass(10, true));
    EXPECT_EQ(session_->PlayCount(), ListStore::kQuizPasses);
    EXPECT_TRUE(session_->QuizOpens());
    EXPECT_EQ(PlanOnDisk()[0].PlayCount, ListStore::kQuizPasses);
    EXPECT_EQ(window_.progressChanges, 2);
}

TEST_F(CourseSessionTest, InExplorerModeAPassChangesNoPlanEntrysLevel) {
    lists_.Plan[0] = ListEntry{4, 3, 0};
    lists_.CurrentEntry = 0;
    session_->SetCurrentLesson(4);
    session_->SetExplorerMode(true);
    session_->PassStarted(Pass(8, false));
    EXPECT_EQ(lists_.Plan[0].Level, 3);
}

TEST_F(CourseSessionTest, ExplorerModeReturnsToThePlanEntryOnlyWhileItStillHoldsTheLesson) {
    lists_.Plan[2] = ListEntry{6, 5, 2};
    lists_.CurrentEntry = 2;
    session_->SetCurrentLesson(6);
    session_->SetExplorerMode(true);
    EXPECT_EQ(session_->TutorialEntryToReopen(), 2);

    lists_.Plan[2].Lesson = 9; // the entry now holds another lesson
    EXPECT_EQ(session_->TutorialEntryToReopen(), -1);

    // Explorer mode entered with a lesson that is not the entry's: nothing to return to.
    session_->SetExplorerMode(false);
    lists_.Plan[2].Lesson = 6;
    session_->SetCurrentLesson(12);
    session_->SetExplorerMode(true);
    EXPECT_EQ(session_->TutorialEntryToReopen(), -1);
}

TEST_F(CourseSessionTest, StartingTheCourseAgainEmptiesThePlanOnDiskAndClosesTheLesson) {
    lists_.Plan[0] = ListEntry{4, 10, 2};
    lists_.CurrentEntry = 0;
    session_->SetCurrentLesson(4);
    ASSERT_TRUE(session_->SaveListsNow());
    ASSERT_EQ(PlanOnDisk()[0].Lesson, 4);

    session_->ResetCourse();
    EXPECT_EQ(session_->CurrentLesson(), -1);
    EXPECT_EQ(PlanOnDisk()[0].Lesson, -1);
    EXPECT_EQ(window_.resets, 1);
}

} // namespace
