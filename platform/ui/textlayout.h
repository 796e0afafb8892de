#pragma once
// Line breaking and measuring of text as the canvas and the label need it
// (internal to the user-interface layer).

#include "platform/ui/types.h"

#include <QFontMetrics>
#include <QString>
#include <QStringList>

namespace platform::textlayout {

// Removes accelerator marks: "&&" becomes "&", a single '&' disappears.
QString StripPrefix(const QString& text);

// Splits `text` into lines at CR LF, CR or LF; with `wordBreak`, lines wider
// than `maxWidth` are also broken between words (a word wider than the whole
// line stays in one piece).
QStringList BreakLines(const QString& text, const QFontMetrics& metrics, bool wordBreak,
                       int maxWidth);

// The widest line in pixels.
int WidestLine(const QStringList& lines, const QFontMetrics& metrics);

// Height of one line of text in pixels (ascent plus descent).
int LineHeight(const QFontMetrics& metrics);

} // namespace platform::textlayout
