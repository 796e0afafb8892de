#pragma once
// The lesson registry's tables: for each of the 30 lessons its skin files and
// their header, count-in, beat display offset, play cursor and play-count
// preset, quiz answer key, the tempo of its ten practice levels and the stored
// geometry of its play cursor, with the rules for language codes. The values
// live once, in the registry lines of the course's lesson files
// (content/sources/course/lektionNN.txt); the build makes the tables from
// them, and the program's LessonRegistry and the content generator both read
// them from here. No widgets: the generator links it.

#include "playback/cursorgeometry.h"

#include <array>
#include <string>

namespace lessons {

inline constexpr int kLessonCount = 30;
inline constexpr int kLevelCount = 10;
inline constexpr int kUnchanged = -1; // BeatDisplayOffset: keep the previous lesson's
inline constexpr int kNoPreset = -1;  // PlayCountPreset: leave PlayCount alone

// The values LoadMainScreen sets, and the quiz's answer key.
struct LessonValues {
    const char* Header;    // expected first line of the main screen and slide skins
    int CountInBeats;      // beats counted in at the head of every exercise file
    int BeatDisplayOffset; // offset of the beat display strip, or kUnchanged
    bool CursorActive;     // the screen has the moving point and beat display
    int PlayCountPreset;   // PlayCount set on opening, or kNoPreset
    std::array<int, 3> AnswerKey; // correct box (from 1) of questions 1, 2, 3
};

// Tempo in beats per minute of levels 1 to 10 (index 0 to 9).
using TempoRow = std::array<int, kLevelCount>;

// The 15 stored cursor values of a lesson, in the order Spare0, OriginY,
// LineSpacing, BeatWidth, OriginX, BeatsPerBar, InitialBeat, BeatCount,
// WrapLength, BeatsPerLine, Spare10, JumpFrom1, JumpBy1, JumpFrom2, JumpBy2.
using StoredGeometry = std::array<double, 15>;

// A range of positions in which the point stays; -100 to -100 is none.
struct HoldRange {
    int From = -100;
    int To = -100;
    bool operator==(const HoldRange&) const = default;
};

bool IsLesson(int lesson);

// The accessors below take a lesson 0..29 and throw std::out_of_range otherwise.
const LessonValues& LessonValuesOf(int lesson);

// The tempo row of language 0; for lessons 12, 17 and 27 also a row for
// every other language code (nullptr for the other lessons).
const TempoRow& TempoRowLanguage0(int lesson);
const TempoRow* TempoRowOtherLanguages(int lesson);
// The row a learner with `languageCode` practises at.
const TempoRow& TempoRowFor(int lesson, int languageCode);
// Tempo of `level` 1..10 (a level outside is taken as 1).
int LessonTempo(int lesson, int level, int languageCode);

// The stored geometry; for lessons 12, 17 and 27 also the row of language
// code 1 (nullptr for the other lessons).
const StoredGeometry& StoredGeometryOf(int lesson);
const StoredGeometry* StoredGeometryLanguage1(int lesson);

// The cursor slots built from stored values: integers truncated toward zero,
// BeatWidth as a single-precision real, Spare11 = 0, no hold range.
playback::CursorGeometry GeometryFromStored(const StoredGeometry& stored);
// The geometry a lesson's cursor starts from for `languageCode` (the rows of
// language 1 apply only when the code is exactly 1); no hold range yet.
playback::CursorGeometry LessonGeometry(int lesson, int languageCode);
// The hold range the lesson's LoadMainScreen puts into its geometry (only
// lesson 19 has one).
HoldRange MainScreenHold(int lesson);

// Slide windows: 0 = A, 1 = B, 2 = C. True when `lesson` passes over it.
bool SkipsSlideWindow(int lesson, int window);

// Skin files of a lesson, relative to the program folder, and their headers.
std::string MainScreenFile(int lesson);
std::string SlideFile(int lesson, int window);
std::string QuizFile(int lesson);
inline constexpr const char* kQuizHeader = "0";

// Exercise file of `lesson` at `level`, relative to the program folder.
std::string ExerciseFile(int lesson, int level);

// The program folder holds two editions of the course: the German one, and
// beside it the English one as an overlay folder holding only the files that
// differ (texts, skins, and the notation and exercises of lessons 12, 17 and
// 27, which follow the language-1 rows). Every language code other than 0
// is served the English edition, and its registry rows are those of
// language 1, so that notation, cursor and sound always come from one
// edition and agree.
inline constexpr const char* kEnglishEditionFolder = "English";
// 0 for the German edition, 1 for the English one.
int CourseEdition(int languageCode);

} // namespace lessons
