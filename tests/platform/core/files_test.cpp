// Files: INI settings, safe replacement and the case-blind content paths.
#include "platform/core/files.h"
#include "platform/core/inifile.h"
#include "platform/core/pathresolver.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::TempFolder;

TEST(IniFile, WritesTheWindowsFormatAndReadsItBack) {
    TempFolder temp;
    platform::IniFile ini(temp.Path() + "zupfaripref.ini");
    EXPECT_EQ(ini.ReadString("Midi", "Soundcard", "FAILED"), "FAILED");
    ASSERT_TRUE(ini.WriteString("Midi", "Soundcard", "MIDI MAPPER"));
    EXPECT_EQ(*platform::ReadFileBytes(ini.FileName()), "[Midi]\r\nSoundcard=MIDI MAPPER\r\n");

    platform::IniFile reopened(ini.FileName());
    EXPECT_EQ(reopened.ReadString("Midi", "Soundcard", "FAILED"), "MIDI MAPPER");
    EXPECT_EQ(reopened.ReadString("midi", "SOUNDCARD", "FAILED"), "MIDI MAPPER");
    EXPECT_EQ(reopened.ReadString("Midi", "Other", "none"), "none");
    EXPECT_EQ(reopened.ReadString("Audio", "Soundcard", "none"), "none");
}

TEST(IniFile, ReplacesAKeyInPlaceAndKeepsEverythingElse) {
    TempFolder temp;
    std::string path = temp.Write("prefs.ini",
                                  "; written by hand\r\n[Midi]\r\nSoundcard = Old Synth\r\n"
                                  "Volume=7\r\n\r\n[View]\r\nZoom=2\r\n");
    platform::IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Midi", "Soundcard", ""), "Old Synth");
    ASSERT_TRUE(ini.WriteString("Midi", "Soundcard", QString::fromUtf8("Zupfari Synth Ä")));
    ASSERT_TRUE(ini.WriteString("View", "Theme", "Dark"));
    ASSERT_TRUE(ini.WriteString("New", "Key", "1"));
    EXPECT_EQ(*platform::ReadFileBytes(path),
              "; written by hand\r\n[Midi]\r\nSoundcard=Zupfari Synth \xC4\r\nVolume=7\r\n\r\n"
              "[View]\r\nZoom=2\r\nTheme=Dark\r\n\r\n[New]\r\nKey=1\r\n");
    EXPECT_EQ(ini.ReadString("Midi", "Soundcard", ""), QString::fromUtf8("Zupfari Synth Ä"));
}

TEST(IniFile, AnUnwritableFolderReportsFailure) {
    platform::IniFile ini("/no/such/folder/zupfaripref.ini");
    EXPECT_FALSE(ini.WriteString("Midi", "Soundcard", "x"));
    EXPECT_EQ(ini.ReadString("Midi", "Soundcard", "FAILED"), "FAILED");
}

TEST(Files, AtomicWriteReplacesOnlyWhenComplete) {
    TempFolder temp;
    std::string path = temp.Write("list.ztl", "old\r\n");
    ASSERT_TRUE(platform::WriteFileAtomically(path, "new\r\n"));
    EXPECT_EQ(*platform::ReadFileBytes(path), "new\r\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path + ".new")));

    // A write that cannot complete leaves the old file as it was.
    std::string blocked = temp.Write("blocked.ztl", "keep me\r\n");
    QDir().mkpath(QString::fromStdString(blocked + ".new/sub"));
    EXPECT_FALSE(platform::WriteFileAtomically(blocked, "lost\r\n"));
    EXPECT_EQ(*platform::ReadFileBytes(blocked), "keep me\r\n");
}

TEST(Files, LinesWithAndWithoutCarriageReturns) {
    TempFolder temp;
    EXPECT_EQ(platform::ReadTextLines(temp.Write("a", "3\r\n-1\r\n1\n0")),
              (std::vector<std::string>{"3", "-1", "1", "0"}));
    EXPECT_TRUE(platform::ReadTextLines(temp.Write("b", "")).empty());
    EXPECT_EQ(platform::ReadTextLines(temp.Write("c", "\r\n\r\n")),
              (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(platform::ReadTextLines(temp.Path() + "missing").empty());
    EXPECT_FALSE(platform::ReadFileBytes(temp.Path() + "missing").has_value());
}

TEST(PathResolver, FindsContentWithoutRegardToCase) {
    TempFolder temp;
    std::string slide = temp.Write("lektion1/DiaA2.jpg", "jpeg");
    QString base = temp.QPath();
    EXPECT_EQ(platform::ResolvePath(base + "lektion1\\DIAA2.JPG").toStdString(), slide);
    EXPECT_EQ(platform::ResolvePath(base + "LEKTION1/diaa2.jpg").toStdString(), slide);
    EXPECT_TRUE(platform::PathExists(base + "Lektion1\\DiaA2.Jpg"));
    EXPECT_FALSE(platform::PathExists(base + "lektion1\\DiaA3.jpg"));
    // What cannot be found is kept as written, slashes turned.
    EXPECT_EQ(platform::ResolvePath(base + "Lektion1\\Missing\\X.jpg"),
              base + "lektion1/Missing/X.jpg");
}

TEST(PathResolver, PrefersAnExactMatchAndSeesFilesAddedLater) {
    TempFolder temp;
    temp.Write("Sounds/saite.wav", "lower");
    temp.Write("Sounds/Saite.wav", "upper");
    QString base = temp.QPath();
    EXPECT_EQ(platform::ResolvePath(base + "Sounds\\Saite.wav"), base + "Sounds/Saite.wav");
    EXPECT_EQ(platform::ResolvePath(base + "sounds\\saite.wav"), base + "Sounds/saite.wav");

    EXPECT_FALSE(platform::PathExists(base + "SOUNDS\\NEW.WAV"));
    temp.Write("Sounds/new.wav", "added");
    EXPECT_TRUE(platform::PathExists(base + "SOUNDS\\NEW.WAV"));
    QFile::remove(base + "Sounds/new.wav");
    EXPECT_FALSE(platform::PathExists(base + "SOUNDS\\NEW.WAV"));
}

TEST(PathResolver, RelativePathsStartAtTheCurrentFolder) {
    TempFolder temp;
    temp.Write("Listen/ListeUeplan.ztl", "3\r\n");
    testsupport::ScopedCurrentFolder keep;
    ASSERT_TRUE(QDir::setCurrent(temp.QPath()));
    EXPECT_EQ(platform::ResolvePath("listen\\listeueplan.ztl"), "Listen/ListeUeplan.ztl");
    EXPECT_EQ(platform::ResolveAnsiPath("LISTEN\\LISTEUEPLAN.ZTL"), "Listen/ListeUeplan.ztl");
    EXPECT_TRUE(platform::AnsiPathExists(".\\Listen\\..\\listen\\ListeUeplan.ztl"));
}

TEST(PathResolver, Windows1252NamesMeetUtf8Files) {
    TempFolder temp;
    std::string file = temp.Write("Übungen/Grüße.txt", "x");
    std::string ansi = temp.Path() + "\xDC" "bungen\\GR\xDC\xDF" "E.TXT";
    EXPECT_EQ(platform::ResolveAnsiPath(ansi), file);
}
