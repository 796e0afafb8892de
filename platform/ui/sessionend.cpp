#include "platform/ui/sessionend.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

int gPipe[2] = {-1, -1};
SessionEndGuard* gGuard = nullptr;
struct sigaction gOldTerm {}, gOldHup {};
bool gAtExitRegistered = false;
std::function<void()>* gExitAction = nullptr;

void OnSignal(int signal) {
    const unsigned char byte = static_cast<unsigned char>(signal);
    const int saved = errno;
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
    errno = saved;
}

void Install(int signal, struct sigaction* old) {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, old);
}

} // namespace

SessionEndGuard::SessionEndGuard(std::function<void()> action) : action_(std::move(action)) {
    gGuard = this;
    gExitAction = &action_;
    if (gPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gPipe) != 0)
        gPipe[0] = gPipe[1] = -1;
    if (gPipe[0] >= 0) {
        ::fcntl(gPipe[1], F_SETFL, O_NONBLOCK);
        notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { SignalArrived(); });
        Install(SIGTERM, &gOldTerm);
        Install(SIGHUP, &gOldHup);
    }
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
            if (action_) action_();
        });
    if (!gAtExitRegistered) gAtExitRegistered = std::atexit(RunAtExit) == 0;
}

SessionEndGuard::~SessionEndGuard() {
    if (gGuard != this) return;
    if (notifier_ != nullptr) {
        ::sigaction(SIGTERM, &gOldTerm, nullptr);
        ::sigaction(SIGHUP, &gOldHup, nullptr);
    }
    gGuard = nullptr;
    gExitAction = nullptr;
}

void SessionEndGuard::SignalArrived() {
    unsigned char signal = 0;
    if (::read(gPipe[0], &signal, 1) != 1) return;
    if (action_) action_();
    // End as the signal asks, without running the action once more at exit.
    gExitAction = nullptr;
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// An exit that passes the program's own way out (the display server went
// away, a fatal error of the framework): the last chance to save.
void SessionEndGuard::RunAtExit() {
    std::function<void()>* action = gExitAction;
    gExitAction = nullptr;
    if (action != nullptr && *action) (*action)();
}

} // namespace platform
