#pragma once
// Where things sit in a lesson video's 192 x 144 frame, shared by the drawing
// and by the check that reads the lamps back from the finished file.
//
// Fretboard view: the neck as tablature shows it, high e at the top, the nut
// on the left, frets 1 to 5; a sound lights the disc at its string and fret
// (an open string's disc sits before the nut).
// Strum and picking views: the strings seen from the front, low E at the
// top, over the sound hole; a sound lights the disc at its string's left end.
// Tuner view: the tuner's disc for its tone on the left, the tuned string's
// disc at the string's left end.

#include "content/generator/video_timeline.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

namespace video::layout {

inline constexpr QSize kFrame{192, 144};
inline constexpr QRectF kCaption{0, 124, 192, 20}; // captions and the counting row
inline constexpr QRectF kHeader{0, 0, 192, 20};
inline constexpr double kLampRadius = 7.0;
// A lamp counts as lit where its colour lies this close to the lit colour
// (Euclidean distance in RGB), as read from the decoded picture.
inline constexpr double kLitDistance = 60.0;

// Fretboard view.
inline constexpr double kNutX = 34.0;
inline constexpr double kFretWidth = 30.4; // frets 1..5 up to x 186
inline constexpr double kBoardTop = 22.0, kBoardBottom = 118.0;
inline constexpr int kFrets = 5;
double FretX(int fret);      // the fret wire after fret `fret` (0: the nut)
double FretCentreX(int fret); // where a finger presses fret `fret` (0: the open lamp)

// Every view: the string's line (string 0 = low E).
double StringY(View view, int string);

QPointF LampCentre(View view, const Lamp& lamp);
// The point whose colour tells whether the lamp is lit: inside the disc,
// clear of the number or letter written on it.
QPointF LampProbe(View view, const Lamp& lamp);

// The lamp's lit colour read at `probe` (a 3 x 3 average) of a frame.
bool LooksLit(const QImage& frame, QPointF probe, QColor lit);

} // namespace video::layout
