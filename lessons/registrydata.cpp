#include "lessons/registrydata.h"

#include <cmath>
#include <stdexcept>

namespace lessons {

namespace {

// The tables: kValues, kTempo, kTempoOther with kHasTempoOther, kGeometry,
// kGeometryLanguage1 with kHasGeometryLanguage1, kHold and kSkipsWindow, made
// from the lesson files at build time.
#include "lessons/registrytable.inc"

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
    const std::size_t index = Index(lesson);
    return kHasTempoOther[index] ? &kTempoOther[index] : nullptr;
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
    const std::size_t index = Index(lesson);
    return kHasGeometryLanguage1[index] ? &kGeometryLanguage1[index] : nullptr;
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
    return kHold[Index(lesson)];
}

bool SkipsSlideWindow(int lesson, int window) {
    if (!IsLesson(lesson) || window < 0 || window > 2) return false;
    return kSkipsWindow[static_cast<std::size_t>(lesson)][static_cast<std::size_t>(window)];
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
