// The main window's left column: the practice plan, the tuner, the explorer
// and the monitor, each a panel of its own in the same place, one shown at a
// time; the switch between tutorial and explorer mode; and the guard that
// saves the learner's lists when the process is ended from outside.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "plan/planpanel.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/sessionend.h"
#include "platform/ui/sound.h"
#include "sprachbank/sprachbank.h"
#include "tools/explorer.h"
#include "tools/monitor.h"
#include "tools/tuner.h"

#include <QCoreApplication>
#include <algorithm>

namespace app {

using namespace platform;

// ============================================================ construction

// The first of the four set-ups: also makes the lists save themselves from
// now on, and guards them against the process being ended from outside.
void TForm1::SetUpPlanPanel() {
    Lists->KeepSavedIn(Places->DataFolder, ProgramOnCdRom());
    SessionEnd = std::make_unique<SessionEndGuard>([this] {
        if (Lists) Lists->SaveNow();
        // At the very end of the process (a window never closed) Qt and its
        // database drivers may be gone already: the journal, written as it
        // goes, is then left to the operating system.
        if (QCoreApplication::instance() != nullptr && Practice) Practice->Close();
    });
    PlanView =
        std::make_unique<plan::PlanPanel>(PUeplan, *Course, *Lists, *Cues, ExplorerTitles);
    PlanView->BuildPlanPanel();
    Practice->Open(Places->DataFolder, !ProgramOnCdRom(), Places->SettingsFile);
    BNext = PlanView->BNext;
    BVonVorn = PlanView->BVonVorn;
    BRemove = MakeButton(PUeplan, "BRemove");
    BRemove->Hide();
    BRemove->OnClick = [this](TObject* sender) { BRemoveClick(sender); };
    BUeplan->OnClick = [this](TObject* sender) { BUeplanClick(sender); };
}

void TForm1::SetUpExplorer() {
    Explorer = std::make_unique<tools::ExplorerPanel>(PExplorer, BScrollUp, BScrollDown,
                                                      *Course, *Cues, ExplorerTitles,
                                                      ExplorerTexts, IntroVideoPath, Places->WebSiteAddress);
    Explorer->BuildExplorerPanel();
    BExplorer->OnClick = [this](TObject* sender) { BExplorerClick(sender); };
}

void TForm1::SetUpMonitor() {
    Monitor = std::make_unique<tools::MonitorPanel>(PMonitor, VideoPanel, *Course, *Cues);
    Monitor->BuildMonitorPanel();
    BMonitor->OnClick = [this](TObject* sender) { BMonitorClick(sender); };
}

void TForm1::SetUpTuner() {
    Tuner = std::make_unique<tools::TunerPanel>(PTuner, BTunerAkkord, *Course);
    Tuner->BuildTunerPanel(DLL_GetLanguage());
}

// Told at the first showing, so that progress that cannot be kept on disk
// is no surprise at the end of a session.
void TForm1::TellIfListsCannotBeSaved() {
    if (!Lists || Lists->CanSave()) return;
    AskMessage(MessageText(300), MessageText(301).arg(FromAnsi(Lists->SaveFolder())), "", CaptionText(1));
}

void TForm1::RefreshPlanPanel() {
    if (PlanView) PlanView->RefreshPlanPanel();
}

// ============================================================ tool buttons

void TForm1::ShowToolPanel(TPanel* panel) {
    for (TPanel* each : {PUeplan, PExplorer, PMonitor, PTuner})
        if (each != panel) each->Hide();
    panel->Show();
}

void TForm1::BUeplanClick(TObject*) {
    if (Video->Playing) return;
    if (MediaPlayerPlaying()) StopMediaPlayer();
    PlaySound(nullptr, 0);
    Cues->PlayClick(true, false);
    ShowToolPanel(Course->ExplorerMode() ? PExplorer : PUeplan);
}

void TForm1::BStimmClick(TObject* sender) {
    if (Video->Playing) return;
    if (MediaPlayerPlaying()) BStopClick(sender);
    PlaySound(nullptr, 0);
    Cues->PlayClick(true, false);
    ShowToolPanel(PTuner);
}

void TForm1::BMonitorClick(TObject*) {
    if (Video->Playing) return;
    if (MediaPlayerPlaying()) StopMediaPlayer();
    PlaySound(nullptr, 0);
    Cues->PlayClick(true, false);
    Monitor->SetLesson(Course->CurrentLesson());
    Monitor->NextPicture(Monitor->ImgMon1);
    Monitor->UpdateMonitorButtons();
    ShowToolPanel(PMonitor);
}

// The mode button: tutorial (the practice plan) or explorer (any lesson).
void TForm1::BExplorerClick(TObject* sender) {
    if (Video->Playing) return;
    PMonitor->Hide();
    PTuner->Hide();
    if (MediaPlayerPlaying()) BStopClick(sender);
    PlaySound(nullptr, 0);
    Cues->PlayClick(true, false);
    if (Course->ExplorerMode()) {
        Course->SetExplorerMode(false);
        PExplorer->Hide();
        PUeplan->Show();
        BUeplan->SetText(CaptionText(11));
        BKontrolle->Show();
        BKontrolle->SetEnabled(true);
        LoadPictureInto(ImgModus, Places->ProgramFolder + "Bilder\\tutorialdisplay.jpg");
        LModusAnzeige->SetCaption("Tutorial");
        // The lesson that was open before the explorer comes back.
        const int entry = Course->TutorialEntryToReopen();
        Lists->CurrentEntry = std::max(entry, 0);
        if (entry >= 0) {
            Course->SetCurrentLesson(Lists->Plan[std::size_t(entry)].Lesson);
            OpenLesson();
        } else if (Lists->Plan[0].Lesson < 0) {
            ClearLessonScreen();
            TrBarTempo->SetEnabled(false);
            DisableTransport();
            Course->SetCurrentLesson(-1);
            ShowNoLessonScreen();
        } else {
            Course->SetCurrentLesson(Lists->Plan[0].Lesson);
            OpenLesson();
        }
    } else {
        Course->SetExplorerMode(true);
        PUeplan->Hide();
        PExplorer->Show();
        BUeplan->SetText(CaptionText(12));
        LModusAnzeige->SetCaption(CaptionText(12));
        BKontrolle->Hide();
        LoadPictureInto(ImgModus, Places->ProgramFolder + "Bilder\\explorerdisplay.jpg");
        Course->SetCurrentLesson(Explorer->ExplorerLesson);
        OpenLesson();
        Explorer->ShowExplorerText(Course->CurrentLesson());
    }
    Repaint(); // the cover of the quiz button follows its visibility
}

// ============================================================ plan handlers

void TForm1::BNextClick(TObject*) {
    PlanView->BNextClick();
}
void TForm1::BVonVornClick(TObject*) {
    PlanView->BVonVornClick();
}
void TForm1::BRemoveClick(TObject*) {
    PlanView->BRemoveClick();
}
void TForm1::SelectPlanEntry(TObject* sender) {
    PlanView->SelectPlanEntry(sender);
}

} // namespace app
