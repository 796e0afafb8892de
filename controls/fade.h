#pragma once
// The pixel work shared by the skinned controls: the horizontal colour fade
// that makes their generated looks, the blend of a look with a back image,
// and a safe real-to-integer truncation for their geometry.

#include "platform/ui/graphics.h"

namespace controls {

// Fills `bitmap` (at its current size, W columns) with a horizontal fade:
// column 0 is `start`; column k (1 .. W-1) is start + (k-1) * step per
// component, truncated toward zero, with step = (fadeOut - start) / W. The
// last column therefore stays just short of `fadeOut`.
void CreateBackground(platform::TBitmap* bitmap, platform::TColor start,
                      platform::TColor fadeOut);

// Blends `back` into `look`, byte by byte:
// look = trunc(trunc(T * back * 0.01) + (100 - T) * look * 0.01).
// T = 0 keeps the look, T = 100 gives the back image. A transparency outside
// 0..100 is held at the nearer end, so the result stays a colour byte. Only
// the area both bitmaps cover is blended.
void MergeImages(const platform::TBitmap* back, platform::TBitmap* look, int transparency);

// Truncates toward zero, holding values beyond the integer range at its ends
// and turning a value that is not a number into 0.
int TruncToInt(long double value);

} // namespace controls
