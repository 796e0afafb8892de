// Generator step "course-chords": the chord samples of slide window A,
// lektionN/Akkord1..3.wav, each named chord strummed down once and let ring.

#include "content/generator/contentstep.h"
#include "content/generator/course_outline.h"
#include "content/generator/sound_synth.h"

#include <cstdio>

namespace content {
namespace {

constexpr double kSampleSeconds = 3.0;

Sound ChordSample(const ChordShape& shape, std::uint32_t seed) {
    std::vector<int> notes;
    for (int string = 0; string < 6; ++string)
        if (shape.frets[static_cast<std::size_t>(string)] >= 0)
            notes.push_back(StringNote(string, shape.frets[static_cast<std::size_t>(string)]));
    PluckStyle style;
    style.brightness = 0.45;
    style.sustain = 4.0;
    style.seed = seed;
    Sound sound;
    sound.samples = Strum(notes, 0.018, kSampleSeconds, style);
    DampAt(sound.samples, kSampleSeconds - 0.4, kSampleSeconds - 0.02);
    Normalise(sound.samples, 0.8);
    return sound;
}

bool RunChords(const GeneratorContext& context) {
    std::vector<std::string> errors;
    Outline outline = LoadOutline((context.sources / "course").string(), errors);
    if (!errors.empty()) {
        std::fprintf(stderr, "content: the course outline has errors (see course-outline)\n");
        return false;
    }
    bool ok = true;
    for (const Lesson& lesson : outline.lessons) {
        if (!lesson.slides[0]) continue;
        const auto& samples = lesson.slides[0]->samples;
        for (std::size_t k = 0; k < samples.size() && k < 3; ++k) {
            auto shape = outline.chords.find(samples[k]);
            if (shape == outline.chords.end()) {
                std::fprintf(stderr, "content: %s: unknown chord sample %s\n", lesson.file.c_str(),
                             samples[k].c_str());
                ok = false;
                continue;
            }
            const auto path = context.out / ("lektion" + std::to_string(lesson.number)) /
                              ("Akkord" + std::to_string(k + 1) + ".wav");
            ok = WriteWav(path.string(), ChordSample(shape->second, 1000u + lesson.number * 7u + k)) && ok;
        }
    }
    return ok;
}

StepRegistration registration{"course-chords", RunChords};

} // namespace
} // namespace content
