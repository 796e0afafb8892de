// A small program that ends while worker threads are suspended, loop forever
// without looking at Terminated, or wait in Synchronize. It must exit with 0
// at once; the thread tests run it.
#include "platform/ui/application.h"
#include "platform/ui/threads.h"

#include <QApplication>
#include <QElapsedTimer>
#include <atomic>
#include <cstring>

using namespace platform;

namespace {

std::atomic<int> gRounds{0};

// Like the practice clock: sleeps, hands a call to the UI thread, forever.
class Endless : public TThread {
public:
    Endless() : TThread(true) { SetFreeOnTerminate(true); }

protected:
    void Execute() override {
        for (;;) {
            Synchronize([] { ++gRounds; });
            Sleep(5);
        }
    }
};

class Idle : public TThread {
public:
    Idle() : TThread(true) { SetFreeOnTerminate(true); }

protected:
    void Execute() override {
        while (!Terminated())
            Sleep(10);
    }
};

void Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        Application->ProcessMessages();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* mode = argc > 1 ? argv[1] : "suspended";
    if (std::strcmp(mode, "suspended") == 0) {
        new Idle; // never resumed
        auto* paused = new Idle;
        paused->Resume();
        Pump(30);
        paused->Suspend();
        paused->Terminate(); // asked to end, but suspended: stays parked
        Pump(30);
    } else if (std::strcmp(mode, "endless") == 0) {
        auto* clock = new Endless;
        clock->Resume();
        Pump(100);
        clock->Terminate(); // not looked at
        if (gRounds == 0) return 3;
    } else {
        // Leaves while the worker waits for its Synchronize to be served.
        auto* clock = new Endless;
        clock->Resume();
        Pump(30);
    }
    return 0;
}
