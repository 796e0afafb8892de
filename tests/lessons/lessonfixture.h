#pragma once
// Stand-in lesson content for tests, the screenshot and the benchmark, for
// use while (or where) the generated course has no lesson folders: per
// lesson a main screen skin with the lesson's header, a notation backdrop
// (tag 200) whose note heads sit where the play cursor's point lands, a
// tag-300 cut-out, a slide link (tag 101) and a help picture (tag 405), and
// small valid exercise files for the ten levels.

#include <string>
#include <vector>

namespace lessontest {

// Where the fixture puts the backdrop, and the cut-out's place and colour.
inline constexpr int kBackdropLeft = 108;
inline constexpr int kBackdropTop = 236;
inline constexpr int kBackdropWidth = 628;
inline constexpr int kBackdropHeight = 356;
inline constexpr int kCutOutLeft = 120;
inline constexpr int kCutOutTop = 250;
inline constexpr int kCutOutColour = 0x00336699; // 0x00BBGGRR

// Writes lesson `lesson`'s main screen (skin, backdrop, help picture) into
// `programFolder` (ends in '/').
void WriteLessonScreen(const std::string& programFolder, int lesson);
// Writes the ten exercise files of `lesson` into programFolder/Midi.
void WriteExercises(const std::string& programFolder, int lesson);
// Both, for all 30 lessons.
void WriteCourse(const std::string& programFolder);

// The bytes of a small format-1 MIDI file: a tempo, four beats of count-in
// and `beats` quarter notes.
std::string ExerciseBytes(int beats, int bpm);

// Writes `bytes` to `path`, making the folders on the way.
void WriteBytes(const std::string& path, const std::string& bytes);

// True when `programFolder` holds generated lesson content (main screens
// and exercise files of all 30 lessons).
bool HasGeneratedCourse(const std::string& programFolder);

// The generated course's own folders ("Midi", "lektion0" ... "lektion29"),
// which tests leave out of their program folder to put stand-ins there.
std::vector<std::string> CourseFolders();

} // namespace lessontest
