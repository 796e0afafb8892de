// The main window's side of the middle of the window when no lesson is
// open: the MainScreen shows the greeting and the no-lesson screen and the
// pass count; the window adds what belongs to the course and the transport.

#include "app/mainwindow.h"
#include "lessons/slidewindows.h"
#include "playback/soundcues.h"

namespace app {

using namespace platform;

void TForm1::ClearLessonScreen() {
    // The point goes before the screen is painted anew.
    if (PlayCursor) PlayCursor->Forget();
    Screen->ClearLesson(Skin.get());
    Keys->Reset();
    Transport->ClearLesson();
}

void TForm1::ShowNoLessonScreen() {
    Screen->ShowNoLesson(Skin.get(), Videos->VideoThere());
    Course->SetQuizFinished(false);
}

void TForm1::ShowGreetingScreen() {
    Screen->ShowGreeting(Skin.get(), Lists->Plan[0].Lesson);
    Course->SetQuizFinished(false);
}

void TForm1::BWeiterClick(TObject*) {
    const int planned = Lists->Plan[0].Lesson;
    if (Video->Playing || !lessons::IsLesson(planned)) return;
    Cues->PlayClick(true, false);
    Lists->CurrentEntry = 0;
    Course->SetCurrentLesson(planned);
    OpenLesson();
}

void TForm1::ShowPassProgress() {
    Screen->ShowPassProgress(lessons::IsLesson(Course->CurrentLesson()) && !Course->ExplorerMode(),
                             Course->PlayCount(), lessons::CourseSession::kQuizPasses,
                             Course->QuizOpens(), Transport->LocatorSet());
}

// A pass counted: the lesson screen and the plan's row show it at once.
void TForm1::PassProgressChanged() {
    ShowPassProgress();
    RefreshPlanPanel();
}

void TForm1::CreateMainScreen() {
    MainScreen::Actions actions;
    // Nothing on the screen opens while a video or the exercise plays.
    actions.MayOpen = [this] {
        return !Video->Playing && !MediaPlayerPlaying() && !Transport->Busy();
    };
    actions.OpenSlides = [this](int window) {
        Cues->PlayClick(true, false);
        Course->SetOpenedFromLessonScreen(true);
        lessons::OpenSlideWindow(window);
    };
    actions.OpenTuner = [this](TObject* sender) { BStimmClick(sender); };
    actions.OpenHelp = [this](TObject* sender) { BHilfeClick(sender); };
    Screen = std::make_unique<MainScreen>(this, *this, std::move(actions));
}

} // namespace app
