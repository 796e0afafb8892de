// The intro and closing videos: sound RIFF/AVI structure with a Motion-JPEG
// video stream and a PCM sound stream, an index that points at the chunks,
// and frames that decode to 320 x 240.
#include "tests/content/art_testsupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

using arttest::Chunk;
using arttest::Le16;
using arttest::Le32;

const Chunk* Find(const std::vector<Chunk>& chunks, const std::string& id, const std::string& listType = "") {
    for (const Chunk& c : chunks)
        if (c.id == id && (listType.empty() || c.listType == listType)) return &c;
    return nullptr;
}

void CheckAvi(const char* file) {
    SCOPED_TRACE(file);
    const std::string bytes = arttest::ProgramFile(file);
    ASSERT_GT(bytes.size(), 12u);
    ASSERT_EQ(bytes.substr(0, 4), "RIFF");
    ASSERT_EQ(bytes.substr(8, 4), "AVI ");
    ASSERT_EQ(Le32(bytes, 4), bytes.size() - 8) << "RIFF size";
    bool ok = true;
    const auto top = arttest::Children(bytes, 12, bytes.size(), ok);
    ASSERT_TRUE(ok);
    const Chunk* hdrl = Find(top, "LIST", "hdrl");
    const Chunk* movi = Find(top, "LIST", "movi");
    const Chunk* idx1 = Find(top, "idx1");
    ASSERT_TRUE(hdrl && movi && idx1);

    const auto header = arttest::Children(bytes, hdrl->data + 4, hdrl->data + hdrl->size, ok);
    ASSERT_TRUE(ok);
    const Chunk* avih = Find(header, "avih");
    ASSERT_TRUE(avih);
    ASSERT_EQ(avih->size, 56u);
    const unsigned frames = Le32(bytes, avih->data + 16);
    EXPECT_EQ(Le32(bytes, avih->data + 24), 2u) << "streams";
    EXPECT_EQ(Le32(bytes, avih->data + 32), 320u);
    EXPECT_EQ(Le32(bytes, avih->data + 36), 240u);
    const double seconds = frames * Le32(bytes, avih->data) / 1e6;
    EXPECT_GE(seconds, 2.0);
    EXPECT_LE(seconds, 10.0);

    std::vector<std::string> types;
    unsigned audioBlocks = 0;
    for (const Chunk& strl : header) {
        if (strl.listType != "strl") continue;
        const auto parts = arttest::Children(bytes, strl.data + 4, strl.data + strl.size, ok);
        const Chunk* strh = Find(parts, "strh");
        const Chunk* strf = Find(parts, "strf");
        ASSERT_TRUE(strh && strf);
        types.push_back(bytes.substr(strh->data, 4));
        if (types.back() == "vids") {
            EXPECT_EQ(bytes.substr(strh->data + 4, 4), "MJPG");
            EXPECT_EQ(bytes.substr(strf->data + 16, 4), "MJPG");
        } else {
            EXPECT_EQ(Le16(bytes, strf->data), 1u) << "PCM";
            EXPECT_EQ(Le16(bytes, strf->data + 14), 16u) << "bits";
            audioBlocks = Le32(bytes, strh->data + 32);
        }
    }
    EXPECT_EQ(types, (std::vector<std::string>{"vids", "auds"}));

    const auto chunks = arttest::Children(bytes, movi->data + 4, movi->data + movi->size, ok);
    ASSERT_TRUE(ok);
    unsigned pictures = 0;
    size_t soundBytes = 0;
    for (const Chunk& c : chunks) {
        if (c.id == "00dc") {
            ++pictures;
            if (pictures == 1 || pictures == frames) {
                QImage frame = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data() + c.data), int(c.size), "JPEG");
                EXPECT_EQ(frame.size(), QSize(320, 240));
            }
        } else {
            EXPECT_EQ(c.id, "01wb");
            soundBytes += c.size;
        }
    }
    EXPECT_EQ(pictures, frames);
    EXPECT_EQ(soundBytes, audioBlocks * 2u);
    EXPECT_GT(soundBytes, 0u);

    // Each index entry names the chunk found at its offset from the "movi" tag.
    ASSERT_EQ(idx1->size, chunks.size() * 16);
    for (size_t i = 0; i < chunks.size(); ++i) {
        const size_t entry = idx1->data + 16 * i;
        const size_t offset = movi->data + Le32(bytes, entry + 8);
        EXPECT_EQ(bytes.substr(entry, 4), chunks[i].id);
        EXPECT_EQ(bytes.substr(offset, 4), chunks[i].id);
        EXPECT_EQ(Le32(bytes, entry + 12), chunks[i].size);
    }
}

TEST(ArtVideos, IntroVideoIsAWellFormedMotionJpegAvi) { CheckAvi("lektionX/IntroVideo.avi"); }
TEST(ArtVideos, ClosingVideoIsAWellFormedMotionJpegAvi) { CheckAvi("lektionX/FinalVideo.avi"); }

} // namespace
