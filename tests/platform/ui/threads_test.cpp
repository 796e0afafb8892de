// Worker threads: the count-in hand-shake (Synchronize while the UI thread
// waits in a ProcessMessages loop), suspend and resume from either side,
// errors, free on terminate, and a clean end of the process.
#include "platform/ui/application.h"
#include "platform/ui/exceptions.h"
#include "platform/ui/threads.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Processes messages until `done` or a generous limit; returns `done()`.
template <class Done> bool PumpUntil(Done done, int limitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        Application->ProcessMessages();
    return done();
}

// The pre-roll pattern: every resume runs exactly one synchronised call,
// which sets the hand-shake flag and suspends the thread.
class PreRollThread : public TThread {
public:
    PreRollThread() : TThread(true) {}
    bool countInDone = false;
    int runs = 0;
    bool ranOnUiThread = false;

protected:
    void Execute() override {
        while (!Terminated()) {
            Synchronize([this] {
                ++runs;
                ranOnUiThread = QThread::currentThread() == qApp->thread();
                countInDone = true;
                Suspend();
            });
        }
    }
};

class CountingThread : public TThread {
public:
    CountingThread() : TThread(true) {}
    std::atomic<int> count{0};

protected:
    void Execute() override {
        while (!Terminated()) {
            ++count;
            Sleep(1);
        }
    }
};

} // namespace

TEST(Threads, SynchronizeRunsWhileTheUiThreadWaitsInAProcessMessagesLoop) {
    PreRollThread thread;
    EXPECT_TRUE(thread.Suspended()); // created suspended
    thread.Resume();
    ASSERT_TRUE(PumpUntil([&] { return thread.countInDone; }));
    EXPECT_TRUE(thread.ranOnUiThread);
    EXPECT_TRUE(thread.Suspended());

    // Suspended by the synchronised call: no second run without a resume.
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(thread.runs, 1);

    thread.countInDone = false;
    thread.Resume();
    ASSERT_TRUE(PumpUntil([&] { return thread.countInDone; }));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(thread.runs, 2);
    thread.Terminate();
    thread.Resume();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
}

TEST(Threads, SuspendFromTheUiThreadStopsTheWorkerUntilResumed) {
    CountingThread thread;
    thread.Resume();
    ASSERT_TRUE(PumpUntil([&] { return thread.count > 3; }));
    thread.Suspend();
    EXPECT_TRUE(thread.Suspended());
    // It stops at its next suspension point (after one more step at most).
    int held = thread.count;
    for (int tries = 0; tries < 100; ++tries) {
        QThread::msleep(20);
        if (thread.count == held) break;
        held = thread.count;
    }
    QThread::msleep(50);
    EXPECT_EQ(thread.count, held);
    thread.Resume();
    EXPECT_FALSE(thread.Suspended());
    ASSERT_TRUE(PumpUntil([&] { return thread.count > held + 3; }));
    thread.Terminate();
    thread.WaitFor();
}

TEST(Threads, AnErrorInASynchronisedCallEndsTheThreadWithItsText) {
    class Failing : public TThread {
    public:
        Failing() : TThread(true) {}

    protected:
        void Execute() override {
            Synchronize([] { throw Exception("kaputt"); });
            reached = true;
        }

    public:
        bool reached = false;
    } thread;
    thread.Resume();
    ASSERT_TRUE(PumpUntil([&] { return thread.Finished(); }));
    EXPECT_FALSE(thread.reached);
    EXPECT_EQ(thread.FatalException(), "kaputt");
}

TEST(Threads, FreeOnTerminateDeletesTheThreadAndRunningOnesStartByThemselves) {
    static std::atomic<bool> destroyed{false};
    class Short : public TThread {
    public:
        Short() : TThread(false) { SetFreeOnTerminate(true); }
        ~Short() override { destroyed = true; }

    protected:
        void Execute() override {}
    };
    new Short;
    EXPECT_TRUE(PumpUntil([] { return destroyed.load(); }));
}

TEST(Threads, ProcessEndsCleanlyWithSuspendedEndlessAndWaitingThreads) {
    std::string probe =
        QCoreApplication::applicationDirPath().toStdString() + "/platform_ui_exit_probe";
    for (const char* mode : {"suspended", "endless", "synchronizing"}) {
        QElapsedTimer clock;
        clock.start();
        int status = testsupport::RunShell("QT_QPA_PLATFORM=offscreen timeout 20 " + probe + " " +
                                           mode + " >/dev/null 2>&1");
        EXPECT_EQ(status, 0) << mode;
        EXPECT_LT(clock.elapsed(), 10000) << mode;
    }
}
