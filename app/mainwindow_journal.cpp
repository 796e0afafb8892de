// The main window's side of the practice journal: the journal opened in the
// learner's data folder beside the lists (never written from a CD-ROM), its
// session from start to leaving, the transport's passes handed to it, the
// one-time notice when the journal is in trouble, and the tempo ladder's
// offer after a pass. The journal itself never stands in the course's way.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "platform/core/pathresolver.h"

#include <QDir>

namespace app {

using namespace platform;

namespace {
constexpr const char* kLadderSection = "Journal";
constexpr const char* kLadderKey = "TempoLadder";
} // namespace

void TForm1::OpenJournal() {
    const QString folder = QString::fromStdString(ResolveAnsiPath(Places->DataFolder));
    Journal = std::make_unique<journal::Journal>(QDir(folder).filePath(journal::kJournalFileName),
                                                 !ProgramOnCdRom());
    if (Places->SettingsFile) {
        Journal->SetLadderOn(Places->SettingsFile->ReadString(kLadderSection, kLadderKey, "0") == "1");
        Journal->OnLadderChanged = [this](bool on) {
            if (Places->SettingsFile) Places->SettingsFile->WriteString(kLadderSection, kLadderKey, on ? "1" : "0");
        };
    }
    Journal->StartSession();
    if (PlanView) PlanView->SetJournal(Journal.get());
    if (Course) Course->SetJournal(Journal.get());
}

void TForm1::CloseJournal() {
    if (!Journal) return;
    if (PlanView) PlanView->SetJournal(nullptr);
    if (Course) Course->SetJournal(nullptr);
    Journal->EndSession();
    Journal.reset();
}

void TForm1::AfterPassInJournal() {
    TellJournalNotice();
    OfferNextLevelIfDue();
}

void TForm1::TellJournalNotice() {
    if (!Journal) return;
    // Opening runs on the journal's thread; its outcome is awaited briefly.
    Journal->Flush(1000);
    const std::optional<journal::Notice> notice = Journal->TakeNotice();
    if (!notice) return;
    // A data folder that takes nothing was told of already, for the lists.
    if (notice->Kind == journal::Outcome::Unwritable && Lists && !Lists->CanSave()) return;
    AskMessage(notice->Title, notice->Body, "", CaptionText(1));
}

// "Nächste Stufe?": on yes the tempo bar moves up one level, as if the
// learner had moved it; the next Play stores the level as always.
void TForm1::OfferNextLevelIfDue() {
    if (!Journal || !Course || !lessons::IsLesson(Course->CurrentLesson())) return;
    const int level = CurrentLevel();
    if (!Journal->TakeNextLevelOffer(Course->CurrentLesson(), level)) return;
    if (AskMessage(MessageText(406), MessageText(407).arg(level + 1), CaptionText(4),
                   CaptionText(3)) != mrOk)
        return;
    TrBarTempo->SetPosition(level + 1);
    TrBarTempoMouseMove(TrBarTempo, {}, 0, 0);
}

} // namespace app
