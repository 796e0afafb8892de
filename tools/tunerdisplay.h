#pragma once
// The tuner's listening display: what the microphone hears, drawn over the
// fretboard picture while the microphone is on. A dark face with the note's
// name, its frequency, a scale from -50 to +50 cents with a needle (held at
// an end when the string is further off), a green band for "in tune" and a
// line of text below.

#include "platform/ui/graphics.h"

#include <QString>

namespace tools {

struct TunerDisplayState {
    enum Mood { Waiting, InTune, OffPitch, Trouble };
    QString noteName;  // "A2"; empty for none
    bool heard = false; // a reading: the needle stands at `cents`
    double cents = 0;
    QString frequency; // "110,2 Hz"
    QString line;      // the text under the scale
    Mood mood = Waiting;
};

// Within this many cents a string is in tune.
inline constexpr double kInTuneCents = 3.0;
// The scale's ends.
inline constexpr double kScaleCents = 50.0;

// Face colours, 0x00BBGGRR.
inline constexpr platform::TColor kDisplayFace = platform::RGB(36, 40, 46);
inline constexpr platform::TColor kDisplayInTune = platform::RGB(80, 200, 110);
inline constexpr platform::TColor kDisplayOffPitch = platform::RGB(245, 170, 60);
inline constexpr platform::TColor kDisplayTrouble = platform::RGB(240, 110, 100);

// The column of the needle for a reading on a display `width` pixels wide:
// the scale runs from kScaleLeft to width - kScaleLeft; beyond +-50 cents the
// needle stays at the end.
inline constexpr int kScaleLeft = 16;
int NeedleColumn(double cents, int width);

// Draws the whole display onto `canvas` (width x height from the top left).
void DrawTunerDisplay(platform::TCanvas& canvas, int width, int height, const TunerDisplayState& state);

} // namespace tools
