#pragma once
// SessionEndGuard: runs a last action (the program saves the learner's
// progress with it) when the process is asked to end from outside: SIGTERM,
// SIGHUP, the desktop session ending, or an exit of the process that skips
// the program's own way out. After a signal the process then ends the way
// the signal asks.
//
// One guard at a time; the signal handler only writes a byte to a pipe, the
// action itself runs on the user-interface thread.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace platform {

class SessionEndGuard : public QObject {
public:
    explicit SessionEndGuard(std::function<void()> action);
    ~SessionEndGuard() override;
    SessionEndGuard(const SessionEndGuard&) = delete;
    SessionEndGuard& operator=(const SessionEndGuard&) = delete;

private:
    void SignalArrived();
    static void RunAtExit();

    std::function<void()> action_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace platform
