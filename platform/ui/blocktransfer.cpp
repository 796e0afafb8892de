// Block transfers: copying and combining pixels between canvases, scaled to
// the nearest source pixel, with the raster operations the program uses.
#include "platform/ui/graphics.h"

#include <QImage>
#include <cstring>
#include <vector>

namespace platform {

// ---- Block transfers -----------------------------------------------------------

namespace {

bool NeedsSource(std::uint32_t rop) {
    return rop != BLACKNESS && rop != WHITENESS;
}

bool KnownRop(std::uint32_t rop) {
    switch (rop) {
    case SRCCOPY:
    case SRCPAINT:
    case SRCAND:
    case SRCINVERT:
    case NOTSRCCOPY:
    case BLACKNESS:
    case WHITENESS:
        return true;
    default:
        return false;
    }
}

std::uint8_t Combine(std::uint32_t rop, std::uint8_t source, std::uint8_t dest) {
    switch (rop) {
    case SRCCOPY:
        return source;
    case SRCPAINT:
        return source | dest;
    case SRCAND:
        return source & dest;
    case SRCINVERT:
        return source ^ dest;
    case NOTSRCCOPY:
        return std::uint8_t(~source);
    case BLACKNESS:
        return 0;
    default: // WHITENESS
        return 0xFF;
    }
}

} // namespace

bool BitBlt(TCanvas* dest, int x, int y, int w, int h, const TCanvas* source, int sx, int sy,
            std::uint32_t rop) {
    return StretchBlt(dest, x, y, w, h, source, sx, sy, w, h, rop);
}

namespace {

// Applies `combine` to every byte of the destination row span, reading the
// source pixel given by `sourceX` for each column.
template <class Combiner>
void BlendRow(std::uint8_t* out, const std::uint8_t* in, const std::vector<int>& targetX,
              const std::vector<int>& sourceX, Combiner combine) {
    for (std::size_t i = 0; i < targetX.size(); ++i) {
        std::uint8_t* d = out + 3 * targetX[i];
        const std::uint8_t* s = in + 3 * sourceX[i];
        d[0] = combine(s[0], d[0]);
        d[1] = combine(s[1], d[1]);
        d[2] = combine(s[2], d[2]);
    }
}

void TransferRow(std::uint32_t rop, std::uint8_t* out, const std::uint8_t* in,
                 const std::vector<int>& targetX, const std::vector<int>& sourceX) {
    switch (rop) {
    case SRCAND:
        BlendRow(out, in, targetX, sourceX,
                 [](std::uint8_t s, std::uint8_t d) { return std::uint8_t(s & d); });
        break;
    case SRCPAINT:
        BlendRow(out, in, targetX, sourceX,
                 [](std::uint8_t s, std::uint8_t d) { return std::uint8_t(s | d); });
        break;
    case SRCINVERT:
        BlendRow(out, in, targetX, sourceX,
                 [](std::uint8_t s, std::uint8_t d) { return std::uint8_t(s ^ d); });
        break;
    default:
        BlendRow(out, in, targetX, sourceX,
                 [rop](std::uint8_t s, std::uint8_t d) { return Combine(rop, s, d); });
        break;
    }
}

} // namespace

bool StretchBlt(TCanvas* dest, int x, int y, int w, int h, const TCanvas* source, int sx, int sy,
                int sw, int sh, std::uint32_t rop) {
    if (dest == nullptr || !KnownRop(rop)) return false;
    bool withSource = NeedsSource(rop);
    if (withSource && source == nullptr) return false;
    if (w <= 0 || h <= 0 || (withSource && (sw <= 0 || sh <= 0))) return false;
    QImage& target = dest->Image();
    if (!withSource) {
        TColor fill = rop == WHITENESS ? clWhite : clBlack;
        dest->FillArea(Bounds(x, y, w, h), fill);
        dest->Changed(Bounds(x, y, w, h));
        return true;
    }
    // A transfer within one surface reads from a copy, so overlapping areas
    // come out as if read before written.
    QImage sourceCopy;
    const QImage* from = &source->Image();
    if (source == dest) {
        sourceCopy = target.copy();
        from = &sourceCopy;
    }
    // The columns that lie inside both surfaces, and where each reads from
    // (the nearest source pixel, as without smoothing).
    std::vector<int> targetX, sourceX;
    targetX.reserve(std::size_t(w));
    sourceX.reserve(std::size_t(w));
    for (int col = 0; col < w; ++col) {
        int tx = x + col;
        int fx = sx + int(static_cast<long long>(col) * sw / w);
        if (tx < 0 || tx >= target.width() || fx < 0 || fx >= from->width()) continue;
        targetX.push_back(tx);
        sourceX.push_back(fx);
    }
    if (!targetX.empty()) {
        bool contiguous = sw == w; // unscaled: one block copy per row
        for (int row = 0; row < h; ++row) {
            int ty = y + row;
            int fy = sy + int(static_cast<long long>(row) * sh / h);
            if (ty < 0 || ty >= target.height() || fy < 0 || fy >= from->height()) continue;
            std::uint8_t* out = target.scanLine(ty);
            const std::uint8_t* in = from->constScanLine(fy);
            if (rop == SRCCOPY && contiguous) {
                std::memcpy(out + 3 * targetX.front(), in + 3 * sourceX.front(),
                            3 * targetX.size());
            } else {
                TransferRow(rop, out, in, targetX, sourceX);
            }
        }
    }
    dest->Changed(Bounds(x, y, w, h));
    return true;
}

} // namespace platform
