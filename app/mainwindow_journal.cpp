// The main window's side of the practice journal: after a pass, a trouble
// with the journal told once and the tempo ladder's next level taken.

#include "app/mainwindow.h"

namespace app {

using namespace platform;

void TForm1::AfterPassInJournal() {
    TellJournalNotice();
    // On yes the tempo bar moves up one level, as if the learner had moved
    // it; the next Play stores the level as always.
    if (!lessons::IsLesson(Course->CurrentLesson())) return;
    const int level = Keys->Level();
    if (!Practice->OfferNextLevel(Course->CurrentLesson(), level)) return;
    TrBarTempo->SetPosition(level + 1);
    TrBarTempoMouseMove(TrBarTempo, {}, 0, 0);
}

void TForm1::TellJournalNotice() {
    Practice->TellNotice(Lists && !Lists->CanSave());
}

} // namespace app
