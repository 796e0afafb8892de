#pragma once
// ProgressSaver: writes the learner's lists when the program is left, and
// when that fails says so and where, offering to try again or to leave
// anyway, so that progress is never lost without the learner knowing.

#include "plan/liststore.h"

#include <QString>
#include <functional>
#include <string>

namespace app {

class ProgressSaver {
public:
    // Asks the learner: title, body, cancel caption, OK caption; returns 1
    // for OK, 2 for cancel (the message box's protocol).
    using Ask = std::function<int(const QString& title, const QString& body,
                                  const QString& cancelCaption, const QString& okCaption)>;

    // `dataFolder` in Windows-1252, ending in a separator; nothing is written
    // when `programOnCdRom`.
    ProgressSaver(const plan::ListStore& lists, std::string dataFolder, bool programOnCdRom,
                  Ask ask);

    // Saves the lists; on failure asks "try again" (OK) or "leave anyway"
    // (cancel, also Esc) until they are saved or the learner leaves. Returns
    // true when the lists were saved (or nothing was to be written).
    bool SaveBeforeLeaving();

    static QString FailureTitle();
    // The body of the failure question, naming the folder.
    static QString FailureBody(const QString& folder);
    static QString RetryCaption();
    static QString LeaveCaption();

private:
    const plan::ListStore& lists_;
    std::string dataFolder_;
    bool programOnCdRom_;
    Ask ask_;
};

} // namespace app
