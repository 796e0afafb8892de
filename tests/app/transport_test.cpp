// The transport on the real main window with stand-in lesson content and a
// fake engine whose beat counter the test moves: Play with its pre-roll, the
// poll, the end of a pass, Pause, Stop, Loop, bars, the locator, the tempo
// bar and the passes that count toward the quiz.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "layout/screenlayout.h"
#include "lessons/registrydata.h"
#include "playback/beatdisplay.h"
#include "playback/exerciseengine.h"
#include "tests/app/shellfixture.h"
#include "tests/lessons/lessonfixture.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace shelltest {
namespace {

using namespace platform;

// An engine that plays nothing: the test sets its beat counter and status.
class FakeEngine : public FakeDevices {
public:
    std::vector<std::string> loads;
    std::vector<int> starts;
    int beats = 0;
    int status = 2;
    bool failLoad = false;
    bool failStart = false;

    int LoadFile(const std::string& path) override {
        loads.push_back(path);
        return failLoad ? 0 : 1;
    }
    int Start(int start) override {
        if (failStart) return 0;
        starts.push_back(start);
        beats = start / 8;
        status = 1;
        return 1;
    }
    int Pause() override {
        status = 3;
        return beats;
    }
    int Stop() override {
        status = 2;
        return 1;
    }
    bool IsRunning() override { return status == 1; }
    int Status() override { return status; }
    int Beats() override { return beats; }
};

// Counts the passes the transport starts and plays through.
struct PassCounter : playback::TransportObserver {
    int started = 0;
    int playedThrough = 0;
    void PassStarted(const playback::PassInfo&) override { ++started; }
    void PassPlayedThrough(const playback::PassInfo&) override { ++playedThrough; }
};

class TransportTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        std::vector<std::string> own = lessontest::CourseFolders();
        UseProgramFolderWithout(own);
        folder_ = programCopy_->Path();
    }

    // Opens `lesson` at `level` on a main window whose transport is real and
    // plays through the fake engine; the pre-roll runs on a clock that moves
    // only while it waits.
    void Open(int lesson, int level, int playCount = 0) {
        lessontest::WriteLessonScreen(folder_, lesson);
        lessontest::WriteExercises(folder_, lesson);
        fake_.devices = devices_.devices;
        engine_ = &fake_;
        services_.Engine = engine_;
        CreateWindows();
        form_->realTransport = true;
        // The pre-roll's clock runs ahead: it ends as soon as it begins.
        form_->Transport->PreRollBlink().Now = [this] { return clock_ += 10000; };
        form_->Transport->AddObserver(&passes_);
        ShowMainWindow();
        form_->Lists->CurrentEntry = 0;
        form_->Lists->Plan[0] = {lesson, level, playCount};
        form_->Course->SetCurrentLesson(lesson);
        form_->OpenLesson();
    }

    // The poll with the engine at `beats`.
    void PollAt(int beats) {
        engine_->beats = beats;
        form_->TimerPC1Timer(form_->Keys->Poll);
    }
    // The rest of a pass: every beat from `from` on, then the end.
    void PlayToEnd(int from = 0) {
        const int last = form_->Course->CountInBeats() + form_->Transport->Record().TotalBeats;
        for (int b = from; b < last; ++b) PollAt(b);
        engine_->status = 2;
        PollAt(last);
    }
    bool Ready() const {
        return form_->BPlay->Enabled() && !form_->BStop->Enabled() && !form_->BPause->Enabled() &&
               !form_->Keys->Poll->Enabled();
    }
    // The play count of the plan's first entry as the list file on disk holds it.
    int StoredPlayCount() const {
        plan::ListEntry plan[plan::ListStore::kPlanSlots];
        if (!plan::ListStore::ReadList(plan, plan::ListStore::kPlanSlots,
                                       DataFolder() + "Listen/ListeUeplan.ztl"))
            return -1;
        return plan[0].PlayCount;
    }

    FakeEngine fake_;
    FakeEngine* engine_ = nullptr;
    PassCounter passes_;
    std::string folder_;
    std::uint32_t clock_ = 5000;
};

// A pass counts once it has been played through, and is stored at once: a
// start alone (the program killed while it plays) counts nothing.
TEST_F(TransportTest, AWholePassAtTheTopLevelCountsWhenPlayedThroughAndIsStoredAtOnce) {
    Open(1, 10, 1);
    form_->BPlayClick(form_->BPlay);
    EXPECT_EQ(passes_.started, 1);
    ASSERT_EQ(engine_->starts, std::vector<int>{0});
    EXPECT_TRUE(engine_->loads.back().find("uebung1_10.mid") != std::string::npos);
    EXPECT_EQ(form_->Course->PlayCount(), 1);
    EXPECT_EQ(StoredPlayCount(), 1);
    EXPECT_TRUE(form_->BStop->Enabled());
    EXPECT_FALSE(form_->BPlay->Enabled());
    PlayToEnd();
    EXPECT_EQ(form_->Course->PlayCount(), 2);
    EXPECT_EQ(StoredPlayCount(), 2);
    EXPECT_TRUE(Ready());
}

// The LED column reads the exercise beat: from Play until the first poll it
// must say "count-in", also after a pass that ended on its last beat.
TEST_F(TransportTest, EveryPassStartsWithTheLedColumnWaitingForTheCountIn) {
    Open(1, 10);
    for (int pass = 0; pass < 2; ++pass) {
        form_->BPlayClick(form_->BPlay);
        EXPECT_EQ(form_->Transport->ExerciseBeat(), -form_->Course->CountInBeats()) << "pass " << pass;
        PlayToEnd();
        ASSERT_TRUE(Ready());
    }
}

TEST_F(TransportTest, APassStoppedOrPausedBeforeTheEndDoesNotCount) {
    Open(1, 10, 0);
    form_->BPlayClick(form_->BPlay);
    PollAt(form_->Course->CountInBeats() + 2);
    form_->BStopClick(form_->BStop);
    EXPECT_EQ(form_->Course->PlayCount(), 0);
    EXPECT_EQ(StoredPlayCount(), 0);
    EXPECT_TRUE(Ready());

    form_->BPlayClick(form_->BPlay);
    PollAt(form_->Course->CountInBeats() + 1);
    form_->BPauseClick(form_->BPause);
    EXPECT_TRUE(form_->Transport->Paused());
    // Taken up again, the pass no longer started at the first beat.
    form_->BPauseClick(form_->BPause);
    PlayToEnd(form_->Course->CountInBeats() + 1);
    EXPECT_EQ(form_->Course->PlayCount(), 0);
    EXPECT_EQ(StoredPlayCount(), 0);
    EXPECT_EQ(passes_.playedThrough, 1);
}

// A start the engine refuses is told; the transport is Ready again and
// nothing counts.
TEST_F(TransportTest, AStartTheEngineRefusesIsToldAndCountsNothing) {
    Open(1, 10, 1);
    asked_.clear();
    const int stored = StoredPlayCount();
    engine_->failStart = true;
    form_->BPlayClick(form_->BPlay);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, app::ErrorText(100));
    EXPECT_EQ(asked_[0].body, app::ErrorText(101));
    EXPECT_TRUE(Ready());
    EXPECT_FALSE(form_->BStop->Enabled());
    EXPECT_EQ(passes_.started, 0);
    EXPECT_EQ(form_->Course->PlayCount(), 1);
    EXPECT_EQ(StoredPlayCount(), stored);
}

TEST_F(TransportTest, BelowTheTopLevelNothingCounts) {
    Open(1, 9, 2);
    form_->BPlayClick(form_->BPlay);
    PlayToEnd();
    EXPECT_EQ(form_->Course->PlayCount(), 2);
    EXPECT_EQ(form_->Lists->Plan[0].Level, 9);
}

TEST_F(TransportTest, ASecondPauseResumesFromThePausedBeatAfterANewPreRoll) {
    Open(1, 5);
    form_->BPlayClick(form_->BPlay);
    const int countIn = form_->Course->CountInBeats();
    PollAt(countIn + 5);
    form_->BPauseClick(form_->BPause);
    EXPECT_EQ(form_->Transport->PauseBeat(), 5);
    EXPECT_TRUE(form_->BPlay->Enabled());
    EXPECT_TRUE(form_->BPause->Enabled());
    form_->BPauseClick(form_->BPause);
    EXPECT_EQ(passes_.started, 2);
    ASSERT_EQ(engine_->starts.size(), 2u);
    EXPECT_EQ(engine_->starts[1], (countIn + 5) * 8);
    EXPECT_FALSE(form_->Transport->Paused());
    EXPECT_EQ(form_->PlayCursor->Position, 5);
}

TEST_F(TransportTest, ThePointFollowsTheBeatAndTheCountInDigitGoesAway) {
    Open(1, 5);
    const playback::CursorGeometry geometry = form_->Transport->Lesson().Geometry;
    form_->BPlayClick(form_->BPlay);
    const int countIn = form_->Course->CountInBeats();
    // Count-in: a large digit appears over the lesson screen.
    const QImage before = form_->Canvas()->Image().copy();
    PollAt(1);
    const TPoint place = form_->Transport->CountInDigitPlace();
    const QRect digit(place.X, place.Y, form_->Transport->Digit().Background.Width(),
                      form_->Transport->Digit().Background.Height());
    // Large enough to read from a guitar's distance: about a third of the
    // lesson screen's height, inside the screen's text column.
    EXPECT_GE(digit.height() * 3, layout::LessonScreen.height() * 9 / 10);
    EXPECT_TRUE(layout::CountInArea.contains(digit));
    EXPECT_NE(form_->Canvas()->Image().copy(digit), before.copy(digit));
    // No label of the lesson screen lies over the digit: its plate is shown
    // above the window's controls.
    const platform::TImage* cover = form_->Transport->Digit().Cover;
    ASSERT_NE(cover, nullptr);
    EXPECT_TRUE(cover->isVisibleTo(form_));
    EXPECT_EQ(cover->geometry(), digit);
    for (const QPoint at : {digit.center(), digit.topLeft() + QPoint(4, 4), digit.bottomRight() - QPoint(4, 4)})
        EXPECT_EQ(form_->childAt(at), cover) << at.x() << "," << at.y();
    // The exercise proper: the digit is gone and the point is on beat 2.
    PollAt(countIn);
    EXPECT_EQ(form_->Canvas()->Image().copy(digit), before.copy(digit));
    EXPECT_FALSE(cover->isVisibleTo(form_));
    PollAt(countIn + 2);
    const playback::CursorStep step = playback::ComputeCursorStep(geometry, 2);
    EXPECT_EQ(form_->PlayCursor->PointX, step.PointX);
    EXPECT_EQ(form_->PlayCursor->PointY, step.PointY);
    EXPECT_TRUE(form_->BPause->Enabled());
    EXPECT_EQ(form_->Transport->ExerciseBeat(), 2);
}

TEST_F(TransportTest, LoopPlaysFourPassesEachFromTheLocatorsBar) {
    Open(1, 5);
    const int perBar = form_->Transport->Record().BeatsPerBar;
    form_->BForwardClick(form_->BForward); // bar 2
    form_->BLocator->SetLatched(true);
    form_->BLocatorClick(form_->BLocator);
    EXPECT_EQ(form_->Transport->LocatorBeat(), perBar + 1);
    form_->BLoopClick(form_->BLoop);
    form_->BPlayClick(form_->BPlay);
    for (int pass = 0; pass < 4; ++pass) PlayToEnd(form_->Course->CountInBeats() + perBar);
    const int fromLocator = (form_->Course->CountInBeats() + perBar) * 8;
    EXPECT_EQ(engine_->starts, std::vector<int>(4, fromLocator));
    EXPECT_EQ(passes_.started, 4);
    EXPECT_TRUE(Ready());
}

// After a looped pass the next pass draws its first point where the last
// pass put it back: once it moves on, the notation there is bare again.
TEST_F(TransportTest, ALoopedPassLeavesNoSecondPointBehind) {
    Open(1, 5);
    const QImage notation = form_->Canvas()->Image().copy();
    const playback::CursorGeometry geometry = form_->Transport->Lesson().Geometry;
    const int w = form_->PointBmp.Width(), h = form_->PointBmp.Height();
    auto pointPlace = [&](int beat) {
        const playback::CursorStep step = playback::ComputeCursorStep(geometry, beat);
        return QRect(step.PointX, step.PointY - h, w, h);
    };
    form_->BLoopClick(form_->BLoop);
    form_->BPlayClick(form_->BPlay);
    PlayToEnd();
    ASSERT_EQ(form_->PlayCursor->PassNumber, 2);
    const int countIn = form_->Course->CountInBeats();
    for (int beat = 0; beat <= 3; ++beat) PollAt(countIn + beat);
    const QImage shown = form_->Canvas()->Image();
    EXPECT_EQ(shown.copy(pointPlace(0)), notation.copy(pointPlace(0)));
    EXPECT_NE(shown.copy(pointPlace(3)), notation.copy(pointPlace(3)));
    // The same after the pass ends and the transport is stopped.
    form_->BStopClick(form_->BStop);
    EXPECT_EQ(form_->Canvas()->Image().copy(pointPlace(0)), notation.copy(pointPlace(0)));
}

TEST_F(TransportTest, ForwardAndRewindMoveByBarsWithinTheirLimits) {
    Open(1, 5);
    const int perBar = form_->Transport->Record().BeatsPerBar;
    const int total = form_->Transport->Record().TotalBeats;
    form_->BRewindClick(form_->BRewind); // in the first bar: nothing
    EXPECT_EQ(form_->Transport->Record().Beat, 1);
    for (int i = 0; i < 100; ++i) form_->BForwardClick(form_->BForward);
    EXPECT_GE(form_->Transport->Record().Beat, total - perBar);
    EXPECT_LT(form_->Transport->Record().Beat, total);
    EXPECT_EQ((form_->Transport->Record().Beat - 1) % perBar, 0);
    const int last = form_->Transport->Record().Beat;
    form_->BRewindClick(form_->BRewind);
    EXPECT_EQ(form_->Transport->Record().Beat, last - perBar);
    // The next Play starts at that bar.
    form_->BPlayClick(form_->BPlay);
    EXPECT_EQ(engine_->starts.back(), (form_->Course->CountInBeats() + last - perBar - 1) * 8);
}

TEST_F(TransportTest, MovingTheTempoBarStopsAndTheNextPlayLoadsTheNewLevel) {
    Open(1, 5);
    form_->BPlayClick(form_->BPlay);
    PollAt(form_->Course->CountInBeats() + 1);
    form_->TrBarTempo->SetPosition(7);
    form_->TrBarTempoMouseUp(form_->TrBarTempo, mbLeft, TShiftState{}, 0, 0);
    EXPECT_FALSE(engine_->IsRunning());
    EXPECT_TRUE(Ready());
    form_->BPlayClick(form_->BPlay);
    EXPECT_TRUE(engine_->loads.back().find("uebung1_7.mid") != std::string::npos);
    EXPECT_EQ(form_->Lists->Plan[0].Level, 7);
}

// What the learner does to the tempo bar, as the window system delivers it.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
void SendWheel(QWidget* widget, int notches) {
    const QPointF at(widget->width() / 2, widget->height() / 2);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}
void SendKey(QWidget* widget, Qt::Key key, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &event);
}

// The level box shows the level the next pass plays at after every way of
// moving the thumb: a click on the track, a drag, the "+" and "-" keys and
// the wheel. A change while the exercise plays stops it.
TEST_F(TransportTest, TheLevelBoxShowsTheLevelThatPlaysHoweverTheThumbMoved) {
    Open(1, 2);
    controls::TXTrackBar* bar = form_->TrBarTempo;
    const int x = bar->Width() / 2;
    auto yOf = [bar](int level) {
        return int(bar->Height() - (level - bar->Min()) * bar->Scale() - bar->Margin());
    };
    auto box = [this] { return form_->LLevel->Caption(); };
    ASSERT_EQ(box(), "2");

    SendMouse(bar, QEvent::MouseButtonPress, {x, yOf(10)});
    SendMouse(bar, QEvent::MouseButtonRelease, {x, yOf(10)});
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(box(), "10");
    form_->BPlayClick(form_->BPlay);
    EXPECT_NE(engine_->loads.back().find("uebung1_10.mid"), std::string::npos);

    // Dragged while the exercise plays: the box shows the thumb's level
    // throughout (the stepped bar's thumb moves when the mouse lets go), and
    // the pass stops then.
    PollAt(form_->Course->CountInBeats() + 2);
    ASSERT_TRUE(bar->Enabled());
    SendMouse(bar, QEvent::MouseButtonPress, {x, yOf(10)});
    SendMouse(bar, QEvent::MouseMove, {x, yOf(6)});
    EXPECT_EQ(box(), QString::number(bar->Position()));
    EXPECT_TRUE(engine_->IsRunning());
    SendMouse(bar, QEvent::MouseMove, {x, yOf(3)});
    SendMouse(bar, QEvent::MouseButtonRelease, {x, yOf(3)});
    EXPECT_EQ(box(), "3");
    EXPECT_FALSE(engine_->IsRunning());
    EXPECT_TRUE(Ready());

    SendKey(form_, Qt::Key_Plus, "+");
    EXPECT_EQ(box(), "4");
    SendKey(form_, Qt::Key_Minus, "-");
    SendKey(form_, Qt::Key_Minus, "-");
    EXPECT_EQ(box(), "2");
    SendWheel(bar, 3);
    EXPECT_EQ(box(), "5");
    SendWheel(bar, -9);
    EXPECT_EQ(box(), "1") << "held at the slowest level";
    EXPECT_EQ(bar->Position(), 1);

    // A wheel turn while the exercise plays stops it, and Play plays the
    // level the box shows.
    form_->BPlayClick(form_->BPlay);
    PollAt(form_->Course->CountInBeats() + 2);
    SendWheel(bar, 6);
    EXPECT_EQ(box(), "7");
    EXPECT_FALSE(engine_->IsRunning());
    form_->BPlayClick(form_->BPlay);
    EXPECT_NE(engine_->loads.back().find("uebung1_7.mid"), std::string::npos);
}

TEST_F(TransportTest, StopDuringAVideoOnlyStopsTheVideo) {
    Open(1, 5);
    form_->BPlayClick(form_->BPlay);
    form_->Video->Playing = true;
    form_->BStopClick(form_->BStop);
    EXPECT_TRUE(engine_->IsRunning());
    EXPECT_TRUE(form_->BStop->Enabled());
    form_->Video->Playing = false;
}

TEST_F(TransportTest, WithoutACursorBarsAndLocatorDoNothing) {
    Open(0, 1); // lesson 0 has no play cursor
    ASSERT_FALSE(form_->Course->CursorActive());
    form_->BForwardClick(form_->BForward);
    form_->BLocator->SetLatched(true);
    form_->BLocatorClick(form_->BLocator);
    EXPECT_EQ(form_->Transport->Record().Beat, 1);
    EXPECT_EQ(form_->Transport->LocatorBeat(), 0);
    form_->BPlayClick(form_->BPlay);
    const QImage before = form_->Canvas()->Image().copy();
    PollAt(1);
    EXPECT_EQ(form_->Canvas()->Image(), before); // no count-in digit
}

TEST_F(TransportTest, AMissingOrDamagedExerciseNeverPlaysAnotherLessonsFile) {
    Open(1, 5);
    QFile::remove(QString::fromStdString(folder_ + "Midi/uebung1_5.mid"));
    form_->BPlayClick(form_->BPlay);
    EXPECT_TRUE(engine_->starts.empty());
    EXPECT_TRUE(Ready());

    engine_->failLoad = true;
    form_->TrBarTempo->SetPosition(6);
    form_->BPlayClick(form_->BPlay);
    EXPECT_TRUE(engine_->starts.empty());
    ASSERT_FALSE(asked_.empty()); // errors 11 and 12
    EXPECT_TRUE(Ready());
}

} // namespace
} // namespace shelltest

namespace shelltest {
namespace {

// The practice journal hears of every pass: started with its lesson and
// level, completed only when it reached its end.
TEST_F(TransportTest, PassesReachThePracticeJournal) {
    Open(1, 4);
    ASSERT_NE(form_->Practice->Journal, nullptr);
    form_->BPlayClick(form_->BPlay);
    PlayToEnd();
    form_->BPlayClick(form_->BPlay);
    PollAt(form_->Course->CountInBeats() + 2);
    form_->BPauseClick(form_->BPause);
    form_->BPauseClick(form_->BPause); // goes on: the same pass
    PollAt(form_->Course->CountInBeats() + 3);
    form_->BStopClick(form_->BStop);
    const auto records = form_->Practice->Journal->PracticeRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Lesson, 1);
    EXPECT_EQ(records[0].Level, 4);
    EXPECT_EQ(records[0].PassesStarted, 2);
    EXPECT_EQ(records[0].PassesCompleted, 1);
}

// With the ladder on and three good play-along results at the level, the
// end of the next pass asks "Nächste Stufe?"; yes moves the tempo bar up.
TEST_F(TransportTest, TheTempoLadderOffersTheNextLevelAfterAPass) {
    Open(1, 4);
    for (int i = 0; i < 3; ++i) form_->Practice->Journal->PlayAlongChecked(1, 4, 28, 30);
    form_->BPlayClick(form_->BPlay);
    PlayToEnd();
    EXPECT_EQ(form_->TrBarTempo->Position(), 4); // the ladder is off unless chosen

    form_->Practice->Journal->SetLadderOn(true);
    EXPECT_NE(ReadData("zupfaripref.ini").find("TempoLadder=1"), std::string::npos);
    asked_.clear();
    answers_ = {1};
    form_->BPlayClick(form_->BPlay);
    PlayToEnd();
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].title, app::MessageText(406));
    EXPECT_EQ(asked_[0].body, app::MessageText(407).arg(5));
    EXPECT_EQ(form_->TrBarTempo->Position(), 5);
    EXPECT_EQ(form_->LLevel->Caption(), "5");
    EXPECT_TRUE(Ready());

    // Asked once: the next pass at the new level brings no question.
    asked_.clear();
    form_->BPlayClick(form_->BPlay);
    PlayToEnd();
    EXPECT_TRUE(asked_.empty());
}

} // namespace
} // namespace shelltest
