// The main window's lesson work: opening a lesson on the main screen and
// starting the course again.

#include "app/mainwindow.h"
#include "platform/ui/application.h"


namespace app {

using namespace platform;

void TForm1::OpenLesson() {
    const int lesson = Course->CurrentLesson();
    if (!lessons::IsLesson(lesson)) return; // negative: none; above 29: a damaged list
    // No cursor, no transport, no video button.
    Course->LessonOpening();
    DisableTransport();
    BVideoStop->Hide();
    // The tempo level and the play count come from the plan.
    const int level = Course->OpeningLevel();
    Keys->SetLevel(level);
    // Nothing plays on, and the transport's counters start afresh.
    Transport->LeaveLesson();
    if (MediaPlayerPlaying() || Transport->Busy()) BStopClick(this);
    SlidePicturePrefix = Places->ProgramFolder + "lektion" + std::to_string(lesson) + "\\DiaA";
    Tools->Monitor->LessonOpened(lesson);
    // The lesson's values and its main screen. The last lesson's backdrop,
    // point and mark go first, so that a lesson whose skin is missing shows
    // an empty screen rather than the one before.
    Screen->Clear();
    PlayCursor->Forget();
    if (Course->LoadMainScreen(lesson)) {
        Screen->Wire();
        Course->SetQuizFinished(false);
    }
    // The cursor, the LED delay and the level's exercise.
    Transport->OpenLesson(Course->TransportLessonOf(lesson), level);
    BMonitor->SetEnabled(true);
    BKontrolle->SetEnabled(true);
    BLocator->SetLatched(false);
    TrBarTempo->SetEnabled(TransportKeys::LessonHasTempo(lesson));
    BWeiter->Hide();
    ShowPassProgress();
    Access->DescribePassCount();
    Repaint();
    platform::ReturnFreedMemorySoon();
}

void TForm1::ResetCourse() {
    Course->ResetCourse();
}

void TForm1::CourseWasReset() {
    Videos->ChooseVideo(true);
    RefreshPlanPanel();
    ClearLessonScreen();
    ShowNoLessonScreen();
}

void TForm1::MovePlayPoint(bool erase) {
    PlayCursor->MovePoint(&PointWork, &PointBmp, erase);
}

} // namespace app
