#pragma once
// LookSet: the brush, pen, caption font and caption colour of each look of a
// skinned control (normal, mouse over, pressed), with the fade colour and the
// caption shade the looks share, and their setters. The fade button, the aqua
// button and the track bar each are a LookSet, so they offer one set of
// accessors; the normal font is the control's own Font().
//
// A change that alters the looks' pictures (the normal brush or pen, also
// through the pointer, the fade colour, a caption colour, the shade) calls
// LookSetChanged, in which the control rebuilds its looks. The over and
// pressed brushes, pens and fonts are read at the next rebuild or look change.

#include "platform/ui/graphics.h"

namespace controls {

class LookSet {
public:
    LookSet(const LookSet&) = delete; // the brush and pen report to this set
    LookSet& operator=(const LookSet&) = delete;

    platform::TBrush* Brush() { return &brush_; }
    void SetBrush(const platform::TBrush* brush) { brush_.Assign(brush); }
    platform::TPen* Pen() { return &pen_; }
    void SetPen(const platform::TPen* pen) { pen_.Assign(pen); }
    platform::TBrush* MOverBrush() { return &overBrush_; }
    void SetMOverBrush(const platform::TBrush* brush) { overBrush_ = *brush; }
    platform::TPen* MOverPen() { return &overPen_; }
    void SetMOverPen(const platform::TPen* pen) { overPen_ = *pen; }
    platform::TBrush* MDownBrush() { return &downBrush_; }
    void SetMDownBrush(const platform::TBrush* brush) { downBrush_ = *brush; }
    platform::TPen* MDownPen() { return &downPen_; }
    void SetMDownPen(const platform::TPen* pen) { downPen_ = *pen; }
    platform::TFont* MOverFont() { return &overFont_; }
    void SetMOverFont(const platform::TFont* font) { overFont_ = *font; }
    platform::TFont* MDownFont() { return &downFont_; }
    void SetMDownFont(const platform::TFont* font) { downFont_ = *font; }

    platform::TColor FadeOutColor() const { return fadeOutColor_; }
    void SetFadeOutColor(platform::TColor colour);
    platform::TColor TopTextColor() const { return topTextColor_; }
    void SetTopTextColor(platform::TColor colour);
    platform::TColor TopTextClOver() const { return topTextClOver_; }
    void SetTopTextClOver(platform::TColor colour);
    platform::TColor TopTextClDown() const { return topTextClDown_; }
    void SetTopTextClDown(platform::TColor colour);
    int TShadeDimension() const { return shadeDimension_; }
    void SetTShadeDimension(int pixels);

protected:
    // The skinned controls' defaults: a grey brush, an invisible gold pen, a
    // dark pen when pressed, dark grey caption fonts, a silver fade.
    LookSet();
    ~LookSet() = default;

    // The looks' pictures are to be made afresh.
    virtual void LookSetChanged() = 0;
    // The normal caption colour was set (before LookSetChanged is called).
    virtual void TopTextColorSet(platform::TColor) {}

    platform::TBrush brush_, overBrush_, downBrush_;
    platform::TPen pen_, overPen_, downPen_;
    platform::TFont overFont_, downFont_;
    platform::TColor fadeOutColor_ = 0xC0C0C0;
    platform::TColor topTextColor_ = 0;
    platform::TColor topTextClOver_ = 0;
    platform::TColor topTextClDown_ = 0;
    int shadeDimension_ = 0;
};

} // namespace controls
