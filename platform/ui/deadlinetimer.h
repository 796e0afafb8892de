#pragma once
// DeadlineTimer: calls a function once on the user-interface thread when a
// given number of microseconds has passed, to the microsecond where the
// system has timer descriptors (Linux), else to the millisecond. For moves
// that must come at the moment something is heard; QTimer rounds every wait
// to whole milliseconds and so comes up to a millisecond and more late.

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

namespace platform {

class DeadlineTimer {
public:
    explicit DeadlineTimer(std::function<void()> due);
    ~DeadlineTimer();
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;

    // Calls the function once, `microseconds` from now (at once for 0 or
    // less); a wait still pending is replaced.
    void StartAfter(long long microseconds);
    void Stop();
    bool Active() const { return active_; }

private:
    void Fired();
    void StartFallback(long long microseconds);
    void DrainExpiries();

    std::function<void()> due_;
    int descriptor_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer fallback_; // where no timer descriptor could be had
    bool active_ = false;
};

} // namespace platform
