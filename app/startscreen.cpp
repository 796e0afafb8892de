#include "app/startscreen.h"

#include "app/msgwin.h"
#include "app/skinerrors.h"
#include "platform/core/cp1252.h"
#include "platform/ui/exceptions.h"
#include "platform/ui/shell.h"

namespace app {

using namespace platform;

namespace {
constexpr int kWebLinkTag = 500;
}

TStartScreen::TStartScreen(TComponent* owner, std::string programFolder, QString webAddress,
                           PictureLoader loadPicture)
    : TForm(owner), programFolder_(std::move(programFolder)), webAddress_(std::move(webAddress)),
      loadPicture_(std::move(loadPicture)) {
    SetName("StartScreen");
    SetPosition(poScreenCenter);
    Picture = new TImage(this);
    Picture->SetParent(this);
    Picture->SetBounds(0, 0, 10, 10);
    Picture->SetAutoSize(true);
    Picture->OnClick = [this](TObject* sender) { PictureClick(sender); };
    OnClick = [this](TObject* sender) { PictureClick(sender); };
    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnHide = [this](TObject* sender) { FormHide(sender); };
    OnDeactivate = [this](TObject* sender) { FormDeactivate(sender); };
    SetCaption("Zupfari Basis");
    Picture->SetAccessibleName(CaptionText(522));
}

// A damaged picture or skin is reported in the standard error display, and
// the start goes on: the timer that brings the main window always runs.
void TStartScreen::FormShow(TObject*) {
    Skin = std::make_unique<lessons::SkinLoader>(this);
    ReportPictureErrors(*Skin);
    GuardedCall(this, [this] {
        loadPicture_(Picture, programFolder_ + "Screen\\startbild.jpg");
        SetClientWidth(Picture->Width());
        SetClientHeight(Picture->Height());
    });
    GuardedCall(this, [this] {
        Skin->LoadSkin(FromAnsi(programFolder_) + "Screen\\StartScreen.zs1", "0");
    });
    GuardedCall(this, [this] { WireWebLink(); });
    if (OnShown) OnShown();
}

// The first text of the window tagged 500 opens the product's web site.
void TStartScreen::WireWebLink() {
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* label = dynamic_cast<TLabel*>(Components(i));
        if (label == nullptr || label->Tag() != kWebLinkTag) continue;
        label->SetCursor(crHandPoint);
        label->SetAccessibleRole(arLink);
        label->OnClick = [this](TObject*) { ShellOpen(webAddress_); };
        return;
    }
}

void TStartScreen::FormHide(TObject*) {
    Skin.reset();
}

void TStartScreen::FormDeactivate(TObject*) {
    Hide();
}

void TStartScreen::PictureClick(TObject*) {
    Hide();
}

} // namespace app
