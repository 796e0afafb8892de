// A run from start to end as a learner's course drives it: starting in the
// middle (settings caught up on, a rest on the start beat, resuming after a
// pause), the end of the piece in every case, device changes during play and
// pause, and transposition during play.
#include "tests/sequenzor/enginetest.h"

#include <QCoreApplication>
#include <algorithm>
#include <map>

namespace sequenzortest {
namespace {

class Runs : public EngineTest {
protected:
    void TearDown() override {
        EngineTest::TearDown();
        mxmidi::testing::TakeRecordedEvents(SecondPort());
    }
    static std::uint16_t SecondPort() {
        static const std::uint16_t id = mxmidi::testing::AddRecordingPort("Second Test Port");
        return id;
    }
    // Moves the clock on by `microseconds` in 1 ms steps, stopping as soon as
    // the engine reports status 2.
    static void PlayUntilEnd(std::uint64_t microseconds) {
        for (std::uint64_t done = 0; done < microseconds && MidiGetStatus() != 2; done += 1000)
            Play(1000);
    }
    // The toolkit time at which status 2 came, found in 1 ms steps.
    std::uint64_t EndTime(std::uint64_t within) {
        PlayUntilEnd(within);
        return mxmidi::testing::ClockNow() - startedAt_;
    }
};

// One note per beat on channel 0 (note number = beat), on for 100 ticks,
// except on the beats listed as rests.
void BeatNotes(int beats, std::initializer_list<int> rests) {
    std::uint32_t last = 0;
    for (int beat = 0; beat < beats; ++beat) {
        if (std::find(rests.begin(), rests.end(), beat) != rests.end()) continue;
        const std::uint32_t on = static_cast<std::uint32_t>(beat) * 480;
        EngineTest::Put(0, on - last, 0x90, static_cast<std::uint8_t>(beat), 100);
        EngineTest::Put(0, 100, 0x80, static_cast<std::uint8_t>(beat), 0);
        last = on + 100;
    }
}

std::vector<SentEvent> NoteOns(const std::vector<SentEvent>& sent) {
    std::vector<SentEvent> ons;
    for (const SentEvent& e : sent)
        if ((e.status & 0xF0) == 0x90 && e.data2 > 0) ons.push_back(e);
    return ons;
}

// --- Seek --------------------------------------------------------------------

TEST_F(Runs, EverySettingBeforeTheStartPointArrivesBeforeTheFirstNote) {
    MidiNewTrackList(2);
    // Track 0: 1,500 pitch bends, then the program and volume after them.
    Put(0, 0, 0x00, 0x0F, 0x42, 0x40); // 60 bpm
    for (int i = 0; i < 1500; ++i)
        Put(0, 1, 0xE0, static_cast<std::uint8_t>(i % 128), static_cast<std::uint8_t>(i / 128));
    Put(0, 100, 0xC0, 25);
    Put(0, 100, 0xB0, 7, 90);
    Put(0, 1920 - 1700, 0x90, 60, 100); // the first note, on beat 4
    Put(0, 480, 0x80, 60, 0);
    // Track 1: 320 different controllers, 16 channels x 20, each set twice.
    for (int round = 0; round < 2; ++round)
        for (int channel = 0; channel < 16; ++channel)
            for (int controller = 21; controller <= 40; ++controller)
                Put(1, 1, static_cast<std::uint8_t>(0xB0 + channel),
                    static_cast<std::uint8_t>(controller), static_cast<std::uint8_t>(round));

    Start(32);
    Play(1100000);
    const std::vector<SentEvent> sent = Sent();
    const auto firstNote = std::find_if(sent.begin(), sent.end(),
                                        [](const SentEvent& e) { return e.status == 0x90; });
    ASSERT_NE(firstNote, sent.end());
    EXPECT_NEAR(SinceStart(*firstNote), 0, 1);
    std::map<int, int> controllers; // (channel << 8 | controller) -> last value sent
    int bends = 0, program = -1, lastBend = -1;
    for (auto e = sent.begin(); e != firstNote; ++e) {
        if ((e->status & 0xF0) == 0xB0) controllers[((e->status & 0x0F) << 8) | e->data1] = e->data2;
        if (e->status == 0xE0) ++bends, lastBend = e->data1 | (e->data2 << 7);
        if (e->status == 0xC0) program = e->data1;
    }
    EXPECT_EQ(program, 25);
    EXPECT_EQ(lastBend, (1499 % 128) | ((1499 / 128) << 7));
    EXPECT_EQ(bends, 1); // only the value in force at the start point
    EXPECT_EQ(controllers[7], 90);
    ASSERT_EQ(controllers.size(), 16u * 20u + 1u);
    for (int channel = 0; channel < 16; ++channel)
        for (int controller = 21; controller <= 40; ++controller)
            EXPECT_EQ(controllers[(channel << 8) | controller], 1);
    // The chased tempo holds from the start: the note-off 480 ticks on comes
    // one second later.
    const auto off = std::find_if(sent.begin(), sent.end(),
                                  [](const SentEvent& e) { return e.status == 0x80; });
    ASSERT_NE(off, sent.end());
    EXPECT_NEAR(SinceStart(*off), 1000000, 2);
}

TEST_F(Runs, RestOnTheStartBeatKeepsMusicAndCounterTogether) {
    MidiNewTrackList(1);
    BeatNotes(12, {2, 7});
    Start(16); // beat 2 is a rest
    EXPECT_EQ(MidiGetBeats(), 2);
    PlayUntilBeat(3);
    std::vector<SentEvent> ons = NoteOns(Sent());
    ASSERT_EQ(ons.size(), 1u);
    EXPECT_EQ(ons[0].data1, 3);
    EXPECT_NEAR(SinceStart(ons[0]), 500000, 1); // on beat 3, with the counter

    // The course resumes after a pause where the counter stood.
    PlayUntilBeat(6);
    const int kept = MidiPause(1);
    ASSERT_EQ(kept, 6);
    Play(300000);
    Sent();
    Start(kept * 8);
    PlayUntilBeat(8);
    ons = NoteOns(Sent());
    ASSERT_EQ(ons.size(), 2u); // beats 6 and 8; 7 is a rest
    EXPECT_EQ(ons[0].data1, 6);
    EXPECT_NEAR(SinceStart(ons[0]), 0, 1);
    EXPECT_EQ(ons[1].data1, 8);
    EXPECT_NEAR(SinceStart(ons[1]), 1000000, 1);
    EXPECT_EQ(MidiGetBeats(), 8);
}

// --- The end of the piece ----------------------------------------------------

TEST_F(Runs, WithoutAnOutputThePieceEndsAtItsOwnTimeAndTempo) {
    char unknown[] = "No Such Device";
    ASSERT_EQ(MidiSetDeviceByName(unknown), 0);
    MidiNewTrackList(1);
    Put(0, 0, 0x00, 0x0F, 0x42, 0x40); // 60 bpm
    Put(0, 0, 0x90, 60, 100);
    Put(0, 960, 0x80, 60, 0); // two beats: two seconds
    Start(0);
    EXPECT_NEAR(static_cast<double>(EndTime(5000000)), 2000000, 1000);
    EXPECT_EQ(MidiGetStatus(), 2);
    EXPECT_EQ(MidiGetBeats(), 2);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(Runs, StartPastTheLastEventOrWithNoTracksEndsAtOnce) {
    MidiNewTrackList(1);
    BeatNotes(4, {});
    Start(80);
    EXPECT_EQ(MidiGetStatus(), 1);
    EXPECT_LE(EndTime(1000000), 1000u);
    EXPECT_EQ(MidiGetStatus(), 2);

    MidiNewTrackList(0);
    Start(0);
    EXPECT_LE(EndTime(1000000), 1000u);
    EXPECT_EQ(MidiGetStatus(), 2);
}

TEST_F(Runs, PauseBetweenTheLastEventAndTheEndNoticeStillEndsAfterResume) {
    MidiNewTrackList(1);
    BeatNotes(1, {});
    Start(0);
    // The last event is sent and the end is on its way when the learner pauses.
    mxmidi::testing::AdvanceClock(200000);
    MidiPause(1);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(MidiGetStatus(), 3);
    Play(500000);
    EXPECT_EQ(MidiGetStatus(), 3);
    MidiReStart();
    EXPECT_EQ(MidiGetStatus(), 1);
    Play(1000);
    EXPECT_EQ(MidiGetStatus(), 2);
}

// --- Device changes ----------------------------------------------------------

// 600 notes, one every 24 ticks (25 ms), each on for 12 ticks: more than the
// queue and a send block hold.
constexpr std::uint32_t kNoteStep = 24;
void LongPiece() {
    MidiNewTrackList(1);
    for (int i = 0; i < 600; ++i) {
        EngineTest::Put(0, i == 0 ? 0 : kNoteStep / 2, 0x90, static_cast<std::uint8_t>(i % 100),
                        100);
        EngineTest::Put(0, kNoteStep / 2, 0x80, static_cast<std::uint8_t>(i % 100), 0);
    }
}

// Every note-on of the piece, from both ports, in order and on time; no
// note-on left without a note-off on its own port.
void ExpectWholePieceOnTime(const std::vector<SentEvent>& first,
                            const std::vector<SentEvent>& second, double startedAt) {
    std::vector<SentEvent> ons = NoteOns(first);
    const std::vector<SentEvent> later = NoteOns(second);
    ons.insert(ons.end(), later.begin(), later.end());
    ASSERT_EQ(ons.size(), 600u);
    for (std::size_t i = 0; i < ons.size(); ++i) {
        ASSERT_EQ(ons[i].data1, i % 100) << i;
        ASSERT_NEAR(static_cast<double>(ons[i].microseconds) - startedAt,
                    static_cast<double>(i) * kNoteStep * kMicrosecondsPerTick, 1)
            << i;
    }
    for (const std::vector<SentEvent>* port : {&first, &second}) {
        std::map<int, int> sounding;
        for (const SentEvent& e : *port) {
            if ((e.status & 0xF0) == 0x90 && e.data2 > 0) ++sounding[e.data1];
            if ((e.status & 0xF0) == 0x80 && sounding[e.data1] > 0) --sounding[e.data1];
        }
        for (const auto& [note, count] : sounding)
            EXPECT_EQ(count, 0) << "note " << note << " left sounding";
    }
}

TEST_F(Runs, DeviceChangeDuringPlayKeepsEveryEventAndTheTiming) {
    LongPiece();
    Start(0);
    Play(3330000); // while a note sounds
    ASSERT_EQ(MidiSetDeviceByID(SecondPort()), 1);
    PlayUntilEnd(20000000);
    EXPECT_EQ(MidiGetStatus(), 2);
    ExpectWholePieceOnTime(Sent(), mxmidi::testing::TakeRecordedEvents(SecondPort()),
                           static_cast<double>(startedAt_));
}

TEST_F(Runs, DeviceChangeWhilePausedDoesNotStall) {
    LongPiece();
    Start(0);
    Play(5000000);
    MidiPause(1);
    ASSERT_EQ(MidiSetDeviceByID(SecondPort()), 1);
    MidiReStart();
    PlayUntilEnd(20000000);
    EXPECT_EQ(MidiGetStatus(), 2);
    // The pause moved the rest of the piece on by nothing: it was taken at
    // once, so the times still count from the start.
    ExpectWholePieceOnTime(Sent(), mxmidi::testing::TakeRecordedEvents(SecondPort()),
                           static_cast<double>(startedAt_));
}

// --- Transposition -----------------------------------------------------------

TEST_F(Runs, TransposingDuringPlayLeavesNoNoteHanging) {
    MidiNewTrackList(1);
    Put(0, 0, 0x90, 60, 100);
    for (int i = 0; i < 700; ++i) // the note-off lies beyond the first send block
        Put(0, 1, 0xB0, 1, static_cast<std::uint8_t>(i % 128));
    Put(0, 300, 0x80, 60, 0); // tick 1000
    Put(0, 100, 0x90, 64, 100);
    Put(0, 100, 0x80, 64, 0);
    Start(0);
    Play(100000);
    MidiTransposeChannel(2, 0);
    Play(1300000);
    std::vector<SentEvent> offs;
    for (const SentEvent& e : Sent())
        if (e.status == 0x80 || e.status == 0x90) offs.push_back(e);
    ASSERT_GE(offs.size(), 4u);
    EXPECT_EQ((std::vector<int>{offs[0].status, offs[0].data1}), (std::vector<int>{0x90, 60}));
    EXPECT_EQ((std::vector<int>{offs[1].status, offs[1].data1}), (std::vector<int>{0x80, 60}));
    EXPECT_NEAR(SinceStart(offs[1]), 1000 * kMicrosecondsPerTick, 1); // at its own time
    EXPECT_EQ((std::vector<int>{offs[2].status, offs[2].data1}), (std::vector<int>{0x90, 66}));
    EXPECT_EQ((std::vector<int>{offs[3].status, offs[3].data1}), (std::vector<int>{0x80, 66}));
}

} // namespace
} // namespace sequenzortest
