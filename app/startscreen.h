#pragma once
// TStartScreen: the picture the learner sees while the program starts, with
// the link to the product's web site. It hides itself when clicked or when
// another window becomes active; the StartSequence replaces it by the main
// window after three seconds.

#include "lessons/skinloader.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace app {

class TStartScreen : public platform::TForm {
public:
    // Loads the content file (a full Windows-1252 path) into the picture.
    using PictureLoader = std::function<void(platform::TImage*, const std::string&)>;

    // `programFolder` holds the picture and the skin; the link opens `webAddress`.
    TStartScreen(platform::TComponent* owner, std::string programFolder, QString webAddress,
                 PictureLoader loadPicture);

    platform::TImage* Picture;
    // Lives while the start screen shows.
    std::unique_ptr<lessons::SkinLoader> Skin;

    void FormShow(platform::TObject* Sender);
    void FormHide(platform::TObject* Sender);
    void FormDeactivate(platform::TObject* Sender);
    void PictureClick(platform::TObject* Sender);

    // Called at the end of every showing, whatever it managed to show.
    std::function<void()> OnShown;

private:
    void WireWebLink();

    const std::string programFolder_;
    const QString webAddress_;
    const PictureLoader loadPicture_;
};

} // namespace app
