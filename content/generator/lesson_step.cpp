// Generator step "lesson-screens": for every lesson its main screen with the
// printed notation, its slide windows with their pictures and chord pictures,
// and its quiz. The notation's glyph boxes go to the side folder
// ("notation/lektionN.txt": one line "beat left top right bottom" per
// notation beat, main-window pixels, right and bottom exclusive) so that the
// tests can check the play cursor against them.

#include "content/generator/art_jpeg.h"
#include "content/generator/art_paint.h"
#include "content/generator/art_skins.h"
#include "content/generator/contentstep.h"
#include "content/generator/lesson_notation.h"
#include "content/generator/lesson_pictures.h"
#include "content/generator/lesson_screens.h"

#include "platform/core/files.h"

#include <cstdio>

namespace art {
namespace {

std::filesystem::path Folder(const content::GeneratorContext& context, int lesson) {
    return context.out / ("lektion" + std::to_string(lesson));
}

bool WriteSkinFile(const std::filesystem::path& path, const SkinWriter& skin) {
    std::string bytes;
    QString error = CheckSkin(skin.Lines());
    if (error.isEmpty() && skin.Encode(bytes, error)) return WriteBytes(path.string(), bytes);
    std::fprintf(stderr, "content: %s: %s\n", path.string().c_str(), error.toLocal8Bit().constData());
    return false;
}

bool WriteGlyphs(const content::GeneratorContext& context, int lesson, const std::vector<QRect>& glyphs) {
    std::string text;
    for (std::size_t beat = 0; beat < glyphs.size(); ++beat) {
        const QRect& r = glyphs[beat];
        text += std::to_string(beat) + " " + std::to_string(r.left()) + " " + std::to_string(r.top()) + " " +
                std::to_string(r.left() + r.width()) + " " + std::to_string(r.top() + r.height()) + "\n";
    }
    const auto path = context.side / "notation" / ("lektion" + std::to_string(lesson) + ".txt");
    return WriteBytes(path.string(), text);
}

bool WriteMainScreen(const content::GeneratorContext& context, const content::Outline& outline,
                     const content::Lesson& lesson) {
    NotationPicture notation = DrawNotation(lesson, outline);
    bool ok = WriteBytes((Folder(context, lesson.number) / "Notation.jpg").string(), EncodeJpeg(notation.backdrop));
    ok = WriteGlyphs(context, lesson.number, notation.glyphs) && ok;
    return WriteSkinFile(Folder(context, lesson.number) / "MainWin.zs1", MainScreenSkin(lesson, notation.top)) && ok;
}

bool WriteSlides(const content::GeneratorContext& context, const content::Outline& outline,
                 const content::Lesson& lesson) {
    bool ok = true;
    const auto folder = Folder(context, lesson.number);
    for (int w = 0; w < 3; ++w) {
        const auto& slide = lesson.slides[static_cast<std::size_t>(w)];
        if (!slide) continue;
        const std::string letter(1, static_cast<char>('A' + w));
        ok = WriteSkinFile(folder / ("Win" + letter + ".zs1"), SlideSkin(lesson, w)) && ok;
        for (std::size_t k = 0; k < slide->pictures.size() && k < 4; ++k) {
            const unsigned seed = static_cast<unsigned>(lesson.number * 16 + w * 4 + k);
            QImage picture = SlidePicture(lesson, outline, slide->pictures[k], seed);
            ok = WriteBytes((folder / ("Dia" + letter + std::to_string(k + 1) + ".jpg")).string(),
                            EncodeJpeg(picture)) && ok;
        }
        for (std::size_t k = 0; w == 0 && k < slide->samples.size() && k < 3; ++k) {
            auto shape = outline.chords.find(slide->samples[k]);
            if (shape == outline.chords.end()) continue; // the chord step reports it
            ok = WriteBytes((folder / ("AkkordBild" + std::to_string(k + 1) + ".jpg")).string(),
                            EncodeJpeg(ChordPicture(shape->second))) && ok;
        }
    }
    return ok;
}

bool RunLessonScreens(const content::GeneratorContext& context) {
    if (!PrepareArt(context.sources)) return false;
    std::vector<std::string> errors;
    content::Outline outline = content::LoadOutline((context.sources / "course").string(), errors);
    content::ValidateOutline(outline, errors);
    if (!errors.empty()) {
        std::fprintf(stderr, "content: the course outline has errors (see course-outline)\n");
        return false;
    }
    bool ok = WriteBytes((context.out / "Bilder/SymbolStimmen.jpg").string(), EncodeJpeg(ToolSymbol(false)));
    ok = WriteBytes((context.out / "Bilder/SymbolHilfe.jpg").string(), EncodeJpeg(ToolSymbol(true))) && ok;
    ok = WriteBytes((context.out / "Bilder/Lernkarte.jpg").string(), EncodeJpeg(SlideCard())) && ok;
    for (const content::Lesson& lesson : outline.lessons) {
        ok = WriteMainScreen(context, outline, lesson) && ok;
        ok = WriteSlides(context, outline, lesson) && ok;
        ok = WriteSkinFile(Folder(context, lesson.number) / "Kontrolle.zs1", QuizSkin(lesson)) && ok;
    }
    return ok;
}

content::StepRegistration registration{"lesson-screens", RunLessonScreens};

} // namespace
} // namespace art
