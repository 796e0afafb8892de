// The skin files of the start, greeting and no-lesson screens: well-formed by
// the skin format, Windows-1252 with CR LF, the headers the program asks for,
// pictures that exist, elements inside the area they belong to.
#include "layout/screenlayout.h"
#include "tests/content/art_testsupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

arttest::Skin Load(const char* file) {
    const std::string bytes = arttest::ProgramFile(file);
    EXPECT_FALSE(bytes.empty()) << file;
    return arttest::ParseSkin(bytes);
}

void ExpectWellFormed(const arttest::Skin& skin, const char* file) {
    EXPECT_TRUE(skin.error.isEmpty()) << file << ": " << skin.error.toStdString();
    EXPECT_FALSE(skin.endedEarly) << file << ": a line that is no keyword ends the reading early";
    for (const arttest::SkinRecord& record : skin.records) {
        const int numbers = record.keyword == "$S" ? 6 : (record.keyword == "$C" ? int(record.fields.size()) : 2);
        for (int i = 0; i < numbers; ++i) {
            bool ok = false;
            record.fields[i].toInt(&ok);
            EXPECT_TRUE(ok) << file << ": " << record.fields[i].toStdString();
        }
        if (record.keyword == "$L") {
            EXPECT_EQ(record.fields[2], "Arial") << file;
            const int style = record.fields[4].toInt();
            EXPECT_TRUE(style >= 0 && style <= 7) << file;
        }
    }
}

// The first picture with tag 200 is the backdrop; it must exist, cover the
// lesson screen exactly, and every label must lie on it.
void ExpectLessonScreen(const arttest::Skin& skin, const char* file) {
    const arttest::SkinRecord* backdrop = nullptr;
    for (const auto& record : skin.records)
        if (record.keyword == "$I" && record.tag == 200 && !backdrop) backdrop = &record;
    ASSERT_NE(backdrop, nullptr) << file;
    const QPoint at(backdrop->fields[0].toInt(), backdrop->fields[1].toInt());
    EXPECT_EQ(at, layout::LessonScreen.topLeft()) << file;
    QString picture = backdrop->fields[2];
    const QImage image = arttest::ProgramPicture(picture.replace('\\', '/').toStdString());
    EXPECT_EQ(image.size(), layout::LessonScreen.size()) << file;
    for (const auto& record : skin.records) {
        const QPoint place(record.fields[0].toInt(), record.fields[1].toInt());
        if (record.keyword == "$L" || record.keyword == "$S") {
            EXPECT_TRUE(layout::LessonScreen.adjusted(0, 0, -20, -12).contains(place))
                << file << ": " << record.fields.last().toStdString();
        }
        if (record.keyword == "$S") {
            EXPECT_TRUE(record.tag > 200 && record.tag < 300) << file << ": only tint rectangles";
            const QRect area(place, QSize(record.fields[2].toInt(), record.fields[3].toInt()));
            EXPECT_TRUE(layout::LessonScreen.contains(area)) << file;
        }
    }
}

TEST(ArtSkins, StartScreenHasTheWebLinkLabel) {
    const arttest::Skin skin = Load("Screen/StartScreen.zs1");
    ExpectWellFormed(skin, "StartScreen");
    int links = 0;
    for (const auto& record : skin.records) {
        if (record.keyword != "$L") continue;
        const QPoint place(record.fields[0].toInt(), record.fields[1].toInt());
        EXPECT_TRUE(QRect(QPoint(0, 0), layout::StartScreen).contains(place));
        if (record.tag == 500) ++links;
    }
    EXPECT_EQ(links, 1);
}

TEST(ArtSkins, NoLessonScreenCarriesHeaderXAndTheVideoFrame) {
    const arttest::Skin skin = Load("lektionX/MainWin.zs1");
    ExpectWellFormed(skin, "lektionX");
    EXPECT_TRUE(skin.header.startsWith("x"));
    ExpectLessonScreen(skin, "lektionX");
    bool heading = false;
    for (const auto& record : skin.records)
        if (record.keyword == "$L" && record.fields[6].contains(QString::fromUtf8("geöffnet"))) heading = true;
    EXPECT_TRUE(heading) << "German text read back through Windows-1252";
    for (const auto& record : skin.records) {
        if (record.keyword != "$L") continue;
        const QPoint place(record.fields[0].toInt(), record.fields[1].toInt());
        EXPECT_FALSE(layout::IntroVideo.contains(place)) << "no label under the video";
    }
}

TEST(ArtSkins, GreetingScreenIsALessonScreenSkin) {
    const arttest::Skin skin = Load("lektionY/MainWin.zs1");
    ExpectWellFormed(skin, "lektionY");
    ExpectLessonScreen(skin, "lektionY");
    EXPECT_GE(skin.records.size(), 5u);
}

TEST(ArtSkins, ParserRejectsWhatTheFormatForbids) {
    EXPECT_FALSE(arttest::ParseSkin("0\r\n$L\r\n1\r\n").error.isEmpty());           // cut short
    EXPECT_FALSE(arttest::ParseSkin("0\n$S\n").error.isEmpty());                   // lone LF
    EXPECT_TRUE(arttest::ParseSkin("0\r\n$l\r\n").endedEarly);                     // lower-case keyword
    const arttest::Skin ok = arttest::ParseSkin("0\r\n$I\r\nTAG200\r\n1\r\n2\r\n$$\r\n");
    EXPECT_TRUE(ok.error.isEmpty());
    ASSERT_EQ(ok.records.size(), 1u);
    EXPECT_EQ(ok.records[0].tag, 200);
}

} // namespace
