#pragma once
// ToolColumn: the main window's left column. The practice plan, the tuner,
// the explorer and the monitor are each a panel of their own in the same
// place, one shown at a time; the column builds them, shows the one asked
// for, and switches between tutorial mode (the practice plan, the quiz) and
// explorer mode (any lesson), which changes the column, the mode display
// and the lesson on the screen.

#include "app/mainlook.h"
#include "app/programplaces.h"
#include "lessons/coursesession.h"
#include "plan/liststore.h"
#include "plan/planpanel.h"
#include "playback/soundcues.h"
#include "tools/explorer.h"
#include "tools/monitor.h"
#include "tools/tuner.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <string>

namespace app {

class ToolColumn {
public:
    // What a change of mode asks of the window's lesson screen.
    struct LessonScreen {
        // Opens the course's current lesson.
        std::function<void()> OpenLesson;
        // No lesson any more: the screen cleared, the transport off.
        std::function<void()> ClearLesson;
        // Then the no-lesson screen.
        std::function<void()> ShowNoLesson;
    };

    // `introVideoPath` is the window's, read by the explorer when it plays.
    ToolColumn(MainWindowLook& look, lessons::CourseSession& course, plan::ListStore& lists,
               playback::SoundCues& cues, const ProgramPlaces& places,
               const std::string& introVideoPath, LessonScreen screen);

    // Builds the four panels (once); the plan shows, the others hide.
    void Build(int languageCode);
    // The explorer's titles and texts from the program folder; the rows
    // name the lessons by their titles.
    void ReadExplorerTexts();

    // Shows `panel`, hides the other three.
    void ShowPanel(platform::TPanel* panel);
    // The plan, or the explorer in explorer mode.
    void ShowPlan();
    void ShowTuner();
    // The monitor on the open lesson, from its first picture.
    void ShowMonitor();
    // Tutorial to explorer mode and back.
    void SwitchMode();

    std::unique_ptr<plan::PlanPanel> PlanView;
    std::unique_ptr<tools::TunerPanel> Tuner;
    std::unique_ptr<tools::ExplorerPanel> Explorer;
    std::unique_ptr<tools::MonitorPanel> Monitor;
    QStringList ExplorerTitles, ExplorerTexts;

private:
    void ToTutorialMode();
    void ToExplorerMode();

    MainWindowLook& look_;
    lessons::CourseSession& course_;
    plan::ListStore& lists_;
    playback::SoundCues& cues_;
    const ProgramPlaces& places_;
    const std::string& introVideoPath_;
    LessonScreen screen_;
};

} // namespace app
