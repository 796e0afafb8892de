#pragma once
// The pictures of the lessons: slide pictures drawn from the outline's
// picture lines (chord diagrams, fretboard maps, tablature with counting, the
// guitar and the hands), the chord pictures of window A, the main screen's
// tool symbols and the slide windows' paper card.

#include "content/generator/course_outline.h"

#include <QImage>
#include <QString>

namespace art {

// Slide picture (192 x 144) for the German outline's picture line `text`,
// captioned with `caption` (another edition's line; empty: `text`).
QImage SlidePicture(const content::Lesson& lesson, const content::Outline& outline, const std::string& text,
                    unsigned seed, const std::string& caption = {});

// A chord diagram with its name, the size of a window-A chord picture.
QImage ChordPicture(const content::ChordShape& shape);

QImage ToolSymbol(bool help); // tuning fork (false) or question mark (true)
QImage SlideCard();

// Chord names (keys of akkorde.txt) that `text` names, in German ("e-Moll",
// "C-Dur") or as symbols ("Em", "G5"), in the order they appear.
std::vector<std::string> ChordsNamed(const std::string& text, const content::Outline& outline);

} // namespace art
