#pragma once
// MainScreen: the middle of the main window as a skin file lays it out (the
// greeting, the no-lesson and a lesson's main screen). Once the window's
// skin loader has made the elements, Wire() takes the backdrop picture the
// skin names (tag 200) for the window's own painting, cuts the skin's
// cut-out rectangles (tag 300) into it, and gives the pictures and texts
// that lead somewhere their click: the slide windows (tags 101 to 103), the
// tuner (403) and help (405); the other tool tags (401 to 409) only show the
// hand. Nothing opens while `MayOpen` says no.
//
// Around a lesson's screen it shows the greeting (with "Weiter" to the
// plan's first lesson), the no-lesson screen (with the intro video's button)
// and the open lesson's passes toward the quiz, on the window's controls.

#include "app/mainlook.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphics.h"

#include <functional>

namespace lessons {
class SkinLoader;
}

namespace app {

class MainScreen {
public:
    struct Actions {
        std::function<bool()> MayOpen;
        // 0 opens slide window A, 1 B, 2 C.
        std::function<void(int window)> OpenSlides;
        std::function<void(platform::TObject* sender)> OpenTuner;
        std::function<void(platform::TObject* sender)> OpenHelp;
    };

    // The elements are `form`'s; the screens around a lesson use `look`'s controls.
    MainScreen(platform::TForm* form, MainWindowLook& look, Actions actions);

    // Takes the backdrop and wires the elements the form holds now.
    void Wire();
    // Forgets the backdrop.
    void Clear() { Backdrop.SetSize(0, 0); }
    // Draws the backdrop at its place, when there is one.
    void Paint(platform::TCanvas* canvas);

    // The screens around a lesson. `skin` loads them; without one (leaving)
    // only the controls change.
    // No lesson's screen any more: backdrop, elements and pass count go.
    void ClearLesson(lessons::SkinLoader* skin);
    // The greeting; `plannedLesson` is the plan's first (none below 0).
    void ShowGreeting(lessons::SkinLoader* skin, int plannedLesson);
    // No lesson open; the intro video's button shows when `introVideoThere`.
    void ShowNoLesson(lessons::SkinLoader* skin, bool introVideoThere);
    // The open lesson's passes toward the quiz, `passes` of `needed` ("2 von
    // 3"), and whether the quiz opens; passes from the locator do not count.
    // Hidden when not `shown` (no lesson, explorer mode).
    void ShowPassProgress(bool shown, int passes, int needed, bool quizOpens, bool locatorSet);

    platform::TBitmap Backdrop;
    int BackdropLeft = 0, BackdropTop = 0;

private:
    void TakeBackdrop();
    void CutOut(platform::TShape* shape);
    void WireControl(platform::TControl* control, int tag);

    platform::TForm* form_;
    MainWindowLook& look_;
    Actions actions_;
};

} // namespace app
