#include "playback/playcursor.h"

namespace playback {

using namespace platform;

namespace {

// Space between the mark's bottom edge and the point's baseline.
constexpr int kMarkGap = 30;

} // namespace

PlayCursor::PlayCursor(TCanvas* canvas) : canvas_(canvas) {
    mark_.LoadFromResourceName("RTRIGONBMP");
    markMask_.LoadFromResourceName("RTRIGONBLACKBMP");
    markWork_.SetSize(mark_.Width(), mark_.Height());
    InitCursor(CursorGeometry{});
    Position = 1;
}

void PlayCursor::InitCursor(const CursorGeometry& geometry) {
    geometry_ = geometry;
    PointX = geometry.OriginX;
    PointY = geometry.OriginY;
    Row = Column = SkipApplied = 0;
    Position = geometry.InitialBeat;
}

void PlayCursor::MovePoint(TBitmap* saveBitmap, TBitmap* pointBitmap, bool erase) {
    const CursorStep step = ComputeCursorStep(geometry_, Position);
    if (step.Held) return;
    // A point still shown goes first, also when the caller did not ask for
    // it: its saved pixels would otherwise be taken for the notation.
    if (erase || pointShown_) ErasePoint(saveBitmap);
    SkipApplied = step.SkipApplied;
    Position = step.Position;
    Row = step.Row;
    Column = step.Column;
    PointX = step.PointX;
    PointY = step.PointY;
    const int w = pointBitmap->Width(), h = pointBitmap->Height();
    saveBitmap->SetSize(w, h);
    BitBlt(saveBitmap->Canvas(), 0, 0, w, h, canvas_, PointX, PointY - h, SRCCOPY);
    DrawPoint(pointBitmap, PointX, PointY);
    pointShown_ = true;
    shownX_ = PointX;
    shownY_ = PointY;
    shownWidth_ = w;
    shownHeight_ = h;
}

// The point goes back from where it was drawn, whatever InitCursor did to
// PointX and PointY since: the saved pixels belong to that place only.
void PlayCursor::ErasePoint(TBitmap* saveBitmap) {
    if (!pointShown_) return;
    BitBlt(canvas_, shownX_, shownY_ - shownHeight_, shownWidth_, shownHeight_,
           saveBitmap->Canvas(), 0, 0, SRCCOPY);
    pointShown_ = false;
}

void PlayCursor::RedrawPoint(TBitmap* pointBitmap) {
    if (pointShown_) DrawPoint(pointBitmap, shownX_, shownY_);
}

void PlayCursor::DrawPoint(TBitmap* pointBitmap, int x, int baseline) {
    const int w = pointBitmap->Width(), h = pointBitmap->Height();
    const TColor brush = canvas_->Brush()->Color(), pen = canvas_->Pen()->Color();
    const TBrushStyle style = canvas_->Brush()->Style();
    canvas_->Brush()->SetStyle(bsSolid);
    canvas_->Brush()->SetColor(clBlack);
    canvas_->Pen()->SetColor(clBlack);
    canvas_->Ellipse(x, baseline - h, x + w, baseline);
    BitBlt(canvas_, x, baseline - h, w, h, pointBitmap->Canvas(), 0, 0,
           SRCPAINT);
    canvas_->Brush()->SetColor(brush);
    canvas_->Brush()->SetStyle(style);
    canvas_->Pen()->SetColor(pen);
}

void PlayCursor::Forget() {
    pointShown_ = false;
    MarkX = MarkY = 0;
    MarkShown = false;
}

void PlayCursor::ShowMark() {
    if (MarkX > 0) RemoveMark();
    MarkX = PointX;
    MarkY = PointY - mark_.Height() - kMarkGap;
    BitBlt(markWork_.Canvas(), 0, 0, markWork_.Width(), markWork_.Height(), canvas_, MarkX, MarkY,
           SRCCOPY);
    DrawMark();
    MarkShown = true;
}

// Only a mark that is shown is taken away: with none, the kept pixels belong
// nowhere.
void PlayCursor::RemoveMark() {
    if (MarkX <= 0) return;
    BitBlt(canvas_, MarkX, MarkY, markWork_.Width(), mark_.Height(), markWork_.Canvas(), 0, 0,
           SRCCOPY);
    MarkX = MarkY = 0;
    MarkShown = false;
}

void PlayCursor::RedrawMark() {
    if (MarkX >= 1) DrawMark();
}

void PlayCursor::DrawMark() {
    const int w = mark_.Width(), h = mark_.Height();
    BitBlt(canvas_, MarkX, MarkY, w, h, markMask_.Canvas(), 0, 0, SRCAND);
    BitBlt(canvas_, MarkX, MarkY, w, h, mark_.Canvas(), 0, 0, SRCPAINT);
}

} // namespace playback
