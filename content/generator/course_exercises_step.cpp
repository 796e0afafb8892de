// Generator step "course-exercises": the ten exercise files of every lesson,
// Midi/uebungN_L.mid, one per tempo level, from the outline's [exercise].

#include "content/generator/contentstep.h"
#include "content/generator/course_midi.h"

#include <cstdio>
#include <fstream>

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
    const RegistryRow& row = Registry(lesson.number);
    ExerciseSettings settings;
    settings.countInBeats = row.countInBeats;
    settings.beatCount = static_cast<int>(row.geometry[kBeatCount]);
    settings.beatsPerBar = static_cast<int>(row.geometry[kBeatsPerBar]);
    settings.program = ProgramFor(*lesson.exercise);
    bool ok = true;
    for (int level = 1; level <= 10; ++level) {
        settings.tempo = row.tempo[static_cast<std::size_t>(level - 1)];
        const std::string path = (context.out / ExerciseFileName(lesson.number, level)).string();
        const std::string bytes = ExerciseFile(*lesson.exercise, outline, settings);
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) {
            std::fprintf(stderr, "content: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}

bool RunExercises(const GeneratorContext& context) {
    std::vector<std::string> errors;
    Outline outline = LoadOutline((context.sources / "course").string(), errors);
    ValidateOutline(outline, errors);
    if (!errors.empty()) {
        std::fprintf(stderr, "content: the course outline has errors (see course-outline)\n");
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(context.out / "Midi", ec);
    bool ok = true;
    for (const Lesson& lesson : outline.lessons)
        ok = WriteLessonExercises(context, outline, lesson) && ok;
    return ok;
}

StepRegistration registration{"course-exercises", RunExercises};

} // namespace
} // namespace content
