#pragma once
// TLessonWindow: what the slide windows and the quiz have in common. Each is
// a borderless window of the main window's size, drawn from a lesson's skin
// over a background picture, with the backdrop its skin names, and three
// caption buttons: "next" (or "OK"), "Abbrechen" and "Hilfe". The keys are
// the same in all of them: Esc cancels, Return goes on, F1 is help, T asks
// about the taskbar, Alt+F4 does nothing.

#include "controls/fadebutton.h"
#include "lessons/skinloader.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphics.h"

#include <QString>
#include <memory>
#include <string>

namespace lessons {

class TLessonWindow : public platform::TForm {
public:
    // `name` names the window; `background` is its background picture
    // (relative to the program folder); `buttonLook` is the suffix of the
    // button pictures ("" or "LF").
    TLessonWindow(platform::TComponent* owner, const QString& name, std::string background,
                  const QString& buttonLook);
    ~TLessonWindow() override;

    controls::TXFadeButton* BNext = nullptr;
    controls::TXFadeButton* BCancel = nullptr;
    controls::TXFadeButton* BHilfe = nullptr;

    std::unique_ptr<SkinLoader> Skin;
    platform::TBitmap Background;
    bool BackgroundPresent = false;
    platform::TBitmap Backdrop;
    int BackdropLeft = 0, BackdropTop = 0;

    virtual void BNextClick(platform::TObject* Sender) = 0;
    virtual void BCancelClick(platform::TObject* Sender) = 0;
    void BHilfeClick(platform::TObject* Sender);
    void FormKeyDown(platform::TObject* Sender, platform::WORD& Key, platform::TShiftState Shift);
    void FormShow(platform::TObject* Sender);
    void FormHide(platform::TObject* Sender);
    void FormPaint(platform::TObject* Sender);

protected:
    // Makes the three buttons, BNext with caption `nextCaption`; the window's
    // own first controls come before them in component order.
    void CreateButtons(int nextCaption);
    // A key the window answers beyond the common ones; true when it did.
    virtual bool WindowKey(platform::WORD& key, platform::TShiftState shift);
    // Painting between the background and the backdrop.
    virtual void PaintUnderBackdrop() {}
    // The skin's backdrop picture (tag 200) is tinted, kept for the window's
    // own painting and hidden; its tint rectangles (tags 201 to 299) are
    // hidden. True when `control` was one of them.
    bool TakeBackdrop(platform::TControl* control);
    controls::TXFadeButton* MakeButton(const QString& name, int captionNumber);

private:
    const std::string background_;
    const QString buttonLook_;
};

} // namespace lessons
