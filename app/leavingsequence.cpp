#include "app/leavingsequence.h"

#include "app/fbeenden.h"
#include "app/msgwin.h"

namespace app {

using namespace platform;

LeavingSequence::LeavingSequence(TForm& window, Hooks hooks)
    : window_(window), hooks_(std::move(hooks)) {}

void LeavingSequence::Reset() {
    WebQuestionPending = true;
    WebQuestionAnswered = false;
}

void LeavingSequence::AskWebQuestionAtStart() {
    if (hooks_.Ask(MessageText(4), MessageText(6), CaptionText(4), CaptionText(3)) == mrOk)
        hooks_.OpenWebSite();
}

void LeavingSequence::Leave() {
    hooks_.StopPlaying();
    window_.SetEnabled(false);
    hooks_.Click();
    if (!WebQuestionAnswered) {
        if (hooks_.Ask(MessageText(5), MessageText(6), CaptionText(4), CaptionText(3)) == mrOk) {
            WebQuestionAnswered = true;
            window_.SetEnabled(true);
            hooks_.OpenWebSite();
            return;
        }
    }
    hooks_.ShowExitDialog(true);
}

void LeavingSequence::SaveAndClose() {
    hooks_.ShowExitDialog(false);
    hooks_.SaveProgress();
    window_.Close();
}

void LeavingSequence::BringDialogToFront() {
    if (FBeenden != nullptr && FBeenden->Visible()) {
        FBeenden->raise();
        FBeenden->activateWindow();
    } else if (MsgWin != nullptr && MsgWin->Visible()) {
        MsgWin->raise();
        MsgWin->activateWindow();
    }
}

} // namespace app
