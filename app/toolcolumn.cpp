#include "app/toolcolumn.h"

#include "app/msgwin.h"

#include <algorithm>

namespace app {

using namespace platform;

ToolColumn::ToolColumn(MainWindowLook& look, lessons::CourseSession& course, plan::ListStore& lists,
                       playback::SoundCues& cues, const ProgramPlaces& places,
                       const std::string& introVideoPath, LessonScreen screen)
    : look_(look), course_(course), lists_(lists), cues_(cues), places_(places),
      introVideoPath_(introVideoPath), screen_(std::move(screen)) {}

void ToolColumn::Build(int languageCode) {
    look_.PMonitor->Hide();
    look_.PExplorer->Hide();
    PlanView = std::make_unique<plan::PlanPanel>(look_.PUeplan, course_, lists_, cues_, ExplorerTitles);
    PlanView->BuildPlanPanel();
    Explorer = std::make_unique<tools::ExplorerPanel>(look_.PExplorer, look_.BScrollUp, look_.BScrollDown,
                                                      course_, cues_, ExplorerTitles, ExplorerTexts,
                                                      introVideoPath_, places_.WebSiteAddress);
    Explorer->BuildExplorerPanel();
    Monitor = std::make_unique<tools::MonitorPanel>(look_.PMonitor, look_.VideoPanel, course_, cues_);
    Monitor->BuildMonitorPanel();
    Tuner = std::make_unique<tools::TunerPanel>(look_.PTuner, look_.BTunerAkkord, course_);
    Tuner->BuildTunerPanel(languageCode);
}

void ToolColumn::ReadExplorerTexts() {
    plan::ListStore::ReadExplorerTexts(places_.ProgramFolder, ExplorerTitles, ExplorerTexts);
    if (Explorer) Explorer->RefreshRows();
}

void ToolColumn::ShowPanel(TPanel* panel) {
    for (TPanel* each : {look_.PUeplan, look_.PExplorer, look_.PMonitor, look_.PTuner})
        if (each != panel) each->Hide();
    panel->Show();
}

void ToolColumn::ShowPlan() {
    cues_.PlayClick(true, false);
    ShowPanel(course_.ExplorerMode() ? look_.PExplorer : look_.PUeplan);
}

void ToolColumn::ShowTuner() {
    cues_.PlayClick(true, false);
    ShowPanel(look_.PTuner);
}

void ToolColumn::ShowMonitor() {
    cues_.PlayClick(true, false);
    Monitor->SetLesson(course_.CurrentLesson());
    Monitor->NextPicture(Monitor->ImgMon1);
    Monitor->UpdateMonitorButtons();
    ShowPanel(look_.PMonitor);
}

void ToolColumn::SwitchMode() {
    look_.PMonitor->Hide();
    look_.PTuner->Hide();
    cues_.PlayClick(true, false);
    if (course_.ExplorerMode())
        ToTutorialMode();
    else
        ToExplorerMode();
}

// The lesson that was open before the explorer comes back; without one the
// plan's first, and with an empty plan no lesson.
void ToolColumn::ToTutorialMode() {
    course_.SetExplorerMode(false);
    look_.PExplorer->Hide();
    look_.PUeplan->Show();
    look_.BUeplan->SetText(CaptionText(11));
    look_.BKontrolle->Show();
    look_.BKontrolle->SetEnabled(true);
    look_.LoadPicture(look_.ImgModus, places_.ProgramFolder + "Bilder\\tutorialdisplay.jpg");
    look_.LModusAnzeige->SetCaption("Tutorial");
    const int entry = course_.TutorialEntryToReopen();
    lists_.CurrentEntry = std::max(entry, 0);
    if (entry >= 0) {
        course_.SetCurrentLesson(lists_.Plan[std::size_t(entry)].Lesson);
        screen_.OpenLesson();
    } else if (lists_.Plan[0].Lesson < 0) {
        screen_.ClearLesson();
        course_.SetCurrentLesson(-1);
        screen_.ShowNoLesson();
    } else {
        course_.SetCurrentLesson(lists_.Plan[0].Lesson);
        screen_.OpenLesson();
    }
}

void ToolColumn::ToExplorerMode() {
    course_.SetExplorerMode(true);
    look_.PUeplan->Hide();
    look_.PExplorer->Show();
    look_.BUeplan->SetText(CaptionText(12));
    look_.LModusAnzeige->SetCaption(CaptionText(12));
    look_.BKontrolle->Hide();
    look_.LoadPicture(look_.ImgModus, places_.ProgramFolder + "Bilder\\explorerdisplay.jpg");
    course_.SetCurrentLesson(Explorer->ExplorerLesson);
    screen_.OpenLesson();
    Explorer->ShowExplorerText(course_.CurrentLesson());
}

} // namespace app
