#pragma once
// The pictures of the lessons: the slide pictures (each the drawing its
// outline line names, lesson_drawings.h, over its caption), the chord
// pictures of window A, the main screen's tool symbols and the slide
// windows' paper card.

#include "content/generator/course_outline.h"

#include <QImage>
#include <QString>

namespace art {

// Slide picture (192 x 144): the drawing `drawing` (a "draw:" line of the
// German outline) above `caption` (the edition's picture line). A null image,
// with the reason in `error`, when the drawing cannot be drawn or the caption
// does not fit its strip.
QImage SlidePicture(const content::Lesson& lesson, const content::Outline& outline, const std::string& drawing,
                    unsigned seed, const std::string& caption, std::string& error);

// A chord diagram with its name and fingers, the size of a window-A chord picture.
QImage ChordPicture(const content::ChordShape& shape);

QImage ToolSymbol(bool help); // tuning fork (false) or question mark (true)
QImage SlideCard();

} // namespace art
