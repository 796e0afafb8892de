#include "controls/lookset.h"

namespace controls {

using namespace platform;

LookSet::LookSet() {
    brush_.SetColor(0x808080);
    pen_.SetColor(0x15C8FB);
    pen_.SetStyle(psClear);
    downPen_.SetColor(0x444444);
    overFont_.SetColor(0x444444);
    downFont_.SetColor(0x444444);
    brush_.OnChange = [this] { LookSetChanged(); };
    pen_.OnChange = [this] { LookSetChanged(); };
}

void LookSet::SetFadeOutColor(TColor colour) {
    fadeOutColor_ = colour;
    LookSetChanged();
}

void LookSet::SetTopTextColor(TColor colour) {
    topTextColor_ = colour;
    TopTextColorSet(colour);
    LookSetChanged();
}

void LookSet::SetTopTextClOver(TColor colour) {
    topTextClOver_ = colour;
    LookSetChanged();
}

void LookSet::SetTopTextClDown(TColor colour) {
    topTextClDown_ = colour;
    LookSetChanged();
}

void LookSet::SetTShadeDimension(int pixels) {
    shadeDimension_ = pixels;
    LookSetChanged();
}

} // namespace controls
