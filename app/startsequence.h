#pragma once
// StartSequence: the program's start as the learner sees it. The start
// screen shows at once, drawn before anything else is built, and stays for
// three seconds; the main window comes once that time is over, the window is
// built, the program's other windows exist and the MIDI output device is
// chosen. Whatever finishes last brings it, so a message box open during
// construction can never bring a half-built window.

#include "app/startscreen.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"

#include <functional>

namespace app {

class StartSequence {
public:
    static constexpr int kStartScreenMs = 3000;

    // `deviceChosen` says whether the MIDI output device has been chosen;
    // `showMainWindow` brings the main window (once). The timer belongs to
    // `owner`, the main window.
    StartSequence(platform::TForm* owner, std::function<bool()> deviceChosen,
                  std::function<void()> showMainWindow);
    ~StartSequence();
    StartSequence(const StartSequence&) = delete;
    StartSequence& operator=(const StartSequence&) = delete;

    // Shows `screen` (owned from now on) and draws it at once; its three
    // seconds run from the moment it has shown its picture.
    void ShowStartScreen(TStartScreen* screen);
    // The start screen once more (the logo), without any timer.
    void ShowStartScreenAgain();

    // The steps the main window waits for. Each may come in any order; the
    // device choice is asked of `deviceChosen` and announced by DeviceChosen().
    void WindowBuilt();
    void WindowsCreated();
    void TimeUp();
    void DeviceChosen() { ShowMainWindowWhenDue(); }

    // Leaving: the main window never comes any more, the start screen goes.
    void Cancel();

    bool MainWindowShown() const { return mainWindowShown_; }

    TStartScreen* Screen = nullptr;
    // Null once the main window has come.
    platform::TTimer* Timer = nullptr;
    // True while the start screen stands for the program's start.
    bool Active = false;

private:
    void ShowMainWindowWhenDue();

    platform::TForm* owner_;
    std::function<bool()> deviceChosen_;
    std::function<void()> showMainWindow_;
    bool windowBuilt_ = false;
    bool windowsCreated_ = false;
    bool timeUp_ = false;
    bool mainWindowShown_ = false;
    bool cancelled_ = false;
};

} // namespace app
