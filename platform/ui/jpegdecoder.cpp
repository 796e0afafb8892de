#include "platform/ui/jpegdecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace platform {
namespace {

// libjpeg's own working memory (coefficient buffers of progressive files and
// the like). Beyond it libjpeg would need a backing store, which this build
// of the library does not have, so it stops with an error.
constexpr long kLibjpegMemory = 512L * 1024 * 1024;
// A progressive file can hold any number of scans, each costing a pass over
// the whole picture; real files have about ten.
constexpr int kMaxScans = 500;
// Corrupt entropy data produces one warning per damaged spot; past this many
// the file is given up instead of working through it.
constexpr long kMaxWarnings = 1000;

// libjpeg's error manager with the jump target that ends a failed decode.
// Must stay a plain C struct: the decode jumps over nothing with a destructor.
struct ErrorManager {
    jpeg_error_mgr pub; // first, so libjpeg's pointer is ours
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

ErrorManager* ManagerOf(j_common_ptr cinfo) { return reinterpret_cast<ErrorManager*>(cinfo->err); }

[[noreturn]] void FailWith(j_common_ptr cinfo, const char* reason) {
    ErrorManager* err = ManagerOf(cinfo);
    std::snprintf(err->message, sizeof err->message, "%s", reason);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void FailWithLibjpegMessage(j_common_ptr cinfo) {
    ErrorManager* err = ManagerOf(cinfo);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void OnErrorExit(j_common_ptr cinfo) { FailWithLibjpegMessage(cinfo); }

// Warnings (level -1) are counted. Data that ends before the picture is
// complete (the end of the buffer, or a marker in the middle of a scan's
// coded data) means a truncated or cut file: it is refused rather than shown
// half grey. So is a file without its end marker, which libjpeg cannot tell
// apart from a cut one.
void OnEmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    ErrorManager* err = ManagerOf(cinfo);
    err->pub.num_warnings++;
    int code = err->pub.msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) FailWithLibjpegMessage(cinfo);
    if (err->pub.num_warnings > kMaxWarnings) FailWith(cinfo, "Too many corrupt spots in JPEG data");
}

void OnOutputMessage(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo) {
    auto dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxScans) FailWith(cinfo, "Too many scans in JPEG file");
}

bool TryResize(std::vector<std::uint8_t>& bytes, std::size_t size) noexcept {
    try {
        bytes.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Chooses the output colour space for the file's own: everything libjpeg can
// turn into B,G,R directly does so; CMYK and YCCK come out as CMYK and are
// converted by us. Returns false for a colour space we cannot show.
bool ChooseOutputSpace(jpeg_decompress_struct& cinfo) {
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        cinfo.out_color_space = JCS_EXT_BGR;
        return true;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        return true;
    default:
        return false;
    }
}

// One CMYK row to B,G,R. Adobe's files store the inks inverted (0 = full ink).
void CmykRowToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = static_cast<std::uint8_t>(y * k / 255);
        bgr[1] = static_cast<std::uint8_t>(m * k / 255);
        bgr[2] = static_cast<std::uint8_t>(c * k / 255);
    }
}

bool DimensionsAllowed(JDIMENSION width, JDIMENSION height) {
    if (width == 0 || height == 0) return false;
    if (width > static_cast<JDIMENSION>(kJpegMaxSide)) return false;
    if (height > static_cast<JDIMENSION>(kJpegMaxSide)) return false;
    return static_cast<std::int64_t>(width) * height <= kJpegMaxPixels;
}

// The libjpeg conversation. This function calls setjmp, so it holds no object
// with a destructor; the output vector lives in the caller's frame.
bool RunLibjpeg(const std::uint8_t* data, std::size_t size, JpegPicture* out, char* message) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&progress, 0, sizeof progress);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnErrorExit;
    err.pub.emit_message = OnEmitMessage;
    err.pub.output_message = OnOutputMessage;
    err.message[0] = '\0';

    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return false;
    }

    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kLibjpegMemory;
    progress.progress_monitor = OnProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);

    if (!DimensionsAllowed(cinfo.image_width, cinfo.image_height))
        FailWith(reinterpret_cast<j_common_ptr>(&cinfo), "JPEG picture dimensions out of range");
    if (!ChooseOutputSpace(cinfo))
        FailWith(reinterpret_cast<j_common_ptr>(&cinfo), "Unsupported JPEG colour space");

    jpeg_start_decompress(&cinfo);
    if (!DimensionsAllowed(cinfo.output_width, cinfo.output_height))
        FailWith(reinterpret_cast<j_common_ptr>(&cinfo), "JPEG picture dimensions out of range");

    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    const std::size_t rowBytes = static_cast<std::size_t>(cinfo.output_width) * 3;
    if (!TryResize(out->bgr, rowBytes * cinfo.output_height))
        FailWith(reinterpret_cast<j_common_ptr>(&cinfo), "Not enough memory for JPEG picture");
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk)
        cmykRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                             cinfo.output_width * 4, 1);

    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint8_t* target = out->bgr.data() + rowBytes * cinfo.output_scanline;
        JSAMPROW row = cmyk ? cmykRow[0] : target;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            FailWith(reinterpret_cast<j_common_ptr>(&cinfo), "JPEG data ended early");
        if (cmyk) CmykRowToBgr(cmykRow[0], target, cinfo.output_width, cinfo.saw_Adobe_marker);
    }
    out->width = static_cast<int>(cinfo.output_width);
    out->height = static_cast<int>(cinfo.output_height);
    // Every pixel is in; what follows the last scan (a missing end marker,
    // trailing bytes) does not matter, so the rest is not read.
    jpeg_destroy_decompress(&cinfo);
    return true;
}

void Clear(JpegPicture& picture) {
    picture.width = 0;
    picture.height = 0;
    picture.bgr.clear();
    picture.bgr.shrink_to_fit();
}

void SetError(std::string* error, const char* text) {
    if (error) *error = text;
}

} // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, JpegPicture& out, std::string* error) {
    Clear(out);
    if (data == nullptr || size == 0) {
        SetError(error, "Empty JPEG data");
        return false;
    }
    char message[JMSG_LENGTH_MAX] = {};
    if (!RunLibjpeg(data, size, &out, message)) {
        Clear(out);
        SetError(error, message);
        return false;
    }
    return true;
}

bool DecodeJpegFile(const std::string& path, JpegPicture& out, std::string* error) {
    Clear(out);
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        SetError(error, "Cannot open JPEG file");
        return false;
    }
    std::streamoff length = in.tellg();
    if (length < 0 || length > kJpegMaxFileBytes) {
        SetError(error, "JPEG file too large");
        return false;
    }
    std::vector<std::uint8_t> bytes;
    if (!TryResize(bytes, static_cast<std::size_t>(length))) {
        SetError(error, "Not enough memory for JPEG file");
        return false;
    }
    in.seekg(0);
    if (length > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), length)) {
        SetError(error, "Cannot read JPEG file");
        return false;
    }
    return DecodeJpeg(bytes.data(), bytes.size(), out, error);
}

} // namespace platform
