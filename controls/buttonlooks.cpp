#include "controls/buttonlooks.h"

#include "controls/fade.h"

namespace controls {

using namespace platform;

const TBitmap* ButtonLooks::Background(int look) const {
    if (look == LookOver || look == LookOverAfterUp) return &overBackground_;
    if (look == LookDown) return &downBackground_;
    return &background_;
}

void ButtonLooks::ShowLook(int look, const TFont* font, TColor textColour) {
    look_ = look;
    currentFont_ = *font;
    currentTextColor_ = textColour;
    RedrawLook();
}

bool ButtonLooks::BackgroundsDiffer(int width, int height) const {
    return background_.Width() != width || background_.Height() != height;
}

void ButtonLooks::SizeBackgrounds(int width, int height) {
    background_.SetSize(width, height);
    overBackground_.SetSize(width, height);
    downBackground_.SetSize(width, height);
}

void ButtonLooks::MakeFades() {
    if (takeImg_) return;
    CreateBackground(&background_, brush_.Color(), fadeOutColor_);
    CreateBackground(&overBackground_, overBrush_.Color(), fadeOutColor_);
    CreateBackground(&downBackground_, downBrush_.Color(), fadeOutColor_);
}

} // namespace controls
