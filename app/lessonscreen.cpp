// The middle of the main window when no lesson is open: the greeting screen
// and the no-lesson screen, both built from skin files by the window's skin
// loader, and the wiring that gives a loaded main screen's elements their
// meaning from their tags.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/shellservices.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "playback/soundcues.h"

#include <algorithm>

namespace app {

using namespace platform;


void TForm1::ClearLessonScreen() {
    BWeiter->Hide();
    LProgress->Hide();
    Screen->Clear();
    if (PlayCursor) PlayCursor->Forget();
    if (Skin) Skin->ClearElements();
    Repaint();
    Keys->Reset();
    Transport->ClearLesson();
}

void TForm1::ShowNoLessonScreen() {
    BWeiter->Hide();
    LProgress->Hide();
    BKontrolle->SetEnabled(false);
    TrBarTempo->SetEnabled(false);
    BMonitor->SetEnabled(false);
    if (Skin) Skin->LoadSkin("lektionX\\MainWin.zs1", "x");
    Screen->Wire();
    BVideoStop->SetBgBmp(&VideoPlayBmp);
    BVideoStop->SetVisible(AnsiPathExists(IntroVideoPath));
    Repaint();
    Course->SetQuizFinished(false);
}

void TForm1::ShowGreetingScreen() {
    BKontrolle->SetEnabled(false);
    TrBarTempo->SetEnabled(false);
    BMonitor->SetEnabled(false);
    if (Skin) Skin->LoadSkin("lektionY\\MainWin.zs1", "0");
    Screen->Wire();
    BVideoStop->Hide();
    LProgress->Hide();
    // A learner who comes back goes on with the plan's first lesson.
    const int planned = Lists->Plan[0].Lesson;
    BWeiter->SetVisible(lessons::IsLesson(planned));
    if (lessons::IsLesson(planned)) {
        BWeiter->SetText(CaptionText(613).arg(planned));
        BWeiter->BringToFront();
    }
    Invalidate();
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
    const bool shown = lessons::IsLesson(Course->CurrentLesson()) && !Course->ExplorerMode();
    LProgress->SetVisible(shown);
    if (!shown) return;
    constexpr int kPasses = lessons::CourseSession::kQuizPasses;
    const int passes = std::clamp(Course->PlayCount(), 0, kPasses);
    QString text = CaptionText(Course->QuizOpens() ? 601 : 600).arg(passes).arg(kPasses);
    if (Transport->LocatorSet()) text += "\n" + CaptionText(602);
    LProgress->SetCaption(text);
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
        OpenSlides(window);
    };
    actions.OpenTuner = [this](TObject* sender) { BStimmClick(sender); };
    actions.OpenHelp = [this](TObject* sender) { BHilfeClick(sender); };
    Screen = std::make_unique<MainScreen>(this, std::move(actions));
}

} // namespace app
