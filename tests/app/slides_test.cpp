// The slide windows A, B and C: which window opens for a lesson, forward and
// back, the skin's picture frame, chord samples and videos, leaving the
// slides, the lesson entering the plan, keys and the window's own look.

#include "tests/app/slidesfixture.h"

#include "layout/screenlayout.h"
#include "platform/core/folders.h"

#include <QCoreApplication>
#include <algorithm>
#include <gtest/gtest.h>

namespace slidestest {
namespace {

using namespace platform;
using lessons::ExtWinA;
using lessons::ExtWinB;
using lessons::ExtWinC;

TEST_F(SlidesTest, WindowsAreLaidOutAsTheCourseWants) {
    EXPECT_EQ(ExtWinA->Width(), 800);
    EXPECT_EQ(ExtWinA->Height(), 600);
    EXPECT_EQ(ExtWinA->Components(0), ExtWinA->LUeNummer);
    EXPECT_EQ(ExtWinA->BNext->Top(), 540);
    EXPECT_EQ(ExtWinA->BCancel->Top(), 509);
    EXPECT_EQ(ExtWinA->BHilfe->Top(), 478);
    EXPECT_EQ(ExtWinA->BNext->Left(), 692);
    EXPECT_EQ(ExtWinA->BNext->Width(), 91);
    EXPECT_EQ(ExtWinA->BNext->Text(), "Weiter");
    EXPECT_EQ(ExtWinA->BCancel->Text(), "Abbrechen");
    EXPECT_EQ(ExtWinA->BHilfe->Text(), "Hilfe");
    EXPECT_EQ(ExtWinA->VideoPanel->Width(), 192);
    EXPECT_EQ(ExtWinA->VideoPanel->Height(), 144);
    EXPECT_FALSE(ExtWinA->VideoPanel->Visible());
    for (lessons::TExtWin* window :
         {static_cast<lessons::TExtWin*>(ExtWinB), static_cast<lessons::TExtWin*>(ExtWinC)}) {
        EXPECT_EQ(window->BNext->Top(), 540);
        EXPECT_EQ(window->BCancel->Top(), 509);
        EXPECT_EQ(window->BHilfe->Top(), 447);
    }
    EXPECT_EQ(ExtWinB->BBack->Top(), 478);
    EXPECT_EQ(ExtWinC->BBack->Text(), "Zurück");
    EXPECT_EQ(ExtWinA->LUeNummer->Left(), 714);
    EXPECT_EQ(ExtWinA->LUeNummer->Top(), 88);
    EXPECT_EQ(ExtWinA->Label1->Left(), 714);
    EXPECT_EQ(ExtWinA->Label1->Top(), 66);
    EXPECT_EQ(ExtWinA->Label1->Caption(), "Lernfenster");
}

// The side plate's two labels keep their left unless the longer would run
// past the plate, as "Learning window" and "Getting started" would.
TEST_F(SlidesTest, TheSideLabelsStayOnTheirPlateInEitherLanguage) {
    host_.currentLesson = 5;
    WriteSlideSkin(5, 'A');
    ExtWinA->OpenSlidesA();
    EXPECT_EQ(ExtWinA->LUeNummer->Left(), 714);
    EXPECT_EQ(ExtWinA->Label1->Left(), 714);
    ExtWinA->Hide();

    testsupport::ScopedEnv english("SPRACHBANK_LANGUAGE", "1");
    ExtWinA->Label1->SetCaption(lessons::CaptionText(23));
    host_.currentLesson = 0;
    WriteSlideSkin(0, 'A');
    ExtWinA->OpenSlidesA();
    ASSERT_EQ(ExtWinA->LUeNummer->Caption(), "Getting started");
    const int plateRight = layout::SlideSidebarPlate.right();
    for (TLabel* label : {ExtWinA->LUeNummer, ExtWinA->Label1}) {
        EXPECT_LE(label->Left() + label->Width(), plateRight) << label->Caption().toStdString();
        EXPECT_GE(label->Left(), layout::SlideSidebarPlate.left());
    }
    EXPECT_EQ(ExtWinA->LUeNummer->Left(), ExtWinA->Label1->Left());
}

TEST_F(SlidesTest, LessonTwoStartsInBWithoutBackAndCGoesBackToB) {
    host_.currentLesson = 2;
    ExtWinA->OpenSlidesA();
    EXPECT_EQ(Showing(), "B");
    EXPECT_FALSE(ExtWinB->BBack->Visible());
    EXPECT_EQ(ExtWinB->LUeNummer->Caption(), "Lektion 2");

    ExtWinB->BNext->Click();
    EXPECT_EQ(Showing(), "C");
    EXPECT_TRUE(ExtWinC->BBack->Visible());
    ExtWinC->BBack->Click();
    EXPECT_EQ(Showing(), "B");
    // Back in B does nothing more than the click: A is passed over.
    ExtWinB->BBack->Click();
    EXPECT_EQ(Showing(), "B");
}

// The lesson screen's slide links: each number opens its own window, any
// other number none.
TEST_F(SlidesTest, TheLessonScreensLinksOpenTheWindowTheyName) {
    host_.currentLesson = 2; // a lesson with window B
    lessons::OpenSlideWindow(lessons::kSlideB);
    EXPECT_EQ(Showing(), "B");
    lessons::OpenSlideWindow(3);
    lessons::OpenSlideWindow(-1);
    EXPECT_EQ(Showing(), "B");
    lessons::OpenSlideWindow(lessons::kSlideC);
    EXPECT_NE(Showing().find('C'), std::string::npos);
}

TEST_F(SlidesTest, LessonSeventeenEndsInCWhereBackDoesNothing) {
    host_.currentLesson = 17;
    ExtWinA->OpenSlidesA();
    EXPECT_EQ(Showing(), "C");
    EXPECT_FALSE(ExtWinC->BBack->Visible());
    const size_t cues = host_.cues.size();
    ExtWinC->BBackClick(nullptr);
    EXPECT_EQ(Showing(), "C");
    EXPECT_EQ(host_.cues.size(), cues + 1); // only the click
}

TEST_F(SlidesTest, LessonThreeGoesFromAOverBToCAndBackToA) {
    host_.currentLesson = 3;
    ExtWinA->OpenSlidesA();
    EXPECT_EQ(Showing(), "A");
    ExtWinA->BNext->Click();
    EXPECT_EQ(Showing(), "C");
    EXPECT_TRUE(ExtWinC->BBack->Visible());
    ExtWinC->BBack->Click();
    EXPECT_EQ(Showing(), "A");
}

TEST_F(SlidesTest, NextPictureSkipsMissingPicturesAndWraps) {
    host_.currentLesson = 1;
    WriteSlideSkin(1, 'A', {"$L", "TAG120", "100", "300", "Arial", "10", "0", "0", "weiter"});
    Touch("lektion1/DiaA1.jpg");
    Touch("lektion1/DiaA3.jpg");
    ExtWinA->OpenSlidesA();
    TLabel* next = ExtWinA->Skin->Texts().front()->Label();
    EXPECT_EQ(next->Cursor(), crHandPoint);

    next->Click();
    next->Click();
    ASSERT_EQ(host_.pictures.size(), 2u);
    EXPECT_EQ(host_.pictures[0], folder_.Path() + "lektion1\\DiaA3.jpg");
    EXPECT_EQ(host_.pictures[1], folder_.Path() + "lektion1\\DiaA1.jpg");
    EXPECT_EQ(host_.cues.back(), folder_.Path() + "ClickSounds\\foto.wav");
    // The frame is where the video will play.
    EXPECT_EQ(ExtWinA->VideoPanel->Left(), 100);
    EXPECT_EQ(ExtWinA->VideoPanel->Top(), 80);
}

TEST_F(SlidesTest, WithoutAFrameTheNextPictureDoesNothing) {
    host_.currentLesson = 1;
    WriteSkin("lektion1/WinB.zs1", "1",
              {"$I", "TAG120", "10", "10", "$$", "$I", "TAG111", "100", "80", "$$"});
    Touch("lektion1/DiaB2.jpg");
    ExtWinB->OpenSlidesB();
    ASSERT_EQ(Showing(), "B");
    EXPECT_EQ(ExtWinB->SlidePictures.FrameIndex, 0);
    ExtWinB->Skin->Pictures().back()->Image()->Click();
    EXPECT_TRUE(host_.pictures.empty());
    EXPECT_EQ(host_.cues.back(), folder_.Path() + "ClickSounds\\foto.wav");
}

TEST_F(SlidesTest, PictureLabelsShowTheirPictureWhenItExists) {
    host_.currentLesson = 5;
    WriteSlideSkin(5, 'A',
                   {"$L", "TAG123", "10", "300", "Arial", "10", "0", "0", "Bild 3", "$L", "TAG124",
                    "10", "330", "Arial", "10", "0", "0", "Bild 4"});
    Touch("lektion5/DiaA3.jpg");
    ExtWinA->OpenSlidesA();
    const auto& texts = ExtWinA->Skin->Texts(); // newest first
    texts[1]->Label()->Click();
    texts[0]->Label()->Click(); // DiaA4 is missing
    ASSERT_EQ(host_.pictures.size(), 1u);
    EXPECT_EQ(host_.pictures[0], folder_.Path() + "lektion5\\DiaA3.jpg");
    EXPECT_EQ(ExtWinA->SlidePictures.Number, 4);
}

// Lesson 6 begins in window B: its picture numbers page the pictures as in
// window A, in C as well, and the number of the picture shown is marked.
TEST_F(SlidesTest, PictureNumbersWorkInEveryWindowAndMarkThePictureShown) {
    host_.currentLesson = 6;
    const std::vector<std::string> numbers = {
        "$L", "TAG121", "300", "240", "Arial", "10", "1", "0", "1",
        "$L", "TAG122", "322", "240", "Arial", "10", "1", "0", "2",
        "$L", "TAG120", "350", "240", "Arial", "9", "1", "0", "weiter"};
    WriteSlideSkin(6, 'B', numbers);
    WriteSlideSkin(6, 'C', numbers);
    for (const char* file : {"lektion6/DiaB1.jpg", "lektion6/DiaB2.jpg", "lektion6/DiaC1.jpg",
                             "lektion6/DiaC2.jpg"})
        Touch(file);
    auto marked = [](lessons::TExtWin* window, int text) {
        // newest first: [0] "weiter", [1] "2", [2] "1"
        const TFont* font = window->Skin->Texts()[std::size_t(text)]->Label()->Font();
        return (font->Style() & fsUnderline) != 0;
    };
    ExtWinA->OpenSlidesA();
    ASSERT_EQ(Showing(), "B");
    for (lessons::TExtWin* window : {static_cast<lessons::TExtWin*>(ExtWinB),
                                     static_cast<lessons::TExtWin*>(ExtWinC)}) {
        const std::string letter = window == ExtWinB ? "B" : "C";
        EXPECT_TRUE(marked(window, 2)) << letter << ": the first picture shows at first";
        EXPECT_FALSE(marked(window, 1)) << letter;
        window->Skin->Texts()[1]->Label()->Click();
        EXPECT_EQ(host_.pictures.back(), folder_.Path() + "lektion6\\Dia" + letter + "2.jpg");
        EXPECT_TRUE(marked(window, 1)) << letter;
        EXPECT_FALSE(marked(window, 2)) << letter;
        EXPECT_NE(window->Skin->Texts()[1]->Label()->Font()->Color(),
                  window->Skin->Texts()[2]->Label()->Font()->Color());
        window->Skin->Texts()[0]->Label()->Click(); // the next picture: back to 1
        EXPECT_EQ(host_.pictures.back(), folder_.Path() + "lektion6\\Dia" + letter + "1.jpg");
        EXPECT_TRUE(marked(window, 2)) << letter;
        EXPECT_FALSE(marked(window, 1)) << letter;
        if (window == ExtWinB) ExtWinB->BNextClick(ExtWinB->BNext);
    }
    EXPECT_EQ(Showing(), "C");
}

TEST_F(SlidesTest, ChordSamplesPlayAfterStoppingThePlayer) {
    host_.currentLesson = 1;
    WriteSlideSkin(1, 'A',
                   {"$I", "TAG142", "300", "300", "$$", "$I", "TAG143", "400", "300", "$$"});
    Touch("lektion1/Akkord2.wav");
    ExtWinA->OpenSlidesA();
    const auto& pictures = ExtWinA->Skin->Pictures(); // newest first: 143, 142, 110
    EXPECT_EQ(pictures[1]->Image()->Cursor(), crHandPoint);
    host_.mediaPlaying = true;
    host_.stopFails = true;
    pictures[1]->Image()->Click();
    EXPECT_TRUE(host_.calls.contains("StopMediaPlayer"));
    ASSERT_EQ(host_.asked.size(), 1u);
    EXPECT_EQ(host_.asked[0].title, lessons::ErrorText(6));
    EXPECT_EQ(host_.asked[0].body, "player jammed");
    EXPECT_EQ(host_.asked[0].cancel, "");
    EXPECT_EQ(host_.cues.back(), folder_.Path() + "lektion1\\Akkord2.wav");

    const size_t cues = host_.cues.size();
    pictures[0]->Image()->Click(); // Akkord3.wav is missing
    EXPECT_EQ(host_.cues.size(), cues);
}

TEST_F(SlidesTest, VideoLabelsPlayInThePanelAtTheFrame) {
    host_.currentLesson = 1;
    WriteSlideSkin(1, 'A', {"$L", "TAG132", "10", "300", "Arial", "10", "0", "0", "Video"});
    Touch("lektion1/Video2.avi");
    ExtWinA->OpenSlidesA();
    ExtWinA->Skin->Texts().front()->Label()->Click();
    EXPECT_TRUE(host_.calls.contains(
        "PlayVideo lektion1\\Video2.avi lektion1\\Video2.mid 0,0,192,144 at 80,100 VideoPanel"))
        << host_.calls.join("; ").toStdString();
}

TEST_F(SlidesTest, WhileAVideoPlaysEscStopsItAndNothingElseActs) {
    host_.currentLesson = 1;
    WriteSlideSkin(1, 'A', {"$L", "TAG120", "10", "300", "Arial", "10", "0", "0", "weiter"});
    Touch("lektion1/DiaA2.jpg");
    ExtWinA->OpenSlidesA();
    host_.videoPlaying = true;
    host_.cues.clear();

    ExtWinA->Skin->Texts().front()->Label()->Click();
    EXPECT_TRUE(ExtWinA->KeyDown(VK_RETURN, TShiftState()));
    EXPECT_EQ(Showing(), "A");
    EXPECT_TRUE(host_.pictures.empty());
    EXPECT_TRUE(host_.cues.empty());

    EXPECT_TRUE(ExtWinA->KeyDown(VK_ESCAPE, TShiftState()));
    EXPECT_EQ(Showing(), "A");
    EXPECT_EQ(host_.calls, QStringList{"StopMediaPlayer"});
}

TEST_F(SlidesTest, KeysOfTheSlideWindows) {
    host_.currentLesson = 1;
    ExtWinA->OpenSlidesA();
    EXPECT_TRUE(ExtWinA->KeyDown(VK_F4, Shift(ssAlt)));
    EXPECT_EQ(Showing(), "A");
    ExtWinA->KeyDown(VK_F1, TShiftState());
    ExtWinA->KeyDown('T', Shift(ssCtrl));
    EXPECT_EQ(host_.calls, (QStringList{"Help", "Taskbar"}));
    EXPECT_TRUE(ExtWinA->KeyDown(VK_RETURN, TShiftState()));
    EXPECT_EQ(Showing(), "B");
    EXPECT_TRUE(ExtWinB->KeyDown(VK_F4, Shift(ssAlt)));
    EXPECT_EQ(Showing(), "B");
}

TEST_F(SlidesTest, FinishingANewLessonPutsItIntoThePlanSavedAtOnce) {
    host_.lists.Plan[0] = {7, 4, 2};
    host_.lists.Waiting[7].Lesson = 0;
    host_.lists.Waiting[1] = {1, 3, 1};
    host_.currentLesson = 1;
    ExtWinA->OpenSlidesA();
    ExtWinA->BNext->Click();
    ExtWinB->BNext->Click();
    ExtWinC->BNext->Click();
    EXPECT_EQ(Showing(), "");
    EXPECT_EQ(host_.lists.CurrentEntry, 1);
    EXPECT_EQ(host_.lists.Plan[1].Lesson, 1);
    EXPECT_EQ(host_.lists.Plan[1].Level, 3);
    EXPECT_EQ(host_.lists.Plan[1].PlayCount, 1);
    EXPECT_EQ(host_.lists.Waiting[1].Lesson, 0);
    EXPECT_EQ(host_.calls, (QStringList{"Save", "RefreshPlanPanel", "ShowRestartButton",
                                        "OpenLesson 1 entry 1"}));
    ASSERT_EQ(host_.saved.size(), 1u);
    EXPECT_EQ(host_.saved[0].Plan[1].Lesson, 1);
    EXPECT_EQ(host_.saved[0].Waiting[1].Lesson, 0);
    EXPECT_EQ(std::count(host_.cues.begin(), host_.cues.end(), "click"), 3);
}

TEST_F(SlidesTest, AFullPlanTakesNoLesson) {
    host_.lists.Plan = {plan::ListEntry{3, 1, 0}, {4, 1, 0}, {5, 1, 0}};
    host_.currentLesson = 17;
    ExtWinC->OpenSlidesC();
    ExtWinC->BNext->Click();
    EXPECT_EQ(host_.lists.Waiting[17].Lesson, 1);
    EXPECT_EQ(host_.lists.CurrentEntry, 0);
    EXPECT_TRUE(host_.calls.isEmpty());
}

TEST_F(SlidesTest, ReviewFromTheLessonScreenEndsQuietlyAndOtherwiseTheQuizComes) {
    WriteQuizSkin(17);
    host_.currentLesson = 17;
    host_.openedFromLessonScreen = true;
    ExtWinC->OpenSlidesC();
    ExtWinC->BNext->Click();
    EXPECT_EQ(Showing(), "");
    EXPECT_TRUE(host_.calls.isEmpty());

    host_.lists.ClearIntroMode();
    host_.quizIdle = false; // after a failed quiz
    ExtWinC->OpenSlidesC();
    ExtWinC->BNext->Click();
    EXPECT_EQ(Showing(), "Q");
    EXPECT_TRUE(host_.calls.isEmpty());
}

TEST_F(SlidesTest, CancellingANewLessonGoesBackToTheOneBefore) {
    host_.previousLesson = 6;
    host_.currentLesson = 1;
    ExtWinA->OpenSlidesA();
    ExtWinA->BCancel->Click();
    EXPECT_EQ(Showing(), "");
    EXPECT_EQ(host_.currentLesson, 6);
    EXPECT_TRUE(host_.calls.isEmpty());

    // Reviewing from the lesson screen keeps the lesson.
    host_.openedFromLessonScreen = true;
    host_.currentLesson = 1;
    ExtWinB->OpenSlidesB();
    EXPECT_TRUE(ExtWinB->KeyDown(VK_ESCAPE, TShiftState()));
    EXPECT_EQ(Showing(), "");
    EXPECT_EQ(host_.currentLesson, 1);
}

TEST_F(SlidesTest, CancellingAfterAPassedQuizOpensThePlanOrTheNoLessonScreen) {
    host_.quizFinished = true;
    host_.lists.Plan[0] = {8, 2, 1};
    host_.lists.CurrentEntry = 2;
    host_.currentLesson = 9;
    ExtWinA->OpenSlidesA();
    ASSERT_EQ(Showing(), "B"); // lesson 9 passes over A
    ExtWinB->BCancel->Click();
    EXPECT_EQ(host_.currentLesson, 8);
    EXPECT_EQ(host_.calls, QStringList{"OpenLesson 8 entry 0"});

    host_.calls.clear();
    host_.lists.Plan[0].Lesson = -1;
    host_.currentLesson = 10;
    ExtWinC->OpenSlidesC();
    ExtWinC->BCancel->Click();
    EXPECT_EQ(host_.calls, QStringList{"ShowNoLessonScreen"});
}

TEST_F(SlidesTest, SkinBackdropIsTintedTakenOverAndPainted) {
    host_.currentLesson = 1;
    // A 120 × 100 backdrop of the red placeholder at 16, 16 with a blue tint
    // rectangle half over it.
    WriteSlideSkin(1, 'C',
                   {"$S", "TAG250", "16", "16", "40", "40", "16711680", "0", "$I", "TAG200", "16",
                    "16", "$$"});
    ExtWinC->OpenSlidesC();
    EXPECT_FALSE(ExtWinC->Backdrop.Empty());
    EXPECT_EQ(ExtWinC->BackdropLeft, 16);
    EXPECT_EQ(ExtWinC->BackdropTop, 16);
    for (const auto& picture : ExtWinC->Skin->Pictures())
        if (picture->Image()->Tag() == 200) {
            EXPECT_FALSE(picture->Image()->Visible());
        }
    EXPECT_FALSE(ExtWinC->Skin->Shapes().front()->Shape()->Visible());
    QCoreApplication::processEvents();
    ExtWinC->Repaint();
    // Half red, half blue inside the tint; pure red outside it.
    EXPECT_EQ(ExtWinC->Canvas()->Pixel(20, 20), TColor(0x7F0000 | 0x7F));
    EXPECT_EQ(ExtWinC->Canvas()->Pixel(80, 80), TColor(0x0000FF));
}

// A picture that is there but no JPEG: the windows hand it to the main
// window (which tells the learner) and the rest of the skin is built.
TEST_F(SlidesTest, UnreadablePicturesAreHandedToTheMainWindowAndLoadingGoesOn) {
    // Skin pictures are read from the program folder.
    platform::OverrideProgramFolder(folder_.Path());
    struct PutBack {
        ~PutBack() { platform::OverrideProgramFolder(""); }
    } putBack;
    folder_.Write("lektion1/kaputt.jpg", "\xFF\xD8\xFF\xE0 not really a JPEG");
    WriteSlideSkin(1, 'A',
                   {"$I", "0", "0", "lektion1\\kaputt.jpg", "$L", "20", "20", "Arial", "12", "1",
                    "0", "danach"});
    WriteSkin("lektion1/Kontrolle.zs1", "0",
              {"$I", "0", "0", "lektion1\\kaputt.jpg", "$C", "0", "1", "40", "40"});
    host_.currentLesson = 1;
    ExtWinA->OpenSlidesA();
    EXPECT_EQ(Showing(), "A");
    EXPECT_EQ(host_.calls, QStringList{"PictureError lektion1\\kaputt.jpg"});
    EXPECT_EQ(ExtWinA->Skin->Texts().size(), 1u);

    ExtWinA->Hide();
    host_.calls.clear();
    lessons::QuizWin->ShowQuiz();
    EXPECT_EQ(host_.calls, QStringList{"PictureError lektion1\\kaputt.jpg"});
    EXPECT_NE(lessons::QuizWin->Skin->Group(0), nullptr);
}

} // namespace
} // namespace slidestest
