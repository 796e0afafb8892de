// The art step that writes the course's pictures: window and panel
// backgrounds, the fretboard, the mode displays and the start picture; those
// with words also in English, into the English edition's overlay.
#include "content/generator/art_jpeg.h"
#include "content/generator/art_paint.h"
#include "content/generator/art_scenes.h"
#include "content/generator/contentstep.h"
#include "content/generator/course_edition_files.h"

#include <functional>

namespace art {

namespace {

struct Picture {
    const char* file; // relative to the program folder
    std::function<QImage()> paint;
};

bool WritePictures(const content::GeneratorContext& context) {
    if (!PrepareArt(context.sources)) return false;
    const Picture pictures[] = {
        {"Bilder/hintergrund.jpg", MainBackground},
        {"Bilder/hintergrundklein.jpg", DialogBackground},
        {"Bilder/hintergrundA.jpg", SlideBackground},
        {"Bilder/hintergrundQ.jpg", QuizBackground},
        {"Bilder/UeplanBG.jpg", PlanBackground},
        {"Bilder/ExplorerBG.jpg", ExplorerBackground},
        {"Bilder/TunerBG.jpg", TunerBackground},
        {"Bilder/MonitorBG.jpg", MonitorBackground},
        {"Bilder/Griffbrett.jpg", Fretboard},
        {"Bilder/tutorialdisplay.jpg", [] { return ModeDisplay(false); }},
        {"Bilder/explorerdisplay.jpg", [] { return ModeDisplay(true); }},
        {"Screen/startbild.jpg", StartPicture},
    };
    bool ok = true;
    for (const content::Edition edition : content::kEditions) { // German first: the overlay compares with it
        SetSceneLanguage(edition == content::Edition::English);
        for (const Picture& picture : pictures)
            ok = content::WriteEditionFile(context.out, edition, picture.file, EncodeJpeg(picture.paint())) && ok;
    }
    SetSceneLanguage(false);
    return ok;
}

content::StepRegistration registration{"art-pictures", WritePictures};

} // namespace

} // namespace art
