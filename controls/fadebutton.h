#pragma once
// TXFadeButton: the program's main button. A windowed control that paints
// itself from three backgrounds, one per look (normal, mouse over, pressed),
// either horizontal colour fades it makes itself or bitmaps the program
// supplies, and writes its caption with a drop shade. It can latch (`Fix`)
// and can have a rectangular or rounded window region.

#include "controls/buttonlooks.h"
#include "platform/ui/components.h"
#include "platform/ui/graphics.h"

#include <QString>
#include <memory>

namespace controls {

enum class TXFadeButtonType {
    fadebtRectangle,
    fadebtSquare,
    fadebtRoundRect,
    fadebtRoundSquare,
    fadebtEllipse,
    fadebtCircle
};
using enum TXFadeButtonType;

class TXFadeButton : public platform::TCustomControl, public ButtonLooks {
public:
    explicit TXFadeButton(platform::TComponent* owner);

    TXFadeButtonType Shape() const { return shape_; }
    void SetShape(TXFadeButtonType shape);
    // Brushes, pens, fonts and caption colours of the looks: see LookSet.


    // Font (the control's own) is the normal font; its colour is the shade's.

    QString Text() const { return text_; }
    void SetText(const QString& text);
    int TextX() const { return textX_; }
    void SetTextX(int x);
    int TextY() const { return textY_; }
    void SetTextY(int y);
    int RadiusH() const { return radiusH_; }
    void SetRadiusH(int radius) { radiusH_ = radius; }
    int RadiusV() const { return radiusV_; }
    void SetRadiusV(int radius) { radiusV_ = radius; }
    bool IsRoundRect() const { return isRoundRect_; }
    void SetIsRoundRect(bool round);
    // Also tells a screen reader that the button latches.
    void SetFix(bool fix) override;

    // A supplied background for one look, stretched to the control's size.
    void SetBgBmp(const platform::TBitmap* bitmap);
    void SetBgOverBmp(const platform::TBitmap* bitmap);
    void SetBgDownBmp(const platform::TBitmap* bitmap);

    // Sizes the backgrounds to the control, regenerates the fades (unless
    // TakeImg), makes Font the current font and repaints.
    void StyleChanged();
    void myUpdate() { Repaint(); }
    // The horizontal fade (see controls/fade.h).
    void CreateBackground(platform::TBitmap* bitmap, platform::TColor colour,
                          platform::TColor fadeColour);
    void MakeRoundRect();
    void MakeRect();

    // The latch flag toggles with every left press (see ButtonLooks). Set
    // from the program, a released latch shows the normal look again, a
    // latching button (Fix) held by it the pressed look.
    void SetLatched(bool latched);

    // A size change rebuilds the looks at once, also while hidden.
    void SetBounds(int left, int top, int width, int height) override;

    // A screen reader calls the button by its caption unless it was given a
    // name (the picture buttons, whose caption is a blank). A latching
    // button (Fix) tells whether it is held down.
    QString PresentedName() const override;
    // Pressed from the keyboard: the latch toggles as under the mouse, the
    // button shows held down or normal, and it clicks.
    void Press() override;

protected:
    void LookSetChanged() override { StyleChanged(); }
    void RedrawLook() override { myUpdate(); }
    void TopTextColorSet(platform::TColor colour) override { currentTextColor_ = colour; }
    void Paint() override;
    void PaintOver(QPainter& painter) override;
    void Resized() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x,
                   int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x,
                 int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void ApplyRegion();
    void DrawCaption(platform::TCanvas* canvas, QPainter* over);

    TXFadeButtonType shape_ = fadebtRectangle;
    QString text_ = "OK";
    int textX_ = -1;
    int textY_ = -1;
    int radiusH_ = 0;
    int radiusV_ = 0;
    bool isRoundRect_ = false;
};

// The program's caption colours: dark ink on the light button faces, with a
// light one-pixel shade.
inline constexpr platform::TColor kCaptionInk = 0x1E2A3B;   // RGB 3B 2A 1E
inline constexpr platform::TColor kCaptionShade = 0xEAF6FB; // RGB FB F6 EA

// A fade button in the program's caption style (bold 12-pixel Arial, ink on
// the face with a light shade, the same in every look), owned by `owner`
// and placed on `parent`.
TXFadeButton* MakeCaptionButton(platform::TComponent* owner, platform::TControl* parent,
                                const QString& name);

} // namespace controls
