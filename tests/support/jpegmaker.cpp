#include "tests/support/jpegmaker.h"

#include <cstdio>
#include <jpeglib.h>
#include <stdexcept>
#include <vector>

namespace testjpeg {
namespace {

void FillRow(std::vector<JSAMPLE>& row, int width, int y, const PixelFn& pixel, Kind kind) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t rgb = pixel(x, y);
        int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
        switch (kind) {
        case Kind::Colour:
            row[x * 3] = r, row[x * 3 + 1] = g, row[x * 3 + 2] = b;
            break;
        case Kind::Grey:
            row[x] = static_cast<JSAMPLE>((r + g + b) / 3);
            break;
        case Kind::Cmyk: // plain inks: 255 = full ink, no black
            row[x * 4] = 255 - r, row[x * 4 + 1] = 255 - g, row[x * 4 + 2] = 255 - b;
            row[x * 4 + 3] = 0;
            break;
        case Kind::AdobeCmyk: // inverted inks
            row[x * 4] = r, row[x * 4 + 1] = g, row[x * 4 + 2] = b, row[x * 4 + 3] = 255;
            break;
        }
    }
}

} // namespace

std::string Make(int width, int height, const PixelFn& pixel, const Options& options) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    bool cmyk = options.kind == Kind::Cmyk || options.kind == Kind::AdobeCmyk;
    cinfo.input_components = options.kind == Kind::Grey ? 1 : cmyk ? 4 : 3;
    cinfo.in_color_space = options.kind == Kind::Grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (cmyk) jpeg_set_colorspace(&cinfo, JCS_CMYK);
    // libjpeg writes the Adobe marker for CMYK; the plain-ink variant leaves it out.
    if (options.kind == Kind::Cmyk) cinfo.write_Adobe_marker = FALSE;
    if (options.progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * cinfo.input_components);
    while (cinfo.next_scanline < cinfo.image_height) {
        FillRow(row, width, cinfo.next_scanline, pixel, options.kind);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return bytes;
}

std::string MakeSolid(int width, int height, std::uint32_t rgb, const Options& options) {
    return Make(width, height, [rgb](int, int) { return rgb; }, options);
}

std::string WithClaimedSize(std::string jpeg, int width, int height) {
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8), jpeg[i + 6] = static_cast<char>(height);
            jpeg[i + 7] = static_cast<char>(width >> 8), jpeg[i + 8] = static_cast<char>(width);
            return jpeg;
        }
    }
    throw std::runtime_error("no frame header");
}

} // namespace testjpeg
