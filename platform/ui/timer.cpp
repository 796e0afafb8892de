#include "platform/ui/timer.h"

namespace platform {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Fire(this, OnTimer, this); });
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Update();
}

void TTimer::SetInterval(unsigned interval) {
    interval_ = interval;
    Update();
}

// Setting the interval or the enabled state starts the interval afresh.
void TTimer::Update() {
    timer_.stop();
    if (enabled_ && interval_ > 0) timer_.start(int(interval_));
}

} // namespace platform
