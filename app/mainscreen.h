#pragma once
// MainScreen: the middle of the main window as a skin file lays it out (the
// greeting, the no-lesson and a lesson's main screen). Once the window's
// skin loader has made the elements, Wire() takes the backdrop picture the
// skin names (tag 200) for the window's own painting, cuts the skin's
// cut-out rectangles (tag 300) into it, and gives the pictures and texts
// that lead somewhere their click: the slide windows (tags 101 to 103), the
// tuner (403) and help (405); the other tool tags (401 to 409) only show the
// hand. Nothing opens while `MayOpen` says no.

#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphics.h"

#include <functional>

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

    MainScreen(platform::TForm* form, Actions actions);

    // Takes the backdrop and wires the elements the form holds now.
    void Wire();
    // Forgets the backdrop.
    void Clear() { Backdrop.SetSize(0, 0); }
    // Draws the backdrop at its place, when there is one.
    void Paint(platform::TCanvas* canvas);

    platform::TBitmap Backdrop;
    int BackdropLeft = 0, BackdropTop = 0;

private:
    void TakeBackdrop();
    void CutOut(platform::TShape* shape);
    void WireControl(platform::TControl* control, int tag);

    platform::TForm* form_;
    Actions actions_;
};

} // namespace app
