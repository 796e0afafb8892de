// The real program ended from outside: killed right after a lesson entered
// the plan or right after a pass was counted (nothing lost on the next
// start), and asked to end with SIGTERM or SIGHUP or losing its display (the
// lists are written before it goes).

#include "tests/support/realprogram.h"

#include <QDir>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

using testsupport::RealProgram;
using testsupport::WaitFor;
using testsupport::XDriver;
using testsupport::XvfbServer;

class ProgressTest : public ::testing::Test {
protected:
    bool StartProgram(const QString& platform) {
        return program_.Start(platform, xvfb_.Display());
    }
    void EndWith(int signal) { program_.EndWith(signal); }
    QStringList ListLines(const QString& name) const { return program_.ListLines(name); }
    std::string Stderr() { return program_.Stderr().toStdString(); }
    // The next start's reading of the lists, as it writes them back on SIGTERM.
    void RestartAndEnd() {
        program_.ClearStderr();
        ASSERT_TRUE(StartProgram("offscreen")) << Stderr();
        EndWith(SIGTERM);
    }

    // The main window is centred on the 1024 x 768 screen; the tool panels
    // lie at 12, 12 on it.
    static constexpr int kPanelLeft = (1024 - 800) / 2 + 12, kPanelTop = (768 - 600) / 2 + 12;

    XvfbServer xvfb_;
    RealProgram program_;
};

TEST_F(ProgressTest, SigtermAndSighupWriteTheListsBeforeTheProgramEnds) {
    for (int signal : {SIGTERM, SIGHUP}) {
        QDir(program_.DataFolder() + "Listen").removeRecursively();
        program_.ClearStderr();
        ASSERT_TRUE(StartProgram("offscreen")) << Stderr();
        EXPECT_TRUE(ListLines("ListeUeplan.ztl").isEmpty()); // nothing written yet
        EndWith(signal);
        EXPECT_EQ(program_.Process().exitStatus(), QProcess::CrashExit); // ended by the signal
        const QStringList plan = ListLines("ListeUeplan.ztl");
        ASSERT_EQ(plan.size(), 11) << "signal " << signal; // 10 lines, the last one ended
        EXPECT_EQ(plan.mid(0, 4), (QStringList{"3", "-1", "1", "0"}));
        EXPECT_EQ(ListLines("ListeWarten.ztl").size(), 92);
    }
}

TEST_F(ProgressTest, KilledRightAfterALessonEnteredThePlanLosesNothing) {
    if (!xvfb_.Start()) GTEST_SKIP() << "no Xvfb on this machine";
    XDriver pointer(xvfb_.Display());
    if (!pointer.Ready()) GTEST_SKIP() << "no XTest on this display";
    ASSERT_TRUE(StartProgram("xcb")) << Stderr();
    QThread::msleep(500);
    // "Neue Übung": the window is centred on the 1024 x 768 screen; the
    // button lies at 260, 174 (80 x 16) on the plan panel at 12, 12.
    // "Neue Übung" lies at 260, 174 (80 x 16) on the plan panel.
    pointer.Click(kPanelLeft + 260 + 40, kPanelTop + 174 + 8);
    // Through lesson 0's slide windows with their "next" button (91 x 30,
    // left 692, ending at 570 on the window at 112, 84): finishing the last
    // one takes the lesson in.
    auto entered = [this] { return ListLines("ListeUeplan.ztl").value(1) == "0"; };
    for (int window = 0; window < 6 && !WaitFor(entered, 1500); ++window)
        pointer.Click(kPanelLeft - 12 + 692 + 45, kPanelTop - 12 + 570 - 15);
    ASSERT_TRUE(entered()) << Stderr();
    EndWith(SIGKILL);

    // The next start reads the plan with lesson 0; what it writes on SIGTERM
    // is what it read.
    RestartAndEnd();
    EXPECT_EQ(ListLines("ListeUeplan.ztl").mid(0, 5), (QStringList{"3", "0", "1", "0", "-1"}));
    EXPECT_EQ(ListLines("ListeWarten.ztl").mid(0, 5), (QStringList{"3", "0", "1", "0", "1"}));
}

TEST_F(ProgressTest, KilledRightAfterAPassWasCountedLosesNothing) {
    if (!xvfb_.Start()) GTEST_SKIP() << "no Xvfb on this machine";
    XDriver driver(xvfb_.Display());
    if (!driver.Ready()) GTEST_SKIP() << "no XTest on this display";
    // Lesson 1 sits in the plan at the top tempo level, never played there.
    QStringList waiting{"3"};
    for (int lesson = 0; lesson < 30; ++lesson) waiting << (lesson == 1 ? "0" : "1") << "1" << "0";
    ASSERT_TRUE(program_.WriteListLines("ListeWarten.ztl", waiting));
    ASSERT_TRUE(program_.WriteListLines("ListeUeplan.ztl",
                                        {"3", "1", "10", "0", "-1", "1", "0", "-1", "1", "0"}));
    ASSERT_TRUE(StartProgram("xcb")) << Stderr();

    // Row 0's select button (80 x 16 at 260, 62 on the plan panel) opens the
    // lesson; Play (56 x 40 at 451, 29 on the window) plays it, and a pass
    // played through from the top at level 10 counts (about 20 seconds).
    auto counted = [this] { return ListLines("ListeUeplan.ztl").value(3) == "1"; };
    auto playing = [this] { return program_.Stderr().contains("engine-start"); };
    for (int attempt = 0; attempt < 6 && !counted(); ++attempt) {
        driver.Click(kPanelLeft + 260 + 40, kPanelTop + 62 + 8);
        QThread::msleep(500); // the lesson opens (nothing to see from outside)
        driver.Click(kPanelLeft - 12 + 451 + 28, kPanelTop - 12 + 29 + 20);
        if (WaitFor(playing, 3000)) WaitFor(counted, 40000);
    }
    ASSERT_TRUE(counted()) << Stderr();
    EndWith(SIGKILL);
    EXPECT_EQ(program_.Process().exitStatus(), QProcess::CrashExit);

    RestartAndEnd();
    EXPECT_EQ(ListLines("ListeUeplan.ztl").mid(0, 5), (QStringList{"3", "1", "10", "1", "-1"}));
    EXPECT_EQ(ListLines("ListeWarten.ztl").mid(4, 3), (QStringList{"0", "1", "0"}));
}

// The desktop session ends: the display server goes away under the program.
TEST_F(ProgressTest, TheDisplayGoingAwayWritesTheLists) {
    if (!xvfb_.Start()) GTEST_SKIP() << "no Xvfb on this machine";
    ASSERT_TRUE(StartProgram("xcb")) << Stderr();
    EXPECT_TRUE(ListLines("ListeUeplan.ztl").isEmpty());
    ASSERT_TRUE(xvfb_.Stop());
    ASSERT_TRUE(program_.WaitForEnd());
    EXPECT_EQ(ListLines("ListeUeplan.ztl").size(), 11);
    EXPECT_EQ(ListLines("ListeWarten.ztl").size(), 92);
}

} // namespace
