#pragma once
// Text of the lesson skins: skin labels do not wrap, so texts are broken into
// lines ("$n") here, with the metrics of the font the program shows them in
// (Liberation Sans standing in for Arial, no kerning, as the labels draw).

#include <QFont>
#include <QSize>
#include <QString>

namespace art {

// The font of a skin label of `points` size (1 = bold, 2 = italic).
QFont LabelFont(int points, int style);

// `text` broken at blanks into lines no wider than `width` pixels, joined
// with "$n". Line breaks already in the text ("$n") are kept. A single word
// wider than `width` stands on its own line.
QString BreakText(const QString& text, int points, int style, int width);

// The size a label with `text` ("$n" line breaks) takes on screen.
QSize LabelSize(const QString& text, int points, int style);

} // namespace art
