// Stand-in for a main-window operation that the lessons part brings:
// starting the course over. It goes when the real one lands.

#include "app/mainwindow.h"

namespace app {

void TForm1::ResetCourse() {
    Lists->ResetLists();
    CurrentLesson = -1;
    IntroVideoPath = ProgramFolder + "lektionX\\IntroVideo.avi";
    RefreshPlanPanel();
    ClearLessonScreen();
    ShowNoLessonScreen();
}

} // namespace app
