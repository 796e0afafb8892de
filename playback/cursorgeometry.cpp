#include "playback/cursorgeometry.h"

namespace playback {

namespace {

int SkipFor(const CursorGeometry& g, int position) {
    if (g.JumpFrom2 != -1 && position >= g.JumpFrom2) return g.JumpBy1 + g.JumpBy2;
    if (g.JumpFrom1 != -1 && position >= g.JumpFrom1) return g.JumpBy1;
    return 0;
}

int Fold(const CursorGeometry& g, int position) {
    if (position < g.WrapLength) return position;
    position -= g.WrapLength;
    if (g.JumpFrom1 != -1 && position >= g.JumpFrom1) position -= g.JumpBy1;
    return position;
}

} // namespace

CursorStep ComputeCursorStep(const CursorGeometry& g, int position) {
    CursorStep step;
    if (g.HoldFrom <= position && position <= g.HoldTo) {
        step.Held = true;
        step.Position = position;
        return step;
    }
    step.SkipApplied = SkipFor(g, position);
    step.Position = Fold(g, position - step.SkipApplied);
    const int perLine = g.BeatsPerLine > 0 ? g.BeatsPerLine : 0;
    step.Row = perLine > 0 ? step.Position / perLine : 0;
    step.Column = perLine > 0 ? step.Position % perLine : step.Position;
    step.PointY = step.Row * g.LineSpacing + g.OriginY;
    // The single-precision width, widened: the product is not rounded to float.
    step.PointX = static_cast<int>(static_cast<double>(step.Column) *
                                       static_cast<double>(g.BeatWidth) +
                                   g.OriginX);
    return step;
}

int CursorNotationBeat(const CursorGeometry& geometry, int position) {
    const CursorStep step = ComputeCursorStep(geometry, position);
    return step.Held ? -1 : step.Position;
}

} // namespace playback
