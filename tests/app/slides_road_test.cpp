// The road of a new learner through the real program on a display of its
// own, driven only by real pointer clicks and key presses: a fresh start,
// "Neue Übung", lesson 0's slides with Enter, the lesson in the plan, its
// quiz passed with the right boxes, the next lesson's slides, lesson 1 open,
// the way out through the exit dialog; the list files then hold exactly that,
// and the next start shows it.
//
// Message boxes are real: the program reports each one on standard error and
// leaves it open (its automatic answer would come only after ten minutes),
// and the test clicks its button. Which windows are up is read from the X
// server (the top-level windows in their stacking order), so every step waits
// for the state it leads to.

#include "layout/screenlayout.h"
#include "lessons/registrydata.h"
#include "lessons/skinloader.h"
#include "lessons/skinreader.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "sprachbank/sprachbank.h"
#include "tests/support/realprogram.h"

#include <QFile>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>

namespace {

using testsupport::RealProgram;
using testsupport::WaitFor;
using testsupport::XDriver;
using testsupport::XvfbServer;
using ShownWindow = XDriver::ShownWindow;

constexpr QSize kScreen{1024, 768};
constexpr int kDialogButtonGap = 12; // at most, between a dialog's centre and its buttons

QString Message(int number) {
    return platform::FromAnsi(DLL_GetMessage(number));
}

QPoint Middle(QPoint topLeft, QSize size) {
    return topLeft + QPoint(size.width() / 2, size.height() / 2);
}

// Where the learner clicks, in main-window coordinates.
const QPoint kNewExercise =
    layout::ToolPanel.topLeft() +
    Middle({layout::PlanSelectLeft, layout::PlanBottomButtonsTop}, layout::PlanButton);
const QPoint kPlanRow0 =
    layout::ToolPanel.topLeft() +
    Middle({layout::PlanSelectLeft, layout::PlanFirstRowTop}, layout::PlanButton);
const QPoint kKontrolle = Middle(layout::BKontrolle, layout::Button);
const QPoint kBeenden = Middle(layout::BBeenden, layout::Button);
const QPoint kQuizOk = Middle(
    {layout::QuizButtonsLeft, layout::QuizButtonsBottom - layout::Button.height()}, layout::Button);

// The right box of each question of a lesson's quiz, in window coordinates,
// read from the course's quiz skin and the lesson's answer key.
std::vector<QPoint> RightBoxes(int lesson) {
    std::vector<QPoint> boxes;
    QFile file(QString::fromStdString(
        platform::ResolveAnsiPath(testsupport::BinFolder() + lessons::QuizFile(lesson))));
    if (!file.open(QIODevice::ReadOnly)) return boxes;
    const std::vector<std::string> lines = lessons::SplitSkinLines(file.readAll().toStdString());
    lessons::SkinReader reader(lines);
    std::map<int, lessons::SkinGroupRecord> groups;
    while (const std::optional<lessons::SkinRecord> record = reader.Next())
        if (const auto* group = std::get_if<lessons::SkinGroupRecord>(&*record))
            groups[group->index] = *group;
    const std::array<int, 3> key = lessons::LessonValuesOf(lesson).AnswerKey;
    for (int question = 0; question < 3; ++question) {
        const auto& positions = groups[question].boxes;
        const int box = key[question] - 1;
        if (box < 0 || box >= int(positions.size())) return {};
        const int half = lessons::CheckGroup::kBoxSize / 2;
        boxes.emplace_back(positions[box].first + half, positions[box].second + half);
    }
    return boxes;
}

class NewLearnerOnTheDesktop : public ::testing::Test {
protected:
    enum class Button { Left, Right, Only };

    void SetUp() override {
        if (!xvfb_.Start(kScreen.width(), kScreen.height())) GTEST_SKIP() << "no Xvfb";
        x_ = std::make_unique<XDriver>(xvfb_.Display());
        if (!x_->Ready()) GTEST_SKIP() << "no XTest on the display";
        program_.SetEnv("ZUPFARI_AUTOANSWER", "600000:2");
    }

    std::string Report() { return program_.Stderr().toStdString(); }

    // The main window is centred on the screen.
    QPoint Origin() const {
        return {(kScreen.width() - layout::MainWindow.width()) / 2,
                (kScreen.height() - layout::MainWindow.height()) / 2};
    }
    void Click(QPoint inWindow) {
        const QPoint at = Origin() + inWindow;
        x_->Click(at.x(), at.y());
    }

    std::vector<ShownWindow> Shown(QSize size) {
        std::vector<ShownWindow> shown;
        for (const ShownWindow& window : x_->ShownWindows())
            if (window.width == size.width() && window.height == size.height())
                shown.push_back(window);
        return shown;
    }
    // The uppermost of the 800 x 600 windows (main, slides, quiz), 0 for none.
    unsigned long Top() {
        const std::vector<ShownWindow> shown = Shown(layout::MainWindow);
        return shown.empty() ? 0 : shown.back().id;
    }
    // Waits until the uppermost window is one not seen before; returns it
    // (0 when none came).
    unsigned long WaitForNewTop(std::set<unsigned long>& seen) {
        unsigned long top = 0;
        if (!WaitFor([&] {
                top = Top();
                return top != 0 && seen.count(top) == 0;
            }))
            return 0;
        seen.insert(top);
        return top;
    }
    bool WaitForTop(unsigned long window) {
        return WaitFor([&] { return Top() == window; });
    }
    // Presses a key once `window` is uppermost and has the keyboard (the
    // program hands it the focus shortly after it shows).
    ::testing::AssertionResult KeyIn(unsigned long window, const char* key) {
        if (!WaitFor([&] { return Top() == window && x_->FocusWindow() == window; }))
            return ::testing::AssertionFailure() << "window " << window << " never had the keys";
        if (!x_->Key(key)) return ::testing::AssertionFailure() << "no key " << key;
        return ::testing::AssertionSuccess();
    }

    // Waits for the next message box with `title`, then clicks `button`
    // and waits until the box is gone.
    ::testing::AssertionResult AnswerBox(const QString& title, Button button) {
        const QString marker = "ZUPFARI-BOX " + title + " |";
        const bool reported =
            WaitFor([&] { return program_.Stderr().indexOf(marker, reportRead_) >= 0; });
        if (!reported) return ::testing::AssertionFailure() << "no box " << title.toStdString();
        reportRead_ = program_.Stderr().indexOf(marker, reportRead_) + marker.size();
        return ClickDialog(button);
    }
    // Clicks a button of the dialog on the screen (message box or exit
    // dialog) and waits until it has gone.
    ::testing::AssertionResult ClickDialog(Button button) {
        ShownWindow dialog;
        if (!WaitFor([&] {
                const std::vector<ShownWindow> shown = Shown(layout::DialogWindow);
                if (!shown.empty()) dialog = shown.back();
                return !shown.empty();
            }))
            return ::testing::AssertionFailure() << "no dialog on the screen";
        const int half = layout::DialogWindow.width() / 2;
        const int offset = kDialogButtonGap + layout::DialogButton.width() / 2;
        const int x = button == Button::Only   ? half
                      : button == Button::Left ? half - offset
                                               : half + offset;
        const int y = layout::DialogWindow.height() - 12 - layout::DialogButton.height() / 2;
        x_->Click(dialog.left + x, dialog.top + y);
        // Gone (another dialog may follow at once).
        auto gone = [&] {
            for (const ShownWindow& window : Shown(layout::DialogWindow))
                if (window.id == dialog.id) return false;
            return true;
        };
        if (!WaitFor(gone)) return ::testing::AssertionFailure() << "the dialog stayed";
        return ::testing::AssertionSuccess();
    }

    // Starts the program and says "Nein" to its start question; returns the
    // main window.
    unsigned long StartAndGreet() {
        program_.ClearStderr();
        reportRead_ = 0;
        if (!program_.Start("xcb", xvfb_.Display())) return 0;
        if (!AnswerBox(Message(4), Button::Right)) return 0;
        if (!WaitFor([&] { return program_.Stderr().contains("ZUPFARI-TIME greeting"); })) return 0;
        const std::vector<ShownWindow> shown = Shown(layout::MainWindow);
        if (shown.size() != 1) return 0;
        EXPECT_EQ(QPoint(shown[0].left, shown[0].top), Origin());
        return shown[0].id;
    }

    // "Beenden", "Nein" to the web question, "Ja" in the exit dialog.
    void LeaveThroughTheExitDialog() {
        Click(kBeenden);
        ASSERT_TRUE(AnswerBox(Message(5), Button::Right));
        ASSERT_TRUE(ClickDialog(Button::Left));
        ASSERT_TRUE(program_.WaitForEnd(20000)) << Report();
        EXPECT_EQ(program_.Process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program_.Process().exitCode(), 0);
    }

    // Plan slot 0 as written: its lesson line.
    QString PlanSlot0() const { return program_.ListLines("ListeUeplan.ztl").value(1); }

    void ExpectListsOnDisk() {
        // Lesson 1 in the plan at level 1 without passes, lessons 0 and 1
        // taken from the waiting list, every other lesson waiting.
        EXPECT_EQ(program_.ListLines("ListeUeplan.ztl"),
                  (QStringList{"3", "1", "1", "0", "-1", "1", "0", "-1", "1", "0", ""}));
        QStringList waiting{"3"};
        for (int lesson = 0; lesson < 30; ++lesson)
            waiting << (lesson < 2 ? "0" : "1") << "1"
                    << "0";
        waiting << "";
        EXPECT_EQ(program_.ListLines("ListeWarten.ztl"), waiting);
    }

    testsupport::ScopedEnv german_{"SPRACHBANK_LANGUAGE", "0"};
    XvfbServer xvfb_;
    std::unique_ptr<XDriver> x_;
    RealProgram program_;
    int reportRead_ = 0;
};

TEST_F(NewLearnerOnTheDesktop, FirstLessonQuizNextLessonExitAndTheNextStart) {
    const std::vector<QPoint> rightBoxes = RightBoxes(0);
    ASSERT_EQ(rightBoxes.size(), 3u) << "lesson 0's quiz skin or answer key";

    const unsigned long main = StartAndGreet();
    ASSERT_NE(main, 0u) << Report();
    EXPECT_TRUE(program_.ListLines("ListeUeplan.ztl").isEmpty()); // a fresh data folder

    // "Neue Übung": lesson 0's windows A, B and C, each left with Enter.
    std::set<unsigned long> seen{main};
    Click(kNewExercise);
    std::vector<unsigned long> slides;
    for (int window = 0; window < 3; ++window) {
        slides.push_back(WaitForNewTop(seen));
        ASSERT_NE(slides.back(), 0u) << "slide window " << window << "\n" << Report();
        ASSERT_TRUE(KeyIn(slides.back(), "Return"));
    }
    // Lesson 0 is in the plan (on disk at once) and open.
    ASSERT_TRUE(WaitForTop(main)) << Report();
    ASSERT_TRUE(WaitFor([&] { return PlanSlot0() == "0"; })) << Report();

    // Its quiz opens at once; the right boxes and "OK" pass it: the lesson
    // leaves the plan (on disk while the question is still open), and "OK"
    // to the question introduces the next lesson.
    Click(kKontrolle);
    const unsigned long quiz = WaitForNewTop(seen);
    ASSERT_NE(quiz, 0u) << Report();
    for (const QPoint& box : rightBoxes)
        Click(box);
    Click(kQuizOk);
    ASSERT_TRUE(WaitFor([&] { return PlanSlot0() == "-1"; })) << Report();
    ASSERT_TRUE(AnswerBox(Message(11), Button::Left)) << Report();

    // Lesson 1's slides in the same windows, then lesson 1 is in the plan.
    for (unsigned long window : slides)
        ASSERT_TRUE(KeyIn(window, "Return")) << Report();
    ASSERT_TRUE(WaitForTop(main)) << Report();
    ASSERT_TRUE(WaitFor([&] { return PlanSlot0() == "1"; })) << Report();
    // Lesson 1 is open: its quiz asks for three passes first.
    Click(kKontrolle);
    ASSERT_TRUE(AnswerBox(Message(9), Button::Only)) << Report();

    ASSERT_NO_FATAL_FAILURE(LeaveThroughTheExitDialog());
    ExpectListsOnDisk();

    // The next start: lesson 1 waits in the plan's first row; opened from
    // there it asks for its passes. "Neue Übung" offers lesson 2 (its
    // slides begin in window B); abandoned with Esc, lesson 1 stays open.
    const unsigned long again = StartAndGreet();
    ASSERT_NE(again, 0u) << Report();
    Click(kPlanRow0);
    Click(kKontrolle);
    ASSERT_TRUE(AnswerBox(Message(9), Button::Only)) << Report();
    std::set<unsigned long> seenAgain{again};
    Click(kNewExercise);
    const unsigned long lesson2 = WaitForNewTop(seenAgain);
    ASSERT_NE(lesson2, 0u) << Report();
    ASSERT_TRUE(KeyIn(lesson2, "Escape")) << Report();
    ASSERT_TRUE(WaitForTop(again)) << Report();
    Click(kKontrolle);
    ASSERT_TRUE(AnswerBox(Message(9), Button::Only)) << Report();

    ASSERT_NO_FATAL_FAILURE(LeaveThroughTheExitDialog());
    ExpectListsOnDisk();
}

} // namespace
