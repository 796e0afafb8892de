#include "app/progresssaver.h"

#include "app/msgwin.h"
#include "platform/core/cp1252.h"

namespace app {

ProgressSaver::ProgressSaver(const plan::ListStore& lists, std::string dataFolder,
                             bool programOnCdRom, Ask ask)
    : lists_(lists), dataFolder_(std::move(dataFolder)), programOnCdRom_(programOnCdRom),
      ask_(std::move(ask)) {}

QString ProgressSaver::FailureTitle() {
    return MessageText(302);
}

QString ProgressSaver::FailureBody(const QString& folder) {
    return MessageText(303).arg(folder);
}

QString ProgressSaver::RetryCaption() {
    return CaptionText(300);
}

QString ProgressSaver::LeaveCaption() {
    return CaptionText(16);
}

bool ProgressSaver::SaveBeforeLeaving() {
    const QString folder = platform::FromAnsi(dataFolder_ + "Listen");
    while (!lists_.SaveLists(dataFolder_, programOnCdRom_)) {
        const int answer = ask_(FailureTitle(), FailureBody(folder), LeaveCaption(), RetryCaption());
        if (answer != 1) return false;
    }
    return true;
}

} // namespace app
