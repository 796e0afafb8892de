#pragma once
// PracticeJournal: the practice journal at work for the course program. It
// opens the journal in the learner's data folder beside the lists (never
// written from a CD-ROM), keeps its session from the start to leaving, hands
// it the transport's passes (Passes, a transport observer), tells the
// learner once of a trouble with it, and offers the tempo ladder's next
// level after a pass, keeping the ladder's switch in the settings file. The
// journal itself never stands in the course's way.

#include "app/journalpasses.h"
#include "journal/journal.h"
#include "platform/core/inifile.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace app {

class PracticeJournal {
public:
    // Asks the learner (title, body, cancel and OK captions); mrOk is yes.
    using Asker = std::function<int(const QString& title, const QString& body,
                                    const QString& cancel, const QString& ok)>;
    // Hears of the journal opened, and of nullptr when it closes.
    using Connector = std::function<void(journal::Journal* journal)>;

    PracticeJournal(Asker ask, Connector connect);
    ~PracticeJournal();
    PracticeJournal(const PracticeJournal&) = delete;
    PracticeJournal& operator=(const PracticeJournal&) = delete;

    // Opens the journal in `dataFolder` (Windows-1252, ends in a separator)
    // and starts its session. `settings` keeps the ladder's switch; it is
    // read now and written on every change while it is set.
    void Open(const std::string& dataFolder, bool writable,
              const std::unique_ptr<platform::IniFile>& settings);
    // Ends the session and closes the journal (leaving, or ended from outside).
    void Close();

    // Tells the learner of a trouble with the journal not yet told; a data
    // folder that takes nothing is not told again when the learner already
    // heard so for the lists (`listsCannotBeSaved`).
    void TellNotice(bool listsCannotBeSaved);
    // "Nächste Stufe?" when the ladder has the next level due for `lesson`
    // at `level`: true when the learner said yes.
    bool OfferNextLevel(int lesson, int level);

    // Null before Open and after Close.
    std::unique_ptr<journal::Journal> Journal;
    JournalPasses Passes{Journal};

private:
    Asker ask_;
    Connector connect_;
};

} // namespace app
