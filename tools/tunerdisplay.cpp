#include "tools/tunerdisplay.h"

#include <algorithm>
#include <cmath>

namespace tools {

using namespace platform;

namespace {

constexpr TColor kInk = RGB(235, 235, 228);
constexpr TColor kDim = RGB(130, 136, 144);
constexpr TColor kTick = RGB(170, 175, 182);
// Rows of the display, from the top.
constexpr int kNoteTop = 14;
constexpr int kNoteHeight = 40;
constexpr int kScaleTop = 62;    // the needle's top
constexpr int kScaleLine = 80;   // the scale's base line
constexpr int kNeedleBottom = 86;
constexpr int kLineTop = 100;

TColor MoodColour(TunerDisplayState::Mood mood) {
    switch (mood) {
    case TunerDisplayState::InTune: return kDisplayInTune;
    case TunerDisplayState::OffPitch: return kDisplayOffPitch;
    case TunerDisplayState::Trouble: return kDisplayTrouble;
    case TunerDisplayState::Waiting: break;
    }
    return kDim;
}

void Text(TCanvas& canvas, const QString& text, TRect rect, unsigned align, int size, bool bold, TColor colour) {
    canvas.Font()->SetName("Arial");
    canvas.Font()->SetSize(size);
    canvas.Font()->SetStyle(bold ? TFontStyles(fsBold) : TFontStyles(0));
    canvas.Font()->SetColor(colour);
    canvas.Brush()->SetStyle(bsClear);
    canvas.DrawText(text, rect, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    canvas.Brush()->SetStyle(bsSolid);
}

void Fill(TCanvas& canvas, const TRect& rect, TColor colour) {
    canvas.Brush()->SetColor(colour);
    canvas.FillRect(rect);
}

void DrawScale(TCanvas& canvas, int width) {
    const int left = kScaleLeft, right = width - kScaleLeft;
    // The band of "in tune" around the middle.
    const int bandLeft = NeedleColumn(-kInTuneCents, width), bandRight = NeedleColumn(kInTuneCents, width);
    Fill(canvas, Rect(bandLeft, kScaleTop + 4, bandRight + 1, kScaleLine), RGB(40, 90, 56));
    Fill(canvas, Rect(left, kScaleLine, right + 1, kScaleLine + 2), kTick);
    for (int cents = -50; cents <= 50; cents += 10) {
        const int x = NeedleColumn(cents, width);
        const int length = cents % 50 == 0 ? 12 : (cents % 25 == 0 ? 8 : 4);
        Fill(canvas, Rect(x, kScaleLine - length, x + 1, kScaleLine), kTick);
    }
    const int labelTop = kScaleLine + 3;
    Text(canvas, "-50", Rect(left - 14, labelTop, left + 14, labelTop + 12), DT_CENTER, 7, false, kDim);
    Text(canvas, "0", Rect(width / 2 - 10, labelTop, width / 2 + 10, labelTop + 12), DT_CENTER, 7, false, kDim);
    Text(canvas, "+50", Rect(right - 14, labelTop, right + 14, labelTop + 12), DT_CENTER, 7, false, kDim);
}

void DrawNeedle(TCanvas& canvas, int width, double cents, TColor colour) {
    const int x = NeedleColumn(cents, width);
    Fill(canvas, Rect(x - 1, kScaleTop, x + 2, kNeedleBottom), colour);
    Fill(canvas, Rect(x - 3, kScaleTop, x + 4, kScaleTop + 3), colour);
    // Beyond the scale: an arrow outside the end points the way.
    if (std::fabs(cents) > kScaleCents) {
        const int direction = cents > 0 ? 1 : -1;
        for (int i = 0; i < 5; ++i) {
            const int column = x + direction * (4 + i);
            Fill(canvas, Rect(column, kScaleTop + 6 + i, column + 1, kScaleTop + 17 - i), colour);
        }
    }
}

} // namespace

int NeedleColumn(double cents, int width) {
    const double held = std::clamp(cents, -kScaleCents, kScaleCents);
    const double span = width - 2 * kScaleLeft;
    return kScaleLeft + int(std::lround((held + kScaleCents) / (2 * kScaleCents) * span));
}

void DrawTunerDisplay(TCanvas& canvas, int width, int height, const TunerDisplayState& state) {
    Fill(canvas, Rect(0, 0, width, height), kDisplayFace);
    const TColor mood = MoodColour(state.mood);
    if (!state.noteName.isEmpty())
        Text(canvas, state.noteName, Rect(0, kNoteTop, width, kNoteTop + kNoteHeight), DT_CENTER, 24, true,
             state.heard ? (state.mood == TunerDisplayState::InTune ? kDisplayInTune : kInk) : kDim);
    if (state.heard && !state.frequency.isEmpty())
        Text(canvas, state.frequency, Rect(width - 90, 2, width - 8, 18), DT_RIGHT, 8, false, kDim);
    DrawScale(canvas, width);
    if (state.heard) DrawNeedle(canvas, width, state.cents, mood);
    Text(canvas, state.line, Rect(4, kLineTop, width - 4, kLineTop + 16), DT_CENTER, 9,
         state.mood != TunerDisplayState::Waiting, state.mood == TunerDisplayState::Waiting ? kInk : mood);
}

} // namespace tools
