// Generator step "course-outline": reads the course outline of both editions
// and checks it against the lesson registry and the English files against
// the German ones. Any disagreement fails the build with the list
// of problems, so that no later step builds screens, notation, exercises or
// quizzes from an outline the program would not fit.

#include "content/generator/contentstep.h"
#include "content/generator/course_outline.h"

#include <cstdio>

namespace content {
namespace {

bool RunOutline(const GeneratorContext& context) {
    std::vector<std::string> errors, notes;
    std::vector<Outline> editions;
    LoadEditions((context.sources / "course").string(), editions, errors, notes);
    for (const std::string& n : notes)
        std::printf("course outline: note: %s\n", n.c_str());
    for (const std::string& e : errors)
        std::fprintf(stderr, "course outline: %s\n", e.c_str());
    if (!errors.empty()) {
        std::fprintf(stderr, "course outline: %zu problem(s); fix content/sources/course\n",
                     errors.size());
        return false;
    }
    const Outline& outline = editions.front();
    int bars = 0;
    for (const Lesson& lesson : outline.lessons)
        bars += static_cast<int>(lesson.exercise->bars.size());
    std::printf("content: course outline: %zu lessons, %d bars of notation, %zu chords, %zu editions\n",
                outline.lessons.size(), bars, outline.chords.size(), editions.size());
    // The figures of the two checks a learner would feel: how fast the hand
    // has to strike at level 10, and where the quizzes' right answers lie.
    for (const Outline& edition : editions) {
        double fastest = 0;
        int fastestLesson = 0;
        for (const Lesson& lesson : edition.lessons) {
            const double strokes = FastestStrokesPerSecond(*lesson.exercise, lesson.values.tempo.back());
            if (strokes > fastest) fastest = strokes, fastestLesson = lesson.number;
        }
        std::printf("content: course outline (%s): at most %.2f strokes a second at level 10 (lesson %d); "
                    "right answers in %s\n",
                    edition.lessons.front().edition == Edition::German ? "German" : "English", fastest,
                    fastestLesson, MeasureQuizzes(edition).Summary().c_str());
    }
    return true;
}

StepRegistration registration{"course-outline", RunOutline};

} // namespace
} // namespace content
