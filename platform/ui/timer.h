#pragma once
// TTimer: calls OnTimer every Interval milliseconds on the user-interface
// thread while Enabled (also while that thread waits in a modal or
// ProcessMessages loop).

#include "platform/ui/components.h"

#include <QTimer>

namespace platform {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Milliseconds between two calls; 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);

    TNotifyEvent OnTimer;

private:
    void Update();

    QTimer timer_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
};

} // namespace platform
