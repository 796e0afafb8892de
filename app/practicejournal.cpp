#include "app/practicejournal.h"

#include "app/msgwin.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/forms.h"

#include <QDir>

namespace app {

using namespace platform;

namespace {
constexpr const char* kLadderSection = "Journal";
constexpr const char* kLadderKey = "TempoLadder";
// Opening runs on the journal's thread; its outcome is awaited this long.
constexpr int kOpeningWaitMs = 1000;
} // namespace

PracticeJournal::PracticeJournal(Asker ask, Connector connect)
    : ask_(std::move(ask)), connect_(std::move(connect)) {}

PracticeJournal::~PracticeJournal() {
    Close();
}

void PracticeJournal::Open(const std::string& dataFolder, bool writable,
                           const std::unique_ptr<IniFile>& settings) {
    const QString folder = QString::fromStdString(ResolveAnsiPath(dataFolder));
    Journal = std::make_unique<journal::Journal>(QDir(folder).filePath(journal::kJournalFileName),
                                                 writable);
    if (settings) {
        Journal->SetLadderOn(settings->ReadString(kLadderSection, kLadderKey, "0") == "1");
        Journal->OnLadderChanged = [&settings](bool on) {
            if (settings) settings->WriteString(kLadderSection, kLadderKey, on ? "1" : "0");
        };
    }
    Journal->StartSession();
    if (connect_) connect_(Journal.get());
}

void PracticeJournal::Close() {
    if (!Journal) return;
    if (connect_) connect_(nullptr);
    Journal->EndSession();
    Journal.reset();
}

void PracticeJournal::TellNotice(bool listsCannotBeSaved) {
    if (!Journal) return;
    Journal->Flush(kOpeningWaitMs);
    const std::optional<journal::Notice> notice = Journal->TakeNotice();
    if (!notice) return;
    if (notice->Kind == journal::Outcome::Unwritable && listsCannotBeSaved) return;
    ask_(notice->Title, notice->Body, "", CaptionText(1));
}

bool PracticeJournal::OfferNextLevel(int lesson, int level) {
    if (!Journal || !Journal->TakeNextLevelOffer(lesson, level)) return false;
    return ask_(MessageText(406), MessageText(407).arg(level + 1), CaptionText(4), CaptionText(3)) ==
           mrOk;
}

} // namespace app
