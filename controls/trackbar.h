#pragma once
// TXTrackBar: the skinned slider (the tempo bar). A non-windowed control that
// maps an integer Position in Min..Max to a pixel along the bar, paints a
// faded background per look, tick marks, a faded thumb and optionally the
// position as a number, and can snap to steps when the mouse is released.
//
// Cases the arithmetic leaves open are made safe: with Max equal to Min the
// scale is 0 (every value sits at the Min end); a negative Step counts as 0
// (no ticks between, no snapping); geometry beyond the integer range is held
// at its ends; at most kMaxTicks ticks are drawn.

#include "controls/fadebutton.h"
#include "platform/ui/components.h"
#include "platform/ui/graphics.h"

#include <QString>
#include <functional>

namespace controls {

class TXTrackBar : public platform::TGraphicControl, public LookSet {
public:
    static constexpr int kMaxTicks = 4096;

    explicit TXTrackBar(platform::TComponent* owner);

    // Brush, Pen, Font and TopTextColor (see LookSet) hold the current
    // look's set; while the mouse is over or pressed the normal set waits in
    // a saved copy.

    QString Text() const { return text_; }
    void SetText(const QString& text);
    bool TakeImg() const { return takeImg_; }
    void SetTakeImg(bool take) { takeImg_ = take; }
    bool TextVisible() const { return textVisible_; }
    void SetTextVisible(bool visible) { textVisible_ = visible; }

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    // Stored as given (no clamping to Min..Max); moves the thumb and sets Text.
    int Position() const { return position_; }
    void SetPosition(int value);
    int Step() const { return step_; }
    void SetStep(int value);
    int Offset() const { return offset_; }
    void SetOffset(int value);
    int TailSize() const { return tailSize_; }
    void SetTailSize(int pixels);
    int ThumbWidth() const { return thumbWidth_; }
    void SetThumbWidth(int pixels);
    int ThumbHeight() const { return thumbHeight_; }
    void SetThumbHeight(int pixels);
    platform::TBrush* ThumbBrush() { return &thumbBrush_; }
    void SetThumbBrush(const platform::TBrush* brush);
    platform::TColor ThFadeOutColor() const { return thFadeOutColor_; }
    void SetThFadeOutColor(platform::TColor colour);
    int TickWidth() const { return tickWidth_; }
    void SetTickWidth(int pixels);
    platform::TColor TickColor() const { return tickColor_; }
    void SetTickColor(platform::TColor colour);
    bool Horizontal() const { return horizontal_; }
    void SetHorizontal(bool horizontal);

    void SetBgBmp(const platform::TBitmap* bitmap);
    void SetBgOverBmp(const platform::TBitmap* bitmap);
    void SetBgDownBmp(const platform::TBitmap* bitmap);
    void SetThumbBmp(const platform::TBitmap* bitmap);
    void StyleChanged();
    void myUpdate() { Repaint(); }
    void CreateBackground(platform::TBitmap* bitmap, platform::TColor colour,
                          platform::TColor fadeColour);

    // The derived geometry: margin m, scale k, thumb centre pixel t.
    int Margin() const { return m_; }
    float Scale() const { return k_; }
    int ThumbPixel() const { return t_; }
    int Look() const { return look_; }
    bool Dragging() const { return dragging_; }

    void SetBounds(int left, int top, int width, int height) override;

    // Fired after every change of the position made by the learner: a
    // press (at once without Step, else with the first movement), each
    // movement while dragging, the release, a turn of the wheel,
    // ChangePosition and the keyboard. SetPosition fires nothing.
    // The keyboard and assistive technology: the bar is a slider and a tab
    // stop. Up and Right raise the position by one step (Step, at least 1),
    // Down and Left lower it, Page Up and Page Down by three steps, Home and
    // End go to Min and Max; each change made this way stays within Min..Max.
    platform::TNotifyEvent OnChange;
    // Moves the thumb to `value`, held within Min..Max, as the learner would
    // (from the keyboard): fires OnChange when the position changed.
    void ChangePosition(int value);
    // The position in words for a screen reader (the number when unset).
    std::function<QString(int position)> ValueText;
    bool AccessibleRange(TAccessibleRange& range) const override;
    void SetAccessibleValue(int value) override;

protected:
    bool HandleKey(platform::WORD key, platform::TShiftState shift) override;
    void LookSetChanged() override { StyleChanged(); }
    void Paint() override;
    void Resized() override;
    void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x,
                   int y) override;
    void MouseMove(platform::TShiftState shift, int x, int y) override;
    void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x,
                 int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // One notch moves the thumb one Step (at least 1) towards Max when
    // turned up; the turn is used while the bar is enabled.
    bool MouseWheel(platform::TShiftState shift, int steps) override;

private:
    int Length() const { return horizontal_ ? Width() : Height(); }
    int MarginFor(int thumbSize) const { return thumbSize / 2 + tailSize_; }
    void ComputeScale();
    // The thumb pixel of a value `v` above Min.
    int PixelOf(long double v) const;
    void TakeValueFrom(int x, int y);
    void Snap(int x, int y);
    bool AtMinEnd(int x, int y) const;
    bool AtMaxEnd(int x, int y) const;
    void SetPositionField(long long value);
    // Fires OnChange when the position differs from the one last told.
    void TellChange();
    void ShowSet(const platform::TBrush& brush, const platform::TPen& pen,
                 const platform::TFont& font, platform::TColor textColour);
    void SaveNormalSet();
    void RestoreNormalSet();
    void PaintTicks(platform::TCanvas* canvas);
    void PaintNumber(platform::TCanvas* canvas);
    void SizeBitmaps();
    bool SizeChanged() const;

    platform::TBrush thumbBrush_;
    QString text_;
    bool takeImg_ = false;
    bool textVisible_ = false;
    int min_ = 0, max_ = 10, position_ = 0, step_ = 0, offset_ = 0;
    int tailSize_ = 8;
    int thumbWidth_ = 24, thumbHeight_ = 12;
    platform::TColor thFadeOutColor_ = 0xC0C0C0;
    int tickWidth_ = 0;
    platform::TColor tickColor_ = 0;
    bool horizontal_ = false;

    int m_ = 0;
    float k_ = 0;
    long long r_ = 0;
    int t_ = 0;
    int look_ = LookNormal;
    bool dragging_ = false;
    bool rebuild_ = true;
    bool normalSaved_ = false;
    int toldPosition_ = 0; // the position OnChange last told (or SetPosition set)
    platform::TBrush savedBrush_;
    platform::TPen savedPen_;
    platform::TFont savedFont_;
    platform::TColor savedTextColor_ = 0;
    platform::TBitmap buffer_, background_, overBackground_, downBackground_, thumb_;
};

} // namespace controls
