#include "controls/trackbar.h"

#include <QAccessible>

#include "controls/fade.h"

#include <algorithm>
#include <limits>

namespace controls {

using namespace platform;

TXTrackBar::TXTrackBar(TComponent* owner) : TGraphicControl(owner) {
    Font()->SetColor(0x444444);
    TGraphicControl::SetBounds(Left(), Top(), 40, 176);
    m_ = MarginFor(thumbHeight_);
    ComputeScale();
    t_ = PixelOf(0);
    StyleChanged();
    SetAccessibleRole(arSlider);
    SetTabStop(true);
}

// ---- Properties -------------------------------------------------------------------

void TXTrackBar::SetText(const QString& text) {
    text_ = text;
    myUpdate();
}

void TXTrackBar::SetMin(int value) {
    min_ = value;
    myUpdate();
}

void TXTrackBar::SetMax(int value) {
    max_ = value;
    myUpdate();
}

void TXTrackBar::SetPosition(int value) {
    SetPositionField(value);
    toldPosition_ = position_;
    t_ = PixelOf(static_cast<long double>(r_));
    text_ = QString::number(position_);
    myUpdate();
}

void TXTrackBar::ChangePosition(int value) {
    const int told = toldPosition_;
    SetPosition(std::clamp(value, std::min(min_, max_), std::max(min_, max_)));
    toldPosition_ = told;
    TellChange();
}

void TXTrackBar::TellChange() {
    if (position_ == toldPosition_) return;
    toldPosition_ = position_;
    Fire(this, OnChange, this);
}

void TXTrackBar::SetStep(int value) {
    step_ = value;
    myUpdate();
}

void TXTrackBar::SetOffset(int value) {
    offset_ = value;
    myUpdate();
}

void TXTrackBar::SetTailSize(int pixels) {
    tailSize_ = pixels;
    m_ = MarginFor(horizontal_ ? thumbWidth_ : thumbHeight_);
    StyleChanged();
}

void TXTrackBar::SetThumbWidth(int pixels) {
    thumbWidth_ = pixels;
    if (horizontal_) {
        m_ = MarginFor(thumbWidth_);
        t_ = m_;
    }
    StyleChanged();
}

void TXTrackBar::SetThumbHeight(int pixels) {
    thumbHeight_ = pixels;
    if (!horizontal_) {
        m_ = MarginFor(thumbHeight_);
        t_ = Height() - m_;
    }
    StyleChanged();
}

void TXTrackBar::SetThumbBrush(const TBrush* brush) {
    thumbBrush_ = *brush;
    myUpdate();
}

void TXTrackBar::SetThFadeOutColor(TColor colour) {
    thFadeOutColor_ = colour;
    StyleChanged();
}

void TXTrackBar::SetTickWidth(int pixels) {
    tickWidth_ = pixels;
    StyleChanged();
}

void TXTrackBar::SetTickColor(TColor colour) {
    tickColor_ = colour;
    StyleChanged();
}

// The margin stays the one already held, as for the old orientation.
void TXTrackBar::SetHorizontal(bool horizontal) {
    horizontal_ = horizontal;
    ComputeScale();
    t_ = PixelOf(static_cast<long double>(r_));
    StyleChanged();
}

void TXTrackBar::SetBgBmp(const TBitmap* bitmap) {
    background_.SetSize(Width(), Height());
    background_.Canvas()->StretchDraw(ClientRect(), bitmap);
}

void TXTrackBar::SetBgOverBmp(const TBitmap* bitmap) {
    overBackground_.SetSize(Width(), Height());
    overBackground_.Canvas()->StretchDraw(ClientRect(), bitmap);
}

void TXTrackBar::SetBgDownBmp(const TBitmap* bitmap) {
    downBackground_.SetSize(Width(), Height());
    downBackground_.Canvas()->StretchDraw(ClientRect(), bitmap);
}

void TXTrackBar::SetThumbBmp(const TBitmap* bitmap) {
    thumb_.SetSize(thumbWidth_, thumbHeight_);
    if (thumbWidth_ > 0 && thumbHeight_ > 0)
        thumb_.Canvas()->StretchDraw(Rect(0, 0, thumbWidth_, thumbHeight_), bitmap);
}

// ---- Geometry ---------------------------------------------------------------------

void TXTrackBar::ComputeScale() {
    long long range = static_cast<long long>(max_) - min_;
    if (range == 0) {
        k_ = 0; // no finite scale: every value sits at the Min end
        return;
    }
    k_ = static_cast<float>(static_cast<long double>(Length() - 2 * m_) / range);
}

int TXTrackBar::PixelOf(long double v) const {
    if (horizontal_) return TruncToInt(v * k_ + m_);
    return TruncToInt(Height() - v * k_ - m_);
}

void TXTrackBar::SetPositionField(long long value) {
    const int before = position_;
    position_ = static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                       std::numeric_limits<int>::max()));
    r_ = static_cast<long long>(position_) - min_;
    if (position_ != before && QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, position_);
        QAccessible::updateAccessibility(&event);
    }
}

// ---- Keyboard and assistive technology ---------------------------------------------

bool TXTrackBar::AccessibleRange(TAccessibleRange& range) const {
    range.Value = position_;
    range.Minimum = min_;
    range.Maximum = max_;
    range.Step = std::max(1, step_);
    range.Text = ValueText ? ValueText(position_) : QString::number(position_);
    return true;
}

void TXTrackBar::SetAccessibleValue(int value) {
    ChangePosition(value);
}

bool TXTrackBar::HandleKey(WORD key, TShiftState shift) {
    const int step = std::max(1, step_);
    switch (key) {
    case VK_UP:
    case VK_RIGHT:
        SetAccessibleValue(position_ + step);
        return true;
    case VK_DOWN:
    case VK_LEFT:
        SetAccessibleValue(position_ - step);
        return true;
    case VK_PRIOR:
        SetAccessibleValue(position_ + 3 * step);
        return true;
    case VK_NEXT:
        SetAccessibleValue(position_ - 3 * step);
        return true;
    case VK_HOME:
        SetAccessibleValue(min_);
        return true;
    case VK_END:
        SetAccessibleValue(max_);
        return true;
    default:
        return TGraphicControl::HandleKey(key, shift);
    }
}

bool TXTrackBar::AtMinEnd(int x, int y) const {
    return horizontal_ ? x <= m_ : y >= Height() - m_;
}

bool TXTrackBar::AtMaxEnd(int x, int y) const {
    return horizontal_ ? x >= Width() - m_ : y <= m_;
}

void TXTrackBar::TakeValueFrom(int x, int y) {
    if (AtMinEnd(x, y)) {
        SetPositionField(min_);
        t_ = horizontal_ ? m_ : Height() - m_;
    } else if (AtMaxEnd(x, y)) {
        SetPositionField(max_);
        t_ = horizontal_ ? Width() - m_ : m_;
    } else {
        long double along = horizontal_ ? x - m_ : Height() - m_ - y;
        long long r = k_ == 0 ? 0 : TruncToInt(along / k_ + 0.5L);
        SetPositionField(min_ + r);
        t_ = horizontal_ ? x : y;
    }
}

void TXTrackBar::Snap(int x, int y) {
    long long n = 0;
    if (AtMinEnd(x, y)) {
        SetPositionField(min_);
        t_ = horizontal_ ? m_ : Height() - m_;
        return;
    }
    if (AtMaxEnd(x, y)) {
        n = (static_cast<long long>(max_) - min_ - offset_) / step_;
    } else {
        n = TruncToInt(static_cast<long double>(r_ - offset_) / step_ + 0.5L);
        if (static_cast<long long>(min_) + offset_ + n * step_ > max_) --n;
    }
    SetPositionField(static_cast<long long>(min_) + offset_ + n * step_);
    t_ = PixelOf(static_cast<long double>(n * step_ + offset_));
}

// ---- Looks ------------------------------------------------------------------------

bool TXTrackBar::SizeChanged() const {
    return background_.Width() != Width() || background_.Height() != Height();
}

void TXTrackBar::SizeBitmaps() {
    background_.SetSize(Width(), Height());
    overBackground_.SetSize(Width(), Height());
    downBackground_.SetSize(Width(), Height());
    thumb_.SetSize(thumbWidth_, thumbHeight_);
}

void TXTrackBar::StyleChanged() {
    ComputeScale();
    if (rebuild_) {
        SizeBitmaps();
        if (!takeImg_) {
            CreateBackground(&background_, brush_.Color(), fadeOutColor_);
            CreateBackground(&overBackground_, overBrush_.Color(), fadeOutColor_);
            CreateBackground(&downBackground_, downBrush_.Color(), fadeOutColor_);
            CreateBackground(&thumb_, thumbBrush_.Color(), thFadeOutColor_);
        }
    }
    myUpdate();
}

void TXTrackBar::CreateBackground(TBitmap* bitmap, TColor colour, TColor fadeColour) {
    controls::CreateBackground(bitmap, colour, fadeColour);
}

void TXTrackBar::SetBounds(int left, int top, int width, int height) {
    TGraphicControl::SetBounds(left, top, width, height);
    if (SizeChanged()) StyleChanged();
}

void TXTrackBar::Resized() {
    if (SizeChanged()) StyleChanged();
}

// ---- Painting ---------------------------------------------------------------------

void TXTrackBar::PaintTicks(TCanvas* canvas) {
    if (step_ < 0) step_ = 0;
    const long long range = static_cast<long long>(max_) - min_;
    const long long increment = step_ == 0 ? 1 : step_;
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(tickColor_);
    const int w = Width(), h = Height();
    int drawn = 0;
    for (long long p = 0; p <= range && drawn < kMaxTicks; p += increment, ++drawn) {
        long double s = p * static_cast<long double>(k_) + m_;
        if (horizontal_) {
            int x = TruncToInt(s);
            canvas->MoveTo(x, TruncToInt(h * 0.25L));
            canvas->LineTo(x, TruncToInt(h * 0.25L + tickWidth_));
            canvas->MoveTo(x, TruncToInt(h * 0.75L - tickWidth_));
            canvas->LineTo(x, TruncToInt(h * 0.75L));
        } else {
            int y = TruncToInt(h - s);
            canvas->MoveTo(TruncToInt(w * 0.25L), y);
            canvas->LineTo(TruncToInt(w * 0.25L + tickWidth_), y);
            canvas->MoveTo(TruncToInt(w * 0.75L - tickWidth_), y);
            canvas->LineTo(TruncToInt(w * 0.75L), y);
        }
    }
}

void TXTrackBar::PaintNumber(TCanvas* canvas) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(Font());
    int textWidth = canvas->TextWidth(text_);
    int textHeight = canvas->TextHeight(text_);
    int x, y;
    if (horizontal_) {
        x = t_ - textWidth / 2 - 1;
        y = Height() / 2 - textHeight / 2;
    } else {
        x = Width() / 2 - textWidth / 2;
        y = t_ - textHeight / 2 - 1;
    }
    canvas->TextOut(x + shadeDimension_, y + shadeDimension_, text_);
    canvas->Font()->SetColor(topTextColor_);
    canvas->TextOut(x, y, text_);
}

void TXTrackBar::Paint() {
    buffer_.SetSize(Width(), Height());
    TCanvas* canvas = buffer_.Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Parent() != nullptr ? Parent()->Color() : Color());
    canvas->FillRect(ClientRect());
    const TBitmap* background = look_ == LookDown ? &downBackground_
                                : look_ == LookNormal ? &background_
                                                      : &overBackground_;
    canvas->Draw(0, 0, background);
    PaintTicks(canvas);
    if (horizontal_)
        canvas->Draw(t_ - thumbWidth_ / 2, Height() / 2 - thumbHeight_ / 2, &thumb_);
    else
        canvas->Draw(Width() / 2 - thumbWidth_ / 2, t_ - thumbHeight_ / 2, &thumb_);
    if (textVisible_) PaintNumber(canvas);
    Canvas()->Draw(0, 0, &buffer_);
}

// ---- Mouse ------------------------------------------------------------------------

// Swaps a look's set into Brush, Pen, Font and TopTextColor without
// regenerating any fade.
void TXTrackBar::ShowSet(const TBrush& brush, const TPen& pen, const TFont& font,
                         TColor textColour) {
    rebuild_ = false;
    brush_.Assign(&brush);
    pen_.Assign(&pen);
    Font()->Assign(&font);
    topTextColor_ = textColour;
    rebuild_ = true;
}

// The normal set is saved once, when the mouse first comes in (or presses
// without having come in), and put back when it leaves.
void TXTrackBar::SaveNormalSet() {
    if (normalSaved_) return;
    savedBrush_ = brush_;
    savedPen_ = pen_;
    savedFont_ = *Font();
    savedTextColor_ = topTextColor_;
    normalSaved_ = true;
}

void TXTrackBar::RestoreNormalSet() {
    if (!normalSaved_) return;
    normalSaved_ = false;
    ShowSet(savedBrush_, savedPen_, savedFont_, savedTextColor_);
}

void TXTrackBar::MouseEnter() {
    TGraphicControl::MouseEnter();
    look_ = LookOver;
    SaveNormalSet();
    ShowSet(overBrush_, overPen_, overFont_, topTextClOver_);
    myUpdate();
}

void TXTrackBar::MouseLeave() {
    TGraphicControl::MouseLeave();
    look_ = LookNormal;
    RestoreNormalSet();
    myUpdate();
}

void TXTrackBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    look_ = LookDown;
    SaveNormalSet();
    ShowSet(downBrush_, downPen_, downFont_, topTextClDown_);
    myUpdate(); // the pressed look, the thumb still at its old place
    // With a step the thumb stays where it was until the first drag movement
    // or the release, whatever repaints the bar meanwhile.
    const int thumbBefore = t_;
    TakeValueFrom(x, y);
    if (step_ > 0) t_ = thumbBefore;
    TGraphicControl::MouseDown(button, shift, x, y);
    dragging_ = true;
    if (step_ <= 0) {
        myUpdate();
        TellChange();
    }
}

void TXTrackBar::MouseMove(TShiftState shift, int x, int y) {
    if (dragging_) {
        TakeValueFrom(x, y);
        text_ = QString::number(position_);
        myUpdate();
        TellChange();
    }
    TGraphicControl::MouseMove(shift, x, y);
}

// A negative Step counts as 0 here too: no snapping.
void TXTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    dragging_ = false;
    if (ClientRect().Contains(x, y)) {
        look_ = LookOverAfterUp;
        ShowSet(overBrush_, overPen_, overFont_, topTextClOver_);
    } else {
        look_ = LookNormal; // the mouse-leave that follows restores the normal set
    }
    if (step_ > 0) Snap(x, y);
    TellChange();
    TGraphicControl::MouseUp(button, shift, x, y);
    text_ = QString::number(position_);
    myUpdate();
}

bool TXTrackBar::MouseWheel(TShiftState shift, int steps) {
    if (!Enabled()) return false;
    ChangePosition(position_ + steps * std::max(1, step_));
    TGraphicControl::MouseWheel(shift, steps);
    return true;
}

} // namespace controls
