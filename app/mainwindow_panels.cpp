// The main window's side of its left column (the ToolColumn): the lists kept
// saved and guarded against the process being ended from outside, the plan
// panel's buttons, and the handlers of the column's buttons.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "platform/core/cp1252.h"
#include "platform/ui/sessionend.h"
#include "platform/ui/sound.h"
#include "sprachbank/sprachbank.h"

#include <QCoreApplication>

namespace app {

using namespace platform;

// ============================================================ construction

void TForm1::SetUpToolColumn() {
    Tools = std::make_unique<ToolColumn>(*this, *Course, *Lists, *Cues, *Places, Videos->Path,
                                         ToolColumn::LessonScreen{[this] { OpenLesson(); },
                                                                  [this] {
                                                                      ClearLessonScreen();
                                                                      TrBarTempo->SetEnabled(false);
                                                                      DisableTransport();
                                                                  },
                                                                  [this] { ShowNoLessonScreen(); }});
    // The lists save themselves from now on, also when the process is ended
    // from outside.
    Lists->KeepSavedIn(Places->DataFolder, ProgramOnCdRom());
    SessionEnd = std::make_unique<SessionEndGuard>([this] {
        if (Lists) Lists->SaveNow();
        // At the very end of the process (a window never closed) Qt and its
        // database drivers may be gone already: the journal, written as it
        // goes, is then left to the operating system.
        if (QCoreApplication::instance() != nullptr && Practice) Practice->Close();
    });
    Tools->Build(DLL_GetLanguage());
    Practice->Open(Places->DataFolder, !ProgramOnCdRom(), Places->SettingsFile);
    BNext = Tools->PlanView->BNext;
    BVonVorn = Tools->PlanView->BVonVorn;
    Videos->SetPlanButtons(BVonVorn, BNext);
    BRemove = MakeButton(PUeplan, "BRemove");
    BRemove->Hide();
    BRemove->OnClick = [this](TObject* sender) { BRemoveClick(sender); };
    BUeplan->OnClick = [this](TObject* sender) { BUeplanClick(sender); };
    BExplorer->OnClick = [this](TObject* sender) { BExplorerClick(sender); };
    BMonitor->OnClick = [this](TObject* sender) { BMonitorClick(sender); };
}

// Told at the first showing, so that progress that cannot be kept on disk
// is no surprise at the end of a session.
void TForm1::TellIfListsCannotBeSaved() {
    if (!Lists || Lists->CanSave()) return;
    AskMessage(MessageText(300), MessageText(301).arg(FromAnsi(Lists->SaveFolder())), "", CaptionText(1));
}

void TForm1::RefreshPlanPanel() {
    if (Tools && Tools->PlanView) Tools->PlanView->RefreshPlanPanel();
}

// ============================================================ tool buttons

void TForm1::BUeplanClick(TObject*) {
    if (Video->Playing) return;
    if (MediaPlayerPlaying()) StopMediaPlayer();
    PlaySound(nullptr, 0);
    Tools->ShowPlan();
}

void TForm1::BStimmClick(TObject* sender) {
    if (Video->Playing) return;
    if (MediaPlayerPlaying()) BStopClick(sender);
    PlaySound(nullptr, 0);
    Tools->ShowTuner();
}

void TForm1::BMonitorClick(TObject*) {
    if (Video->Playing) return;
    if (MediaPlayerPlaying()) StopMediaPlayer();
    PlaySound(nullptr, 0);
    Tools->ShowMonitor();
}

// The mode button: tutorial (the practice plan) or explorer (any lesson).
void TForm1::BExplorerClick(TObject* sender) {
    if (Video->Playing) return;
    if (MediaPlayerPlaying()) BStopClick(sender);
    PlaySound(nullptr, 0);
    Tools->SwitchMode();
    Repaint(); // the cover of the quiz button follows its visibility
}

// ============================================================ plan handlers

void TForm1::BNextClick(TObject*) {
    Tools->PlanView->BNextClick();
}
void TForm1::BVonVornClick(TObject*) {
    Tools->PlanView->BVonVornClick();
}
void TForm1::BRemoveClick(TObject*) {
    Tools->PlanView->BRemoveClick();
}
void TForm1::SelectPlanEntry(TObject* sender) {
    Tools->PlanView->SelectPlanEntry(sender);
}

} // namespace app
