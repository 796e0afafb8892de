#include "content/generator/course_registry.h"

#include "lessons/registrydata.h"
#include "playback/cursorgeometry.h"

namespace content {

namespace {

RegistryRow RowOf(int lesson) {
    const lessons::LessonValues& v = lessons::LessonValuesOf(lesson);
    RegistryRow row;
    row.header = v.Header;
    row.countInBeats = v.CountInBeats;
    row.beatDisplayOffset = v.BeatDisplayOffset;
    row.cursorActive = v.CursorActive;
    row.playCountPreset = v.PlayCountPreset;
    row.answerKey = v.AnswerKey;
    row.tempo = lessons::TempoRowLanguage0(lesson);
    if (const lessons::TempoRow* other = lessons::TempoRowOtherLanguages(lesson))
        row.tempoOther.assign(other->begin(), other->end());
    const lessons::StoredGeometry& stored = lessons::StoredGeometryOf(lesson);
    for (int i = 0; i < kGeometryColumns; ++i)
        row.geometry[i] = stored[static_cast<std::size_t>(i)];
    if (const lessons::StoredGeometry* language1 = lessons::StoredGeometryLanguage1(lesson))
        row.geometryLanguage1.assign(language1->begin(), language1->end());
    const lessons::HoldRange hold = lessons::MainScreenHold(lesson);
    row.hold = {hold.From, hold.To};
    return row;
}

const std::array<RegistryRow, kLessonCount>& Rows() {
    static const std::array<RegistryRow, kLessonCount> rows = [] {
        std::array<RegistryRow, kLessonCount> all;
        for (int n = 0; n < kLessonCount; ++n)
            all[static_cast<std::size_t>(n)] = RowOf(n);
        return all;
    }();
    return rows;
}

} // namespace

static_assert(kLessonCount == lessons::kLessonCount);

const RegistryRow& Registry(int lesson) {
    return Rows().at(static_cast<std::size_t>(lesson));
}

bool SkipsWindow(int lesson, int window) {
    return lessons::SkipsSlideWindow(lesson, window);
}

int CursorNotationBeat(const Geometry& g, const std::array<int, 2>& hold, int position) {
    lessons::StoredGeometry stored{};
    for (int i = 0; i < kGeometryColumns; ++i)
        stored[static_cast<std::size_t>(i)] = g[i];
    playback::CursorGeometry geometry = lessons::GeometryFromStored(stored);
    geometry.HoldFrom = hold[0];
    geometry.HoldTo = hold[1];
    return playback::CursorNotationBeat(geometry, position);
}

} // namespace content
