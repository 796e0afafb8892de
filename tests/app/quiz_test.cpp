// The quiz: answers checked against the lesson's key, the five ways a quiz
// ends, the tester key, the keys, and the three answer panels it draws.

#include "tests/app/slidesfixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace slidestest {
namespace {

using namespace platform;
using lessons::CaptionText;
using lessons::MessageText;
using lessons::QuizWin;
using lessons::TQuizWin;

class QuizTest : public SlidesTest {
protected:
    // Lesson 1 is open from plan slot `entry`, lesson 4 waits next.
    void OpenQuizOfLessonOne(int entry = 0, bool answerTexts = false) {
        WriteQuizSkin(1, 3, answerTexts);
        host_.lists.Plan[entry] = {1, 10, 3};
        host_.lists.Waiting[0].Lesson = 0;
        host_.lists.Waiting[1].Lesson = 0;
        host_.lists.Waiting[2].Lesson = 0;
        host_.lists.Waiting[3].Lesson = 0;
        host_.lists.CurrentEntry = entry;
        host_.lists.ClearIntroMode();
        host_.currentLesson = 1;
        QuizWin->ShowQuiz();
        ASSERT_EQ(Showing(), "Q");
        ASSERT_FALSE(host_.quizIdle);
    }
    void TickAll(int a, int b, int c) {
        Tick(1, a);
        Tick(2, b);
        Tick(3, c);
    }
};

TEST_F(QuizTest, LessonOneRightAndWrong) {
    OpenQuizOfLessonOne();
    TickAll(4, 2, 4);
    host_.answers = {2}; // "Nein": stay in the quiz
    QuizWin->BNext->Click();
    EXPECT_EQ(QuizWin->WrongAnswers, 2);
    EXPECT_EQ(Showing(), "Q");
    ASSERT_EQ(host_.asked.size(), 1u);
    EXPECT_EQ(host_.asked[0].title, MessageText(13));
    EXPECT_EQ(host_.asked[0].body, MessageText(14));
    EXPECT_EQ(host_.asked[0].ok, "Ja");
    EXPECT_EQ(host_.asked[0].cancel, "Nein");
    EXPECT_EQ(host_.cues.back(), folder_.Path() + "ClickSounds\\nichtrichtig.wav");
    // The ticks are kept; OK again evaluates again.
    EXPECT_EQ(QuizWin->Skin->Group(1)->Selected(), 2);
    EXPECT_TRUE(host_.saved.empty());

    Tick(2, 3);
    host_.answers = {2}; // do not go on to the next lesson
    QuizWin->BNext->Click();
    EXPECT_EQ(QuizWin->WrongAnswers, 0);
    EXPECT_EQ(Showing(), "");
    EXPECT_EQ(host_.cues.back(), folder_.Path() + "ClickSounds\\allesrichtig.wav");
}

TLabel* AnswerText(int question, int answer) {
    const QString caption = QString("Frage %1 Antwort %2").arg(question).arg(answer);
    for (const auto& text : QuizWin->Skin->Texts())
        if (text->Label()->Caption() == caption) return text->Label();
    return nullptr;
}

void ClickAt(QWidget* widget, QPoint at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

// An answer is ticked by a click on its text, or on its row right of the
// text; the question's own text ticks nothing. After a failed "OK" the
// questions answered wrongly are marked until the quiz is shown anew.
TEST_F(QuizTest, AnswerTextsTickTheirBoxesAndWrongAnswersAreMarked) {
    OpenQuizOfLessonOne(0, true);
    TLabel* answer = AnswerText(1, 4);
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->Cursor(), crHandPoint);
    answer->Click();
    EXPECT_EQ(QuizWin->Skin->Group(0)->Selected(), 4);
    const TRect panel = TQuizWin::AnswerPanels(QuizWin->Width(), QuizWin->Height())[1];
    TLabel* second = AnswerText(2, 2);
    ASSERT_NE(second, nullptr);
    EXPECT_GT(second->Left() + second->Width(), panel.Right - 20) << "the row is the panel's width";
    ClickAt(second, QPoint(second->Width() - 4, second->Height() / 2));
    EXPECT_EQ(QuizWin->Skin->Group(1)->Selected(), 2);
    AnswerText(3, 4)->Click();
    EXPECT_EQ(QuizWin->Skin->Group(2)->Selected(), 4);
    QuizWin->Skin->Texts().back()->Label()->Click(); // "Frage"
    EXPECT_EQ(QuizWin->Skin->Group(0)->Selected(), 4);

    const QColor accent(0xD9, 0x62, 0x2B);
    auto framed = [](int question) {
        const TRect p = TQuizWin::AnswerPanels(QuizWin->Width(), QuizWin->Height())[question];
        return QuizWin->Canvas()->Image().pixelColor(p.Left - 1, (p.Top + p.Bottom) / 2);
    };
    QuizWin->FormPaint(QuizWin);
    EXPECT_NE(framed(1), accent);
    host_.answers = {2}; // "Nein": stay in the quiz
    QuizWin->BNext->Click();
    ASSERT_EQ(QuizWin->WrongAnswers, 2);
    EXPECT_EQ(QuizWin->MarkedWrong, 2);
    QuizWin->FormPaint(QuizWin); // as the next paint event does
    EXPECT_EQ(framed(1), accent);
    EXPECT_NE(framed(0), accent);
    EXPECT_NE(framed(2), accent);

    QuizWin->ShowQuiz();
    QuizWin->FormPaint(QuizWin);
    EXPECT_EQ(QuizWin->MarkedWrong, 0);
    EXPECT_NE(framed(1), accent);
}

// Every evaluation goes to the host for the practice journal, with the
// box ticked in each question; a quiz without questions is no attempt.
TEST_F(QuizTest, EachEvaluationIsHandedOnWithItsTicks) {
    OpenQuizOfLessonOne();
    Tick(1, 4);
    Tick(3, 4);
    host_.answers = {2};
    QuizWin->BNext->Click();
    TickAll(4, 3, 4);
    host_.answers = {2};
    QuizWin->BNext->Click();
    EXPECT_EQ(host_.quizzes, (QStringList{"1 failed 4 0 4", "1 passed 4 3 4"}));

    WriteQuizSkin(1, 0);
    host_.quizzes.clear();
    QuizWin->ShowQuiz();
    QuizWin->BNext->Click();
    EXPECT_TRUE(host_.quizzes.isEmpty());
}

TEST_F(QuizTest, AQuestionLeftUntickedOrWithoutGroupIsWrong) {
    WriteQuizSkin(1);
    host_.currentLesson = 1;
    QuizWin->ShowQuiz();
    Tick(1, 4);
    Tick(3, 4);
    EXPECT_EQ(lessons::CheckAnswers(*QuizWin->Skin, {4, 3, 4}), 2);
    Tick(2, 3);
    EXPECT_EQ(lessons::CheckAnswers(*QuizWin->Skin, {4, 3, 4}), 0);
    EXPECT_EQ(lessons::CheckAnswers(*QuizWin->Skin, {4, 3, 7}), 4); // no such box

    WriteQuizSkin(1, 1); // question 1 only
    QuizWin->ShowQuiz();
    Tick(1, 4);
    EXPECT_EQ(lessons::CheckAnswers(*QuizWin->Skin, {4, 3, 4}), 6);
}

TEST_F(QuizTest, PassedWithALessonWaitingIntroducesItOnOk) {
    OpenQuizOfLessonOne(1);
    host_.lists.Plan[0] = {7, 5, 1};
    host_.openedFromLessonScreen = true;
    TickAll(4, 3, 4);
    host_.answers = {1};
    QuizWin->BNext->Click();
    ASSERT_EQ(host_.asked.size(), 1u);
    EXPECT_EQ(host_.asked[0].title, MessageText(11));
    EXPECT_EQ(host_.asked[0].body, MessageText(12));
    EXPECT_EQ(host_.asked[0].ok, CaptionText(5));
    EXPECT_EQ(host_.asked[0].cancel, CaptionText(6));
    // The lesson left the plan and that was saved before anything else.
    EXPECT_EQ(host_.calls.mid(0, 3),
              (QStringList{"ClearLessonScreen", "Save", "RefreshPlanPanel"}));
    ASSERT_EQ(host_.saved.size(), 1u);
    EXPECT_EQ(host_.saved[0].Plan[0].Lesson, 7);
    EXPECT_EQ(host_.saved[0].Plan[1].Lesson, -1);
    // Lesson 4 is introduced: lesson 4 passes over A, so B shows.
    EXPECT_EQ(host_.currentLesson, 4);
    EXPECT_EQ(Showing(), "B");
    EXPECT_TRUE(host_.quizIdle);
    EXPECT_TRUE(host_.quizFinished);
    EXPECT_FALSE(host_.openedFromLessonScreen);
    EXPECT_TRUE(host_.lists.IntroMode());
}

TEST_F(QuizTest, PassedWithALessonWaitingGoesOnWithThePlanOnCancel) {
    OpenQuizOfLessonOne(1);
    host_.lists.Plan[0] = {7, 5, 1};
    TickAll(4, 3, 4);
    QuizWin->BNext->Click(); // the box is answered with cancel
    EXPECT_EQ(Showing(), "");
    EXPECT_EQ(host_.currentLesson, 7);
    EXPECT_EQ(host_.calls.back(), "OpenLesson 7 entry 0");
    EXPECT_TRUE(host_.quizIdle);
    EXPECT_FALSE(host_.quizFinished);

    host_.calls.clear();
    host_.lists.Plan[0].Lesson = -1;
    host_.lists.Plan[1] = {1, 10, 3};
    host_.lists.CurrentEntry = 1;
    host_.currentLesson = 1;
    QuizWin->ShowQuiz();
    TickAll(4, 3, 4);
    QuizWin->BNext->Click();
    EXPECT_EQ(host_.calls.back(), "ShowNoLessonScreen");
}

TEST_F(QuizTest, PassedWithNothingWaitingAndAnEmptyPlanEndsTheCourse) {
    OpenQuizOfLessonOne();
    for (plan::ListEntry& entry : host_.lists.Waiting)
        entry.Lesson = 0;
    TickAll(4, 3, 4);
    host_.answers = {1};
    QuizWin->BNext->Click();
    EXPECT_EQ(Showing(), "");
    EXPECT_EQ(host_.currentLesson, -1);
    EXPECT_EQ(host_.calls,
              (QStringList{"ClearLessonScreen", "Save", "RefreshPlanPanel", "ShowNoLessonScreen"}));
    ASSERT_EQ(host_.asked.size(), 1u);
    EXPECT_EQ(host_.asked[0].title, MessageText(11));
    EXPECT_EQ(host_.asked[0].body, MessageText(8));
    EXPECT_EQ(host_.asked[0].cancel, "");
    EXPECT_EQ(host_.asked[0].ok, CaptionText(1));
    EXPECT_EQ(host_.saved.back().Plan[0].Lesson, -1);
}

TEST_F(QuizTest, PassedWithNothingWaitingOpensTheFirstLessonOfThePlan) {
    OpenQuizOfLessonOne(2);
    host_.lists.Plan[0] = {25, 6, 0};
    host_.lists.Plan[1] = {26, 2, 0};
    for (plan::ListEntry& entry : host_.lists.Waiting)
        entry.Lesson = 0;
    TickAll(4, 3, 4);
    QuizWin->BNext->Click();
    ASSERT_EQ(host_.asked.size(), 1u);
    EXPECT_EQ(host_.asked[0].body, " ");
    EXPECT_EQ(host_.calls.back(), "OpenLesson 25 entry 0");
    EXPECT_EQ(Showing(), "");
}

TEST_F(QuizTest, FailedAndYesGoesThroughTheSlidesAndTheQuizComesBackUnticked) {
    OpenQuizOfLessonOne();
    TickAll(1, 1, 1);
    host_.answers = {1}; // "Ja"
    QuizWin->BNext->Click();
    EXPECT_EQ(QuizWin->WrongAnswers, 7);
    EXPECT_EQ(Showing(), "A");
    EXPECT_FALSE(host_.quizIdle);
    lessons::ExtWinA->BNext->Click();
    lessons::ExtWinB->BNext->Click();
    lessons::ExtWinC->BNext->Click();
    EXPECT_EQ(Showing(), "Q");
    for (int question = 0; question < 3; ++question)
        EXPECT_EQ(QuizWin->Skin->Group(question)->Selected(), 0);
    EXPECT_EQ(host_.lists.Plan[0].Lesson, 1); // nothing changed in the plan
    EXPECT_TRUE(host_.saved.empty());
}

TEST_F(QuizTest, AQuizWithoutQuestionsEndsNotPassedAndChangesNothing) {
    host_.lists.Plan[0] = {1, 10, 3};
    host_.lists.CurrentEntry = 0;
    host_.currentLesson = 1; // no quiz skin at all
    QuizWin->WrongAnswers = 0;
    QuizWin->ShowQuiz();
    QuizWin->BNext->Click();
    ASSERT_EQ(host_.asked.size(), 1u);
    EXPECT_EQ(host_.asked[0].title, MessageText(13));
    EXPECT_EQ(host_.asked[0].body, MessageText(14));
    EXPECT_EQ(host_.asked[0].cancel, "");
    EXPECT_EQ(host_.asked[0].ok, "OK");
    EXPECT_EQ(Showing(), "");
    EXPECT_TRUE(host_.quizIdle);
    EXPECT_TRUE(host_.calls.isEmpty());
    EXPECT_EQ(host_.lists.Plan[0].Lesson, 1);
    EXPECT_EQ(host_.currentLesson, 1);
}

TEST_F(QuizTest, TesterKeyPassesWhateverIsTicked) {
    OpenQuizOfLessonOne();
    EXPECT_FALSE(QuizWin->KeyDown('K', Shift(ssShift)));
    EXPECT_TRUE(host_.asked.empty());
    QuizWin->KeyDown('K', Shift(ssShift | ssAlt));
    EXPECT_TRUE(QuizWin->PassKey);
    EXPECT_EQ(host_.lists.Plan[0].Lesson, -1);
    EXPECT_EQ(host_.asked.at(0).title, MessageText(11));
    // A new quiz forgets the key.
    QuizWin->ShowQuiz();
    EXPECT_FALSE(QuizWin->PassKey);
}

TEST_F(QuizTest, KeysCancelAndAltF4) {
    OpenQuizOfLessonOne();
    EXPECT_TRUE(QuizWin->KeyDown(VK_F4, Shift(ssAlt)));
    EXPECT_EQ(Showing(), "Q");
    QuizWin->KeyDown(VK_F1, TShiftState());
    QuizWin->KeyDown('T', Shift(ssShift));
    EXPECT_EQ(host_.calls, (QStringList{"Help", "Taskbar"}));
    EXPECT_TRUE(QuizWin->KeyDown(VK_ESCAPE, TShiftState()));
    EXPECT_EQ(Showing(), "");
    EXPECT_TRUE(host_.quizIdle);
    EXPECT_TRUE(host_.cues.empty()); // cancelling makes no sound
    EXPECT_EQ(host_.lists.Plan[0].Lesson, 1);
}

TEST_F(QuizTest, ButtonsAndAnswerPanelsPixelForPixel) {
    EXPECT_EQ(QuizWin->BNext->Top(), 551);
    EXPECT_EQ(QuizWin->BCancel->Top(), 521);
    EXPECT_EQ(QuizWin->BHilfe->Top(), 491);
    EXPECT_EQ(QuizWin->BNext->Left(), 691);
    EXPECT_EQ(QuizWin->BNext->Width(), 85);
    EXPECT_EQ(QuizWin->BNext->Text(), "OK");
    const auto panels = lessons::TQuizWin::AnswerPanels(800, 600);
    EXPECT_EQ(panels[0], Rect(30, 30, 395, 295));
    EXPECT_EQ(panels[1], Rect(404, 30, 770, 295));
    EXPECT_EQ(panels[2], Rect(30, 304, 395, 570));

    OpenQuizOfLessonOne();
    QCoreApplication::processEvents();
    QuizWin->Repaint();
    TCanvas* canvas = QuizWin->Canvas();
    const TColor frame = 7512020, shade = 6129341, light = 10993114, white = 0xFFFFFF;
    // Panel 1: (30, 30, 395, 295).
    EXPECT_EQ(canvas->Pixel(30, 30), frame);
    EXPECT_EQ(canvas->Pixel(394, 294), frame);
    EXPECT_EQ(canvas->Pixel(31, 200), shade); // inner rectangle's left edge
    EXPECT_EQ(canvas->Pixel(32, 200), shade); // the second shaded column
    EXPECT_EQ(canvas->Pixel(200, 31), shade);
    EXPECT_EQ(canvas->Pixel(200, 32), shade);  // the second shaded row
    EXPECT_EQ(canvas->Pixel(200, 293), light); // bottom light line
    EXPECT_EQ(canvas->Pixel(393, 200), light); // right light line
    EXPECT_EQ(canvas->Pixel(393, 293), shade); // lines stop before their end
    EXPECT_EQ(canvas->Pixel(392, 200), white);
    EXPECT_EQ(canvas->Pixel(200, 292), white);
    // Panel 3 ends 30 pixels above the bottom; panel 2 30 from the right.
    EXPECT_EQ(canvas->Pixel(30, 569), frame);
    EXPECT_EQ(canvas->Pixel(769, 30), frame);
}

} // namespace
} // namespace slidestest
