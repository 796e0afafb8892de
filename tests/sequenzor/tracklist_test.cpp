// The track list, its growth, and Standard MIDI Files: load, import, save
// and the track dump.
#include "sequenzor/engine.h"
#include "tests/sequenzor/enginetest.h"

#include <QFile>
#include <array>

namespace sequenzortest {
namespace {

using TrackList = EngineTest;

const sequenzor::CMidiTrack& Track(int index) {
    return *sequenzor::TheEngine().Tracks()[index];
}

TEST_F(TrackList, DumpListsEveryEventWithDeltaAndAbsoluteTime) {
    MidiNewTrackList(2);
    Put(0, 0, 0xC0, 0x18);
    Put(0, 120, 0x90, 0x3C, 0x64);
    Put(1, 240, 0xB1, 7, 0x7F);
    Put(1, 0xFFFFFFFF, 0x80, 0x3C, 0);
    EXPECT_EQ(Dump(), "Resolution 480\n\n"
                      "track status data1 data2 data3 dtime abstime\n\n"
                      "0 C0 18 0 0 0 0\n"
                      "0 90 3C 64 0 120 120\n"
                      "1 B1 7 7F 0 240 240\n"
                      "1 80 3C 0 0 -1 239\n");
    MidiTrackDump(nullptr);                                           // nothing happens
    MidiTrackDump((folder_.Path() + "no/such/folder/d.txt").c_str()); // nor here
}

TEST_F(TrackList, NewTrackListWithNegativeCountIsEmpty) {
    MidiNewTrackList(4);
    EXPECT_EQ(sequenzor::TheEngine().Tracks().size(), 4u);
    EXPECT_EQ(MidiNewTrackList(-3), 1);
    EXPECT_TRUE(sequenzor::TheEngine().Tracks().empty());
    EXPECT_EQ(MidiGetTrackMute(0), 0);
    Put(0, 0, 0x90, 60, 1); // no track 0: nothing
    EXPECT_TRUE(DumpRows().empty());
}

TEST_F(TrackList, CreatedTrackBecomesRecordTrackUntilDeleted) {
    EXPECT_EQ(MidiCreateNewTrack(), 1);
    EXPECT_EQ(sequenzor::TheEngine().RecordTrack(), &Track(0));
    EXPECT_EQ(MidiCreateNewTrack(), 2);
    MidiSetRecordTrack(0);
    EXPECT_EQ(sequenzor::TheEngine().RecordTrack(), &Track(0));
    MidiSetRecordTrack(-1);
    MidiSetRecordTrack(2);
    EXPECT_EQ(sequenzor::TheEngine().RecordTrack(), &Track(0));
    MidiClearTrackList();
    EXPECT_EQ(sequenzor::TheEngine().RecordTrack(), nullptr);
    EXPECT_TRUE(sequenzor::TheEngine().Out().Cursors().empty());
}

TEST_F(TrackList, InsertionGrowsBy8192AndShiftsLaterEvents) {
    MidiNewTrackList(1);
    EXPECT_EQ(Track(0).Capacity(), 8192u);
    for (int i = 0; i < 8192; ++i)
        Put(0, 1, 0x90, 60, 1);
    EXPECT_EQ(Track(0).Capacity(), 8192u);
    Put(0, 1, 0x90, 60, 1);
    EXPECT_EQ(Track(0).Capacity(), 16384u);
    EXPECT_EQ(Track(0).Count(), 8193u);

    MidiEvent first{5, 0xC0, 9, 0, 0};
    MidiInsertEvent(0, &first, 0);
    EXPECT_EQ(Track(0).Events()[0].status, 0xC0);
    EXPECT_EQ(Track(0).AbsoluteTime(1), 6u); // later events are delayed by its delta
    EXPECT_EQ(Track(0).AbsoluteTime(99999), 0u);
}

TEST_F(TrackList, InsertionRefusesBadTrackIndexOrEvent) {
    MidiNewTrackList(1);
    Put(0, 0, 0x90, 60, 1);
    MidiEvent event{0, 0x90, 61, 1, 0};
    MidiInsertEvent(-1, &event, kAppend);
    MidiInsertEvent(1, &event, kAppend);
    MidiInsertEvent(0, &event, 2); // beyond the end
    MidiInsertEvent(0, nullptr, kAppend);
    EXPECT_EQ(Track(0).Count(), 1u);
    MidiInsertEvent(0, &event, 1); // just after the last: taken
    EXPECT_EQ(Track(0).Count(), 2u);
}

TEST_F(TrackList, LoadOfAFileThatIsNoMidiFileFailsAndLeavesNoTracks) {
    for (const std::string& name :
         {folder_.Path() + "missing.mid", folder_.Write("junk.mid", "MThd\x00\x00"),
          folder_.Path()}) {
        MidiNewTrackList(2);
        EXPECT_EQ(MidiLoadFile(name.c_str()), 0) << name;
        EXPECT_TRUE(sequenzor::TheEngine().Tracks().empty()) << name;
    }
    EXPECT_EQ(MidiLoadFile(nullptr), 0);
    EXPECT_EQ(MidiImportFile((folder_.Path() + "missing.mid").c_str(), 0), 0);
}

TEST_F(TrackList, InsertAtMinusOneAppendsInEveryForm) {
    MidiNewTrackList(1);
    MidiEvent first{0, 0x90, 60, 1, 0};
    MidiEvent second{0, 0x90, 61, 1, 0};
    MidiEvent third{0, 0x90, 62, 1, 0};
    MidiInsertEvent(0, &first, static_cast<unsigned long>(-1));
    MidiInsertEvent(0, &second, static_cast<unsigned long>(static_cast<std::uint32_t>(-1)));
    MidiInsertEvent(0, &third, static_cast<unsigned long>(-1L));
    EXPECT_EQ(DumpRows(), (std::vector<std::string>{"0 90 3C 1 0 0 0", "0 90 3D 1 0 0 0",
                                                    "0 90 3E 1 0 0 0"}));
}

TEST_F(TrackList, SaveAndLoadGiveTheSameDump) {
    MidiNewTrackList(3);
    Put(0, 0, 0x00, 0x07, 0xA1, 0x20);   // tempo 500,000
    Put(0, 960, 0x00, 0x0F, 0x42, 0x40); // tempo 1,000,000
    Put(1, 0, 0xC0, 24);
    Put(1, 10, 0x90, 60, 100);
    Put(1, 470, 0x80, 60, 0);
    Put(1, 0, 0xB0, 7, 90);
    Put(1, 5, 0xE0, 0, 64);
    Put(2, 100, 0xF0, 0xF0); // system-exclusive run F0 7E 09 F7
    Put(2, 0, 0xF0, 0x7E);
    Put(2, 0, 0xF0, 0x09);
    Put(2, 0, 0xF0, 0xF7);
    Put(2, 200, 0x91, 64, 80);
    const std::string built = Dump();
    const std::string file = folder_.Path() + "piece.mid";
    EXPECT_EQ(MidiSaveFile(file.c_str()), 1);
    EXPECT_EQ(MidiLoadFile(file.c_str()), 1);
    EXPECT_EQ(Dump(), built);
    EXPECT_EQ(MidiSaveFile(file.c_str()), 1); // the loaded file closes first
    EXPECT_EQ(MidiLoadFile(file.c_str()), 1);
    EXPECT_EQ(Dump(), built);

    MidiClearTrackList();
    EXPECT_EQ(MidiSaveFile((folder_.Path() + "empty.mid").c_str()), 1);
    EXPECT_FALSE(QFile::exists(folder_.QPath() + "empty.mid"));
}

TEST_F(TrackList, SaveThatCannotWriteFailsAndLeavesTheOldFile) {
    MidiNewTrackList(1);
    Put(0, 0, 0x90, 60, 100);
    EXPECT_EQ(MidiSaveFile((folder_.Path() + "no/such/folder/x.mid").c_str()), 0);
    EXPECT_EQ(MidiSaveFile(folder_.Path().c_str()), 0); // a folder
    EXPECT_EQ(MidiSaveFile(nullptr), 0);
    // /proc takes no new files, not even from root: the writer's replacement
    // of the old file is what fails here.
    QFile old("/proc/version");
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    EXPECT_EQ(MidiSaveFile("/proc/version"), 0);
    QFile after("/proc/version");
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST_F(TrackList, ReadingGrowsByTheEventsReadSoFar) {
    MidiNewTrackList(1);
    for (int i = 0; i < 20000; ++i)
        Put(0, 1, 0x90 | (i % 16), i % 128, 1);
    const std::string file = folder_.Path() + "long.mid";
    MidiSaveFile(file.c_str());
    MidiLoadFile(file.c_str());
    ASSERT_EQ(sequenzor::TheEngine().Tracks().size(), 1u);
    EXPECT_EQ(Track(0).Count(), 20000u);
    EXPECT_EQ(Track(0).Capacity(), 32768u); // 8192, then 16384, then 32768
}

class TrackImport : public EngineTest {
protected:
    // A file of one track: a note at `firstTick`, its end 100 ticks later.
    std::string NoteFile(const std::string& name, std::uint32_t firstTick) {
        MidiNewTrackList(1);
        Put(0, firstTick, 0x90, 72, 90);
        Put(0, 100, 0x80, 72, 0);
        const std::string path = folder_.Path() + name;
        MidiSaveFile(path.c_str());
        return path;
    }
    // Old material: two tracks ending at tick 1500 and 700.
    void OldTracks() {
        MidiNewTrackList(2);
        Put(0, 200, 0x90, 60, 90);
        Put(0, 1300, 0x80, 60, 0);
        Put(1, 700, 0x90, 62, 90);
    }
};

TEST_F(TrackImport, PositiveOffsetIsInEighthsOfAQuarter) {
    const std::string file = NoteFile("one.mid", 30);
    OldTracks();
    EXPECT_EQ(MidiImportFile(file.c_str(), 16), 1);
    ASSERT_EQ(sequenzor::TheEngine().Tracks().size(), 3u);
    EXPECT_EQ(Track(2).Events()[0].time, 30u + 960u);
    EXPECT_EQ(Track(0).AbsoluteTime(1), 1500u); // old tracks unchanged
}

TEST_F(TrackImport, NegativeOffsetAppendsAfterTheLatestOldTrack) {
    const std::string file = NoteFile("one.mid", 30);
    OldTracks();
    EXPECT_EQ(MidiImportFile(file.c_str(), -1), 1);
    EXPECT_EQ(Track(2).AbsoluteTime(0), 1530u);
    EXPECT_EQ(Track(2).AbsoluteTime(1), 1630u);
}

TEST_F(TrackImport, ZeroOffsetAndEmptyListKeepTheFilesTimes) {
    const std::string file = NoteFile("one.mid", 30);
    OldTracks();
    EXPECT_EQ(MidiImportFile(file.c_str(), 0), 1);
    EXPECT_EQ(Track(2).AbsoluteTime(0), 30u);
    MidiClearTrackList();
    EXPECT_EQ(MidiImportFile(file.c_str(), -1), 1); // nothing to follow
    EXPECT_EQ(Track(0).AbsoluteTime(0), 30u);
    // A missing file adds nothing but keeps a non-empty list.
    EXPECT_EQ(MidiImportFile((folder_.Path() + "missing.mid").c_str(), 8), 1);
    EXPECT_EQ(sequenzor::TheEngine().Tracks().size(), 1u);
}

} // namespace
} // namespace sequenzortest

namespace sequenzortest {
namespace {

// Channel, bank and program of each instrument announced to the test port.
std::vector<std::array<int, 3>> Announced(std::uint16_t port) {
    std::vector<std::array<int, 3>> announced;
    for (const MidiProgram& p : mxmidi::testing::TakePreparedPrograms(port))
        announced.push_back({p.channel, p.bank, p.program});
    return announced;
}

TEST_F(TrackList, ALoadedPieceAnnouncesTheInstrumentsItSelectsInPlayingOrder) {
    MidiNewTrackList(2);
    Put(0, 0, 0xC9, 0);       // drum kit, tick 0
    Put(0, 500, 0xC1, 25);    // tick 500, after the bank select of track 1
    Put(1, 100, 0xB1, 0, 8);  // channel 1 bank 8 at tick 100
    Put(1, 0, 0xB0, 32, 5);   // bank LSB: not the bank
    Put(1, 100, 0xC0, 24);    // channel 0 at tick 200: bank 0
    Put(1, 0, 0x90, 60, 100); // notes after a program change choose nothing
    Put(1, 0, 0x92, 60, 0);   // a note-off chooses nothing
    Put(1, 0, 0x92, 60, 100); // channel 2 plays its default instrument
    const std::string file = folder_.Path() + "instruments.mid";
    ASSERT_EQ(MidiSaveFile(file.c_str()), 1);
    Announced(port_);

    ASSERT_EQ(MidiLoadFile(file.c_str()), 1);
    const std::vector<std::array<int, 3>> expected = {{9, 0, 0}, {0, 0, 24}, {2, 0, 0}, {1, 8, 25}};
    EXPECT_EQ(Announced(port_), expected);

    // Importing announces the whole list again, the new tracks with it:
    // every program change twice, channel 2's default once.
    ASSERT_EQ(MidiImportFile(file.c_str(), 0), 1);
    EXPECT_EQ(Announced(port_).size(), 7u);
}

} // namespace
} // namespace sequenzortest
