#pragma once
// LeavingSequence: the way out of the program and the questions about the
// product's web site on the way in and out. Leaving stops what plays, holds
// the window and asks once whether the learner would rather visit the web
// site (yes keeps the program open); otherwise the exit dialog asks, and its
// yes saves the learner's progress before the window closes.

#include "platform/ui/forms.h"

#include <QString>
#include <functional>

namespace app {

class LeavingSequence {
public:
    struct Hooks {
        // Stops a video and the exercise, whichever plays.
        std::function<void()> StopPlaying;
        // The click sound of a button.
        std::function<void()> Click;
        std::function<int(const QString&, const QString&, const QString&, const QString&)> Ask;
        std::function<void()> OpenWebSite;
        std::function<void(bool shown)> ShowExitDialog;
        // Saves the lists before leaving (tells the learner when it cannot).
        std::function<void()> SaveProgress;
    };

    // `window` is held (disabled) while the questions ask, and closed at the end.
    LeavingSequence(platform::TForm& window, Hooks hooks);

    // A new session: both questions are still to come.
    void Reset();
    // The first showing's question: yes opens the web site.
    void AskWebQuestionAtStart();
    // The Exit button, or Alt+F4 while the window takes input.
    void Leave();
    // The exit dialog's yes.
    void SaveAndClose();
    // A close request while a dialog holds the window brings that dialog
    // (the exit dialog, else the message box) to the front.
    static void BringDialogToFront();

    // The start question has not been asked yet (the window was not shown).
    bool WebQuestionPending = true;
    // The learner said yes to the web site when leaving: no second asking.
    bool WebQuestionAnswered = false;

private:
    platform::TForm& window_;
    const Hooks hooks_;
};

} // namespace app
