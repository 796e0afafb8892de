#pragma once
// TXAquaButton: a non-windowed button with the fade button's three looks.
// Supplied look bitmaps are blended with a common back image at a chosen
// transparency, and the caption can be written as aligned text inside a
// bordered rectangle (WordWrap). No window region, no caption position.

#include "controls/fadebutton.h"
#include "platform/ui/components.h"
#include "platform/ui/graphics.h"

#include <QString>

namespace controls {

class TXAquaButton : public platform::TGraphicControl, public LookSet {
public:
    explicit TXAquaButton(platform::TComponent* owner);



    QString Text() const { return text_; }
    void SetText(const QString& text);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    int TextBorderWidth() const { return textBorderWidth_; }
    void SetTextBorderWidth(int pixels);
    int TextBorderHeight() const { return textBorderHeight_; }
    void SetTextBorderHeight(int pixels);
    // 1 left, 2 centred, 3 right; any other value draws left-aligned.
    int TextAlign() const { return textAlign_; }
    void SetTextAlign(int align);
    bool TakeImg() const { return takeImg_; }
    void SetTakeImg(bool take) { takeImg_ = take; }
    // Share of the back image, in percent, when a look bitmap is supplied.
    // Values outside 0..100 blend as 0 or 100.
    int Transparency() const { return transparency_; }
    void SetTransparency(int percent) { transparency_ = percent; }
    bool Fix() const { return fix_; }
    void SetFix(bool fix) { fix_ = fix; }

    // The back image, stretched to the control's size. Set it before the
    // look bitmaps: they are blended with it when they are set.
    void SetBackBmp(const platform::TBitmap* bitmap);
    void SetBgBmp(const platform::TBitmap* bitmap);
    void SetBgOverBmp(const platform::TBitmap* bitmap);
    void SetBgDownBmp(const platform::TBitmap* bitmap);
    // look = trunc(trunc(T × back × 0.01) + (100 − T) × look × 0.01), per byte.
    void MergeImages(const platform::TBitmap* back, platform::TBitmap* look, int transparency);
    // Current font = Font, current caption colour = TopTextColor.
    void Init();
    void StyleChanged();
    void myUpdate() { Repaint(); }
    void CreateBackground(platform::TBitmap* bitmap, platform::TColor colour,
                          platform::TColor fadeColour);

    int Look() const { return look_; }
    bool Latched() const { return latched_; }
    platform::TColor CurrentTextColor() const { return currentTextColor_; }
    const platform::TFont* CurrentFont() const { return &currentFont_; }
    const platform::TBitmap* Background(int look) const;

    void SetBounds(int left, int top, int width, int height) override;

    // A screen reader calls the button by its caption unless it was given a
    // name; a button nobody can press is a text display.
    QString PresentedName() const override;

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
    void StretchInto(platform::TBitmap* target, const platform::TBitmap* source);
    bool SizeChanged() const;
    void DrawCaption(platform::TCanvas* canvas, QPainter* over);
    void DrawWrappedCaption(platform::TCanvas* canvas, QPainter* over);
    void DrawShadedCaption(platform::TCanvas* canvas, QPainter* over);

    platform::TFont currentFont_;
    platform::TColor currentTextColor_ = 0;
    QString text_ = "OK";
    bool wordWrap_ = false;
    int textBorderWidth_ = 4;
    int textBorderHeight_ = 4;
    int textAlign_ = 1;
    bool takeImg_ = false;
    int transparency_ = 0;
    bool fix_ = false;

    int look_ = LookNormal;
    bool latched_ = false;
    platform::TBitmap buffer_, background_, overBackground_, downBackground_, backImage_;
};

} // namespace controls
