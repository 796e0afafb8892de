#pragma once
// TStartScreen: the picture the learner sees while the program starts, with
// the link to the product's web site. It hides itself when clicked or when
// another window becomes active; the main window's timer replaces it by the
// main window after three seconds.

#include "lessons/skinloader.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

#include <memory>

namespace app {

class TForm1;

class TStartScreen : public platform::TForm {
public:
    TStartScreen(platform::TComponent* owner, TForm1* mainWindow);

    platform::TImage* Picture;
    // Lives while the start screen shows.
    std::unique_ptr<lessons::SkinLoader> Skin;

    void FormShow(platform::TObject* Sender);
    void FormHide(platform::TObject* Sender);
    void FormDeactivate(platform::TObject* Sender);
    void PictureClick(platform::TObject* Sender);

private:
    void WireWebLink();

    TForm1* main_;
};

} // namespace app
