#pragma once
// The course's pictures, drawn to the screen layout (layout/screenlayout.h):
// window backgrounds, panel backgrounds, the fretboard, the mode displays,
// the start picture, the backdrops of the greeting and no-lesson screens and
// the frames of the two videos. The bitmap resources crop some of them so
// that their edges melt into what lies beneath.

#include <QImage>

namespace art {

// The language of the words the pictures below carry: German (the default)
// or English, for the English edition's overlay.
void SetSceneLanguage(bool english);

QImage MainBackground();        // Bilder/hintergrund.jpg, 800 x 600
QImage DialogBackground();      // Bilder/hintergrundklein.jpg, 248 x 174
QImage SlideBackground();       // Bilder/hintergrundA.jpg
QImage QuizBackground();        // Bilder/hintergrundQ.jpg
QImage PlanBackground();        // Bilder/UeplanBG.jpg, tool panel size
QImage ExplorerBackground();    // Bilder/ExplorerBG.jpg
QImage TunerBackground();       // Bilder/TunerBG.jpg
QImage MonitorBackground();     // Bilder/MonitorBG.jpg
QImage Fretboard();             // Bilder/Griffbrett.jpg
QImage ModeDisplay(bool explorer); // Bilder/tutorialdisplay.jpg, explorerdisplay.jpg
QImage StartPicture();          // Screen/startbild.jpg
QImage GreetingBackdrop();      // lektionY: the lesson screen's backdrop
QImage NoLessonBackdrop();      // lektionX: idem, with the intro video's frame

// One frame (0 .. frames-1) of the intro (false) or closing (true) video, 320 x 240.
QImage VideoFrame(bool closing, int frame, int frames);

} // namespace art
