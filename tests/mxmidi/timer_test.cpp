// The delta-time queue and the timer, run on the manual clock.

#include "mxmiditestsupport.h"

using namespace mxmiditest;
using mxmidi::testing::AdvanceClock;
using ::testing::ElementsAre;

using TimerTest = TimerFixture;

TEST_F(TimerTest, EventsGoOutAtTheTimeOfTheirTicks) {
    StartSync(sync);
    EXPECT_EQ(Put(Event(0, 0x90, 60, 100)), 0);
    EXPECT_EQ(Put(Event(480, 0x80, 60, 0)), 0);
    EXPECT_EQ(Put(Event(240, 0x90, 62, 100)), 0); // deltas count from the previous event
    AdvanceClock(499999);
    EXPECT_THAT(SentTimes(), ElementsAre(0u));
    AdvanceClock(1000000);
    EXPECT_THAT(SentTimes(), ElementsAre(500000u, 750000u));
}

TEST_F(TimerTest, TempoEventAppliesExactlyWhereItStandsAndIsNotSent) {
    StartSync(sync);
    Put(Event(0, 0x90, 60, 100));
    Put(TempoEvent(480, 250000));
    Put(Event(0, 0x80, 60, 0));
    Put(Event(480, 0x90, 64, 100));
    Put(Event(1, 0x80, 64, 0)); // one tick at the new tempo: 520.83 µs, rounded down
    AdvanceClock(2000000);
    std::vector<mxmidi::testing::SentEvent> sent = Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].microseconds, 0u);
    EXPECT_EQ(sent[1].microseconds, 500000u);
    EXPECT_EQ(sent[1].status, 0x80);
    EXPECT_EQ(sent[2].microseconds, 750000u);
    EXPECT_EQ(sent[3].microseconds, 750520u);
    EXPECT_EQ(GetTempo(sync), 250000u);
}

TEST_F(TimerTest, ManyTempoChangesDoNotDrift) {
    // 200 quarter notes alternating between two tempi whose ticks are not
    // whole microseconds: the last note lands on the exact sum.
    StartSync(sync);
    const std::uint32_t tempi[2] = {333333, 700001};
    std::uint64_t scaledTotal = 0; // µs × 480
    for (int quarter = 0; quarter < 200; ++quarter) {
        std::uint32_t tempo = tempi[quarter % 2];
        ASSERT_EQ(Put(TempoEvent(quarter == 0 ? 0 : 480, tempo)), 0);
        scaledTotal += 480ull * tempo;
    }
    Put(Event(480, 0x90, 60, 1));
    AdvanceClock(200ull * 700001);
    std::vector<std::uint64_t> times = SentTimes();
    ASSERT_EQ(times.size(), 1u);
    EXPECT_EQ(times[0], scaledTotal / 480);
}

TEST_F(TimerTest, BeatsCountQuarterNotesAndFollowTheTempo) {
    StartSync(sync);
    Put(TempoEvent(960, 250000));  // from the third quarter on, twice as fast
    Put(Event(1920, 0x90, 60, 1)); // keeps the run going
    AdvanceClock(999999);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_BEAT), 1);
    AdvanceClock(1); // 1.0 s: second beat
    AdvanceClock(250000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_BEAT), 3);
    AdvanceClock(250000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_BEAT), 4);
    for (const auto& note : syncWindow.received)
        EXPECT_EQ(note.handle, sync);
}

TEST_F(TimerTest, BeatsOfAnEarlierRunAreDropped) {
    StartSync(sync);
    AdvanceClock(1000000); // two beats posted, not yet delivered
    StartSync(sync);       // the client starts over
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_BEAT), 0);
    AdvanceClock(500000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_BEAT), 1);
}

TEST_F(TimerTest, FullQueueRefusesAndOffersRoomOnceHalfIsPlayed) {
    StartSync(sync);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(Put(Event(10, 0xB0, 7, 100)), 0) << i;
    EXPECT_EQ(Put(Event(10, 0xB0, 7, 100)), MXMIDI_QUEUE_FULL);
    // Event k is at tick 10k; the 128th (leaving 128) at 1333333.3 µs.
    AdvanceClock(1333332);
    DeliverNotifications();
    EXPECT_EQ(outWindow.Count(MXMIDI_MSG_OUT_ROOM), 0);
    EXPECT_EQ(Sent().size(), 127u);
    AdvanceClock(1);
    AdvanceClock(100000);
    DeliverNotifications();
    ASSERT_EQ(outWindow.Count(MXMIDI_MSG_OUT_ROOM), 1);
    EXPECT_EQ(outWindow.received[0].handle, out);
    // The refused event is taken now and keeps its place in time.
    EXPECT_EQ(Put(Event(10, 0xB0, 7, 1)), 0);
    AdvanceClock(10000000);
    std::vector<mxmidi::testing::SentEvent> sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().data2, 1);
    EXPECT_EQ(sent.back().microseconds, 2570ull * 500000 / 480);
}

TEST_F(TimerTest, EndComesOnceWhenEverythingQueuedWasPlayed) {
    StartSync(sync);
    Put(Event(0, 0x90, 60, 100));
    Put(Event(960, 0x80, 60, 0));
    AdvanceClock(999999);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 0);
    AdvanceClock(1);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1);
    AdvanceClock(5000000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1);
}

TEST_F(TimerTest, QueueRunningDryWhileTheClientRefillsEndsNothing) {
    // The queue drains before the client handles the room notification: no
    // end, since a refused event is still waiting.
    StartSync(sync);
    for (int i = 0; i < 256; ++i)
        Put(Event(i == 0 ? 0 : 48, 0x90, 60, 100));
    ASSERT_EQ(Put(Event(48, 0x80, 60, 0)), MXMIDI_QUEUE_FULL);
    AdvanceClock(60000000);
    EXPECT_EQ(Sent().size(), 256u);
    DeliverNotifications();
    EXPECT_EQ(outWindow.Count(MXMIDI_MSG_OUT_ROOM), 1);
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 0);
    // The client refills late; the event is sent at once (it is overdue).
    EXPECT_EQ(Put(Event(48, 0x80, 60, 0)), 0);
    AdvanceClock(0);
    EXPECT_EQ(Sent().size(), 1u);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1);
}

TEST_F(TimerTest, QueueEmptyForAMomentDuringPrimingEndsNothing) {
    StartSync(sync);
    Put(Event(0, 0xC0, 24));
    AdvanceClock(0);                // sent at once: the queue is empty, an end candidate is posted
    Put(Event(480, 0x90, 60, 100)); // ... but the client was still handing over
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 0);
    AdvanceClock(500000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1);
}

TEST_F(TimerTest, FlushEndsTheRunEvenWhenTheTimerIsStoppedRightAfter) {
    StartSync(sync);
    Put(Event(0, 0x90, 60, 100));
    Put(Event(480, 0x80, 60, 0));
    AdvanceClock(0);
    FlushMidiOut(out);
    StopSync(sync);
    AdvanceClock(1000000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1);
    // Flushed: the note-off was not sent from the queue; StopSync turned
    // the sounding note off instead.
    std::vector<mxmidi::testing::SentEvent> sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].status, 0x80);
    EXPECT_EQ(sent[1].microseconds, 0u);
}

TEST_F(TimerTest, PauseAndResumeKeepThePosition) {
    StartSync(sync);
    Put(Event(0, 0x90, 60, 100));
    Put(Event(480, 0x80, 60, 0));
    Put(Event(480, 0x90, 62, 100));
    AdvanceClock(600000);
    PauseSync(sync, 0);
    AdvanceClock(1000000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_BEAT), 1);
    ReStartSync(sync);
    AdvanceClock(1000000);
    DeliverNotifications();
    EXPECT_THAT(SentTimes(), ElementsAre(0u, 500000u, 2000000u));
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_BEAT), 3); // at 0.5 s, 2.0 s, 2.5 s
}

TEST_F(TimerTest, PauseWithFlagAndStopSilenceSoundingNotes) {
    StartSync(sync);
    Put(Event(0, 0x91, 60, 100));
    Put(Event(0, 0xB1, 64, 127));
    Put(Event(960, 0x81, 60, 0));
    AdvanceClock(0);
    Sent();
    PauseSync(sync, 1);
    std::vector<mxmidi::testing::SentEvent> sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].status, 0x81);
    EXPECT_EQ(sent[0].data1, 60);
    EXPECT_EQ(sent[1].status, 0xB1);
    EXPECT_EQ(sent[1].data1, 64);
    EXPECT_EQ(sent[1].data2, 0);
    // Stopping drops what is still queued.
    StopSync(sync);
    AdvanceClock(2000000);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(TimerTest, RestartDropsTheEventsOfTheRunInProgress) {
    StartSync(sync);
    Put(Event(480, 0x90, 60, 100));
    StartSync(sync);
    Put(Event(960, 0x90, 62, 100));
    AdvanceClock(2000000);
    std::vector<mxmidi::testing::SentEvent> sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].data1, 62);
    EXPECT_EQ(sent[0].microseconds, 1000000u);
}

TEST_F(TimerTest, EventsQueuedBeforeTheStartWaitForIt) {
    Put(Event(480, 0x90, 60, 100));
    AdvanceClock(1000000);
    EXPECT_TRUE(Sent().empty());
    StartSync(sync);
    AdvanceClock(500000);
    EXPECT_THAT(SentTimes(), ElementsAre(1500000u));
}

TEST_F(TimerTest, EventsAtOnceGoAheadOfTheQueue) {
    Put(Event(0, 0x90, 60, 100));
    EXPECT_EQ(Put(Event(MXMIDI_NOW, 0xB3, 7, 0)), 0);
    std::vector<mxmidi::testing::SentEvent> sent = Sent();
    ASSERT_EQ(sent.size(), 1u); // the timer is not started: only the immediate one
    EXPECT_EQ(sent[0].status, 0xB3);
    // A tempo sent at once changes the timer without reaching the device.
    EXPECT_EQ(Put(TempoEvent(MXMIDI_NOW, 600000)), 0);
    EXPECT_EQ(GetTempo(sync), 600000u);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(TimerTest, SetTempoWhileRunningAppliesFromTheNextTick) {
    StartSync(sync);
    Put(Event(960, 0x90, 60, 100));
    AdvanceClock(500000); // exactly tick 480
    EXPECT_EQ(SetTempo(sync, 1000000), 0);
    AdvanceClock(2000000);
    EXPECT_THAT(SentTimes(), ElementsAre(1500000u));
    EXPECT_EQ(SetTempo(sync, 0), 1);
    EXPECT_EQ(GetTempo(sync), 1000000u);
}

TEST_F(TimerTest, ResolutionSetsTheTickLength) {
    SetResolution(sync, 96);
    SetResolution(sync, 0); // ignored
    EXPECT_EQ(GetResolution(sync), 96);
    StartSync(sync);
    Put(Event(96, 0x90, 60, 100));
    AdvanceClock(600000);
    EXPECT_THAT(SentTimes(), ElementsAre(500000u));
}

TEST_F(TimerTest, SystemExclusiveRunIsGatheredAcrossRefusals) {
    StartSync(sync);
    const std::uint8_t bytes[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    Put(Event(0, 0xF0, bytes[0]));
    Put(Event(0, 0xF0, bytes[1]));
    AdvanceClock(0); // half the run reached the timer: nothing sent yet
    EXPECT_TRUE(Sent().empty());
    for (int i = 2; i < 6; ++i)
        Put(Event(0, 0xF0, bytes[i]));
    AdvanceClock(0);
    std::vector<mxmidi::testing::SentEvent> sent = Sent();
    ASSERT_EQ(sent.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(sent[i].data1, bytes[i]);
    // A run cut short by another message is dropped, the message is sent.
    Put(Event(0, 0xF0, 0xF0));
    Put(Event(0, 0xF0, 0x41));
    Put(Event(0, 0x90, 60, 100));
    Put(Event(0, 0xF0, 0xF7));
    Put(Event(0, 0xF7)); // an F7 status on its own is no message
    AdvanceClock(0);
    sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].status, 0x90);
}

TEST_F(TimerTest, DeviceChangedDuringPlayOffersRoomAndKeepsTheTimeLine) {
    StartSync(sync);
    Put(Event(480, 0x90, 60, 100));
    Put(Event(480, 0x90, 62, 100));
    AdvanceClock(600000);
    ResetMidiOut(out); // a second output replaces the first during play
    CloseMidiOut(out);
    Receiver other;
    out = OpenMidiOut(&other, portId, sync, 0x33320);
    ASSERT_GT(out, MXMIDI_INVALID_HANDLE_LIMIT);
    DeliverNotifications();
    ASSERT_EQ(other.Count(MXMIDI_MSG_OUT_ROOM), 1);
    EXPECT_EQ(other.received[0].handle, out);
    // Its next delta counts from the last event it handed over (tick 960).
    Put(Event(480, 0x90, 64, 100));
    AdvanceClock(2000000);
    std::vector<mxmidi::testing::SentEvent> sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].microseconds, 500000u);
    EXPECT_EQ(sent[1].status, 0x80); // the reset silenced the sounding note
    EXPECT_EQ(sent[2].data1, 64);
    EXPECT_EQ(sent[2].microseconds, 1500000u);
}

TEST_F(TimerTest, UnknownHandlesAreRefusedQuietly) {
    MidiEvent event = Event(0, 0x90, 60, 100);
    EXPECT_EQ(PutMidiOut(7, &event), MXMIDI_BAD_HANDLE);
    EXPECT_EQ(PutMidiOut(out, nullptr), MXMIDI_BAD_HANDLE);
    EXPECT_EQ(SetTempo(7, 500000), 1);
    EXPECT_EQ(GetTempo(7), 0u);
    EXPECT_EQ(GetResolution(7), 0);
    StartSync(7);
    PauseSync(7, 1);
    ReStartSync(7);
    StopSync(7);
    ResetMidiOut(7);
    FlushMidiOut(7);
    CloseMidiOut(7);
    CloseSync(7);
    EXPECT_EQ(GetTempo(sync), 500000u); // defaults
    EXPECT_EQ(GetResolution(sync), 480);
}
