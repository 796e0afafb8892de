#include "controls/fadebutton.h"

#include "controls/fade.h"
#include "platform/ui/accessible.h"
#include "platform/ui/region.h"

namespace controls {

using namespace platform;

TXFadeButton::TXFadeButton(TComponent* owner) : TCustomControl(owner) {
    Font()->SetColor(0x444444);
    currentFont_ = *Font();
    SetBounds(Left(), Top(), 80, 24);
    StyleChanged();
}

void TXFadeButton::SetShape(TXFadeButtonType shape) {
    if (shape == shape_) return;
    shape_ = shape;
    myUpdate();
}

void TXFadeButton::SetText(const QString& text) {
    const bool renamed = text != text_;
    text_ = text;
    myUpdate();
    if (renamed) AnnounceNameChange();
}

QString TXFadeButton::PresentedName() const {
    if (!AccessibleName().isEmpty()) return AccessibleName();
    return CaptionAsName(text_, false);
}

void TXFadeButton::SetFix(bool fix) {
    fix_ = fix;
    SetAccessibleChecked(fix ? std::optional<bool>(latched_) : std::nullopt);
}

void TXFadeButton::Press() {
    if (!Enabled() || !isVisible()) return;
    latched_ = !latched_;
    if (fix_) SetAccessibleChecked(latched_);
    if (HeldDown())
        ShowLook(LookDown, &downFont_, topTextClDown_);
    else
        ShowLook(LookNormal, Font(), topTextColor_);
    Click();
}

void TXFadeButton::SetTextX(int x) {
    textX_ = x;
    myUpdate();
}

void TXFadeButton::SetTextY(int y) {
    textY_ = y;
    myUpdate();
}

void TXFadeButton::SetIsRoundRect(bool round) {
    isRoundRect_ = round;
    ApplyRegion();
    myUpdate();
}

void TXFadeButton::ApplyRegion() {
    if (isRoundRect_ && radiusH_ > 1 && radiusV_ > 1)
        MakeRoundRect();
    else
        MakeRect();
}

void TXFadeButton::MakeRoundRect() {
    SetWindowRgn(this, CreateRoundRectRgn(0, 0, Width() + 1, Height() + 1, radiusH_, radiusV_),
                 true);
}

void TXFadeButton::MakeRect() {
    SetWindowRgn(this, CreateRectRgn(0, 0, Width() + 1, Height() + 1), true);
}

void TXFadeButton::SetBgBmp(const TBitmap* bitmap) {
    background_.SetSize(Width(), Height());
    background_.Canvas()->StretchDraw(ClientRect(), bitmap);
}

void TXFadeButton::SetBgOverBmp(const TBitmap* bitmap) {
    overBackground_.SetSize(Width(), Height());
    overBackground_.Canvas()->StretchDraw(ClientRect(), bitmap);
}

void TXFadeButton::SetBgDownBmp(const TBitmap* bitmap) {
    downBackground_.SetSize(Width(), Height());
    downBackground_.Canvas()->StretchDraw(ClientRect(), bitmap);
}

void TXFadeButton::SizeBackgrounds() {
    background_.SetSize(Width(), Height());
    overBackground_.SetSize(Width(), Height());
    downBackground_.SetSize(Width(), Height());
}

void TXFadeButton::StyleChanged() {
    SizeBackgrounds();
    if (!takeImg_) {
        CreateBackground(&background_, brush_.Color(), fadeOutColor_);
        CreateBackground(&overBackground_, overBrush_.Color(), fadeOutColor_);
        CreateBackground(&downBackground_, downBrush_.Color(), fadeOutColor_);
    }
    currentFont_ = *Font();
    myUpdate();
}

void TXFadeButton::CreateBackground(TBitmap* bitmap, TColor colour, TColor fadeColour) {
    controls::CreateBackground(bitmap, colour, fadeColour);
}

const TBitmap* TXFadeButton::Background(int look) const {
    if (look == LookOver || look == LookOverAfterUp) return &overBackground_;
    if (look == LookDown) return &downBackground_;
    return &background_;
}

bool TXFadeButton::SizeChanged() const {
    return background_.Width() != Width() || background_.Height() != Height();
}

void TXFadeButton::SetBounds(int left, int top, int width, int height) {
    TCustomControl::SetBounds(left, top, width, height);
    if (SizeChanged()) StyleChanged();
}

void TXFadeButton::Resized() {
    if (SizeChanged()) StyleChanged();
}

void TXFadeButton::Paint() {
    buffer_.SetSize(Width(), Height());
    TCanvas* canvas = buffer_.Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Parent() != nullptr ? Parent()->Color() : Color());
    canvas->FillRect(ClientRect());
    canvas->Draw(0, 0, Background(look_));

    // On a scaled screen the caption is written over the enlarged picture.
    if (!SharpScreen()) DrawCaption(canvas, nullptr);

    Canvas()->Draw(0, 0, &buffer_);
}

void TXFadeButton::PaintOver(QPainter& painter) {
    if (SharpScreen()) DrawCaption(buffer_.Canvas(), &painter);
}

// The caption and its shade, with `canvas`'s measures, onto the canvas or,
// when given, onto `over`.
void TXFadeButton::DrawCaption(TCanvas* canvas, QPainter* over) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(&currentFont_);
    int x = textX_ >= 0 ? textX_ : Width() / 2 - canvas->TextWidth(text_) / 2;
    int y = textY_ >= 0 ? textY_ : Height() / 2 - canvas->TextHeight(text_) / 2 - 1;
    auto write = [&](int left, int top) {
        if (over != nullptr)
            canvas->TextOutOn(*over, left, top, text_);
        else
            canvas->TextOut(left, top, text_);
    };
    write(x + shadeDimension_, y + shadeDimension_);
    canvas->Font()->SetColor(currentTextColor_);
    write(x, y);
}

void TXFadeButton::ShowLook(int look, const TFont* font, TColor textColour) {
    look_ = look;
    currentFont_ = *font;
    currentTextColor_ = textColour;
    myUpdate();
}

void TXFadeButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    latched_ = !latched_;
    if (fix_) SetAccessibleChecked(latched_);
    ShowLook(LookDown, &downFont_, topTextClDown_);
}

void TXFadeButton::SetLatched(bool latched) {
    const bool released = latched_ && !latched;
    latched_ = latched;
    if (fix_) SetAccessibleChecked(latched_);
    if (released && look_ == LookDown) ShowLook(LookNormal, Font(), topTextColor_);
    if (HeldDown() && look_ != LookDown) ShowLook(LookDown, &downFont_, topTextClDown_);
}

void TXFadeButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (HeldDown()) return;
    if (ClientRect().Contains(x, y)) {
        ShowLook(LookOverAfterUp, &overFont_, topTextClOver_);
    } else {
        // The mouse-leave that follows restores font and colour and repaints.
        look_ = LookNormal;
    }
}

void TXFadeButton::MouseEnter() {
    TCustomControl::MouseEnter();
    if (HeldDown() || !Enabled()) return;
    ShowLook(LookOver, &overFont_, topTextClOver_);
}

void TXFadeButton::MouseLeave() {
    TCustomControl::MouseLeave();
    if (HeldDown()) return;
    ShowLook(LookNormal, Font(), topTextColor_);
}

TXFadeButton* MakeCaptionButton(TComponent* owner, TControl* parent, const QString& name) {
    auto* button = new TXFadeButton(owner);
    button->SetName(name);
    button->SetParent(parent);
    button->Font()->SetName("Arial");
    button->Font()->SetHeight(-12);
    button->Font()->SetStyle(fsBold);
    button->Font()->SetColor(kCaptionShade); // the caption's shade
    button->MOverFont()->Assign(button->Font());
    button->MDownFont()->Assign(button->Font());
    button->SetTopTextColor(kCaptionInk);
    button->SetTopTextClOver(kCaptionInk);
    button->SetTopTextClDown(kCaptionInk);
    button->SetTShadeDimension(1);
    return button;
}

} // namespace controls
