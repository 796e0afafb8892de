#include "content/generator/course_cursor.h"

#include "lessons/registrydata.h"
#include "playback/cursorgeometry.h"

namespace content {
namespace {

playback::CursorGeometry CursorOf(const Geometry& g, const std::array<int, 2>& hold) {
    lessons::StoredGeometry stored{};
    for (int i = 0; i < kGeometryColumns; ++i)
        stored[static_cast<std::size_t>(i)] = g[i];
    playback::CursorGeometry geometry = lessons::GeometryFromStored(stored);
    geometry.HoldFrom = hold[0];
    geometry.HoldTo = hold[1];
    return geometry;
}

CursorPoint FromStep(const playback::CursorStep& step) {
    CursorPoint point;
    point.x = step.PointX;
    point.y = step.PointY;
    point.notationBeat = step.Position;
    return point;
}

} // namespace

CursorPoint PointForBeat(const Geometry& g, const std::array<int, 2>& hold, int position) {
    const playback::CursorGeometry geometry = CursorOf(g, hold);
    while (position > 0 && geometry.HoldFrom <= position && position <= geometry.HoldTo)
        position = geometry.HoldFrom - 1;
    return FromStep(playback::ComputeCursorStep(geometry, position));
}

CursorPoint PointForNotationBeat(const Geometry& g, int beat) {
    // A notation beat is the position that shows it before any jump or fold.
    playback::CursorGeometry geometry = CursorOf(g, {-100, -100});
    geometry.JumpFrom1 = geometry.JumpFrom2 = -1;
    geometry.WrapLength = beat + 1;
    return FromStep(playback::ComputeCursorStep(geometry, beat));
}

} // namespace content
