#include "content/generator/course_cursor.h"

namespace content {

CursorPoint PointForBeat(const Geometry& g, const std::array<int, 2>& hold, int position) {
    while (position > 0 && hold[0] <= position && position <= hold[1])
        position = hold[0] - 1;
    return PointForNotationBeat(g, CursorNotationBeat(g, hold, position));
}

CursorPoint PointForNotationBeat(const Geometry& g, int beat) {
    const int perLine = static_cast<int>(g[kBeatsPerLine]);
    const int row = beat / perLine;
    const int column = beat % perLine;
    CursorPoint point;
    point.notationBeat = beat;
    point.y = row * static_cast<int>(g[kLineSpacing]) + static_cast<int>(g[kOriginY]);
    // The cursor holds the beat width as a single-precision real and
    // truncates the column's place toward zero.
    const double width = static_cast<float>(g[kBeatWidth]);
    point.x = static_cast<int>(column * width + static_cast<int>(g[kOriginX]));
    return point;
}

} // namespace content
