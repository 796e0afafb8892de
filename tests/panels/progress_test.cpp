// The real program ended from outside: killed right after a lesson entered
// the plan (nothing lost on the next start), and asked to end with SIGTERM
// or SIGHUP (the lists are written before it goes).

#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <csignal>
#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using testsupport::BinFolder;
using testsupport::TempFolder;

// Clicks at a screen position of an X display through the XTest extension,
// loaded at run time so that the build needs no X headers.
class XPointer {
public:
    explicit XPointer(const std::string& display) {
        x11_ = dlopen("libX11.so.6", RTLD_NOW);
        xtst_ = dlopen("libXtst.so.6", RTLD_NOW);
        if (x11_ == nullptr || xtst_ == nullptr) return;
        open_ = reinterpret_cast<void* (*)(const char*)>(dlsym(x11_, "XOpenDisplay"));
        close_ = reinterpret_cast<int (*)(void*)>(dlsym(x11_, "XCloseDisplay"));
        sync_ = reinterpret_cast<int (*)(void*, int)>(dlsym(x11_, "XSync"));
        motion_ = reinterpret_cast<int (*)(void*, int, int, int, unsigned long)>(
            dlsym(xtst_, "XTestFakeMotionEvent"));
        button_ = reinterpret_cast<int (*)(void*, unsigned, int, unsigned long)>(
            dlsym(xtst_, "XTestFakeButtonEvent"));
        if (open_ && close_ && sync_ && motion_ && button_) display_ = open_(display.c_str());
    }
    ~XPointer() {
        if (display_ != nullptr) close_(display_);
        if (xtst_ != nullptr) dlclose(xtst_);
        if (x11_ != nullptr) dlclose(x11_);
    }
    bool Ready() const { return display_ != nullptr; }
    void Click(int x, int y) {
        motion_(display_, -1, x, y, 0);
        sync_(display_, 0);
        QThread::msleep(150);
        button_(display_, 1, 1, 0);
        sync_(display_, 0);
        QThread::msleep(50);
        button_(display_, 1, 0, 0);
        sync_(display_, 0);
    }

private:
    void* x11_ = nullptr;
    void* xtst_ = nullptr;
    void* display_ = nullptr;
    void* (*open_)(const char*) = nullptr;
    int (*close_)(void*) = nullptr;
    int (*sync_)(void*, int) = nullptr;
    int (*motion_)(void*, int, int, int, unsigned long) = nullptr;
    int (*button_)(void*, unsigned, int, unsigned long) = nullptr;
};

class ProgressTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (QProcess* process : {&program_, &xvfb_}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }
    // Starts the program on `platform` ("offscreen", or "xcb" on display_);
    // boxes are answered after 100 ms with cancel. True once the main window
    // is on the screen.
    bool StartProgram(const QString& platform) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", data_.QPath());
        env.insert("XDG_RUNTIME_DIR", runtime_.QPath());
        env.insert("SPRACHBANK_LANGUAGE", "0");
        env.insert("QT_QPA_PLATFORM", platform);
        env.insert("DISPLAY", QString::fromStdString(display_));
        env.insert("ZUPFARI_AUTOANSWER", "100:2");
        env.insert("ZUPFARI_TIMING", "1");
        program_.setProcessEnvironment(env);
        program_.setProgram(QString::fromStdString(BinFolder()) + "ZupfariBasis");
        program_.start();
        if (!program_.waitForStarted()) return false;
        // Up once the main window showed and the start question was answered.
        return WaitFor([this] {
            program_.waitForReadyRead(10);
            stderr_ += QString::fromUtf8(program_.readAllStandardError());
            return stderr_.contains("ZUPFARI-TIME mainwindow") && stderr_.contains("ZUPFARI-BOX");
        });
    }
    bool StartXvfb() {
        if (QStandardPathsFind("Xvfb").isEmpty()) return false;
        const int number = 200 + int(getpid() % 500);
        display_ = ":" + std::to_string(number);
        xvfb_.start("Xvfb", {QString::fromStdString(display_), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"});
        const QString socket = QString("/tmp/.X11-unix/X%1").arg(number);
        return xvfb_.waitForStarted() && WaitFor([&] { return QFileInfo::exists(socket); });
    }
    static QString QStandardPathsFind(const QString& name) {
        for (const QString& dir : qEnvironmentVariable("PATH").split(':'))
            if (QFileInfo(dir + "/" + name).isExecutable()) return dir + "/" + name;
        return {};
    }
    static bool WaitFor(const std::function<bool()>& condition, int ms = 30000) {
        for (int waited = 0; waited < ms; waited += 50) {
            if (condition()) return true;
            QThread::msleep(50);
        }
        return condition();
    }
    void EndWith(int signal) {
        ::kill(program_.processId(), signal);
        program_.waitForFinished(10000);
    }
    QStringList ListLines(const QString& name) const {
        QFile file(data_.QPath() + "ZupfariDemo/Listen/" + name);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString(file.readAll()).split("\r\n");
    }

    TempFolder data_, runtime_;
    std::string display_ = ":0";
    QProcess program_, xvfb_;
    QString stderr_;
};

TEST_F(ProgressTest, SigtermAndSighupWriteTheListsBeforeTheProgramEnds) {
    for (int signal : {SIGTERM, SIGHUP}) {
        QDir(data_.QPath() + "ZupfariDemo/Listen").removeRecursively();
        stderr_.clear();
        ASSERT_TRUE(StartProgram("offscreen")) << stderr_.toStdString();
        EXPECT_TRUE(ListLines("ListeUeplan.ztl").isEmpty()); // nothing written yet
        EndWith(signal);
        EXPECT_EQ(program_.exitStatus(), QProcess::CrashExit); // ended by the signal
        const QStringList plan = ListLines("ListeUeplan.ztl");
        ASSERT_EQ(plan.size(), 11) << "signal " << signal; // 10 lines, the last one ended
        EXPECT_EQ(plan.mid(0, 4), (QStringList{"3", "-1", "1", "0"}));
        EXPECT_EQ(ListLines("ListeWarten.ztl").size(), 92);
    }
}

TEST_F(ProgressTest, KilledRightAfterALessonEnteredThePlanLosesNothing) {
    if (!StartXvfb()) GTEST_SKIP() << "no Xvfb on this machine";
    XPointer pointer(display_);
    if (!pointer.Ready()) GTEST_SKIP() << "no XTest on this display";
    ASSERT_TRUE(StartProgram("xcb")) << stderr_.toStdString();
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
    ASSERT_TRUE(entered()) << stderr_.toStdString();
    EndWith(SIGKILL);

    // The next start reads the plan with lesson 0 (and shows it); what it
    // writes on SIGTERM is what it read.
    stderr_.clear();
    ASSERT_TRUE(StartProgram("offscreen")) << stderr_.toStdString();
    EndWith(SIGTERM);
    EXPECT_EQ(ListLines("ListeUeplan.ztl").mid(0, 5), (QStringList{"3", "0", "1", "0", "-1"}));
    EXPECT_EQ(ListLines("ListeWarten.ztl").mid(0, 5), (QStringList{"3", "0", "1", "0", "1"}));
}

} // namespace

namespace {

// The desktop session ends: the display server goes away under the program.
TEST_F(ProgressTest, TheDisplayGoingAwayWritesTheLists) {
    if (!StartXvfb()) GTEST_SKIP() << "no Xvfb on this machine";
    ASSERT_TRUE(StartProgram("xcb")) << stderr_.toStdString();
    EXPECT_TRUE(ListLines("ListeUeplan.ztl").isEmpty());
    xvfb_.terminate();
    ASSERT_TRUE(xvfb_.waitForFinished(10000));
    ASSERT_TRUE(program_.waitForFinished(10000));
    EXPECT_EQ(ListLines("ListeUeplan.ztl").size(), 11);
    EXPECT_EQ(ListLines("ListeWarten.ztl").size(), 92);
}

} // namespace
