// The real program on a private X display plays lesson 1 at tempo level 10
// three times through from the start, driven by real clicks and F5, through
// the device "MIDI Log": the plan entry counts the three passes, the quiz
// that stayed shut before opens, and the log holds each pass's count-in
// clicks and then the exercise's notes in order.

#include "tests/app/transportrun.h"

#include "layout/screenlayout.h"

#include <csignal>
#include <gtest/gtest.h>

namespace {

using testsupport::WaitFor;
using testsupport::XvfbServer;
using transportrun::LessonOneRun;
using transportrun::LogEvent;

// The main window's "Kontrolle" button.
const QPoint kKontrolle =
    layout::BKontrolle + QPoint(layout::Button.width() / 2, layout::Button.height() / 2);

int WindowsOfMainSize(testsupport::XDriver& pointer) {
    int count = 0;
    for (const QRect& window : pointer.ViewableWindows())
        count += window.size() == layout::MainWindow ? 1 : 0;
    return count;
}

TEST(TransportRealRun, ThreePassesAtTheTopLevelCountOpenTheQuizAndReachTheDevice) {
    XvfbServer xvfb;
    if (!xvfb.Start()) GTEST_SKIP() << "no Xvfb on this machine";
    LessonOneRun run(xvfb.Display(), "MIDI Log");
    if (!run.Pointer().Ready()) GTEST_SKIP() << "no XTest on this display";
    ASSERT_TRUE(run.Start()) << run.Failure().toStdString();

    // Before any pass the quiz stays shut: the learner is told to play on.
    const int boxes = run.Program().Stderr().count("ZUPFARI-BOX");
    const std::size_t windows = run.Pointer().ViewableWindows().size();
    run.Click(kKontrolle);
    ASSERT_TRUE(WaitFor([&] { return run.Program().Stderr().count("ZUPFARI-BOX") > boxes; }))
        << "the lesson did not open";
    ASSERT_TRUE(WaitFor([&] { return run.Pointer().ViewableWindows().size() == windows; }))
        << "the message box stayed open";

    for (int pass = 1; pass <= 3; ++pass) {
        ASSERT_TRUE(run.PlayOnePass()) << "pass " << pass << "\n"
                                       << run.Program().Stderr().toStdString();
        // Each pass is in the plan as soon as it started (level 10, count).
        const QStringList plan = run.Program().ListLines("ListeUeplan.ztl");
        EXPECT_EQ(plan.mid(1, 3), (QStringList{"1", "10", QString::number(pass)}));
    }
    int lastBeats = 0; // the point reached the exercise's last beat in every pass
    for (const transportrun::Timing& timing : run.Timings())
        lastBeats += timing.What == "point" && timing.Beat == 31 ? 1 : 0;
    EXPECT_EQ(lastBeats, 3);

    // The quiz opens now: a second window of the main window's size, and no
    // message.
    const int boxesBefore = run.Program().Stderr().count("ZUPFARI-BOX");
    run.Click(kKontrolle);
    EXPECT_TRUE(WaitFor([&] { return WindowsOfMainSize(run.Pointer()) == 2; }));
    EXPECT_EQ(run.Program().Stderr().count("ZUPFARI-BOX"), boxesBefore);

    // The log: per pass the count-in clicks on the percussion channel first,
    // then the exercise's notes in order. The device writes its lines a few
    // milliseconds after they were sent.
    const std::vector<int> notes = transportrun::LessonOneNotes();
    const std::size_t perPass = transportrun::kCountInBeats + notes.size();
    auto passes = [&] {
        return transportrun::NoteOnsByPass(transportrun::ReadMidiLog(run.MidiLogPath()));
    };
    ASSERT_TRUE(
        WaitFor([&] { return passes().size() == 3 && passes().back().size() == perPass; }, 5000));
    for (const std::vector<LogEvent>& pass : passes()) {
        ASSERT_EQ(pass.size(), perPass);
        std::vector<int> played;
        for (std::size_t i = 0; i < pass.size(); ++i) {
            if (i < transportrun::kCountInBeats) {
                EXPECT_EQ(pass[i].Status, 0x99) << "click " << i;
            } else {
                EXPECT_EQ(pass[i].Status, 0x90) << "note " << i;
                played.push_back(pass[i].Data1);
            }
            if (i > 0) {
                EXPECT_GE(pass[i].Micros, pass[i - 1].Micros);
            }
        }
        EXPECT_EQ(played, notes);
    }
    run.Program().EndWith(SIGTERM);
}

} // namespace
