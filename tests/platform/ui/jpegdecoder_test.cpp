// The JPEG decoder: good pictures of every kind come out as B,G,R rows;
// damaged, hostile and absurd files are refused with a reason, never a crash.
#include "platform/ui/jpegdecoder.h"
#include "tests/support/jpegmaker.h"
#include "tests/support/testsupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using platform::DecodeJpeg;
using platform::JpegPicture;

bool Decode(const std::string& bytes, JpegPicture& out, std::string* error = nullptr) {
    return DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), out,
                      error);
}

// Channel values of a pixel, compared with a tolerance for JPEG's losses.
void ExpectBgrNear(const JpegPicture& picture, int x, int y, int b, int g, int r, int tolerance) {
    const std::uint8_t* p = picture.Row(y) + 3 * x;
    EXPECT_NEAR(p[0], b, tolerance) << "blue at " << x << "," << y;
    EXPECT_NEAR(p[1], g, tolerance) << "green at " << x << "," << y;
    EXPECT_NEAR(p[2], r, tolerance) << "red at " << x << "," << y;
}

// Left half red, right half blue, a green bottom band.
std::uint32_t Quadrants(int x, int y) {
    if (y >= 32) return 0x00FF00;
    return x < 24 ? 0xFF0000 : 0x0000FF;
}

TEST(JpegDecoder, ColourPicturesComeOutAsBlueGreenRedRows) {
    for (bool progressive : {false, true}) {
        std::string file = testjpeg::Make(48, 40, Quadrants, {.progressive = progressive});
        JpegPicture picture;
        std::string error;
        ASSERT_TRUE(Decode(file, picture, &error)) << error;
        EXPECT_EQ(picture.width, 48);
        EXPECT_EQ(picture.height, 40);
        ASSERT_EQ(picture.bgr.size(), 48u * 40u * 3u);
        ExpectBgrNear(picture, 4, 4, 0, 0, 255, 12);   // red
        ExpectBgrNear(picture, 44, 4, 255, 0, 0, 12);  // blue
        ExpectBgrNear(picture, 20, 38, 0, 255, 0, 12); // green
    }
}

TEST(JpegDecoder, GreyAndCmykPicturesBecomeColourRows) {
    JpegPicture picture;
    ASSERT_TRUE(Decode(testjpeg::MakeSolid(16, 16, 0x808080, {.kind = testjpeg::Kind::Grey}),
                       picture));
    ExpectBgrNear(picture, 8, 8, 128, 128, 128, 3);

    // Orange in plain inks and in Adobe's inverted inks: both decode to orange.
    for (auto kind : {testjpeg::Kind::Cmyk, testjpeg::Kind::AdobeCmyk}) {
        ASSERT_TRUE(Decode(testjpeg::MakeSolid(16, 16, 0xFF8000, {.kind = kind}), picture));
        ExpectBgrNear(picture, 8, 8, 0, 128, 255, 6);
    }
}

TEST(JpegDecoder, TruncatedFilesAreRefused) {
    std::string file = testjpeg::Make(64, 64, Quadrants);
    JpegPicture picture;
    for (std::size_t keep : {file.size() - 20, file.size() / 2, std::size_t{200}, std::size_t{2}}) {
        std::string error;
        EXPECT_FALSE(Decode(file.substr(0, keep), picture, &error)) << "kept " << keep;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(picture.width, 0);
        EXPECT_TRUE(picture.bgr.empty());
    }
    // Cut inside the coded data but closed again with an end marker.
    std::string cut = file.substr(0, file.size() / 2) + "\xFF\xD9";
    EXPECT_FALSE(Decode(cut, picture));
    EXPECT_TRUE(Decode(file, picture));
}

TEST(JpegDecoder, GarbageAndEmptyDataAreRefused) {
    JpegPicture picture;
    std::string error;
    EXPECT_FALSE(DecodeJpeg(nullptr, 0, picture, &error));
    EXPECT_FALSE(Decode("", picture, &error));
    EXPECT_FALSE(Decode("This is no picture at all, just words.", picture, &error));
    EXPECT_FALSE(error.empty());

    // Random bytes after a valid start of image.
    std::srand(7);
    std::string noise = "\xFF\xD8";
    for (int i = 0; i < 4000; ++i) noise += static_cast<char>(std::rand() & 0xFF);
    EXPECT_FALSE(Decode(noise, picture, &error));

    // The entropy-coded data overwritten: decodes or refuses, but stays inside the data.
    std::string damaged = testjpeg::Make(64, 64, Quadrants);
    for (std::size_t i = damaged.size() / 2; i < damaged.size() - 2; i += 7) damaged[i] = '\xFF';
    if (Decode(damaged, picture)) {
        EXPECT_EQ(picture.bgr.size(), 64u * 64u * 3u);
    }
}

TEST(JpegDecoder, AbsurdDimensionsAreRefusedBeforeAnyPixelMemory) {
    std::string small = testjpeg::MakeSolid(16, 16, 0x336699);
    JpegPicture picture;
    std::string error;
    EXPECT_FALSE(Decode(testjpeg::WithClaimedSize(small, 20000, 16), picture, &error));
    EXPECT_NE(error.find("dimensions"), std::string::npos) << error;
    EXPECT_FALSE(Decode(testjpeg::WithClaimedSize(small, 16, 65000), picture, &error));
    // Each side allowed, the product too large.
    EXPECT_FALSE(Decode(testjpeg::WithClaimedSize(small, 10000, 10000), picture, &error));
    EXPECT_NE(error.find("dimensions"), std::string::npos) << error;
    EXPECT_FALSE(Decode(testjpeg::WithClaimedSize(small, 0, 16), picture, &error));
    // Within the limits but the data does not cover the claim: refused as truncated.
    EXPECT_FALSE(Decode(testjpeg::WithClaimedSize(small, 4000, 4000), picture, &error));
}

TEST(JpegDecoder, FilesAreReadFromDisk) {
    testsupport::TempFolder temp;
    std::string path = temp.Write("bild.jpg", testjpeg::MakeSolid(30, 20, 0x0000FF));
    JpegPicture picture;
    std::string error;
    ASSERT_TRUE(platform::DecodeJpegFile(path, picture, &error)) << error;
    EXPECT_EQ(picture.width, 30);
    ExpectBgrNear(picture, 15, 10, 255, 0, 0, 8);
    EXPECT_FALSE(platform::DecodeJpegFile(temp.Path() + "missing.jpg", picture, &error));
    EXPECT_FALSE(platform::DecodeJpegFile(temp.Path(), picture, &error)); // a folder
}

} // namespace
