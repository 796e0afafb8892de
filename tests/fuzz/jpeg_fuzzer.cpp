// libFuzzer target: any byte sequence given to the JPEG decoder either decodes
// to a picture whose size matches its rows or is refused; never a crash, a
// read outside the data or unbounded memory.
#include "platform/ui/jpegdecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::JpegPicture picture;
    std::string error;
    if (platform::DecodeJpeg(data, size, picture, &error)) {
        std::size_t expected = static_cast<std::size_t>(picture.width) * picture.height * 3;
        if (picture.width <= 0 || picture.height <= 0 || picture.bgr.size() != expected) std::abort();
    } else if (error.empty() || !picture.bgr.empty()) {
        std::abort();
    }
    return 0;
}
