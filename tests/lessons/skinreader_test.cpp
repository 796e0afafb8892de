// The text side of skin files: lines, integers, line breaks, font heights and
// the records with their two kinds of error.
#include "lessons/skinreader.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace lessons;

TEST(SkinReader, LinesEndAtCrLfLoneCrOrLoneLf) {
    EXPECT_TRUE(SplitSkinLines("").empty());
    EXPECT_EQ(SplitSkinLines("1\r\n$L\rx\ny"), (std::vector<std::string>{"1", "$L", "x", "y"}));
    EXPECT_EQ(SplitSkinLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitSkinLines("\n\r"), (std::vector<std::string>{"", ""}));
}

TEST(SkinReader, IntegersAreSigned32BitDecimals) {
    testsupport::ScopedEnv german("SPRACHBANK_LANGUAGE", "0"); // the German edition's texts
    EXPECT_EQ(SkinStrToInt("250"), 250);
    EXPECT_EQ(SkinStrToInt("-1"), -1);
    EXPECT_EQ(SkinStrToInt("  +7"), 7);
    EXPECT_EQ(SkinStrToInt("2147483647"), 2147483647);
    EXPECT_EQ(SkinStrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", "2147483648", "99999999999999999999", "12 ", "1e3", "tag200",
                            "0x10", "Arial"}) {
        try {
            SkinStrToInt(bad);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const SkinError& e) {
            EXPECT_EQ(e.ErrorKind(), SkinError::Kind::NotANumber) << bad;
        }
    }
    try {
        SkinStrToInt("tag200");
    } catch (const SkinError& e) {
        EXPECT_STREQ(e.what(), "'tag200' ist kein g\xC3\xBCltiger Integerwert");
    }
}

TEST(SkinReader, DollarNInAnyCaseBreaksTheLine) {
    EXPECT_EQ(ExpandLineBreaks("Zeile 1$nZeile 2$NEnde"), "Zeile 1\r\nZeile 2\r\nEnde");
    EXPECT_EQ(ExpandLineBreaks("$$n$"), "$\r\n$");
}

TEST(SkinReader, FontHeightIsTheRoundedPixelSizeNegated) {
    EXPECT_EQ(FontHeightOfSize(8), -11);
    EXPECT_EQ(FontHeightOfSize(10), -13);
    EXPECT_EQ(FontHeightOfSize(12), -16);
    EXPECT_EQ(FontHeightOfSize(14), -19);
    EXPECT_EQ(FontHeightOfSize(0), 0);
    EXPECT_EQ(FontHeightOfSize(-8), 10);
    EXPECT_EQ(FontHeightOfSize(2147483647), std::numeric_limits<int>::min());
}

TEST(SkinReader, RecordsWithAndWithoutTagLines) {
    std::vector<std::string> lines = {"1",     "$S", "TAG250", "40",  "60",    "200", "30",
                                      "65535", "0",  "$I",     "5",   "6",     "$$",  "$C",
                                      "0",     "2",  "100",    "200", "100",   "230", "$l",
                                      "$S"};
    SkinReader reader(lines);
    auto shape = std::get<SkinShapeRecord>(*reader.Next());
    EXPECT_EQ(shape.tag, 250);
    EXPECT_EQ(shape.width, 200);
    EXPECT_EQ(shape.fillColour, 65535);
    auto picture = std::get<SkinPictureRecord>(*reader.Next());
    EXPECT_EQ(picture.tag, 0);
    EXPECT_EQ(picture.left, 5);
    EXPECT_EQ(picture.fileName, "$$");
    auto group = std::get<SkinGroupRecord>(*reader.Next());
    EXPECT_EQ(group.count, 2);
    EXPECT_EQ(group.boxes, (std::vector<std::pair<int, int>>{{100, 200}, {100, 230}}));
    EXPECT_FALSE(reader.Next()); // "$l" ends reading, the "$S" after it is never seen
}

TEST(SkinReader, ARecordCutShortNamesTheMissingLine) {
    testsupport::ScopedEnv german("SPRACHBANK_LANGUAGE", "0"); // the German edition's texts
    std::vector<std::string> lines = {"1", "$S", "1", "2", "3"};
    SkinReader reader(lines);
    try {
        reader.Next();
        FAIL() << "no list error";
    } catch (const SkinError& e) {
        EXPECT_EQ(e.ErrorKind(), SkinError::Kind::CutShort);
        EXPECT_STREQ(e.what(), "Der Index der Liste \xC3\xBC" "berschreitet das Maximum (5)");
    }
    // A keyword on the last line: the tag line that would follow is missing.
    std::vector<std::string> bare = {"1", "$L"};
    SkinReader bareReader(bare);
    EXPECT_THROW(bareReader.Next(), SkinError);
}

TEST(SkinReader, AGroupReadsEveryAnnouncedPairAndKeepsSix) {
    std::vector<std::string> lines = {"0", "$C", "1", "8"};
    for (int i = 0; i < 16; ++i) lines.push_back(std::to_string(i));
    lines.push_back("$C");
    lines.push_back("2");
    lines.push_back("-3");
    lines.push_back("$S");
    SkinReader reader(lines);
    auto big = std::get<SkinGroupRecord>(*reader.Next());
    EXPECT_EQ(big.count, 8);
    ASSERT_EQ(big.boxes.size(), 6u);
    EXPECT_EQ(big.boxes[5], std::make_pair(10, 11));
    auto none = std::get<SkinGroupRecord>(*reader.Next());
    EXPECT_TRUE(none.boxes.empty());
    EXPECT_THROW(reader.Next(), SkinError); // the "$S" after it is cut short
}

} // namespace
