// The main window's side of the slides and the quiz: the "Kontrolle" button
// with its refusal, the slide pictures of the lesson screen, and the plan
// written to the learner's data folder the moment it changes.

#include "lessons/quizwin.h"
#include "lessons/slidewindows.h"
#include "platform/core/folders.h"
#include "tests/app/shellfixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace shelltest {
namespace {

using namespace platform;
using app::CaptionText;
using app::MessageText;

class SlidesHostTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        UseProgramFolderWithout({"lektion1", "lektion2", "Listen"});
        WriteLists();
        WriteQuiz(1);
        CreateWindows();
        lessons::ExtWinA = new lessons::TExtWinA(nullptr);
        lessons::ExtWinB = new lessons::TExtWinB(nullptr);
        lessons::ExtWinC = new lessons::TExtWinC(nullptr);
        lessons::QuizWin = new lessons::TQuizWin(nullptr);
    }
    void TearDown() override {
        for (platform::TForm* window : std::initializer_list<platform::TForm*>{
                 lessons::QuizWin, lessons::ExtWinC, lessons::ExtWinB, lessons::ExtWinA})
            delete window;
        lessons::QuizWin = nullptr;
        lessons::ExtWinA = nullptr;
        lessons::ExtWinB = nullptr;
        lessons::ExtWinC = nullptr;
        ShellTest::TearDown();
    }
    // The program folder's lists: lesson 1 in the plan, lessons 2.. waiting.
    void WriteLists() {
        std::string plan = "3\r\n1\r\n10\r\n3\r\n";
        for (int slot = 1; slot < 3; ++slot)
            plan += "-1\r\n1\r\n0\r\n";
        std::string waiting = "3\r\n";
        for (int lesson = 0; lesson < 30; ++lesson)
            waiting += std::string(lesson < 2 ? "0" : "1") + "\r\n1\r\n0\r\n";
        programCopy_->Write("Listen/ListeUeplan.ztl", plan);
        programCopy_->Write("Listen/ListeWarten.ztl", waiting);
    }
    void WriteQuiz(int lesson) {
        std::string skin = "0\r\n";
        for (int group = 0; group < 3; ++group) {
            skin += "$C\r\n" + std::to_string(group) + "\r\n6\r\n";
            for (int box = 0; box < 6; ++box)
                skin += std::to_string(60 + 300 * group) + "\r\n" + std::to_string(80 + 30 * box) +
                        "\r\n";
        }
        programCopy_->Write("lektion" + std::to_string(lesson) + "/Kontrolle.zs1", skin);
    }
    void Kontrolle() { form_->app::TForm1::BKontrolleClick(form_->BKontrolle); }
};

TEST_F(SlidesHostTest, KontrolleRefusesBelowThreePasses) {
    form_->Course->SetCurrentLesson(1);
    form_->Course->SetPlayCount(2);
    Kontrolle();
    EXPECT_FALSE(lessons::QuizWin->isVisible());
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, MessageText(9));
    EXPECT_EQ(asked_[0].body, MessageText(10));
    EXPECT_EQ(asked_[0].cancel, "");
    EXPECT_EQ(asked_[0].ok, CaptionText(1));
    EXPECT_TRUE(form_->Lists->IntroMode());

    // Nothing at all while exploring, while a video plays, without a lesson.
    asked_.clear();
    form_->Course->SetExplorerMode(true);
    Kontrolle();
    form_->Course->SetExplorerMode(false);
    form_->Video->Playing = true;
    Kontrolle();
    form_->Video->Playing = false;
    form_->Course->SetCurrentLesson(-1);
    form_->Course->SetPlayCount(3);
    Kontrolle();
    EXPECT_TRUE(asked_.empty());
    EXPECT_FALSE(lessons::QuizWin->isVisible());
}

TEST_F(SlidesHostTest, KontrolleOpensTheQuizFromThreePasses) {
    form_->Course->SetCurrentLesson(1);
    form_->Course->SetPlayCount(3);
    Kontrolle();
    EXPECT_TRUE(lessons::QuizWin->isVisible());
    EXPECT_FALSE(form_->Lists->IntroMode());
    EXPECT_FALSE(form_->Course->QuizIdle());
    EXPECT_TRUE(asked_.empty());
}

TEST_F(SlidesHostTest, APassedQuizIsOnDiskAtOnce) {
    form_->Course->SetCurrentLesson(1);
    form_->Course->SetPlayCount(3);
    form_->Lists->CurrentEntry = 0;
    Kontrolle();
    lessons::QuizWin->Skin->Group(0)->Box(4)->Click();
    lessons::QuizWin->Skin->Group(1)->Box(3)->Click();
    lessons::QuizWin->Skin->Group(2)->Box(4)->Click();
    answers_ = {2}; // not on to lesson 2 now
    lessons::QuizWin->BNext->Click();
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl"),
              "3\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n");
    EXPECT_EQ(form_->Course->CurrentLesson(), 2);
    EXPECT_TRUE(form_->Course->QuizIdle());
}

TEST_F(SlidesHostTest, ANewLessonIsOnDiskAtOnceAndTheLessonScreenOpensSlides) {
    programCopy_->Write("lektion2/WinB.zs1",
                        "2\r\n$L\r\n20\r\n20\r\nArial\r\n12\r\n1\r\n0\r\nB\r\n");
    form_->Course->SetPreviousLesson(1);
    form_->Course->SetCurrentLesson(2);
    lessons::OpenSlideWindow(lessons::kSlideA); // lesson 2 passes over A
    EXPECT_TRUE(lessons::ExtWinB->isVisible());
    EXPECT_EQ(lessons::ExtWinB->Skin->Texts().size(), 1u);
    lessons::ExtWinB->BNext->Click();
    ASSERT_TRUE(lessons::ExtWinC->isVisible());
    lessons::ExtWinC->BNext->Click();
    EXPECT_EQ(form_->Lists->Plan[1].Lesson, 2);
    EXPECT_EQ(form_->Lists->CurrentEntry, 1);
    EXPECT_TRUE(form_->BVonVorn->Visible());
    // Lessons 0, 1 and now 2 taken, lesson 3 still waiting.
    const std::string taken = "0\r\n1\r\n0\r\n";
    const std::string waiting = "3\r\n" + taken + taken + taken + "1\r\n";
    EXPECT_EQ(ReadData("Listen/ListeWarten.ztl").substr(0, waiting.size()), waiting);
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl"),
              "3\r\n1\r\n10\r\n3\r\n2\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n");
}

// The main window's own box for a slide picture that cannot be read.
TEST_F(SlidesHostTest, UnreadableSlidePictureShowsTheProgramsPictureBox) {
    programCopy_->Write("lektion1/kaputt.jpg", "\xFF\xD8\xFF\xE0 not really a JPEG");
    programCopy_->Write("lektion1/WinA.zs1", "1\r\n$I\r\n0\r\n0\r\nlektion1\\kaputt.jpg\r\n");
    // Skin pictures are read from the program folder.
    platform::OverrideProgramFolder(programCopy_->Path());
    struct PutBack {
        ~PutBack() { platform::OverrideProgramFolder(""); }
    } putBack;
    form_->Course->SetCurrentLesson(1);
    form_->OpenSlidesA();
    EXPECT_TRUE(lessons::ExtWinA->isVisible());
    EXPECT_EQ(platformBoxes_.filter(QString::fromUtf8("Fehler beim Öffnen der Bild-Datei")).size(),
              1)
        << platformBoxes_.join("; ").toStdString();
    EXPECT_TRUE(asked_.empty());
}

// "Neue Übung" remembers the open lesson; abandoning the new lesson's slides
// goes back to it, so that the quiz button still works on it.
TEST_F(SlidesHostTest, AbandoningANewLessonKeepsTheOpenOne) {
    form_->Course->SetCurrentLesson(1);
    form_->Course->SetPlayCount(0);
    form_->BNextClick(form_->BNext); // lesson 2 waits first; it passes over window A
    ASSERT_TRUE(lessons::ExtWinB->isVisible());
    EXPECT_EQ(form_->Course->CurrentLesson(), 2);
    EXPECT_EQ(form_->Course->PreviousLesson(), 1);
    EXPECT_TRUE(lessons::ExtWinB->KeyDown(VK_ESCAPE, TShiftState()));
    EXPECT_FALSE(lessons::ExtWinB->isVisible());
    EXPECT_EQ(form_->Course->CurrentLesson(), 1);
    form_->app::TForm1::BKontrolleClick(form_->BKontrolle);
    ASSERT_EQ(asked_.size(), 1u); // lesson 1 still needs its passes
    EXPECT_EQ(asked_[0].title, MessageText(9));
}

// The road of a new learner through the real main window: a new lesson's
// slides, the lesson in the plan, its quiz passed, the next lesson's slides,
// and the lists on disk at every step and at the next start.
class NewLearnerRoadTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        UseProgramFolderWithout({"lektion0", "lektion1"});
        for (int lesson = 0; lesson < 2; ++lesson) {
            const std::string folder = "lektion" + std::to_string(lesson) + "/";
            const std::string header = lesson == 1 ? "1\r\n" : "0\r\n";
            for (const char* window : {"WinA", "WinB", "WinC"})
                programCopy_->Write(folder + window + ".zs1",
                                    header + "$L\r\n20\r\n20\r\nArial\r\n12\r\n1\r\n0\r\n" +
                                        window + "\r\n");
            std::string quiz = "0\r\n";
            for (int group = 0; group < 3; ++group) {
                quiz += "$C\r\n" + std::to_string(group) + "\r\n4\r\n";
                for (int box = 0; box < 4; ++box)
                    quiz += std::to_string(60 + 300 * group) + "\r\n" +
                            std::to_string(80 + 30 * box) + "\r\n";
            }
            programCopy_->Write(folder + "Kontrolle.zs1", quiz);
        }
    }
    void OpenWindows() {
        CreateWindows();
        lessons::ExtWinA = new lessons::TExtWinA(nullptr);
        lessons::ExtWinB = new lessons::TExtWinB(nullptr);
        lessons::ExtWinC = new lessons::TExtWinC(nullptr);
        lessons::QuizWin = new lessons::TQuizWin(nullptr);
        ShowMainWindow();
    }
    void CloseWindows() {
        for (platform::TForm* window : std::initializer_list<platform::TForm*>{
                 lessons::QuizWin, lessons::ExtWinC, lessons::ExtWinB, lessons::ExtWinA})
            delete window;
        lessons::QuizWin = nullptr;
        lessons::ExtWinA = nullptr;
        lessons::ExtWinB = nullptr;
        lessons::ExtWinC = nullptr;
        DestroyWindows();
    }
    void TearDown() override {
        CloseWindows();
        ShellTest::TearDown();
    }
    // "Neue Übung" on the practice plan.
    void NewExercise() { form_->BNextClick(form_->BNext); }
    void EnterThroughTheSlides() {
        for (platform::TForm* window : std::initializer_list<platform::TForm*>{
                 lessons::ExtWinA, lessons::ExtWinB, lessons::ExtWinC}) {
            ASSERT_TRUE(window->isVisible());
            EXPECT_TRUE(window->KeyDown(VK_RETURN, TShiftState()));
            EXPECT_FALSE(window->isVisible());
        }
    }
};

TEST_F(NewLearnerRoadTest, FromTheFirstSlidesToTheSecondLesson) {
    OpenWindows();
    ASSERT_EQ(form_->Lists->FirstWaiting(), 0);
    NewExercise();
    EXPECT_EQ(lessons::ExtWinA->LUeNummer->Caption(), CaptionText(21));
    EnterThroughTheSlides();
    EXPECT_EQ(form_->Lists->Plan[0].Lesson, 0);
    EXPECT_EQ(form_->Lists->Waiting[0].Lesson, 0);
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl").substr(0, 12), "3\r\n0\r\n1\r\n0\r\n");

    form_->Course->SetPlayCount(3); // lesson 0's quiz is open at once
    form_->app::TForm1::BKontrolleClick(form_->BKontrolle);
    ASSERT_TRUE(lessons::QuizWin->isVisible());
    lessons::QuizWin->Skin->Group(0)->Box(2)->Click();
    lessons::QuizWin->Skin->Group(1)->Box(4)->Click();
    lessons::QuizWin->Skin->Group(2)->Box(2)->Click();
    answers_ = {1}; // on to the next lesson
    EXPECT_TRUE(lessons::QuizWin->KeyDown(VK_RETURN, TShiftState()));
    EXPECT_FALSE(lessons::QuizWin->isVisible());
    EXPECT_EQ(form_->Course->CurrentLesson(), 1);
    EXPECT_TRUE(form_->Course->QuizFinished());
    EnterThroughTheSlides();
    EXPECT_EQ(form_->Lists->Plan[0].Lesson, 1);
    EXPECT_EQ(form_->Lists->CurrentEntry, 0);

    const std::string plan = "3\r\n1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n";
    const std::string taken = "0\r\n1\r\n0\r\n", waits = "1\r\n1\r\n0\r\n";
    EXPECT_EQ(ReadData("Listen/ListeUeplan.ztl"), plan);
    const std::string waiting = "3\r\n" + taken + taken + waits;
    EXPECT_EQ(ReadData("Listen/ListeWarten.ztl").substr(0, waiting.size()), waiting);

    // The next start reads the same.
    CloseWindows();
    OpenWindows();
    EXPECT_EQ(form_->Lists->Plan[0].Lesson, 1);
    EXPECT_EQ(form_->Lists->FirstWaiting(), 2);
}

} // namespace
} // namespace shelltest
