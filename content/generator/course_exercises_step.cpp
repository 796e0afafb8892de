// Generator step "course-exercises": the ten exercise files of every lesson,
// Midi/uebungN_L.mid, one per tempo level, from the outline's [exercise];
// for the English edition the files that differ (its own exercise or tempo
// row) in its overlay folder.

#include "content/generator/contentstep.h"
#include "content/generator/course_edition_files.h"
#include "content/generator/course_midi.h"

#include <cstdio>

namespace content {
namespace {

// Strummed lessons sound on a steel-string guitar, picked ones on nylon.
int ProgramFor(const Exercise& exercise) {
    for (const Bar& bar : exercise.bars)
        for (const ScoreEvent& event : bar.events)
            if (event.kind == ScoreEvent::Kind::Chord) return kSteelGuitar;
    return kNylonGuitar;
}

bool WriteLessonExercises(const GeneratorContext& context, const Outline& outline, const Lesson& lesson) {
    const LessonValues& values = lesson.values; // the edition's rows
    ExerciseSettings settings;
    settings.countInBeats = values.countInBeats;
    settings.beatCount = static_cast<int>(values.geometry[kBeatCount]);
    settings.beatsPerBar = static_cast<int>(values.geometry[kBeatsPerBar]);
    settings.program = ProgramFor(*lesson.exercise);
    bool ok = true;
    for (int level = 1; level <= 10; ++level) {
        settings.tempo = values.tempo[static_cast<std::size_t>(level - 1)];
        ok = WriteEditionFile(context.out, lesson.edition, ExerciseFileName(lesson.number, level),
                              ExerciseFile(*lesson.exercise, outline, settings)) && ok;
    }
    return ok;
}

bool RunExercises(const GeneratorContext& context) {
    std::vector<std::string> errors, notes;
    std::vector<Outline> editions;
    if (!LoadEditions((context.sources / "course").string(), editions, errors, notes)) {
        std::fprintf(stderr, "content: the course outline has errors (see course-outline)\n");
        return false;
    }
    bool ok = true;
    for (const Outline& outline : editions)
        for (const Lesson& lesson : outline.lessons)
            ok = WriteLessonExercises(context, outline, lesson) && ok;
    return ok;
}

StepRegistration registration{"course-exercises", RunExercises};

} // namespace
} // namespace content
