// Reading MIDI files through the toolkit: the forms real files take, and the
// damaged and odd files of the robustness checklist.

#include "tests/mxmidi/smf_testfiles.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

using namespace smftest;

namespace {

class SmfReaderTest : public ::testing::Test {
protected:
    std::optional<Loaded> LoadBytes(const std::string& bytes, std::uint32_t chunk = 8192) {
        return Load(folder_.Write("file.mid", bytes), chunk);
    }

    // A file that must load; its tracks.
    std::vector<std::vector<MidiEvent>> Tracks(const std::string& bytes) {
        std::optional<Loaded> loaded = LoadBytes(bytes);
        EXPECT_TRUE(loaded.has_value());
        return loaded ? loaded->tracks : std::vector<std::vector<MidiEvent>>{};
    }

    testsupport::TempFolder folder_;
};

const std::string kNotes = Bytes({0, 0x90, 60, 100, 96, 0x80, 60, 0});
const std::vector<MidiEvent> kNoteEvents = {Ev(0, 0x90, 60, 100), Ev(96, 0x80, 60, 0)};

TEST_F(SmfReaderTest, ReadsFormatZeroAndOneAndReportsFormatTwoAsOne) {
    for (int format : {0, 1, 2}) {
        std::string file = Header(format, 2, 96) + Track(kNotes) + Track(kNotes);
        std::optional<Loaded> loaded = LoadBytes(file);
        ASSERT_TRUE(loaded) << format;
        EXPECT_EQ(loaded->format, format == 0 ? 0 : 1);
        EXPECT_EQ(loaded->resolution, 96);
        ASSERT_EQ(loaded->tracks.size(), 2u);
        EXPECT_EQ(loaded->tracks[1], kNoteEvents);
    }
}

TEST_F(SmfReaderTest, ChannelMessagesWithRunningStatusAndOneDataByte) {
    std::string events =
        Bytes({0, 0x91, 60, 100, 10, 62, 90, 0, 0xC1, 25, 5, 7, 0, 0xE1, 0x00, 0x40, 0, 0xD1, 33});
    std::vector<MidiEvent> expected = {Ev(0, 0x91, 60, 100), Ev(10, 0x91, 62, 90), Ev(0, 0xC1, 25),
                                       Ev(5, 0xC1, 7),       Ev(0, 0xE1, 0, 0x40), Ev(0, 0xD1, 33)};
    EXPECT_EQ(Tracks(Header(0, 1, 480) + Track(events))[0], expected);
}

TEST_F(SmfReaderTest, RunningStatusSurvivesMetaAndSystemExclusiveEvents) {
    std::string events = Bytes({0, 0x90, 60, 100}) + Meta(0, 0x01, "text") +
                         Bytes({0, 62, 100, 0, 0xF0, 2, 0x7E, 0xF7, 0, 64, 100});
    std::vector<MidiEvent> expected = {Ev(0, 0x90, 60, 100), Ev(0, 0x90, 62, 100),
                                       Ev(0, 0xF0, 0xF0),    Ev(0, 0xF0, 0x7E),
                                       Ev(0, 0xF0, 0xF7),    Ev(0, 0x90, 64, 100)};
    EXPECT_EQ(Tracks(Header(0, 1, 480) + Track(events))[0], expected);
}

TEST_F(SmfReaderTest, RunningStatusAtTheStartOfATrackEndsThatTrackOnly) {
    std::string file =
        Header(1, 2, 480) + Track(Bytes({0, 60, 100, 0, 0x90, 60, 100})) + Track(kNotes);
    std::vector<std::vector<MidiEvent>> tracks = Tracks(file);
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_TRUE(tracks[0].empty());
    EXPECT_EQ(tracks[1], kNoteEvents);
}

TEST_F(SmfReaderTest, SystemExclusiveInAllThreeFormsBecomesRunsOfF0Events) {
    std::string complete = Bytes({5, 0xF0, 3, 0x41, 0x10, 0xF7});
    std::string split = Bytes({7, 0xF0, 2, 0x43, 0x12, 20, 0xF7, 2, 0x00, 0xF7});
    std::string escape = Bytes({3, 0xF7, 2, 0xF3, 0x01});
    std::vector<MidiEvent> expected = {Ev(5, 0xF0, 0xF0), Ev(0, 0xF0, 0x41),  Ev(0, 0xF0, 0x10),
                                       Ev(0, 0xF0, 0xF7), Ev(7, 0xF0, 0xF0),  Ev(0, 0xF0, 0x43),
                                       Ev(0, 0xF0, 0x12), Ev(20, 0xF0, 0x00), Ev(0, 0xF0, 0xF7),
                                       Ev(3, 0xF0, 0xF3), Ev(0, 0xF0, 0x01)};
    EXPECT_EQ(Tracks(Header(0, 1, 480) + Track(complete + split + escape))[0], expected);
}

TEST_F(SmfReaderTest, AnUnfinishedSystemExclusiveMessageIsClosed) {
    // Left open by a new F0, and by the end of the track.
    std::string events = Bytes({0, 0xF0, 1, 0x41, 0, 0xF0, 0, 4, 0x90, 60, 1});
    std::vector<MidiEvent> expected = {Ev(0, 0xF0, 0xF0), Ev(0, 0xF0, 0x41),  Ev(0, 0xF0, 0xF7),
                                       Ev(0, 0xF0, 0xF0), Ev(4, 0x90, 60, 1), Ev(0, 0xF0, 0xF7)};
    EXPECT_EQ(Tracks(Header(0, 1, 480) + Track(events))[0], expected);
}

TEST_F(SmfReaderTest, TempoBecomesStatusZeroAndSkippedMetasKeepAbsoluteTimes) {
    std::string events = Meta(10, 0x51, Bytes({0x07, 0xA1, 0x20})) + Meta(5, 0x01, "text") +
                         Meta(5, 0x51, Bytes({0x07, 0xA1})) +         // wrong length
                         Meta(5, 0x51, Bytes({0, 0, 0})) +            // no tempo at all
                         Meta(5, 0x06, "") + Bytes({0, 0xF7, 0x00}) + // empty escape
                         Bytes({10, 0x90, 60, 100});
    std::vector<MidiEvent> expected = {Ev(10, 0, 0x07, 0xA1, 0x20), Ev(30, 0x90, 60, 100)};
    EXPECT_EQ(Tracks(Header(0, 1, 480) + Track(events))[0], expected);
}

TEST_F(SmfReaderTest, TrackNamesComeThroughReadMetaEvent) {
    std::string longName(200, 'x'); // a length of two bytes
    std::string file = Header(1, 4, 480) + Track(Meta(0, 3, "Gitarre \xE4") + kNotes) +
                       Track(Meta(0, 3, longName) + Meta(0, 3, "second")) + Track(kNotes) +
                       Track(Meta(0, 3, ""));
    std::optional<Loaded> loaded = LoadBytes(file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->names[0], std::optional<std::string>("Gitarre \xE4"));
    EXPECT_EQ(loaded->names[1], std::optional<std::string>(longName));
    EXPECT_EQ(loaded->names[2], std::nullopt);
    EXPECT_EQ(loaded->names[3], std::optional<std::string>(""));
    EXPECT_EQ(loaded->tracks[0], kNoteEvents);
}

TEST_F(SmfReaderTest, TheFirstEndOfTrackEndsTheTrackAndAMissingOneEndsAtTheChunk) {
    std::string afterEnd = Chunk("MTrk", kNotes + Bytes({0, 0xFF, 0x2F, 0, 0, 0x90, 70, 1}) +
                                             Bytes({0, 0xFF, 0x2F, 0}));
    std::string missing = Chunk("MTrk", kNotes);
    std::string empty = Chunk("MTrk", "");
    std::vector<std::vector<MidiEvent>> tracks =
        Tracks(Header(1, 3, 480) + afterEnd + missing + empty + Track(kNotes));
    ASSERT_EQ(tracks.size(), 4u);
    EXPECT_EQ(tracks[0], kNoteEvents);
    EXPECT_EQ(tracks[1], kNoteEvents);
    EXPECT_TRUE(tracks[2].empty());
    EXPECT_EQ(tracks[3], kNoteEvents);
}

TEST_F(SmfReaderTest, UnknownChunksAreSkippedAndTheHeaderCountIsNotTrusted) {
    std::string file = Header(1, 7, 480) + Chunk("XFIH", "whatever") + Track(kNotes) +
                       Chunk("MTrx", Bytes({0x90, 1, 2})) + Track(kNotes);
    EXPECT_EQ(Tracks(file).size(), 2u);
    EXPECT_EQ(Tracks(Header(0, 1, 480) + Track(kNotes) + Track(kNotes) + Track(kNotes)).size(), 3u);
}

TEST_F(SmfReaderTest, RiffWrapperAndLongHeaderAreAccepted) {
    std::string smf = Header(0, 1, 192) + Track(kNotes);
    auto le32 = [](std::size_t n) {
        return Bytes({int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF), int(n >> 24)});
    };
    std::string data = "data" + le32(smf.size()) + smf;
    std::string riff = "RIFF" + le32(4 + 10 + data.size()) + "RMID" + "LIST" + le32(1) + "x" +
                       std::string(1, '\0') + data;
    std::optional<Loaded> loaded = LoadBytes(riff);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->resolution, 192);
    EXPECT_EQ(loaded->tracks.at(0), kNoteEvents);

    std::string longHeader =
        Chunk("MThd", Bytes({0, 1, 0, 1, 0, 96, 0xAA, 0xBB, 0xCC})) + Track(kNotes);
    loaded = LoadBytes(longHeader);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->tracks.at(0), kNoteEvents);
}

TEST_F(SmfReaderTest, SmpteAndZeroDivisionsGiveUsableResolutions) {
    std::string tempo = Meta(0, 0x51, Bytes({0x0F, 0x42, 0x40}));
    // 25 frames of 40 ticks: 1000 ticks a second, 500 a quarter at 120 bpm;
    // the tempo event has no meaning for absolute times and is dropped.
    std::optional<Loaded> smpte = LoadBytes(Header(0, 1, 0xE728) + Track(tempo + kNotes));
    ASSERT_TRUE(smpte);
    EXPECT_EQ(smpte->resolution, 500);
    EXPECT_EQ(smpte->tracks.at(0), kNoteEvents);
    std::optional<Loaded> drop = LoadBytes(Header(0, 1, 0xE350) + Track(kNotes)); // 29.97 x 80
    ASSERT_TRUE(drop);
    EXPECT_EQ(drop->resolution, 1199);
    std::optional<Loaded> zero = LoadBytes(Header(0, 1, 0) + Track(kNotes));
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->resolution, 480);
    std::optional<Loaded> badSmpte = LoadBytes(Header(0, 1, 0x8000) + Track(kNotes));
    ASSERT_TRUE(badSmpte);
    EXPECT_EQ(badSmpte->resolution, 480);
}

TEST_F(SmfReaderTest, ChunkLengthsThatDisagreeWithTheContent) {
    std::string body = kNotes + Bytes({0, 0xFF, 0x2F, 0});
    // Too short: the track is read on to its end-of-track, the next one follows.
    std::string shortChunk = "MTrk" + Be32(3) + body;
    EXPECT_EQ(Tracks(Header(1, 2, 96) + shortChunk + Track(kNotes)),
              (std::vector<std::vector<MidiEvent>>{kNoteEvents, kNoteEvents}));
    // Too long: the next track header straight after the end-of-track is found.
    std::string longChunk = "MTrk" + Be32(std::uint32_t(body.size() + 14)) + body;
    EXPECT_EQ(Tracks(Header(1, 2, 96) + longChunk + Track(kNotes)),
              (std::vector<std::vector<MidiEvent>>{kNoteEvents, kNoteEvents}));
    // Longer than the file: what is there is read.
    std::string cut = "MTrk" + Be32(0x7FFFFFFF) + kNotes;
    EXPECT_EQ(Tracks(Header(0, 1, 96) + cut), (std::vector<std::vector<MidiEvent>>{kNoteEvents}));
}

TEST_F(SmfReaderTest, DamageEndsTheTrackAfterTheEventsBeforeIt) {
    const std::vector<std::string> damages = {
        Bytes({0x81, 0x82, 0x83, 0x84, 0x05, 0x90, 60, 100}), // delta of five bytes
        Bytes({0, 0xF2, 1, 2}),                               // system common status
        Bytes({0, 0xFE}),                                     // active sensing
        Bytes({0, 0x90, 0x80, 100}),                          // status where data belongs
        Bytes({0, 0x90, 60, 0xF8}),
        Bytes({0, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), // meta length of five bytes
        Bytes({0, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F, 'a'}),  // meta longer than the file
        Bytes({0, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 0x41}),       // sysex longer than the file
    };
    for (const std::string& damage : damages) {
        std::string file = Header(1, 2, 96) + Chunk("MTrk", kNotes + damage) + Track(kNotes);
        std::vector<std::vector<MidiEvent>> tracks = Tracks(file);
        ASSERT_GE(tracks.size(), 1u);
        EXPECT_EQ(tracks[0], kNoteEvents) << Describe(tracks[0]);
    }
}

TEST_F(SmfReaderTest, FilesThatAreNoMidiFilesAreRefused) {
    EXPECT_FALSE(LoadBytes(""));
    EXPECT_FALSE(LoadBytes("MThd"));
    EXPECT_FALSE(LoadBytes("RIFF\x04\0\0\0RMID"));
    EXPECT_FALSE(LoadBytes(Chunk("MThd", Bytes({0, 1, 0, 1})) + Track(kNotes))); // header < 6
    EXPECT_FALSE(LoadBytes("This is a text file, not a MIDI file at all."));
    EXPECT_FALSE(Load(folder_.Path() + "missing.mid"));
    EXPECT_FALSE(Load(folder_.Path()));
    EXPECT_FALSE(Load("/dev/zero")); // endless: never read
    // A header alone is a file without tracks.
    std::optional<Loaded> headerOnly = LoadBytes(Header(1, 3, 96));
    ASSERT_TRUE(headerOnly);
    EXPECT_TRUE(headerOnly->tracks.empty());
}

TEST_F(SmfReaderTest, ReadSmfHandsOutATrackInChunksAndRewindStartsAgain) {
    std::string events;
    for (int i = 0; i < 20000; ++i)
        events += Bytes({1, 0x90 | (i & 1), 60, i & 0x7F});
    std::string path = folder_.Write("big.mid", Header(0, 1, 96) + Track(events));
    std::uint16_t format = 1, tracks = 0;
    HSMF smf = OpenSMF(path.c_str(), &format, 'r', &tracks);
    ASSERT_GT(smf, MXMIDI_INVALID_HANDLE_LIMIT);
    ASSERT_EQ(tracks, 1);
    std::vector<MidiEvent> buffer(MXMIDI_SMF_CHUNK);
    EXPECT_EQ(ReadSMF(smf, 0, buffer.data(), MXMIDI_SMF_CHUNK), 8192u);
    EXPECT_EQ(ReadSMF(smf, 0, buffer.data(), MXMIDI_SMF_CHUNK), 8192u);
    EXPECT_EQ(ReadSMF(smf, 0, buffer.data(), MXMIDI_SMF_CHUNK), 3616u);
    EXPECT_EQ(buffer[3615], Ev(1, 0x91, 60, 19999 & 0x7F));
    EXPECT_EQ(ReadSMF(smf, 0, buffer.data(), MXMIDI_SMF_CHUNK), 0u);
    RewindSMF(smf);
    EXPECT_EQ(ReadSMF(smf, 0, buffer.data(), 5), 5u);
    EXPECT_EQ(buffer[0], Ev(1, 0x90, 60, 0));
    CloseSMF(smf);

    std::optional<Loaded> small = Load(path, 7); // odd chunk sizes give the same events
    std::optional<Loaded> whole = Load(path);
    ASSERT_TRUE(small && whole);
    EXPECT_EQ(small->tracks, whole->tracks);
}

TEST_F(SmfReaderTest, TruncationAtEveryByteGivesTheEventsBeforeTheCut) {
    std::string track1 = Meta(0, 3, "Melodie") + Meta(0, 0x51, Bytes({0x07, 0xA1, 0x20})) +
                         Bytes({0, 0xC0, 24,   0,    0x90, 64, 80,   0x83, 0x60, 64, 0,    0,  0xB0,
                                7, 100,  0x81, 0x00, 0xF0, 3,  0x7E, 0x01, 0xF7, 0,  0x90, 67, 70});
    std::string full =
        Header(1, 2, 480) + Track(track1) + Chunk("XUNK", "abc") + Track(kNotes + kNotes);
    std::optional<Loaded> whole = LoadBytes(full);
    ASSERT_TRUE(whole);
    for (std::size_t size = 0; size < full.size(); ++size) {
        std::optional<Loaded> cut = LoadBytes(full.substr(0, size));
        if (!cut) {
            EXPECT_LT(size, 14u) << "a whole header was refused at " << size;
            continue;
        }
        ASSERT_LE(cut->tracks.size(), whole->tracks.size());
        for (std::size_t t = 0; t < cut->tracks.size(); ++t) {
            const std::vector<MidiEvent>& part = cut->tracks[t];
            ASSERT_LE(part.size(), whole->tracks[t].size());
            EXPECT_TRUE(std::equal(part.begin(), part.end(), whole->tracks[t].begin()))
                << "cut at " << size << ", track " << t;
        }
    }
}

} // namespace
