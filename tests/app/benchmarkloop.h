#pragma once

// What the video benchmarks share: the process's processor time, and an
// event loop that sleeps between events as the program's own loop does, so
// that the time measured is the player's and not a loop polling for events.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>
#include <sys/resource.h>

namespace shelltest {

inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop until `done` or `ms` have passed; `done` is asked
// every 10 ms.
inline void RunEvents(int ms, const std::function<bool()>& done = [] { return false; }) {
    QElapsedTimer clock;
    clock.start();
    if (done()) return;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= ms) loop.quit();
    });
    poll.start(10);
    loop.exec();
}

} // namespace shelltest
