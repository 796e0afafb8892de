#include "controls/fade.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace controls {

using platform::TBitmap;
using platform::TColor;

namespace {

// The components of a 0x00BBGGRR colour in B, G, R order, as scan lines hold them.
void BgrOf(TColor colour, int bgr[3]) {
    bgr[0] = platform::GetBValue(colour);
    bgr[1] = platform::GetGValue(colour);
    bgr[2] = platform::GetRValue(colour);
}

} // namespace

void CreateBackground(TBitmap* bitmap, TColor start, TColor fadeOut) {
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    if (width <= 0 || height <= 0) return;
    int from[3], to[3];
    BgrOf(start, from);
    BgrOf(fadeOut, to);
    double step[3];
    for (int c = 0; c < 3; ++c) step[c] = static_cast<double>(to[c] - from[c]) / width;

    std::uint8_t* row0 = bitmap->ScanLine(0);
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) {
            // The step is held as a double; the sum is formed in extended precision.
            long double value = x == 0 ? from[c] : from[c] + (x - 1) * (long double)step[c];
            row0[3 * x + c] = static_cast<std::uint8_t>(value);
        }
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 1; y < height; ++y) std::copy_n(row0, rowBytes, bitmap->ScanLine(y));
    bitmap->Canvas()->Changed(platform::Rect(0, 0, width, height));
}

void MergeImages(const TBitmap* back, TBitmap* look, int transparency) {
    const int t = std::clamp(transparency, 0, 100);
    const int width = std::min(back->Width(), look->Width());
    const int height = std::min(back->Height(), look->Height());
    if (width <= 0 || height <= 0) return;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = back->ScanLine(y);
        std::uint8_t* to = look->ScanLine(y);
        for (int i = 0; i < width * 3; ++i) {
            long double backShare = std::trunc(t * from[i] * 0.01L);
            to[i] = static_cast<std::uint8_t>(backShare + (100 - t) * to[i] * 0.01L);
        }
    }
    look->Canvas()->Changed(platform::Rect(0, 0, width, height));
}

int TruncToInt(long double value) {
    if (std::isnan(value)) return 0;
    if (value <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (value >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

} // namespace controls
