#include "app/startsequence.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

namespace app {

using namespace platform;

namespace {

constexpr int kExposeWaitMs = 250;

// Draws a freshly shown window before construction goes on, so that its
// pixels are on the screen at once rather than when the event loop starts.
void PaintAtOnce(TForm* window) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kExposeWaitMs &&
           (window->windowHandle() == nullptr || !window->windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    window->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::sync();
}

} // namespace

StartSequence::StartSequence(TForm* owner, std::function<bool()> deviceChosen,
                             std::function<void()> showMainWindow)
    : owner_(owner), deviceChosen_(std::move(deviceChosen)), showMainWindow_(std::move(showMainWindow)) {
    Timer = new TTimer(owner);
    Timer->SetEnabled(false);
    Timer->SetInterval(kStartScreenMs);
    Timer->OnTimer = [this](TObject*) { TimeUp(); };
}

StartSequence::~StartSequence() {
    Cancel();
    delete Timer;
}

void StartSequence::ShowStartScreen(TStartScreen* screen) {
    Screen = screen;
    Active = true;
    // A damaged picture or skin must not hold the start up: the timer runs
    // once the screen has shown, whatever it managed to show.
    Screen->OnShown = [this] {
        if (Active && Timer != nullptr) Timer->SetEnabled(true);
    };
    Screen->Show();
    PaintAtOnce(Screen);
}

void StartSequence::ShowStartScreenAgain() {
    if (Screen != nullptr) Screen->Show();
}

void StartSequence::WindowBuilt() {
    windowBuilt_ = true;
    ShowMainWindowWhenDue();
}

void StartSequence::WindowsCreated() {
    windowsCreated_ = true;
    ShowMainWindowWhenDue();
}

void StartSequence::TimeUp() {
    if (Timer != nullptr) Timer->SetEnabled(false);
    timeUp_ = true;
    ShowMainWindowWhenDue();
}

void StartSequence::ShowMainWindowWhenDue() {
    if (cancelled_ || mainWindowShown_ || !windowBuilt_ || !windowsCreated_ || !timeUp_ ||
        !deviceChosen_())
        return;
    mainWindowShown_ = true;
    showMainWindow_();
    if (Screen != nullptr) Screen->Hide();
    Active = false;
    // The timer may be the caller: it is freed once its call has returned.
    TTimer* timer = Timer;
    Timer = nullptr;
    QTimer::singleShot(0, owner_, [timer] { delete timer; });
}

void StartSequence::Cancel() {
    cancelled_ = true;
    Active = false;
    if (Timer != nullptr) Timer->SetEnabled(false);
    if (Screen == nullptr) return;
    Screen->Hide();
    delete Screen;
    Screen = nullptr;
}

} // namespace app
