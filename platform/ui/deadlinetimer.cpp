#include "platform/ui/deadlinetimer.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace platform {

DeadlineTimer::DeadlineTimer(std::function<void()> due) : due_(std::move(due)) {
    descriptor_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (descriptor_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Fired(); });
    }
    fallback_.setSingleShot(true);
    fallback_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&fallback_, &QTimer::timeout, [this] { Fired(); });
}

DeadlineTimer::~DeadlineTimer() {
    notifier_.reset();
    if (descriptor_ >= 0) ::close(descriptor_);
}

void DeadlineTimer::StartAfter(long long microseconds) {
    Stop();
    active_ = true;
    if (descriptor_ < 0) {
        StartFallback(microseconds);
        return;
    }
    // A relative time of zero would disarm the descriptor: the shortest wait
    // the kernel takes stands for "at once".
    const long long wait = microseconds <= 0 ? 1 : microseconds * 1000;
    itimerspec spec{};
    spec.it_value.tv_sec = static_cast<time_t>(wait / 1000000000LL);
    spec.it_value.tv_nsec = static_cast<long>(wait % 1000000000LL);
    if (timerfd_settime(descriptor_, 0, &spec, nullptr) != 0) StartFallback(microseconds);
}

// To the millisecond, never early.
void DeadlineTimer::StartFallback(long long microseconds) {
    fallback_.start(microseconds <= 0 ? 0 : static_cast<int>((microseconds + 999) / 1000));
}

// Reads an expiry that would otherwise wake the notifier (nothing there when
// none is waiting).
void DeadlineTimer::DrainExpiries() {
    if (descriptor_ < 0) return;
    std::uint64_t expiries = 0;
    while (::read(descriptor_, &expiries, sizeof expiries) < 0 && errno == EINTR) {
    }
}

void DeadlineTimer::Stop() {
    active_ = false;
    fallback_.stop();
    if (descriptor_ < 0) return;
    itimerspec off{};
    timerfd_settime(descriptor_, 0, &off, nullptr);
    DrainExpiries();
}

void DeadlineTimer::Fired() {
    DrainExpiries();
    if (!active_) return; // stopped after it came due
    active_ = false;
    due_();
}

} // namespace platform
