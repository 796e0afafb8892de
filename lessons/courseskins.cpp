#include "lessons/courseskins.h"

namespace lessons {

namespace {

// Lessons whose slide window A, or B, is passed over; no lesson passes over C.
constexpr std::array<bool, kCourseLessons> kSkipsA = {
    false, false, true,  false, true,  false, true,  false, false, true,
    false, true,  false, false, false, true,  false, true,  true,  true,
    false, false, true,  false, true,  true,  false, true,  true,  true};
constexpr std::array<bool, kCourseLessons> kSkipsB = {
    false, false, false, true,  false, true,  false, true,  true,  false,
    true,  false, false, false, true,  false, true,  true,  false, false,
    true,  true,  false, true,  true,  false, false, false, true,  true};

constexpr std::array<std::array<int, 3>, kCourseLessons> kAnswerKeys = {{
    {2, 4, 2}, {4, 3, 4}, {4, 3, 2}, {2, 3, 4}, {3, 2, 4}, {1, 3, 4}, {5, 3, 1}, {4, 4, 4},
    {2, 1, 3}, {4, 1, 3}, {3, 2, 1}, {4, 2, 1}, {6, 2, 4}, {3, 3, 4}, {5, 2, 4}, {4, 2, 1},
    {4, 2, 4}, {3, 4, 1}, {3, 3, 1}, {1, 5, 4}, {3, 4, 3}, {3, 4, 3}, {2, 3, 1}, {4, 4, 1},
    {4, 3, 2}, {3, 2, 4}, {2, 1, 2}, {3, 4, 2}, {2, 2, 2}, {1, 1, 1},
}};

bool IsLesson(int lesson) {
    return lesson >= 0 && lesson < kCourseLessons;
}

std::string LessonFolder(int lesson) {
    return "lektion" + std::to_string(lesson) + "\\";
}

} // namespace

bool PassesOverSlideWindow(int lesson, int window) {
    if (!IsLesson(lesson)) return false;
    if (window == kSlideA) return kSkipsA[lesson];
    if (window == kSlideB) return kSkipsB[lesson];
    return false;
}

std::string SlideSkinFile(int lesson, int window) {
    static constexpr const char* kNames[] = {"WinA.zs1", "WinB.zs1", "WinC.zs1"};
    return LessonFolder(lesson) + kNames[window < kSlideA || window > kSlideC ? kSlideA : window];
}

std::string QuizSkinFile(int lesson) {
    return LessonFolder(lesson) + "Kontrolle.zs1";
}

std::string SlideSkinHeader(int lesson) {
    return lesson >= 1 && lesson <= 3 ? std::to_string(lesson) : "0";
}

std::array<int, 3> QuizAnswerKey(int lesson) {
    return IsLesson(lesson) ? kAnswerKeys[lesson] : std::array<int, 3>{0, 0, 0};
}

} // namespace lessons
