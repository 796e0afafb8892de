#include "app/progresssaver.h"

#include "platform/core/cp1252.h"

namespace app {

ProgressSaver::ProgressSaver(const plan::ListStore& lists, std::string dataFolder,
                             bool programOnCdRom, Ask ask)
    : lists_(lists), dataFolder_(std::move(dataFolder)), programOnCdRom_(programOnCdRom),
      ask_(std::move(ask)) {}

QString ProgressSaver::FailureTitle() {
    return QString::fromUtf8("Speichern fehlgeschlagen");
}

QString ProgressSaver::FailureBody(const QString& folder) {
    return QString::fromUtf8("Ihr Lernstand konnte nicht gespeichert werden in:\n%1").arg(folder);
}

QString ProgressSaver::RetryCaption() {
    return QString::fromUtf8("Nochmal");
}

QString ProgressSaver::LeaveCaption() {
    return QString::fromUtf8("Beenden");
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
