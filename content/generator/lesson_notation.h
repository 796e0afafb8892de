#pragma once
// The printed notation of a lesson's main screen: tablature drawn on the beat
// grid of the lesson's play-cursor geometry, so that the cursor's point stands
// on each beat's fret numbers, strum mark, rest or count. Drawn into the
// backdrop picture of the lesson screen, together with the paper it lies on.

#include "content/generator/course_outline.h"

#include <QImage>
#include <QLine>
#include <QRect>
#include <vector>

namespace art {

// Where the printed marks stand, main-window pixels: what the content tests
// check for collisions and for marks leaving the card.
struct NotationMarks {
    QRect card;                // the paper card
    std::vector<QRect> signs;  // the TAB signs and the time signature
    std::vector<QRect> frets;  // every fret number
    std::vector<QRect> rests;  // every rest's ink
    std::vector<QLine> bars;   // every plain bar line, top to bottom
};

struct NotationPicture {
    QImage backdrop;            // the lesson screen's backdrop (layout::LessonScreen)
    std::vector<QRect> glyphs;  // per notation beat: its glyph's box, main-window pixels
    int top = 0;                // main-window y of the notation's highest mark
    NotationMarks marks;
};

// Draws the lesson's notation onto the lesson screen backdrop.
NotationPicture DrawNotation(const content::Lesson& lesson, const content::Outline& outline);

} // namespace art
