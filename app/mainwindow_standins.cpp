// Stand-ins for main-window operations that other parts of the program
// bring (opening a lesson, the slide windows, the video player, the
// transport). Each one goes when the real one lands; until then they keep
// the panels usable: "Neue Übung" takes the lesson straight into the plan,
// as finishing its slide windows will.

#include "app/mainwindow.h"
#include "app/msgwin.h"

namespace app {

using namespace platform;

void TForm1::OpenLesson() {}

void TForm1::OpenSlidesA() {
    if (CurrentLesson < 0 || !Lists->IntroMode()) return;
    Lists->CurrentEntry = Lists->TakeIntoPlan(CurrentLesson);
    RefreshPlanPanel();
    BVonVorn->Show();
    OpenLesson();
}

void TForm1::ResetCourse() {
    Lists->ResetLists();
    CurrentLesson = -1;
    IntroVideoPath = ProgramFolder + "lektionX\\IntroVideo.avi";
    RefreshPlanPanel();
    ClearLessonScreen();
    ShowNoLessonScreen();
}

void TForm1::PlayVideo(const std::string&, const std::string&, const TRect&, int, int, TPanel*) {}

} // namespace app
