// The compiled help files: real CHM files with their pages, free of the
// compiler's time stamps.

#include "content/generator/course_help.h"
#include "platform/core/files.h"
#include "tests/content/course_wavreader.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

namespace {

std::string Bin(const std::string& relative) {
    return platform::ReadFileBytes(coursetest::ContentFolder() + relative).value_or("");
}

std::uint32_t U32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

} // namespace

TEST(CourseHelp, BothHelpFilesAreCompiledHtmlHelpWithTheirPages) {
    for (const char* file : {"Hilfe.chm", "Help.chm"}) {
        const std::string chm = Bin(file);
        ASSERT_GT(chm.size(), 4000u) << file;
        EXPECT_EQ(chm.substr(0, 4), "ITSF") << file;
        EXPECT_EQ(U32(chm, 4), 3u) << file << ": ITSF version";
        EXPECT_EQ(U32(chm, 8), 0x60u) << file << ": header length";
        // The directory names every page (names are stored uncompressed).
        for (const char* page : {"/index.html", "/hauptfenster.html", "/tuner.html", "/tasten.html",
                                 "/uebeplan.html", "/fortschritt.html", "/explorer.html"})
            EXPECT_NE(chm.find(page), std::string::npos) << file << " lacks " << page;
        EXPECT_NE(chm.find("Zupfari Basis Hilfe"), std::string::npos) << file << ": window title";
    }
    // German and English are different books.
    EXPECT_NE(Bin("Hilfe.chm"), Bin("Help.chm"));
}

TEST(CourseHelp, TimeStampsAreFixed) {
    const std::string chm = Bin("Hilfe.chm");
    ASSERT_GT(chm.size(), 100u);
    std::string again = chm;
    EXPECT_TRUE(content::RemoveChmTimestamps(again));
    EXPECT_EQ(again, chm) << "the shipped file still carries a compile time";
}

TEST(CourseHelp, StampRemovalLeavesOtherFilesAlone) {
    std::string notChm = "RIFF....WAVEfmt ";
    EXPECT_FALSE(content::RemoveChmTimestamps(notChm));
    EXPECT_EQ(notChm, "RIFF....WAVEfmt ");
}
