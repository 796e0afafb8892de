#include "lessons/registrydata.h"

#include <cmath>
#include <stdexcept>

namespace lessons {

namespace {

// Header, count-in, beat display offset, cursor, play-count preset, answer key.
constexpr std::array<LessonValues, kLessonCount> kValues = {{
    {"0", 4, kUnchanged, false, 3, {2, 4, 2}}, // lesson 0
    {"1", 4, 18, true, kNoPreset, {4, 3, 4}}, // lesson 1
    {"2", 4, 18, true, kNoPreset, {4, 3, 2}}, // lesson 2
    {"3", 4, 18, true, kNoPreset, {2, 3, 4}}, // lesson 3
    {"0", 4, 18, true, kNoPreset, {3, 2, 4}}, // lesson 4
    {"0", 4, 18, true, kNoPreset, {1, 3, 4}}, // lesson 5
    {"0", 4, 18, true, kNoPreset, {5, 3, 1}}, // lesson 6
    {"0", 4, 18, true, kNoPreset, {4, 4, 4}}, // lesson 7
    {"0", 4, 18, true, kNoPreset, {2, 1, 3}}, // lesson 8
    {"0", 3, 18, true, kNoPreset, {4, 1, 3}}, // lesson 9
    {"0", 4, 20, true, kNoPreset, {3, 2, 1}}, // lesson 10
    {"0", 4, 20, false, kNoPreset, {4, 2, 1}}, // lesson 11
    {"0", 4, 18, true, kNoPreset, {6, 2, 4}}, // lesson 12
    {"0", 4, 18, true, kNoPreset, {3, 3, 4}}, // lesson 13
    {"0", 4, 18, true, kNoPreset, {5, 2, 4}}, // lesson 14
    {"0", 4, 20, true, kNoPreset, {4, 2, 1}}, // lesson 15
    {"0", 4, 20, true, kNoPreset, {4, 2, 4}}, // lesson 16
    {"0", 4, 20, false, kNoPreset, {3, 4, 1}}, // lesson 17
    {"0", 4, 20, false, kNoPreset, {3, 3, 1}}, // lesson 18
    {"0", 4, 20, true, kNoPreset, {1, 5, 4}}, // lesson 19
    {"0", 4, 20, true, kNoPreset, {3, 4, 3}}, // lesson 20
    {"0", 4, 20, true, kNoPreset, {3, 4, 3}}, // lesson 21
    {"0", 4, 18, true, kNoPreset, {2, 3, 1}}, // lesson 22
    {"0", 4, 20, true, kNoPreset, {4, 4, 1}}, // lesson 23
    {"0", 4, 20, true, kNoPreset, {4, 3, 2}}, // lesson 24
    {"0", 4, 18, true, kNoPreset, {3, 2, 4}}, // lesson 25
    {"0", 4, 20, true, kNoPreset, {2, 1, 2}}, // lesson 26
    {"0", 4, 20, false, kNoPreset, {3, 4, 2}}, // lesson 27
    {"0", 8, 18, true, kNoPreset, {2, 2, 2}}, // lesson 28
    {"0", 4, kUnchanged, false, 3, {1, 1, 1}}, // lesson 29
}};

// Levels 1 to 10; for lessons 12, 17 and 27 the row of language 0.
constexpr std::array<TempoRow, kLessonCount> kTempo = {{
    {55, 62, 72, 82, 90, 98, 106, 114, 120, 126}, // lesson 0
    {55, 62, 72, 82, 90, 98, 106, 114, 120, 126}, // lesson 1
    {55, 65, 75, 85, 92, 100, 107, 115, 120, 123}, // lesson 2
    {55, 62, 70, 75, 80, 85, 90, 95, 100, 105}, // lesson 3
    {60, 65, 72, 80, 85, 92, 98, 104, 110, 118}, // lesson 4
    {52, 56, 62, 70, 80, 90, 100, 110, 116, 122}, // lesson 5
    {55, 60, 65, 70, 78, 86, 94, 100, 105, 110}, // lesson 6
    {50, 55, 62, 70, 78, 86, 95, 102, 110, 115}, // lesson 7
    {60, 70, 80, 90, 98, 106, 112, 118, 123, 126}, // lesson 8
    {50, 55, 60, 65, 70, 75, 80, 85, 88, 92}, // lesson 9
    {55, 60, 65, 70, 75, 80, 85, 90, 95, 100}, // lesson 10
    {70, 80, 80, 90, 90, 95, 100, 100, 110, 110}, // lesson 11
    {50, 58, 62, 66, 74, 82, 90, 98, 106, 114}, // lesson 12
    {40, 48, 56, 64, 75, 83, 90, 96, 100, 105}, // lesson 13
    {40, 48, 56, 64, 72, 80, 88, 96, 104, 112}, // lesson 14
    {40, 45, 50, 58, 66, 74, 80, 85, 88, 90}, // lesson 15
    {50, 58, 66, 74, 82, 90, 98, 106, 112, 120}, // lesson 16
    {70, 80, 80, 90, 90, 100, 100, 108, 110, 116}, // lesson 17
    {80, 85, 90, 95, 100, 105, 110, 115, 120, 123}, // lesson 18
    {45, 53, 60, 68, 76, 84, 92, 100, 105, 110}, // lesson 19
    {45, 50, 55, 63, 70, 78, 86, 95, 102, 110}, // lesson 20
    {45, 53, 60, 68, 76, 85, 93, 100, 108, 116}, // lesson 21
    {40, 45, 50, 55, 60, 64, 68, 72, 76, 80}, // lesson 22
    {45, 48, 51, 55, 58, 62, 65, 68, 72, 76}, // lesson 23
    {45, 51, 57, 63, 70, 77, 84, 90, 97, 105}, // lesson 24
    {70, 82, 94, 106, 118, 130, 142, 154, 166, 178}, // lesson 25
    {60, 68, 76, 84, 92, 100, 108, 116, 124, 132}, // lesson 26
    {60, 66, 72, 78, 84, 90, 96, 102, 108, 114}, // lesson 27
    {60, 72, 84, 96, 108, 120, 132, 144, 156, 166}, // lesson 28
    {55, 65, 75, 85, 92, 100, 107, 115, 120, 123}, // lesson 29
}};

// The rows of every language code other than 0.
constexpr TempoRow kTempo12Other = {60, 67, 74, 81, 88, 95, 102, 109, 115, 121};
constexpr TempoRow kTempo17Other = {90, 100, 110, 120, 130, 90, 100, 110, 120, 130};
constexpr TempoRow kTempo27Other = {75, 82, 88, 95, 102, 108, 116, 123, 130, 138};

// Spare0, OriginY, LineSpacing, BeatWidth, OriginX, BeatsPerBar, InitialBeat,
// BeatCount, WrapLength, BeatsPerLine, Spare10, JumpFrom1, JumpBy1, JumpFrom2, JumpBy2.
constexpr std::array<StoredGeometry, kLessonCount> kGeometry = {{
    {1, 480, 78, 30, 194, 4, 0, 16, 16, 16, 55, -1, 0, -1, 0}, // lesson 0
    {1, 525, 78, 32, 178, 4, 0, 32, 16, 16, 55, -1, 0, -1, 0}, // lesson 1
    {1, 474, 67, 32, 181, 4, 0, 64, 32, 16, 55, 32, 32, -1, 0}, // lesson 2
    {1, 460, 65, 32, 182, 4, 0, 64, 32, 16, 55, 32, 32, -1, 0}, // lesson 3
    {1, 469, 67, 32, 180, 4, 0, 64, 32, 16, 60, 32, 32, -1, 0}, // lesson 4
    {1, 469, 67, 32, 181, 4, 0, 64, 32, 16, 52, 32, 32, -1, 0}, // lesson 5
    {1, 468, 66, 32, 180, 4, 0, 64, 32, 16, 55, 32, 32, -1, 0}, // lesson 6
    {1, 473, 67, 32, 180, 4, 0, 64, 32, 16, 50, 32, 32, -1, 0}, // lesson 7
    {1, 348, 66, 32, 180, 4, 0, 64, 64, 16, 60, -1, 0, -1, 0}, // lesson 8
    {1, 469, 66, 32, 241, 3, 0, 48, 24, 12, 50, 24, 24, -1, 0}, // lesson 9
    {1, 469, 67, 32, 182, 4, 0, 64, 32, 16, 55, 32, 32, -1, 0}, // lesson 10
    {1, 490, 73, 34, 192, 4, 0, 16, 16, 16, 70, -1, 0, -1, 0}, // lesson 11
    {1, 357, 66, 32, 184, 4, 0, 56, 56, 16, 50, -1, 0, -1, 0}, // lesson 12
    {1, 474, 67, 32, 181, 4, 0, 64, 32, 16, 40, 32, 32, -1, 0}, // lesson 13
    {1, 474, 66, 32, 181, 4, 0, 64, 32, 16, 40, 32, 32, -1, 0}, // lesson 14
    {1, 444, 50, 24, 248, 4, 0, 96, 48, 16, 40, -1, 0, -1, 0}, // lesson 15
    {1, 479, 52, 23.2, 258, 4, 0, 64, 32, 16, 50, -1, 0, -1, 0}, // lesson 16
    {1, 490, 73, 34, 192, 4, 0, 16, 16, 16, 70, -1, 0, -1, 0}, // lesson 17
    {1, 490, 73, 34, 192, 4, 0, 16, 16, 16, 80, -1, 0, -1, 0}, // lesson 18
    {1, 440, 98, 32, 179, 4, 0, 68, 36, 20, 45, 16, 16, 52, 16}, // lesson 19
    {1, 352, 66, 32, 180, 4, 0, 64, 64, 16, 45, -1, 0, -1, 0}, // lesson 20
    {1, 343, 66, 32, 181, 4, 0, 64, 64, 16, 45, -1, 0, -1, 0}, // lesson 21
    {1, 476, 67, 32, 181, 4, 0, 64, 32, 16, 40, 32, 32, -1, 0}, // lesson 22
    {1, 474, 67, 32, 182, 4, 0, 64, 32, 16, 45, 32, 32, -1, 0}, // lesson 23
    {1, 472, 67, 32, 180, 4, 0, 64, 32, 16, 45, 32, 32, -1, 0}, // lesson 24
    {1, 384, 58, 32, 180, 4, 0, 64, 64, 16, 70, -1, 0, -1, 0}, // lesson 25
    {1, 496, 54, 16, 176, 4, 0, 128, 64, 32, 60, -1, 0, -1, 0}, // lesson 26
    {1, 490, 73, 32, 178, 4, 0, 4, 4, 4, 60, -1, 0, -1, 0}, // lesson 27
    {1, 357, 67, 32, 180, 4, 0, 176, 64, 16, 60, 32, 32, 80, 16}, // lesson 28
    {1, 490, 73, 34, 192, 4, 0, 16, 16, 16, 55, -1, 0, -1, 0}, // lesson 29
}};

// The rows of language code 1.
constexpr StoredGeometry kGeometry12Language1 = {1, 345, 66, 32, 181, 4, 0, 64, 64, 16, 50, -1, 0, -1, 0};
constexpr StoredGeometry kGeometry17Language1 = {1, 490, 73, 34, 192, 4, 0, 16, 16, 16, 70, -1, 0, -1, 0};
constexpr StoredGeometry kGeometry27Language1 = {1, 490, 73, 32, 178, 4, 0, 4, 4, 4, 60, -1, 0, -1, 0};

constexpr int kHoldLesson = 19;
constexpr HoldRange kHold19 = {32, 35};

// Lessons that pass over slide window A, and window B; none pass over C.
constexpr std::array<int, 15> kSkipA = {2, 4, 6, 9, 11, 15, 17, 18, 19, 22, 24, 25, 27, 28, 29};
constexpr std::array<int, 14> kSkipB = {3, 5, 7, 8, 10, 14, 16, 17, 20, 21, 23, 24, 28, 29};

std::size_t Index(int lesson) {
    if (!IsLesson(lesson)) throw std::out_of_range("no lesson " + std::to_string(lesson));
    return static_cast<std::size_t>(lesson);
}

int Truncated(double value) {
    return static_cast<int>(std::trunc(value));
}

std::string LessonFolder(int lesson) {
    Index(lesson);
    return "lektion" + std::to_string(lesson) + "\\";
}

} // namespace

bool IsLesson(int lesson) {
    return lesson >= 0 && lesson < kLessonCount;
}

const LessonValues& LessonValuesOf(int lesson) {
    return kValues[Index(lesson)];
}

const TempoRow& TempoRowLanguage0(int lesson) {
    return kTempo[Index(lesson)];
}

const TempoRow* TempoRowOtherLanguages(int lesson) {
    switch (Index(lesson)) {
    case 12: return &kTempo12Other;
    case 17: return &kTempo17Other;
    case 27: return &kTempo27Other;
    default: return nullptr;
    }
}

const TempoRow& TempoRowFor(int lesson, int languageCode) {
    const TempoRow* other = TempoRowOtherLanguages(lesson);
    return languageCode != 0 && other != nullptr ? *other : TempoRowLanguage0(lesson);
}

int LessonTempo(int lesson, int level, int languageCode) {
    if (level < 1 || level > kLevelCount) level = 1;
    return TempoRowFor(lesson, languageCode)[static_cast<std::size_t>(level - 1)];
}

const StoredGeometry& StoredGeometryOf(int lesson) {
    return kGeometry[Index(lesson)];
}

const StoredGeometry* StoredGeometryLanguage1(int lesson) {
    switch (Index(lesson)) {
    case 12: return &kGeometry12Language1;
    case 17: return &kGeometry17Language1;
    case 27: return &kGeometry27Language1;
    default: return nullptr;
    }
}

playback::CursorGeometry GeometryFromStored(const StoredGeometry& s) {
    playback::CursorGeometry g;
    g.Spare0 = Truncated(s[0]);
    g.OriginY = Truncated(s[1]);
    g.LineSpacing = Truncated(s[2]);
    g.BeatWidth = static_cast<float>(s[3]);
    g.OriginX = Truncated(s[4]);
    g.BeatsPerBar = Truncated(s[5]);
    g.InitialBeat = Truncated(s[6]);
    g.BeatCount = Truncated(s[7]);
    g.WrapLength = Truncated(s[8]);
    g.BeatsPerLine = Truncated(s[9]);
    g.Spare10 = Truncated(s[10]);
    g.Spare11 = 0;
    g.JumpFrom1 = Truncated(s[11]);
    g.JumpBy1 = Truncated(s[12]);
    g.JumpFrom2 = Truncated(s[13]);
    g.JumpBy2 = Truncated(s[14]);
    g.HoldFrom = -100;
    g.HoldTo = -100;
    return g;
}

playback::CursorGeometry LessonGeometry(int lesson, int languageCode) {
    const StoredGeometry* language1 = StoredGeometryLanguage1(lesson);
    if (languageCode == 1 && language1 != nullptr) return GeometryFromStored(*language1);
    return GeometryFromStored(StoredGeometryOf(lesson));
}

HoldRange MainScreenHold(int lesson) {
    return Index(lesson) == kHoldLesson ? kHold19 : HoldRange{};
}

bool SkipsSlideWindow(int lesson, int window) {
    if (!IsLesson(lesson)) return false;
    const auto contains = [lesson](const auto& list) {
        for (int x : list)
            if (x == lesson) return true;
        return false;
    };
    if (window == 0) return contains(kSkipA);
    if (window == 1) return contains(kSkipB);
    return false;
}

std::string MainScreenFile(int lesson) {
    return LessonFolder(lesson) + "MainWin.zs1";
}

std::string SlideFile(int lesson, int window) {
    static const char* const names[] = {"WinA.zs1", "WinB.zs1", "WinC.zs1"};
    if (window < 0 || window > 2) throw std::out_of_range("no slide window " + std::to_string(window));
    return LessonFolder(lesson) + names[window];
}

std::string QuizFile(int lesson) {
    return LessonFolder(lesson) + "Kontrolle.zs1";
}

int CourseEdition(int languageCode) {
    return languageCode == 0 ? 0 : 1;
}

std::string ExerciseFile(int lesson, int level) {
    return "Midi\\uebung" + std::to_string(Index(lesson)) + "_" + std::to_string(level) + ".mid";
}

} // namespace lessons
