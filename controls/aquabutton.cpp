#include "controls/aquabutton.h"

#include "platform/ui/accessible.h"

#include "controls/fade.h"

namespace controls {

using namespace platform;

TXAquaButton::TXAquaButton(TComponent* owner) : TGraphicControl(owner) {
    Font()->SetColor(0x444444);
    Init();
    SetBounds(Left(), Top(), 80, 24);
    StyleChanged();
}

void TXAquaButton::Init() {
    currentFont_ = *Font();
    currentTextColor_ = topTextColor_;
}

void TXAquaButton::SetText(const QString& text) {
    const bool renamed = text != text_;
    text_ = text;
    myUpdate();
    if (renamed) AnnounceNameChange();
}

QString TXAquaButton::PresentedName() const {
    if (!AccessibleName().isEmpty()) return AccessibleName();
    return CaptionAsName(text_, false);
}

void TXAquaButton::SetWordWrap(bool wrap) {
    wordWrap_ = wrap;
    myUpdate();
}

void TXAquaButton::SetTextBorderWidth(int pixels) {
    textBorderWidth_ = pixels;
    myUpdate();
}

void TXAquaButton::SetTextBorderHeight(int pixels) {
    textBorderHeight_ = pixels;
    myUpdate();
}

void TXAquaButton::SetTextAlign(int align) {
    textAlign_ = align;
    myUpdate();
}

void TXAquaButton::StretchInto(TBitmap* target, const TBitmap* source) {
    target->SetSize(Width(), Height());
    if (source != nullptr && !source->Empty())
        target->Canvas()->StretchDraw(ClientRect(), source);
}

void TXAquaButton::SetBackBmp(const TBitmap* bitmap) { StretchInto(&backImage_, bitmap); }

void TXAquaButton::SetBgBmp(const TBitmap* bitmap) {
    StretchInto(&background_, bitmap);
    MergeImages(&backImage_, &background_, transparency_);
    myUpdate();
}

void TXAquaButton::SetBgOverBmp(const TBitmap* bitmap) {
    StretchInto(&overBackground_, bitmap);
    MergeImages(&backImage_, &overBackground_, transparency_);
    myUpdate();
}

void TXAquaButton::SetBgDownBmp(const TBitmap* bitmap) {
    StretchInto(&downBackground_, bitmap);
    MergeImages(&backImage_, &downBackground_, transparency_);
    myUpdate();
}

void TXAquaButton::MergeImages(const TBitmap* back, TBitmap* look, int transparency) {
    controls::MergeImages(back, look, transparency);
}

void TXAquaButton::CreateBackground(TBitmap* bitmap, TColor colour, TColor fadeColour) {
    controls::CreateBackground(bitmap, colour, fadeColour);
}

void TXAquaButton::StyleChanged() {
    background_.SetSize(Width(), Height());
    overBackground_.SetSize(Width(), Height());
    downBackground_.SetSize(Width(), Height());
    backImage_.SetSize(Width(), Height());
    if (!takeImg_) {
        CreateBackground(&background_, brush_.Color(), fadeOutColor_);
        CreateBackground(&overBackground_, overBrush_.Color(), fadeOutColor_);
        CreateBackground(&downBackground_, downBrush_.Color(), fadeOutColor_);
    }
    currentFont_ = *Font();
    myUpdate();
}

const TBitmap* TXAquaButton::Background(int look) const {
    if (look == LookOver || look == LookOverAfterUp) return &overBackground_;
    if (look == LookDown) return &downBackground_;
    return &background_;
}

bool TXAquaButton::SizeChanged() const {
    return background_.Width() != Width() || background_.Height() != Height();
}

void TXAquaButton::SetBounds(int left, int top, int width, int height) {
    TGraphicControl::SetBounds(left, top, width, height);
    if (SizeChanged()) StyleChanged();
}

void TXAquaButton::Resized() {
    if (SizeChanged()) StyleChanged();
}

void TXAquaButton::DrawWrappedCaption(TCanvas* canvas, QPainter* over) {
    unsigned align = textAlign_ == 2 ? DT_CENTER : textAlign_ == 3 ? DT_RIGHT : DT_LEFT;
    TRect box = Rect(textBorderWidth_, textBorderHeight_, Width() - textBorderWidth_,
                     Height() - textBorderHeight_);
    if (over != nullptr)
        canvas->DrawTextOn(*over, text_, box, align | DT_NOCLIP);
    else
        canvas->DrawText(text_, box, align | DT_NOCLIP);
}

void TXAquaButton::DrawShadedCaption(TCanvas* canvas, QPainter* over) {
    int x = Width() / 2 - canvas->TextWidth(text_) / 2;
    int y = Height() / 2 - canvas->TextHeight(text_) / 2 - 1;
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

// The caption onto `canvas`, or onto `over` when given.
void TXAquaButton::DrawCaption(TCanvas* canvas, QPainter* over) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(&currentFont_);
    if (wordWrap_)
        DrawWrappedCaption(canvas, over);
    else
        DrawShadedCaption(canvas, over);
}

void TXAquaButton::Paint() {
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

void TXAquaButton::PaintOver(QPainter& painter) {
    if (SharpScreen()) DrawCaption(buffer_.Canvas(), &painter);
}

void TXAquaButton::ShowLook(int look, const TFont* font, TColor textColour) {
    look_ = look;
    currentFont_ = *font;
    currentTextColor_ = textColour;
    myUpdate();
}

// Unlike the fade button: any button latches, and the pressed look keeps the
// normal font.
void TXAquaButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    latched_ = !latched_;
    ShowLook(LookDown, Font(), topTextClDown_);
}

void TXAquaButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (HeldDown()) return;
    if (ClientRect().Contains(x, y))
        ShowLook(LookOverAfterUp, &overFont_, topTextClOver_);
    else
        look_ = LookNormal;
}

// Unlike the fade button, the enabled state is not looked at.
void TXAquaButton::MouseEnter() {
    TGraphicControl::MouseEnter();
    if (HeldDown()) return;
    ShowLook(LookOver, &overFont_, topTextClOver_);
}

void TXAquaButton::MouseLeave() {
    TGraphicControl::MouseLeave();
    if (HeldDown()) return;
    ShowLook(LookNormal, Font(), topTextColor_);
}

} // namespace controls
