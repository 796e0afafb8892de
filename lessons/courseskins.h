#pragma once
// Which skin files the slide windows and the quiz load for a lesson, the
// header those files must carry, the slide windows a lesson passes over and
// the right box of each quiz question.

#include <array>
#include <string>

namespace lessons {

inline constexpr int kCourseLessons = 30;

// The slide windows, in the order a lesson is taught.
enum SlideWindowIndex { kSlideA = 0, kSlideB = 1, kSlideC = 2 };

// True when `lesson` (0..29) passes over slide window `window` (kSlideA..C);
// false for anything outside.
bool PassesOverSlideWindow(int lesson, int window);

// "lektion" N "\WinA.zs1" (B, C likewise) and "lektion" N "\Kontrolle.zs1",
// relative to the program folder.
std::string SlideSkinFile(int lesson, int window);
std::string QuizSkinFile(int lesson);

// The header the lesson's slide skins must begin with ("0" accepts any).
std::string SlideSkinHeader(int lesson);
inline constexpr const char* kQuizSkinHeader = "0";

// The right box (counted from 1) of questions 1, 2 and 3 of the lesson's quiz;
// zeros for a number that is no lesson.
std::array<int, 3> QuizAnswerKey(int lesson);

} // namespace lessons
