#pragma once
// What the message box and the exit dialog share: their size, their rounded
// window region, the dialog backdrop stretched over them and the skin of
// their two buttons.

#include "controls/fadebutton.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

#include <QString>

namespace app {

inline constexpr int kDialogWidth = 248;
inline constexpr int kDialogHeight = 174;
inline constexpr int kDialogCorner = 40;
inline constexpr int kDialogFontHeight = 13;
// The ink of the dialogs' texts and button captions, and the light shade
// under the captions.
inline constexpr platform::TColor kDialogInk = platform::RGB(0x3B, 0x2A, 0x1E);
inline constexpr platform::TColor kDialogCaptionShade = platform::RGB(0xFB, 0xF6, 0xEA);

// 248 x 174, borderless, with the rounded region of 40 x 40 corner ellipses.
void ShapeDialogWindow(platform::TForm* window);

// Sizes `button` to "RBUTTONDIALOG", gives it the rounded-rectangle shape and
// the three dialog backgrounds, and puts its top 12 pixels above the window's
// bottom edge.
void SkinDialogButton(platform::TForm* window, controls::TXFadeButton* button);

// Puts a reused button back into its normal look, as when the mouse left it
// (a box shown again must not keep the hover look of its last answer).
void ResetButtonLook(controls::TXFadeButton* button);

// Stretches the main window's dialog backdrop over the whole window (a plain
// fill while there is no main window).
void PaintDialogBackdrop(platform::TForm* window);

// Left that centres a control of `width` in a window of `windowWidth`, each
// half truncated toward zero.
int CentredLeft(int windowWidth, int width);

// Shows `text` in `label` without word wrap; a label now wider than the
// window minus 40 pixels gets that width and wraps its words. Then centres it.
void ShowWrappedCentred(platform::TForm* window, platform::TLabel* label, const QString& text);

// A label in Arial of 13 pixels, transparent, in the dialogs' ink.
platform::TLabel* MakeDialogLabel(platform::TForm* window, bool bold);

} // namespace app
