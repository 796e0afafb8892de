// Writing MIDI files through the toolkit, and reading them back.

#include "tests/mxmidi/smf_testfiles.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace smftest;

namespace {

std::string FileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

// A track with everything the engine stores: channel messages of every kind,
// tempo changes, complete and split system-exclusive messages, the escape
// form, events at the same tick and a long delta time.
std::vector<MidiEvent> RichTrack() {
    return {Ev(0, 0, 0x07, 0xA1, 0x20),
            Ev(0, 0xC0, 24),
            Ev(0, 0xB0, 7, 100),
            Ev(0, 0x90, 60, 100),
            Ev(0, 0x90, 64, 100),
            Ev(480, 0x80, 60, 64),
            Ev(0, 0x90, 64, 0),
            Ev(10, 0xF0, 0xF0),
            Ev(0, 0xF0, 0x7E),
            Ev(0, 0xF0, 0x7F),
            Ev(0, 0xF0, 0x09),
            Ev(0, 0xF0, 0x01),
            Ev(0, 0xF0, 0xF7),
            Ev(0, 0x90, 67, 1),
            Ev(5, 0xF0, 0xF0), // split: a second packet 20 ticks later
            Ev(0, 0xF0, 0x43),
            Ev(20, 0xF0, 0x10),
            Ev(0, 0xF0, 0xF7),
            Ev(3, 0xF0, 0xF3), // escape form: raw bytes
            Ev(0, 0xF0, 0x02),
            Ev(0, 0xE0, 0x00, 0x40),
            Ev(0, 0xD0, 90),
            Ev(0, 0xA0, 60, 30),
            Ev(0x0FFFFFFF, 0, 0x0F, 0x42, 0x40),
            Ev(1, 0x8F, 127, 127)};
}

class SmfWriterTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder_.Path() + name; }
    testsupport::TempFolder folder_;
};

TEST_F(SmfWriterTest, RoundTripGivesTheSameEventsNamesAndResolution) {
    std::vector<std::vector<MidiEvent>> tracks = {
        RichTrack(), {Ev(0, 0x91, 40, 90), Ev(960, 0x81, 40, 0)}, {}, RichTrack()};
    std::vector<std::string> names = {"Gitarre \xE4", "", "Leer", std::string(300, 'n')};
    ASSERT_TRUE(Save(Path("round.mid"), 96, tracks, names));
    std::optional<Loaded> loaded = Load(Path("round.mid"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->format, 1);
    EXPECT_EQ(loaded->resolution, 96);
    ASSERT_EQ(loaded->tracks.size(), tracks.size());
    for (std::size_t t = 0; t < tracks.size(); ++t)
        EXPECT_EQ(Describe(loaded->tracks[t]), Describe(tracks[t])) << "track " << t;
    EXPECT_EQ(loaded->names[0], std::optional<std::string>(names[0]));
    EXPECT_EQ(loaded->names[1], std::nullopt);
    EXPECT_EQ(loaded->names[2], std::optional<std::string>("Leer"));
    EXPECT_EQ(loaded->names[3], std::optional<std::string>(names[3]));
}

TEST_F(SmfWriterTest, BytesUseRunningStatusAndTheFormsOfTheFormat) {
    std::vector<MidiEvent> events = {Ev(0, 0x90, 60, 100),       Ev(0, 0x90, 62, 100),
                                     Ev(0, 0, 0x07, 0xA1, 0x20), Ev(0, 0x90, 64, 100),
                                     Ev(0, 0xF0, 0xF0),          Ev(0, 0xF0, 0x41),
                                     Ev(0, 0xF0, 0xF7),          Ev(0, 0x90, 65, 100)};
    ASSERT_TRUE(Save(Path("bytes.mid"), 480, {events}, {"A"}));
    std::string body = Meta(0, 3, "A") + Bytes({0, 0x90, 60, 100, 0, 62, 100}) +
                       Meta(0, 0x51, Bytes({0x07, 0xA1, 0x20})) +
                       Bytes({0, 0x90, 64, 100, 0, 0xF0, 2, 0x41, 0xF7, 0, 0x90, 65, 100});
    EXPECT_EQ(FileBytes(Path("bytes.mid")), Header(1, 1, 480) + Track(body));
}

TEST_F(SmfWriterTest, EventsAFileCannotHoldAreLeftOutWithTheirDeltaCarried) {
    std::vector<MidiEvent> events = {Ev(10, 0xF8, 0),
                                     Ev(5, 0x05, 1, 2),
                                     Ev(MXMIDI_NOW, 0xFF, 0),
                                     Ev(1, 0x90, 0xBC, 0xE4),
                                     Ev(0xFFFFFFF0u, 0x80, 60, 0),
                                     Ev(MXMIDI_NOW, 0x80, 61, 0)};
    ASSERT_TRUE(Save(Path("odd.mid"), 480, {events}));
    std::optional<Loaded> loaded = Load(Path("odd.mid"));
    ASSERT_TRUE(loaded);
    std::vector<MidiEvent> expected = {Ev(16, 0x90, 0x3C, 0x64), Ev(0x0FFFFFFF, 0x80, 60, 0),
                                       Ev(0, 0x80, 61, 0)};
    EXPECT_EQ(Describe(loaded->tracks.at(0)), Describe(expected));
}

TEST_F(SmfWriterTest, MetaEventsAndResolutionRules) {
    std::uint16_t format = 0;
    HSMF smf = OpenSMF(Path("meta.mid").c_str(), &format, 'w', nullptr);
    ASSERT_GT(smf, MXMIDI_INVALID_HANDLE_LIMIT);
    EXPECT_EQ(format, 1);
    EXPECT_EQ(GetSMFResolution(smf), 480); // until set
    SetSMFResolution(smf, 0);              // ignored
    EXPECT_EQ(GetSMFResolution(smf), 480);
    SetSMFResolution(smf, 0x9000); // would read as SMPTE
    EXPECT_EQ(GetSMFResolution(smf), 0x7FFF);
    EXPECT_EQ(WriteMetaEvent(smf, 1, 3, "Bass\0ignored", 0), 0);
    EXPECT_EQ(WriteMetaEvent(smf, 0, 3, "Lead guitar", 4), 0);
    EXPECT_EQ(WriteMetaEvent(smf, 0, 0x2F, "", 0), -1);
    EXPECT_EQ(WriteMetaEvent(smf, 0, 0x80, "x", 0), -1);
    EXPECT_EQ(WriteMetaEvent(smf, 0, 3, nullptr, 0), -1);
    CloseSMF(smf);
    std::optional<Loaded> loaded = Load(Path("meta.mid"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->resolution, 0x7FFF);
    ASSERT_EQ(loaded->names.size(), 2u);
    EXPECT_EQ(loaded->names[0], std::optional<std::string>("Lead"));
    EXPECT_EQ(loaded->names[1], std::optional<std::string>("Bass"));
}

TEST_F(SmfWriterTest, WritingReplacesAnOldFileWholeAndLeavesNoTemporaryFiles) {
    std::string path = Path("old.mid");
    folder_.Write("old.mid", std::string(5000, 'x'));
    ASSERT_TRUE(Save(path, 96, {{Ev(0, 0x90, 60, 1)}}));
    std::optional<Loaded> loaded = Load(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->tracks.at(0).size(), 1u);
    EXPECT_LT(FileBytes(path).size(), 100u);
    EXPECT_EQ(QDir(folder_.QPath()).entryList(QDir::Files), QStringList{"old.mid"});
}

TEST_F(SmfWriterTest, FileNamesInWindows1252AndUtf8NameTheSameFile) {
    ASSERT_TRUE(Save(Path("\xDC"
                          "bung.mid"),
                     96, {{Ev(0, 0x90, 60, 1)}}));
    EXPECT_TRUE(QFile::exists(folder_.QPath() + QString::fromUtf8("\u00DCbung.mid")));
    std::optional<Loaded> loaded = Load(Path("\u00DCbung.mid"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->tracks.at(0).size(), 1u);
}

TEST_F(SmfWriterTest, AFileThatCannotBeWrittenIsRefusedOrLeftAlone) {
    std::uint16_t format = 1;
    EXPECT_EQ(OpenSMF(Path("no/such/folder/x.mid").c_str(), &format, 'w', nullptr), 0u);
    EXPECT_EQ(OpenSMF(folder_.Path().c_str(), &format, 'w', nullptr), 0u);
    // The folder goes away between opening and closing: nothing is written.
    QDir(folder_.QPath()).mkdir("gone");
    std::string path = Path("gone/x.mid");
    HSMF smf = OpenSMF(path.c_str(), &format, 'w', nullptr);
    ASSERT_GT(smf, MXMIDI_INVALID_HANDLE_LIMIT);
    MidiEvent note = Ev(0, 0x90, 60, 1);
    EXPECT_EQ(WriteSMF(smf, 0, &note, 1), 1u);
    QDir(folder_.QPath()).rmdir("gone");
    CloseSMF(smf);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(SmfWriterTest, HandlesModesAndTracksAreCheckedByEveryFunction) {
    std::uint16_t format = 1, tracks = 9;
    EXPECT_EQ(OpenSMF(Path("x.mid").c_str(), &format, 'a', &tracks), 0u);
    EXPECT_EQ(tracks, 0);
    EXPECT_EQ(OpenSMF(nullptr, &format, 'r', &tracks), 0u);
    EXPECT_EQ(OpenSMF("", &format, 'w', &tracks), 0u);

    HSMF writer = OpenSMF(Path("w.mid").c_str(), nullptr, 'w', nullptr);
    HSMF writer2 = OpenSMF(Path("w2.mid").c_str(), nullptr, 'w', nullptr);
    ASSERT_GT(writer, MXMIDI_INVALID_HANDLE_LIMIT);
    ASSERT_GT(writer2, MXMIDI_INVALID_HANDLE_LIMIT);
    EXPECT_NE(writer, writer2);
    MidiEvent events[2] = {Ev(0, 0x90, 60, 1), Ev(1, 0x80, 60, 0)};
    EXPECT_EQ(WriteSMF(writer, 2, events, 2), 2u);
    EXPECT_EQ(WriteSMF(writer, 0xFFFF, events, 2), 0u);
    EXPECT_EQ(WriteSMF(writer, 0, nullptr, 2), 0u);
    MidiEvent buffer[4];
    EXPECT_EQ(ReadSMF(writer, 2, buffer, 4), 0u); // wrong mode
    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
    EXPECT_EQ(ReadMetaEvent(writer, 0, 3, &data, &length), -1);
    CloseSMF(writer2);
    CloseSMF(writer);

    HSMF reader = OpenSMF(Path("w.mid").c_str(), &format, 'r', &tracks);
    ASSERT_GT(reader, MXMIDI_INVALID_HANDLE_LIMIT);
    EXPECT_EQ(tracks, 3); // tracks 0 and 1 were made empty for track 2
    EXPECT_EQ(ReadSMF(reader, 0, buffer, 4), 0u);
    EXPECT_EQ(ReadSMF(reader, 2, buffer, 4), 2u);
    EXPECT_EQ(ReadSMF(reader, 3, buffer, 4), 0u);
    EXPECT_EQ(ReadSMF(reader, 2, nullptr, 4), 0u);
    EXPECT_EQ(WriteSMF(reader, 2, events, 2), 0u);
    EXPECT_EQ(WriteMetaEvent(reader, 0, 3, "x", 0), -1);
    EXPECT_EQ(ReadMetaEvent(reader, 7, 3, &data, &length), -1);
    EXPECT_EQ(ReadMetaEvent(reader, 2, 3, nullptr, &length), -1);
    SetSMFResolution(reader, 1234); // a file being read keeps its own
    EXPECT_EQ(GetSMFResolution(reader), 480);
    CloseSMF(reader);

    for (HSMF stale : {0u, 1u, 32u, reader, writer, 0xFFFFFFFFu}) {
        EXPECT_EQ(ReadSMF(stale, 0, buffer, 4), 0u);
        EXPECT_EQ(WriteSMF(stale, 0, events, 2), 0u);
        EXPECT_EQ(GetSMFResolution(stale), 0);
        EXPECT_EQ(ReadMetaEvent(stale, 0, 3, &data, &length), -1);
        EXPECT_EQ(WriteMetaEvent(stale, 0, 3, "x", 0), -1);
        SetSMFResolution(stale, 96);
        RewindSMF(stale);
        CloseSMF(stale);
    }
}

} // namespace
