// Opening a lesson on the main window, with stand-in lesson content: the
// registry's values as the window receives them, the level, the backdrop,
// the exercise, the screen's links and their guards, and starting again.

#include "app/mainwindow.h"
#include "platform/core/folders.h"
#include "lessons/registrydata.h"
#include "tests/app/shellfixture.h"
#include "tests/lessons/lessonfixture.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace shelltest {
namespace {

using namespace platform;

class LessonScreenTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // Without the help pages, help goes to the desktop (watched by the opener).
        std::vector<std::string> own = lessontest::CourseFolders();
        own.push_back("Hilfe");
        UseProgramFolderWithout(own);
        folder_ = programCopy_->Path();
        platform::OverrideProgramFolder(folder_);
    }
    void TearDown() override {
        ShellTest::TearDown();
        platform::OverrideProgramFolder("");
        setenv("SPRACHBANK_LANGUAGE", "0", 1);
    }

    // The main window as the learner first sees it, the start question answered.
    void Start() {
        CreateWindows();
        ShowMainWindow();
        asked_.clear();
    }

    void WriteLesson(int lesson) {
        lessontest::WriteLessonScreen(folder_, lesson);
        lessontest::WriteExercises(folder_, lesson);
    }

    // Opens `lesson` as the plan's current entry with that level and count.
    void Open(int lesson, int level = 1, int playCount = 0) {
        form_->Lists->CurrentEntry = 0;
        form_->Lists->Plan[0] = {lesson, level, playCount};
        form_->Course->SetCurrentLesson(lesson);
        form_->OpenLesson();
    }

    TControl* ScreenElement(int tag) {
        for (int i = 0; i < form_->ComponentCount(); ++i) {
            auto* control = dynamic_cast<TControl*>(form_->Components(i));
            if (control != nullptr && control->Tag() == tag) return control;
        }
        return nullptr;
    }

    std::string folder_;
};

TEST_F(LessonScreenTest, CountInFollowsTheLesson) {
    for (int n : {1, 9, 28}) WriteLesson(n);
    Start();
    Open(9);
    EXPECT_EQ(form_->Course->CountInBeats(), 3);
    Open(28);
    EXPECT_EQ(form_->Course->CountInBeats(), 8);
    Open(1);
    EXPECT_EQ(form_->Course->CountInBeats(), 4);
}

TEST_F(LessonScreenTest, FirstAndLastLessonMakeTheQuizAvailableAndKeepTheBeatDisplay) {
    for (int n : {0, 10, 12, 29}) WriteLesson(n);
    Start();
    Open(10);
    EXPECT_EQ(form_->Course->BeatDisplayOffset(), 20);
    EXPECT_EQ(form_->Course->PlayCount(), 0);
    Open(12);
    EXPECT_EQ(form_->Course->BeatDisplayOffset(), 18);
    Open(0, 1, 0);
    EXPECT_EQ(form_->Course->PlayCount(), 3);
    EXPECT_EQ(form_->Course->BeatDisplayOffset(), 18);
    EXPECT_FALSE(form_->Course->CursorActive());
    Open(29, 1, 1);
    EXPECT_EQ(form_->Course->PlayCount(), 3);
    Open(12, 1, 2);
    EXPECT_EQ(form_->Course->PlayCount(), 2);
    EXPECT_TRUE(form_->Course->CursorActive());
    EXPECT_EQ(form_->Transport->Record().LastBeat, 0);
}

TEST_F(LessonScreenTest, LanguageOneTakesItsOwnGeometryAndTempo) {
    setenv("SPRACHBANK_LANGUAGE", "1", 1);
    Start();
    EXPECT_EQ(form_->Course->Tables().CursorGeometry[12].OriginY, 345);
    EXPECT_EQ(form_->Course->Tables().TempoTable[12][0], 60);
    DestroyWindows();
    // Every code but 0 is served the English edition and takes its rows.
    setenv("SPRACHBANK_LANGUAGE", "2", 1);
    Start();
    EXPECT_EQ(form_->Course->Tables().CursorGeometry[12].OriginY, 345);
    EXPECT_EQ(form_->Course->Tables().TempoTable[12][0], 60);
    DestroyWindows();
    setenv("SPRACHBANK_LANGUAGE", "0", 1);
    Start();
    EXPECT_EQ(form_->Course->Tables().CursorGeometry[12].OriginY, 357);
    EXPECT_EQ(form_->Course->Tables().TempoTable[12][0], 50);
}

TEST_F(LessonScreenTest, LessonNineteenHoldsItsPointFromTheFirstOpening) {
    WriteLesson(19);
    Start();
    EXPECT_EQ(form_->Course->Tables().CursorGeometry[19].HoldFrom, -100);
    Open(19);
    EXPECT_EQ(form_->Course->Tables().CursorGeometry[19].HoldFrom, 32);
    EXPECT_EQ(form_->Course->Tables().CursorGeometry[19].HoldTo, 35);
    EXPECT_EQ(form_->PlayCursor->Geometry().HoldFrom, 32);
}

TEST_F(LessonScreenTest, TheLevelComesFromThePlanUnlessOutsideOneToTenOrExploring) {
    WriteLesson(5);
    Start();
    Open(5, 7);
    EXPECT_EQ(form_->TrBarTempo->Position(), 7);
    EXPECT_EQ(form_->LLevel->Caption(), "7");
    for (int odd : {0, 11, -3}) {
        Open(5, odd);
        EXPECT_EQ(form_->TrBarTempo->Position(), 1) << "plan level " << odd;
        EXPECT_EQ(form_->LLevel->Caption(), "1");
    }
    form_->Course->SetExplorerMode(true);
    Open(5, 7);
    EXPECT_EQ(form_->TrBarTempo->Position(), 1);
    const int centre = form_->ImgLevel->Left() + form_->ImgLevel->Width() / 2;
    EXPECT_NEAR(form_->LLevel->Left() + form_->LLevel->Width() / 2, centre, 1);
}

TEST_F(LessonScreenTest, TheTempoBarIsForLessonsOneToTwentyEight) {
    for (int n : {0, 1, 28, 29}) WriteLesson(n);
    Start();
    for (int n : {0, 1, 28, 29}) {
        Open(n);
        EXPECT_EQ(form_->TrBarTempo->Enabled(), n == 1 || n == 28) << "lesson " << n;
    }
}

TEST_F(LessonScreenTest, LedDelayAndLoopRecordFollowLessonAndLevel) {
    WriteLesson(25);
    Start();
    Open(25, 10);
    EXPECT_EQ(form_->Transport->Led().SegmentDelay, 13); // (150 - 178) x 0.2 + 19 = 13.4
    Open(25, 1);
    EXPECT_EQ(form_->Transport->Led().SegmentDelay, 35); // (150 - 70) x 0.2 + 19
    EXPECT_EQ(form_->Transport->Record().Beat, 1);
    EXPECT_EQ(form_->Transport->Record().FirstBeat, 1);
    EXPECT_EQ(form_->Transport->Record().TotalBeats, 64);
    EXPECT_EQ(form_->Transport->Record().BeatsPerBar, 4);
    EXPECT_EQ(form_->Transport->StartPosition(), 0);
    EXPECT_EQ(form_->Keys->Poll->Interval(), 100u);
}

TEST_F(LessonScreenTest, FilesOfTheOpenedLesson) {
    WriteLesson(12);
    Start();
    Open(12, 3);
    EXPECT_EQ(form_->Transport->Lesson().LevelFiles[3], form_->Places->ProgramFolder + "Midi\\uebung12_3.mid");
    EXPECT_EQ(form_->Transport->Lesson().LevelFiles[10], form_->Places->ProgramFolder + "Midi\\uebung12_10.mid");
    EXPECT_EQ(form_->SlidePicturePrefix, form_->Places->ProgramFolder + "lektion12\\DiaA");
}

TEST_F(LessonScreenTest, TheExerciseDecidesWhetherPlayIsOffered) {
    WriteLesson(3);
    lessontest::WriteLessonScreen(folder_, 4); // no exercise files
    lessontest::WriteLessonScreen(folder_, 5);
    lessontest::WriteBytes(folder_ + "Midi/uebung5_1.mid", "MThd kaputt");
    Start();

    Open(3);
    EXPECT_TRUE(form_->BPlay->Enabled());
    EXPECT_TRUE(form_->BLoop->Enabled() && form_->BForward->Enabled() &&
                form_->BRewind->Enabled() && form_->BLocator->Enabled());
    EXPECT_FALSE(form_->BStop->Enabled());
    EXPECT_TRUE(asked_.empty());

    Open(4);
    EXPECT_FALSE(form_->BPlay->Enabled());
    EXPECT_FALSE(form_->BLoop->Enabled());
    EXPECT_TRUE(asked_.empty());

    Open(5);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, app::ErrorText(11));
    EXPECT_EQ(asked_[0].body, app::ErrorText(12));
    EXPECT_EQ(asked_[0].ok, "OK");
    EXPECT_TRUE(asked_[0].cancel.isEmpty());
    EXPECT_FALSE(form_->BPlay->Enabled());
    // The lesson stays open.
    EXPECT_EQ(form_->Course->CurrentLesson(), 5);
    EXPECT_TRUE(form_->BKontrolle->Enabled());
    EXPECT_FALSE(form_->Screen->Backdrop.Empty());
}

TEST_F(LessonScreenTest, ALessonNumberOutsideTheCourseOpensNothing) {
    WriteLesson(2);
    Start();
    Open(2);
    const int elements = form_->ComponentCount();
    const int total = form_->Transport->Record().TotalBeats;
    for (int bad : {30, 1000, -1}) {
        form_->Course->SetCurrentLesson(bad);
        form_->OpenLesson();
    }
    EXPECT_EQ(form_->ComponentCount(), elements);
    EXPECT_EQ(form_->Transport->Record().TotalBeats, total);
}

TEST_F(LessonScreenTest, AMissingSkinLeavesTheScreenEmpty) {
    WriteLesson(7);
    lessontest::WriteExercises(folder_, 8);
    Start();
    Open(7);
    EXPECT_FALSE(form_->Screen->Backdrop.Empty());
    Open(8);
    EXPECT_TRUE(form_->Screen->Backdrop.Empty());
    EXPECT_EQ(ScreenElement(101), nullptr);
    EXPECT_TRUE(form_->BPlay->Enabled());
}

TEST_F(LessonScreenTest, TheBackdropIsComposedWithItsCutOuts) {
    WriteLesson(6);
    Start();
    Open(6);
    EXPECT_EQ(form_->Screen->BackdropLeft, lessontest::kBackdropLeft);
    EXPECT_EQ(form_->Screen->BackdropTop, lessontest::kBackdropTop);
    EXPECT_EQ(form_->Screen->Backdrop.Width(), lessontest::kBackdropWidth);
    TCanvas* backdrop = form_->Screen->Backdrop.Canvas();
    const int x = lessontest::kCutOutLeft - lessontest::kBackdropLeft;
    const int y = lessontest::kCutOutTop - lessontest::kBackdropTop;
    EXPECT_EQ(backdrop->Pixel(x, y), TColor(lessontest::kCutOutColour));
    EXPECT_EQ(backdrop->Pixel(x + 39, y + 19), TColor(lessontest::kCutOutColour));
    EXPECT_NE(backdrop->Pixel(x + 40, y + 20), TColor(lessontest::kCutOutColour));
    EXPECT_FALSE(ScreenElement(300)->Visible());
    EXPECT_FALSE(ScreenElement(200)->Visible());
    // The window paints it at its place.
    EXPECT_EQ(form_->Canvas()->Pixel(lessontest::kCutOutLeft + 5, lessontest::kCutOutTop + 5),
              TColor(lessontest::kCutOutColour));
}

TEST_F(LessonScreenTest, OfTwoBackdropPicturesTheSecondStaysAPicture) {
    WriteLesson(11);
    const std::string skin = folder_ + "lektion11/MainWin.zs1";
    QFile file(QString::fromStdString(skin));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("$I\r\nTAG200\r\n400\r\n300\r\nlektion11\\Hilfe.jpg\r\n");
    file.close();
    Start();
    Open(11);
    std::vector<TImage*> backdrops;
    for (int i = 0; i < form_->ComponentCount(); ++i)
        if (auto* image = dynamic_cast<TImage*>(form_->Components(i)); image && image->Tag() == 200)
            backdrops.push_back(image);
    ASSERT_EQ(backdrops.size(), 2u);
    EXPECT_FALSE(backdrops[0]->Visible());
    EXPECT_TRUE(backdrops[1]->Visible());
    EXPECT_EQ(backdrops[1]->Picture()->Width(), 24);
    EXPECT_EQ(form_->Screen->Backdrop.Width(), lessontest::kBackdropWidth);
    EXPECT_EQ(form_->Screen->BackdropLeft, lessontest::kBackdropLeft);
}

TEST_F(LessonScreenTest, ScreenLinksWaitUntilNothingPlays) {
    WriteLesson(1);
    Start();
    Open(1);
    TControl* slide = ScreenElement(101);
    TControl* help = ScreenElement(405);
    ASSERT_NE(slide, nullptr);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(slide->Cursor(), crHandPoint);
    EXPECT_EQ(help->Cursor(), crHandPoint);

    devices_.running = true;
    slide->OnClick(slide);
    help->OnClick(help);
    devices_.running = false;
    form_->Video->Playing = true;
    slide->OnClick(slide);
    help->OnClick(help);
    EXPECT_FALSE(form_->Course->OpenedFromLessonScreen());
    EXPECT_TRUE(opener_.opened.isEmpty());

    form_->Video->Playing = false;
    slide->OnClick(slide);
    EXPECT_TRUE(form_->Course->OpenedFromLessonScreen());
    help->OnClick(help);
    EXPECT_EQ(opener_.opened.size(), 1);
}

TEST_F(LessonScreenTest, OpeningStopsWhatPlays) {
    WriteLesson(2);
    Start();
    devices_.running = true;
    Open(2);
    EXPECT_TRUE(form_->actions.contains("BStop"));
    devices_.running = false;
    form_->actions.clear();
    Open(2);
    EXPECT_FALSE(form_->actions.contains("BStop"));
}

TEST_F(LessonScreenTest, OpeningReleasesTheLocatorAndOffersQuizAndMonitor) {
    WriteLesson(4);
    Start();
    form_->BLocator->SetLatched(true);
    Open(4);
    EXPECT_FALSE(form_->BLocator->Latched());
    EXPECT_TRUE(form_->BMonitor->Enabled());
    EXPECT_TRUE(form_->BKontrolle->Enabled());
    EXPECT_FALSE(form_->Course->QuizFinished());
}

TEST_F(LessonScreenTest, StartingAgainResetsAndStoresTheListsAndShowsNoLesson) {
    WriteLesson(3);
    Start();
    form_->Lists->Waiting[0].Lesson = 0;
    Open(3, 5, 2);
    form_->ResetCourse();
    EXPECT_EQ(form_->Course->CurrentLesson(), -1);
    EXPECT_EQ(form_->Lists->Plan[0].Lesson, -1);
    EXPECT_EQ(form_->Lists->Waiting[0].Lesson, 1);
    EXPECT_EQ(form_->Videos->Path, form_->Places->ProgramFolder + "lektionX\\IntroVideo.avi");
    EXPECT_EQ(form_->Skin->Header(), "x");
    EXPECT_FALSE(form_->TrBarTempo->Enabled());
    EXPECT_FALSE(form_->BPlay->Enabled());
    const std::string stored = ReadData("Listen/ListeUeplan.ztl");
    EXPECT_EQ(stored.substr(0, 13), "3\r\n-1\r\n1\r\n0\r\n");
}

} // namespace
} // namespace shelltest
