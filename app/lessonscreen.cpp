// The middle of the main window when no lesson is open: the greeting screen
// and the no-lesson screen, both built from skin files by the window's skin
// loader, and the wiring that gives a loaded main screen's elements their
// meaning from their tags.

#include "app/mainwindow.h"
#include "app/shellservices.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "playback/soundcues.h"


namespace app {

using namespace platform;


void TForm1::ClearLessonScreen() {
    Screen->Clear();
    if (PlayCursor) PlayCursor->Forget();
    if (Skin) Skin->ClearElements();
    Repaint();
    TrBarTempo->SetPosition(1);
    TrBarTempo->SetEnabled(false);
    Transport->ClearLesson();
}

void TForm1::ShowNoLessonScreen() {
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
    Invalidate();
    Course->SetQuizFinished(false);
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
