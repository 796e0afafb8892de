#pragma once
// The lesson registry's values as the outline checks see them: count-in, beat
// display, cursor, play-count preset, quiz answer key, tempo of the ten levels
// and the play cursor's stored geometry, per lesson 0..29, together with the
// slide windows each lesson passes over. The values themselves are the
// program's own tables (lessons/registrydata.h) and its cursor arithmetic
// (playback/cursorgeometry.h), read through this view; the generator checks
// that the course outline agrees with them, so that screens, notation,
// exercises and quizzes built from the outline fit what the program expects.

#include <array>
#include <string>
#include <vector>

namespace content {

constexpr int kLessonCount = 30;

// Stored geometry columns (15 values, the cursor slots 0..10 and 12..15).
enum GeometryColumn {
    kSpare0,
    kOriginY,
    kLineSpacing,
    kBeatWidth,
    kOriginX,
    kBeatsPerBar,
    kInitialBeat,
    kBeatCount,
    kWrapLength,
    kBeatsPerLine,
    kSpare10,
    kJumpFrom1,
    kJumpBy1,
    kJumpFrom2,
    kJumpBy2,
    kGeometryColumns
};

using Geometry = std::array<double, kGeometryColumns>;

struct RegistryRow {
    std::string header;    // expected first line of the lesson's skins
    int countInBeats;      // beats counted in at the head of every exercise file
    int beatDisplayOffset; // -1: unchanged
    bool cursorActive;
    int playCountPreset; // -1: none
    std::array<int, 3> answerKey;
    std::array<int, 10> tempo;   // levels 1..10 (language 0)
    std::vector<int> tempoOther; // levels 1..10 for other languages, or empty
    Geometry geometry;
    std::vector<double> geometryLanguage1; // 15 values for language 1, or empty
    std::array<int, 2> hold;               // HoldFrom, HoldTo (-100: none)
};

const RegistryRow& Registry(int lesson);

// Slide windows 0 = A, 1 = B, 2 = C; true when `lesson` passes over the window.
bool SkipsWindow(int lesson, int window);

// The notation beat the play cursor shows for exercise beat `position` (0-based),
// reduced by the jumps and the fold of the geometry exactly as the cursor does;
// -1 when the position lies in the hold range (the point stays where it was).
int CursorNotationBeat(const Geometry& geometry, const std::array<int, 2>& hold, int position);

} // namespace content
