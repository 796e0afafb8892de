#include "content/generator/video_layout.h"

#include <QImage>
#include <cmath>

namespace video::layout {

namespace {

constexpr double kFrontTop = 30.0;   // low E in the front views
constexpr double kFrontGap = 15.0;
constexpr double kFrontLampX = 22.0;
constexpr double kBoardStringTop = 30.0; // high e in the fretboard view
constexpr double kBoardGap = 16.0;
constexpr QPointF kReferenceLamp{34.0, 54.0};

} // namespace

double FretX(int fret) {
    return kNutX + kFretWidth * fret;
}

double FretCentreX(int fret) {
    return fret == 0 ? kNutX - 11.0 : kNutX + kFretWidth * (fret - 0.5);
}

double StringY(View view, int string) {
    if (view == View::Fretboard) return kBoardStringTop + kBoardGap * (5 - string);
    if (view == View::Tuner) return 112.0;
    return kFrontTop + kFrontGap * string;
}

QPointF LampCentre(View view, const Lamp& lamp) {
    if (view == View::Tuner) return lamp.reference ? kReferenceLamp : QPointF(kFrontLampX, StringY(view, lamp.string));
    if (view == View::Fretboard) return {FretCentreX(lamp.fret), StringY(view, lamp.string)};
    return {kFrontLampX, StringY(view, lamp.string)};
}

QPointF LampProbe(View view, const Lamp& lamp) {
    // Numbers and letters sit in the middle of a disc; its left part is clear.
    return LampCentre(view, lamp) + QPointF(-4.0, 0.0);
}

bool LooksLit(const QImage& frame, QPointF probe, QColor lit) {
    const int cx = static_cast<int>(std::lround(probe.x())), cy = static_cast<int>(std::lround(probe.y()));
    double r = 0, g = 0, b = 0;
    int count = 0;
    for (int y = cy - 1; y <= cy + 1; ++y)
        for (int x = cx - 1; x <= cx + 1; ++x) {
            if (!frame.valid(x, y)) continue;
            const QRgb pixel = frame.pixel(x, y);
            r += qRed(pixel);
            g += qGreen(pixel);
            b += qBlue(pixel);
            ++count;
        }
    if (count == 0) return false;
    const double dr = r / count - lit.red(), dg = g / count - lit.green(), db = b / count - lit.blue();
    return std::sqrt(dr * dr + dg * dg + db * db) < kLitDistance;
}

} // namespace video::layout
