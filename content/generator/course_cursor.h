#pragma once
// Where the lesson screen's play cursor draws its point for an exercise beat,
// computed by the program's own cursor arithmetic (playback/cursorgeometry.h),
// so that the generator prints each beat's notation exactly under the point.

#include "content/generator/course_registry.h"

namespace content {

// The point's left edge and baseline (bottom edge) in main-window pixels.
struct CursorPoint {
    int x = 0;
    int y = 0;
    int notationBeat = 0; // the notation beat after jumps and fold
};

// The point for notation beat `beat` (0 .. WrapLength - 1): its line and column.
CursorPoint PointForNotationBeat(const Geometry& geometry, int beat);

// The point for exercise beat `position` (0-based). Inside the hold range the
// cursor leaves the point where it was: the result is then that of the last
// position before the range.
CursorPoint PointForBeat(const Geometry& geometry, const std::array<int, 2>& hold, int position);

// The point's size ("RPOINTBMP"); the beat's centre column is x + width / 2.
inline constexpr int kPointWidth = 14;
inline constexpr int kPointHeight = 14;

} // namespace content
