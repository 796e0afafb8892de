// Playback: start points and the chase, the end limit, the merge order,
// tempo, mute, channel volume, transposition and the end of a piece.
#include "sequenzor/engine.h"
#include "tests/sequenzor/enginetest.h"

namespace sequenzortest {
namespace {

using Player = EngineTest;

// Notes (on only) at the given ticks of track 0, note number = index.
void NotesAt(std::initializer_list<std::uint32_t> ticks) {
    std::uint32_t last = 0;
    int note = 0;
    for (std::uint32_t tick : ticks) {
        EngineTest::Put(0, tick - last, 0x90, static_cast<std::uint8_t>(note++), 100);
        last = tick;
    }
}

TEST_F(Player, StartBeatSkipsEarlierNotesAndCatchesUpOnState) {
    MidiNewTrackList(1);
    Put(0, 100, 0xC0, 33);       // program change at 100: chased
    Put(0, 0, 0x90, 100, 100);   // note at 100: never sent
    Put(0, 378, 0x90, 101, 100); // 478: before S
    Put(0, 1, 0x90, 102, 100);   // 479 = S: played
    Put(0, 239, 0x90, 103, 100); // 718
    Put(0, 1, 0x90, 104, 100);   // 719
    Put(0, 241, 0x90, 105, 100); // 960

    Start(8);
    EXPECT_EQ(MidiGetBeats(), 1);
    Play(600000);
    std::vector<SentEvent> sent = Sent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0].status, 0xC0);
    EXPECT_EQ(sent[0].data1, 33);
    EXPECT_NEAR(SinceStart(sent[0]), 0, 1);
    std::vector<int> notes;
    for (const SentEvent& e : sent)
        if (e.status == 0x90) notes.push_back(e.data1);
    EXPECT_EQ(notes, (std::vector<int>{102, 103, 104, 105}));
    // The earliest event after the start point goes at once.
    EXPECT_NEAR(SinceStart(sent[1]), 0, 1);

    Start(12);
    EXPECT_EQ(MidiGetBeats(), 2);
    Play(600000);
    EXPECT_EQ(SentNotes(), (std::vector<int>{104, 105}));
}

TEST_F(Player, EndLimitIsKeptUntilAStartFromTheBeginning) {
    MidiNewTrackList(1);
    NotesAt({0, 239, 240, 480, 959, 960, 1200});
    Start(0, 16);
    EXPECT_EQ(sequenzor::TheEngine().Out().EndLimit(), 960u);
    Play(1500000);
    EXPECT_EQ(SentNotes(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(MidiGetStatus(), 2); // the piece ends at its limit
    EXPECT_EQ(MidiIsRunning(), 0);

    Start(4);
    EXPECT_EQ(sequenzor::TheEngine().Out().EndLimit(), 960u);
    Play(1500000);
    EXPECT_EQ(SentNotes(), (std::vector<int>{1, 2, 3, 4}));

    Start(0);
    EXPECT_EQ(sequenzor::TheEngine().Out().EndLimit(), 0u);
    Play(1500000);
    EXPECT_EQ(SentNotes(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(Player, LimitedPlayLeavesNoNoteSounding) {
    MidiNewTrackList(1);
    Put(0, 0, 0x90, 60, 100);
    Put(0, 2000, 0x80, 60, 0); // its end lies beyond the limit
    Start(0, 8);
    Play(2500000);
    std::vector<SentEvent> sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].status & 0xF0, 0x80);
    EXPECT_EQ(sent[1].data1, 60);
}

TEST_F(Player, EqualTicksGoInTrackOrder) {
    MidiNewTrackList(3);
    Put(2, 0, 0x92, 62, 1);
    Put(1, 0, 0x91, 61, 1);
    Put(0, 0, 0x90, 60, 1);
    Put(2, 100, 0x82, 62, 0);
    Put(0, 100, 0x80, 60, 0);
    Put(1, 100, 0x81, 61, 0);
    Start(0);
    Play(300000);
    std::vector<int> order;
    for (const SentEvent& e : Sent())
        order.push_back(e.status);
    EXPECT_EQ(order, (std::vector<int>{0x90, 0x91, 0x92, 0x80, 0x81, 0x82}));
}

TEST_F(Player, ExclusiveRunKeepsTheMergeOnItsTrack) {
    MidiNewTrackList(2);
    Put(0, 100, 0xF0, 0xF0);
    Put(0, 50, 0xF0, 0x01);
    Put(0, 50, 0xF0, 0x02);
    Put(0, 50, 0xF0, 0xF7);
    Put(1, 120, 0x90, 60, 100);
    Put(1, 280, 0x90, 61, 100);
    Start(0);
    Play(600000);
    std::vector<int> bytes;
    for (const SentEvent& e : SentWithoutNoteOffs())
        bytes.push_back(e.data1);
    EXPECT_EQ(bytes, (std::vector<int>{0xF0, 0x01, 0x02, 0xF7, 60, 61}));
}

TEST_F(Player, TempoArithmetic) {
    EXPECT_EQ(MidiSetTempo(0.0), 1);
    EXPECT_EQ(MidiGetTempo(), 120.0);
    EXPECT_EQ(MidiSetTempo(90.0), 1);
    EXPECT_DOUBLE_EQ(MidiGetTempo(), 60000000.0 / 666666.0);
    EXPECT_NEAR(MidiGetTempo(), 90.00009, 1e-6);
    EXPECT_EQ(MidiSetTempo(-60.0), 0);
    EXPECT_NEAR(MidiGetTempo(), 90.00009, 1e-6);
    EXPECT_EQ(MidiSetTempo(1e-9), 0); // no timer counts that slowly
}

TEST_F(Player, TempoArgumentAndFileTempoChangesTimeTheEvents) {
    MidiNewTrackList(1);
    NotesAt({0, 480});
    Start(0, 0, 60.0);
    Play(1100000);
    std::vector<SentEvent> sent = SentWithoutNoteOffs();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_NEAR(SinceStart(sent[1]), 1000000, 1);

    MidiNewTrackList(2);
    Put(0, 0, 0x00, 0x0F, 0x42, 0x40);   // 1,000,000 µs per quarter
    Put(0, 960, 0x00, 0x03, 0xD0, 0x90); // 250,000 from tick 960
    for (int i = 0; i < 4; ++i)
        Put(1, i == 0 ? 0 : 480, 0x90, static_cast<std::uint8_t>(60 + i), 1);
    Start(0);
    Play(2300000);
    sent = SentWithoutNoteOffs();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_NEAR(SinceStart(sent[1]), 1000000, 1);
    EXPECT_NEAR(SinceStart(sent[2]), 2000000, 1);
    EXPECT_NEAR(SinceStart(sent[3]), 2250000, 1);
    EXPECT_EQ(MidiGetBeats(), 3);
    EXPECT_DOUBLE_EQ(MidiGetTempo(), 240.0);
}

TEST_F(Player, IgnoredFileTempoIsStillChasedAndKeepsTheTiming) {
    MidiNewTrackList(2);
    Put(0, 0, 0x00, 0x0F, 0x42, 0x40);   // 60 bpm at 0
    Put(0, 480, 0x00, 0x03, 0xD0, 0x90); // 240 bpm at 480
    Put(1, 480, 0x90, 60, 1);
    Put(1, 480, 0x90, 61, 1);
    MidiIgnoreSMFTempo(true);
    MidiSetTempo(120.0);
    Start(0);
    Play(1100000);
    EXPECT_EQ(MidiGetTempo(), 120.0);
    std::vector<SentEvent> sent = SentWithoutNoteOffs();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_NEAR(SinceStart(sent[0]), 500000, 1); // not moved by the dropped tempo events
    EXPECT_NEAR(SinceStart(sent[1]), 1000000, 1);

    Start(16); // S = 959: both tempo events lie before it
    Play(1000);
    EXPECT_EQ(MidiGetTempo(), 240.0);
}

TEST_F(Player, MuteRestartsAtTheNextBeat) {
    MidiNewTrackList(2);
    for (int beat = 0; beat < 10; ++beat) {
        Put(0, beat == 0 ? 0 : 480, 0x90, 60, static_cast<std::uint8_t>(beat + 1));
        Put(1, beat == 0 ? 0 : 480, 0x91, 70, static_cast<std::uint8_t>(beat + 1));
    }
    Start(0);
    PlayUntilBeat(5);
    ASSERT_EQ(MidiGetBeats(), 5);
    Sent();
    MidiSetTrackMute(1, 1);
    EXPECT_EQ(MidiGetBeats(), 6);
    EXPECT_EQ(MidiGetStatus(), 1);
    EXPECT_EQ(MidiGetTrackMute(1), 1);
    EXPECT_EQ(MidiGetTrackMute(0), 0);
    Play(3000000);
    std::vector<int> beats;
    for (const SentEvent& e : Sent()) {
        EXPECT_NE(e.status, 0x91);
        if (e.status == 0x90) beats.push_back(e.data2);
    }
    EXPECT_EQ(beats, (std::vector<int>{7, 8, 9, 10}));

    MidiStop();
    MidiSetTrackMute(1, 0); // not playing: no restart
    EXPECT_EQ(MidiGetStatus(), 2);
    EXPECT_EQ(MidiGetTrackMute(1), 0);
    EXPECT_EQ(MidiGetTrackMute(7), 0);
}

TEST_F(Player, StartAtAKeptBeatCountsOnFromIt) {
    MidiNewTrackList(1);
    for (int beat = 0; beat < 8; ++beat)
        Put(0, beat == 0 ? 0 : 480, 0x90, 60, 1);
    Start(0);
    PlayUntilBeat(3);
    const int kept = MidiPause(1);
    EXPECT_EQ(kept, 3);
    Start(kept * 8);
    EXPECT_EQ(MidiGetBeats(), 3);
    Play(510000);
    EXPECT_EQ(MidiGetBeats(), 4);
}

TEST_F(Player, EndOfThePieceStopsWithStatusTwo) {
    MidiNewTrackList(1);
    Put(0, 0, 0x90, 60, 100);
    Put(0, 240, 0x80, 60, 0);
    Start(0);
    Play(200000);
    EXPECT_EQ(MidiGetStatus(), 1);
    Play(200000);
    EXPECT_EQ(MidiGetStatus(), 2);
    EXPECT_EQ(MidiIsRunning(), 0);
}

TEST_F(Player, LongPieceRefillsTheQueueInOrderAndOnTime) {
    // 3 x 1000 events, more than a send block and the toolkit's queue hold.
    MidiNewTrackList(3);
    for (int i = 0; i < 1000; ++i)
        for (int t = 0; t < 3; ++t)
            Put(t, i == 0 ? static_cast<std::uint32_t>(t) : 7, static_cast<std::uint8_t>(0x90 + t),
                static_cast<std::uint8_t>(i % 128), 1);
    Start(0);
    Play(7400000);
    std::vector<SentEvent> sent = SentWithoutNoteOffs();
    ASSERT_EQ(sent.size(), 3000u);
    for (std::size_t n = 0; n < sent.size(); ++n) {
        const int track = static_cast<int>(n % 3);
        const double tick = static_cast<double>(n / 3) * 7 + track;
        ASSERT_EQ(sent[n].status, 0x90 + track) << n;
        ASSERT_NEAR(SinceStart(sent[n]), tick * kMicrosecondsPerTick, 1) << n;
    }
    EXPECT_EQ(MidiGetStatus(), 2);
}

TEST_F(Player, ChannelMuteAndVolumeAreSentAtOnce) {
    MidiChannelMute(3, 1);
    MidiChannelMute(3, 0);
    MidiChannelMute(16, 1);
    MidiChannelMute(-1, 1);
    MidiSetChannelVolume(90, 15);
    MidiSetChannelVolume(90, 16);
    MidiSetChannelVolume(200, 2); // kept a data byte
    std::vector<SentEvent> sent = Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ((std::vector<int>{sent[0].status, sent[0].data1, sent[0].data2}),
              (std::vector<int>{0xB3, 7, 0}));
    EXPECT_EQ((std::vector<int>{sent[1].status, sent[1].data1, sent[1].data2}),
              (std::vector<int>{0xB3, 7, 127}));
    EXPECT_EQ((std::vector<int>{sent[2].status, sent[2].data2}), (std::vector<int>{0xBF, 90}));
    EXPECT_EQ((std::vector<int>{sent[3].status, sent[3].data2}), (std::vector<int>{0xB2, 127}));
}

TEST_F(Player, TranspositionChangesStoredNotesOnly) {
    MidiNewTrackList(1);
    Put(0, 0, 0x90, 0x3C, 0x64);
    Put(0, 0, 0xB0, 0x07, 0x64);
    Put(0, 0, 0x80, 0x3C, 0x00);
    Put(0, 0, 0x91, 0x3C, 0x64);
    MidiTransposeChannel(254, 0);
    EXPECT_EQ(DumpRows(), (std::vector<std::string>{"0 90 3A 64 0 0 0", "0 B0 7 64 0 0 0",
                                                    "0 80 3A 0 0 0 0", "0 91 3C 64 0 0 0"}));
    MidiTransposeChannel(5, 16); // no such channel
    MidiTransposeAll(2);
    EXPECT_EQ(DumpRows(), (std::vector<std::string>{"0 90 3C 64 0 0 0", "0 B0 7 64 0 0 0",
                                                    "0 80 3C 0 0 0 0", "0 91 3E 64 0 0 0"}));
}

} // namespace
} // namespace sequenzortest
