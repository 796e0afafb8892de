// Writes a small seed corpus for the JPEG fuzzer: each kind of picture the
// decoder handles (colour, grey, CMYK, Adobe CMYK; baseline and progressive).
#include "tests/support/jpegmaker.h"

#include <fstream>
#include <string>

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? std::string(argv[1]) + "/" : "./";
    auto stripes = [](int x, int y) -> std::uint32_t { return ((x / 4 + y / 3) % 3) * 0x552A11; };
    int n = 0;
    for (auto kind : {testjpeg::Kind::Colour, testjpeg::Kind::Grey, testjpeg::Kind::Cmyk,
                      testjpeg::Kind::AdobeCmyk}) {
        for (bool progressive : {false, true}) {
            std::string bytes = testjpeg::Make(19 + n, 11 + n, stripes,
                                               {.kind = kind, .progressive = progressive,
                                                .quality = 50 + 5 * n});
            std::ofstream(folder + "seed" + std::to_string(n++) + ".jpg", std::ios::binary)
                << bytes;
        }
    }
    return 0;
}
