#include "content/generator/art_jpeg.h"

#include "content/generator/bytes.h"

#include <cstdio>
#include <csetjmp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <jpeglib.h>

namespace art {

using content::PutLe16;
using content::PutLe32;

namespace {

// libjpeg reports fatal errors through a callback that must not return.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    std::fprintf(stderr, "art: libjpeg: %s\n", message);
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

} // namespace

std::string EncodeJpeg(const QImage& image, int quality) {
    if (image.isNull()) return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    ErrorManager error{};
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = OnJpegError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    info.density_unit = 1; // dots per inch, 96 like the screen
    info.X_density = 96;
    info.Y_density = 96;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

std::string EncodeBmp24(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const unsigned rowBytes = (static_cast<unsigned>(rgb.width()) * 3 + 3) & ~3u;
    const unsigned pixelBytes = rowBytes * static_cast<unsigned>(rgb.height());
    std::string out;
    out.reserve(54 + pixelBytes);
    out += "BM";
    PutLe32(out, 54 + pixelBytes);
    PutLe32(out, 0);
    PutLe32(out, 54);
    PutLe32(out, 40);                                  // BITMAPINFOHEADER
    PutLe32(out, static_cast<unsigned>(rgb.width()));
    PutLe32(out, static_cast<unsigned>(rgb.height())); // positive: bottom-up
    PutLe16(out, 1);
    PutLe16(out, 24);
    PutLe32(out, 0);                                   // BI_RGB
    PutLe32(out, pixelBytes);
    PutLe32(out, 3780);                                // 96 dpi in pixels per metre
    PutLe32(out, 3780);
    PutLe32(out, 0);
    PutLe32(out, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            out += static_cast<char>(line[3 * x + 2]);
            out += static_cast<char>(line[3 * x + 1]);
            out += static_cast<char>(line[3 * x]);
        }
        out.append(rowBytes - static_cast<unsigned>(rgb.width()) * 3, '\0');
    }
    return out;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (bytes.empty() || !out.good()) {
        std::fprintf(stderr, "art: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace art
