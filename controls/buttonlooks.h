#pragma once
// ButtonLooks: the look state the fade button and the aqua button share. A
// skinned button shows one of four looks (ButtonLook); it keeps the caption
// font and colour of the look in use, the latch that every press toggles
// (holding the pressed look while `Fix` is set), and one background picture
// per look, sized to the button: colour fades it makes itself, or pictures
// the program supplies (`TakeImg`). The brushes, pens, fonts and colours of
// the looks are the LookSet's.

#include "controls/lookset.h"
#include "platform/ui/graphics.h"

namespace controls {

// The four looks of the skinned buttons and the track bar.
enum ButtonLook { LookNormal = 1, LookOver = 2, LookDown = 3, LookOverAfterUp = 4 };

class ButtonLooks : public LookSet {
public:
    bool TakeImg() const { return takeImg_; }
    void SetTakeImg(bool take) { takeImg_ = take; }
    bool Fix() const { return fix_; }
    virtual void SetFix(bool fix) { fix_ = fix; }

    // The look shown (ButtonLook), the latch flag, the caption colour and
    // font in use, and the background of a look.
    int Look() const { return look_; }
    bool Latched() const { return latched_; }
    platform::TColor CurrentTextColor() const { return currentTextColor_; }
    const platform::TFont* CurrentFont() const { return &currentFont_; }
    const platform::TBitmap* Background(int look) const;

protected:
    ButtonLooks() = default;
    ~ButtonLooks() = default;

    // The button draws itself again.
    virtual void RedrawLook() = 0;

    // Shows `look` with its caption font and colour.
    void ShowLook(int look, const platform::TFont* font, platform::TColor textColour);
    // A latching button whose latch is set keeps its pressed look.
    bool HeldDown() const { return fix_ && latched_; }
    // Whether the backgrounds are not `width` x `height`; sizes them.
    bool BackgroundsDiffer(int width, int height) const;
    void SizeBackgrounds(int width, int height);
    // The three backgrounds as colour fades of the looks' brushes, unless the
    // button takes supplied pictures.
    void MakeFades();

    platform::TFont currentFont_;
    platform::TColor currentTextColor_ = 0;
    bool takeImg_ = false;
    bool fix_ = false;
    int look_ = LookNormal;
    bool latched_ = false;
    platform::TBitmap buffer_, background_, overBackground_, downBackground_;
};

} // namespace controls
