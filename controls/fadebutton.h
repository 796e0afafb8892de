#pragma once
// TXFadeButton: the program's main button. A windowed control that paints
// itself from three backgrounds, one per look (normal, mouse over, pressed),
// either horizontal colour fades it makes itself or bitmaps the program
// supplies, and writes its caption with a drop shade. It can latch (`Fix`)
// and can have a rectangular or rounded window region.

#include "controls/lookset.h"
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

// The four looks of the skinned buttons and the track bar.
enum ButtonLook { LookNormal = 1, LookOver = 2, LookDown = 3, LookOverAfterUp = 4 };

class TXFadeButton : public platform::TCustomControl, public LookSet {
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
    bool TakeImg() const { return takeImg_; }
    void SetTakeImg(bool take) { takeImg_ = take; }
    int RadiusH() const { return radiusH_; }
    void SetRadiusH(int radius) { radiusH_ = radius; }
    int RadiusV() const { return radiusV_; }
    void SetRadiusV(int radius) { radiusV_ = radius; }
    bool IsRoundRect() const { return isRoundRect_; }
    void SetIsRoundRect(bool round);
    bool Fix() const { return fix_; }
    void SetFix(bool fix);

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

    // State for the program and its tests: the look (ButtonLook), the latch
    // flag toggled by every left press, and the caption colour in use.
    int Look() const { return look_; }
    bool Latched() const { return latched_; }
    // Sets the latch flag from the program; a released latch shows the
    // normal look again, a latching button (Fix) held by it the pressed look.
    void SetLatched(bool latched);
    platform::TColor CurrentTextColor() const { return currentTextColor_; }
    const platform::TFont* CurrentFont() const { return &currentFont_; }
    const platform::TBitmap* Background(int look) const;

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
    bool HeldDown() const { return fix_ && latched_; }
    void ShowLook(int look, const platform::TFont* font, platform::TColor textColour);
    void SizeBackgrounds();
    bool SizeChanged() const;
    void ApplyRegion();
    void DrawCaption(platform::TCanvas* canvas, QPainter* over);

    TXFadeButtonType shape_ = fadebtRectangle;
    platform::TFont currentFont_;
    platform::TColor currentTextColor_ = 0;
    QString text_ = "OK";
    int textX_ = -1;
    int textY_ = -1;
    bool takeImg_ = false;
    int radiusH_ = 0;
    int radiusV_ = 0;
    bool isRoundRect_ = false;
    bool fix_ = false;

    int look_ = LookNormal;
    bool latched_ = false;
    platform::TBitmap buffer_, background_, overBackground_, downBackground_;
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
