// Generator step "lesson-screens": for every lesson of both editions its main
// screen with the printed notation, its slide windows with their pictures and
// chord pictures, and its quiz; the English edition's files that differ go to
// its overlay folder. The notation's glyph boxes go to the side folder
// ("notation/lektionN.txt", "English/notation/lektionN.txt": one line "beat
// left top right bottom" per notation beat, main-window pixels, right and
// bottom exclusive) so that the tests can check the play cursor against them.

#include "content/generator/art_jpeg.h"
#include "content/generator/art_paint.h"
#include "content/generator/art_skins.h"
#include "content/generator/contentstep.h"
#include "content/generator/course_edition_files.h"
#include "content/generator/lesson_notation.h"
#include "content/generator/lesson_pictures.h"
#include "content/generator/lesson_screens.h"

#include "platform/core/files.h"

#include <cstdio>

namespace art {
namespace {

// "lektionN/" + name, relative to the program folder.
std::string InLesson(const content::Lesson& lesson, const std::string& name) {
    return "lektion" + std::to_string(lesson.number) + "/" + name;
}

bool WriteFile(const content::GeneratorContext& context, const content::Lesson& lesson, const std::string& name,
               const std::string& bytes) {
    return content::WriteEditionFile(context.out, lesson.edition, InLesson(lesson, name), bytes);
}

bool WriteSkinFile(const content::GeneratorContext& context, const content::Lesson& lesson, const std::string& name,
                   const SkinWriter& skin) {
    std::string bytes;
    QString error = CheckSkin(skin.Lines());
    if (error.isEmpty() && skin.Encode(bytes, error)) return WriteFile(context, lesson, name, bytes);
    std::fprintf(stderr, "content: %s%s: %s\n", content::EditionFolder(lesson.edition).c_str(),
                 InLesson(lesson, name).c_str(), error.toLocal8Bit().constData());
    return false;
}

bool WriteGlyphs(const content::GeneratorContext& context, const content::Lesson& lesson,
                 const std::vector<QRect>& glyphs) {
    std::string text;
    for (std::size_t beat = 0; beat < glyphs.size(); ++beat) {
        const QRect& r = glyphs[beat];
        text += std::to_string(beat) + " " + std::to_string(r.left()) + " " + std::to_string(r.top()) + " " +
                std::to_string(r.left() + r.width()) + " " + std::to_string(r.top() + r.height()) + "\n";
    }
    const auto path = context.side / (content::EditionFolder(lesson.edition) + "notation") /
                      ("lektion" + std::to_string(lesson.number) + ".txt");
    return WriteBytes(path.string(), text);
}

// A lesson's problem that fails the step: "file: message" on standard error.
bool Problem(const content::Lesson& lesson, const std::string& message) {
    std::fprintf(stderr, "content: %s: %s\n", lesson.file.c_str(), message.c_str());
    return false;
}

bool WriteMainScreen(const content::GeneratorContext& context, const content::Outline& outline,
                     const content::Lesson& lesson) {
    NotationPicture notation = DrawNotation(lesson, outline);
    bool ok = WriteFile(context, lesson, "Notation.jpg", EncodeJpeg(notation.backdrop));
    ok = WriteGlyphs(context, lesson, notation.glyphs) && ok;
    std::string error;
    const SkinWriter skin = MainScreenSkin(lesson, notation.top, error);
    if (!error.empty()) return Problem(lesson, error);
    return WriteSkinFile(context, lesson, "MainWin.zs1", skin) && ok;
}

// `german`: the same lesson in the German edition, whose picture lines say
// what each picture shows.
bool WriteSlides(const content::GeneratorContext& context, const content::Outline& outline,
                 const content::Lesson& lesson, const content::Lesson& german) {
    bool ok = true;
    for (int w = 0; w < 3; ++w) {
        const auto& slide = lesson.slides[static_cast<std::size_t>(w)];
        if (!slide) continue;
        const std::string letter(1, static_cast<char>('A' + w));
        std::string error;
        const SkinWriter skin = SlideSkin(lesson, w, error);
        ok = (error.empty() ? WriteSkinFile(context, lesson, "Win" + letter + ".zs1", skin) : Problem(lesson, error)) && ok;
        const auto& drawings = german.slides[static_cast<std::size_t>(w)]->drawings;
        for (std::size_t k = 0; k < slide->pictures.size() && k < 4 && k < drawings.size(); ++k) {
            const unsigned seed = static_cast<unsigned>(lesson.number * 16 + w * 4 + k);
            QImage picture = SlidePicture(lesson, outline, drawings[k], seed, slide->pictures[k], error);
            if (picture.isNull()) {
                ok = Problem(lesson, "[slide " + letter + "] picture " + std::to_string(k + 1) + ": " + error);
                continue;
            }
            ok = WriteFile(context, lesson, "Dia" + letter + std::to_string(k + 1) + ".jpg", EncodeJpeg(picture)) && ok;
        }
        for (std::size_t k = 0; w == 0 && k < slide->samples.size() && k < 3; ++k) {
            auto shape = outline.chords.find(slide->samples[k]);
            if (shape == outline.chords.end()) continue; // the chord step reports it
            ok = WriteFile(context, lesson, "AkkordBild" + std::to_string(k + 1) + ".jpg",
                           EncodeJpeg(ChordPicture(shape->second))) && ok;
        }
    }
    return ok;
}

bool RunLessonScreens(const content::GeneratorContext& context) {
    if (!PrepareArt(context.sources)) return false;
    std::vector<std::string> errors, notes;
    std::vector<content::Outline> editions;
    if (!content::LoadEditions((context.sources / "course").string(), editions, errors, notes)) {
        std::fprintf(stderr, "content: the course outline has errors (see course-outline)\n");
        return false;
    }
    bool ok = WriteBytes((context.out / "Bilder/SymbolStimmen.jpg").string(), EncodeJpeg(ToolSymbol(false)));
    ok = WriteBytes((context.out / "Bilder/SymbolHilfe.jpg").string(), EncodeJpeg(ToolSymbol(true))) && ok;
    ok = WriteBytes((context.out / "Bilder/Lernkarte.jpg").string(), EncodeJpeg(SlideCard())) && ok;
    for (const content::Outline& outline : editions) // German first: the overlay compares with it
        for (std::size_t n = 0; n < outline.lessons.size(); ++n) {
            const content::Lesson& lesson = outline.lessons[n];
            ok = WriteMainScreen(context, outline, lesson) && ok;
            ok = WriteSlides(context, outline, lesson, editions.front().lessons[n]) && ok;
            std::string error;
            const SkinWriter quiz = QuizSkin(lesson, error);
            ok = (error.empty() ? WriteSkinFile(context, lesson, "Kontrolle.zs1", quiz) : Problem(lesson, error)) && ok;
        }
    return ok;
}

content::StepRegistration registration{"lesson-screens", RunLessonScreens};

} // namespace
} // namespace art
