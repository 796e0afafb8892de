#pragma once
// PlayCursor: the point that moves over the notation of the lesson main
// screen, one step per beat, and the triangular locator mark above it. It
// draws straight onto the main window's canvas, keeps what lies under the
// point and the mark, and puts it back when they move on.
//
// Repainting: the window's paint handler paints the notation afresh and then
// calls RedrawMark and RedrawPoint, so a repaint neither loses nor doubles
// the point or the mark; what is kept under them stays the notation, as the
// paint handler draws the same backdrop again.

#include "platform/ui/graphics.h"
#include "playback/cursorgeometry.h"

namespace playback {

class PlayCursor {
public:
    // Draws on `canvas` (the main window's). Loads the mark and its mask
    // from the resources "RTRIGONBMP" and "RTRIGONBLACKBMP".
    explicit PlayCursor(platform::TCanvas* canvas);
    PlayCursor(const PlayCursor&) = delete;
    PlayCursor& operator=(const PlayCursor&) = delete;

    // Stores the slots; the point goes back to the origin and Position to
    // InitialBeat. PassNumber, Moved and MarkShown are left as they are.
    void InitCursor(const CursorGeometry& geometry);
    const CursorGeometry& Geometry() const { return geometry_; }

    // Shows the point at Position (which it leaves reduced by jumps and
    // fold). Inside the hold range nothing happens. The point shown before
    // is taken away first, restoring `saveBitmap` under it: with `erase`, and
    // also without it while that point is still shown, so that there is only
    // ever one point.
    void MovePoint(platform::TBitmap* saveBitmap, platform::TBitmap* pointBitmap, bool erase);
    // Takes the point away where it is shown, restoring `saveBitmap`.
    void ErasePoint(platform::TBitmap* saveBitmap);
    // Draws the shown point again without saving (for the paint handler).
    void RedrawPoint(platform::TBitmap* pointBitmap);
    bool PointShown() const { return pointShown_; }
    // Lets go of the point and the mark without restoring anything: the
    // screen under them is about to be replaced and painted afresh.
    void Forget();

    // Puts the locator mark above the point's place (removing a mark shown
    // before), takes it away, or draws it again at its place.
    void ShowMark();
    void RemoveMark();
    void RedrawMark();

    // The cursor's state, named as the transport reads and sets it.
    int Position = 1;
    int Row = 0;
    int Column = 0;
    int SkipApplied = 0;
    int PointX = 40;
    int PointY = 1;
    int PassNumber = 1;
    bool Moved = false;
    bool MarkShown = false;
    // The mark's place; 0 while no mark is shown.
    int MarkX = 0;
    int MarkY = 0;

    const platform::TBitmap& MarkBitmap() const { return mark_; }

private:
    void DrawPoint(platform::TBitmap* pointBitmap, int x, int baseline);
    void DrawMark();

    platform::TCanvas* canvas_;
    CursorGeometry geometry_;
    platform::TBitmap mark_;
    platform::TBitmap markMask_;
    platform::TBitmap markWork_;
    // Where the point is drawn now (left edge, baseline) and its size.
    bool pointShown_ = false;
    int shownX_ = 0;
    int shownY_ = 0;
    int shownWidth_ = 0;
    int shownHeight_ = 0;
};

} // namespace playback
