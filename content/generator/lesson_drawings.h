#pragma once
// The drawings of the slide pictures. Every picture line of the outline names
// its drawing ("draw: chord Em", "draw: posture side", "draw: pattern 2"):
// chord diagrams with their fingers, the hands at work, the learner at the
// guitar, note values, strumming patterns, the tuning peg and the rest, each
// showing what its caption says, in the course's look and with words in the
// edition's language. A name that no drawing has, or arguments that do not
// fit it, is an error, so that no caption ever sits under a picture that
// does not show it.

#include "content/generator/course_outline.h"

#include <QPainter>
#include <QRectF>
#include <string>
#include <vector>

namespace art {

// What a drawing may draw from: the lesson of one edition (its exercise, its
// language) and the outline's chord shapes.
struct DrawingSource {
    const content::Lesson& lesson;
    const content::Outline& outline;
};

// Draws the drawing `spec` ("name arg arg ...") into `area`. False, with the
// reason in `error`, when no drawing has that name or its arguments do not
// fit it; the painter may then hold a part of it.
bool DrawDrawing(QPainter& painter, const QRectF& area, const DrawingSource& source, const std::string& spec,
                 std::string& error);

// The names of the drawings, for messages.
std::vector<std::string> DrawingNames();

} // namespace art
