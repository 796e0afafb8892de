// The real program ended from outside: killed right after a lesson entered
// the plan (nothing lost on the next start), and asked to end with SIGTERM
// or SIGHUP (the lists are written before it goes).

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
    const int left = (1024 - 800) / 2, top = (768 - 600) / 2;
    pointer.Click(left + 12 + 260 + 40, top + 12 + 174 + 8);
    // Through lesson 0's slide windows with their "next" button (91 x 30,
    // left 692, ending at 570): finishing the last one takes the lesson in.
    auto entered = [this] { return ListLines("ListeUeplan.ztl").value(1) == "0"; };
    for (int window = 0; window < 6 && !WaitFor(entered, 1500); ++window)
        pointer.Click(left + 692 + 45, top + 570 - 15);
    ASSERT_TRUE(entered()) << Stderr();
    EndWith(SIGKILL);

    // The next start reads the plan with lesson 0 (and shows it); what it
    // writes on SIGTERM is what it read.
    program_.ClearStderr();
    ASSERT_TRUE(StartProgram("offscreen")) << Stderr();
    EndWith(SIGTERM);
    EXPECT_EQ(ListLines("ListeUeplan.ztl").mid(0, 5), (QStringList{"3", "0", "1", "0", "-1"}));
    EXPECT_EQ(ListLines("ListeWarten.ztl").mid(0, 5), (QStringList{"3", "0", "1", "0", "1"}));
}

} // namespace

namespace {

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
