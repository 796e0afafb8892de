// Moving an output to another device while it plays or pauses, outputs with
// no device, and the end of a run that the client marks or that a pause
// delays. On the manual clock.

#include "mxmiditestsupport.h"

#include <cstring>

using namespace mxmiditest;
using mxmidi::testing::AdvanceClock;
using ::testing::ElementsAre;

namespace {

class SwitchAndEnd : public TimerFixture {
protected:
    void SetUp() override {
        TimerFixture::SetUp();
        otherId = mxmidi::testing::AddRecordingPort("Other Port");
    }
    std::vector<mxmidi::testing::SentEvent> OtherSent() {
        return mxmidi::testing::TakeRecordedEvents(otherId);
    }
    std::uint16_t otherId = 0;
};

TEST_F(SwitchAndEnd, SwitchDuringPlayKeepsTheQueueAndSilencesTheOldDevice) {
    StartSync(sync);
    Put(Event(0, 0x90, 60, 100));
    Put(Event(480, 0x80, 60, 0));
    Put(Event(480, 0x90, 62, 100));
    AdvanceClock(100000);
    EXPECT_EQ(SwitchMidiOut(out, otherId), 1);
    std::vector<mxmidi::testing::SentEvent> old = Sent();
    ASSERT_EQ(old.size(), 2u);
    EXPECT_EQ(old[1].status, 0x80); // the sounding note, off on the old device
    EXPECT_EQ(old[1].microseconds, 100000u);
    AdvanceClock(1000000);
    std::vector<mxmidi::testing::SentEvent> moved = OtherSent();
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(moved[0].microseconds, 500000u);
    EXPECT_EQ(moved[1].data1, 62);
    EXPECT_EQ(moved[1].microseconds, 1000000u);
    DeliverNotifications();
    EXPECT_EQ(outWindow.Count(MXMIDI_MSG_OUT_ROOM), 0); // no refill asked for: nothing was lost
}

TEST_F(SwitchAndEnd, SwitchWhilePausedStillOffersRoomAfterTheResume) {
    StartSync(sync);
    for (int i = 0; i < 256; ++i)
        Put(Event(i == 0 ? 0 : 10, 0x90, 60, 1));
    ASSERT_EQ(Put(Event(10, 0x90, 61, 1)), MXMIDI_QUEUE_FULL);
    AdvanceClock(100000);
    PauseSync(sync, 1);
    EXPECT_EQ(SwitchMidiOut(out, otherId), 1);
    ReStartSync(sync);
    AdvanceClock(3000000);
    DeliverNotifications();
    EXPECT_EQ(outWindow.Count(MXMIDI_MSG_OUT_ROOM), 1);
    EXPECT_EQ(Sent().size() + OtherSent().size(), 256u + 1u); // + the note the pause silenced
}

TEST_F(SwitchAndEnd, SwitchToNoDeviceOrAFailingOneGoesOnTimedAndSilent) {
    StartSync(sync);
    Put(Event(0, 0x90, 60, 100));
    Put(TempoEvent(0, 1000000));
    Put(Event(480, 0x80, 60, 0));
    AdvanceClock(0);
    EXPECT_EQ(SwitchMidiOut(out, MXMIDI_NO_DEVICE), 1);
    EXPECT_EQ(SwitchMidiOut(out, 0xFFF0), 0); // no such device
    EXPECT_EQ(SwitchMidiOut(7, portId), 0);   // no such output
    Sent();
    AdvanceClock(999999);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 0);
    AdvanceClock(1);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1); // at the slower tempo
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SwitchAndEnd, OutputWithNoDeviceKeepsTempoBeatsAndEnd) {
    Receiver silentWindow;
    HMOUT silent = OpenMidiOut(&silentWindow, MXMIDI_NO_DEVICE, sync, 0);
    ASSERT_GT(silent, MXMIDI_INVALID_HANDLE_LIMIT);
    StartSync(sync);
    MidiEvent tempo = TempoEvent(0, 250000);
    MidiEvent last = Event(960, 0x90, 60, 100);
    PutMidiOut(silent, &tempo);
    PutMidiOut(silent, &last);
    AdvanceClock(500000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_BEAT), 2);
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1);
    EXPECT_TRUE(Sent().empty());
    CloseMidiOut(silent);
}

TEST_F(SwitchAndEnd, MarkedEndComesAtOnceWhenNothingIsQueued) {
    StartSync(sync);
    AdvanceClock(100000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 0); // the timer alone ends nothing
    MarkMidiOutEnd(out);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1);

    // Marked with events still queued: after the last of them.
    StartSync(sync);
    Put(Event(480, 0x90, 60, 100));
    MarkMidiOutEnd(out);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1);
    AdvanceClock(500000);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 2);
}

TEST_F(SwitchAndEnd, EndThatFindsTheTimerPausedComesAfterTheResume) {
    StartSync(sync);
    Put(Event(0, 0x90, 60, 100));
    AdvanceClock(0); // sent: the end is on its way
    PauseSync(sync, 0);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 0);
    ReStartSync(sync);
    DeliverNotifications();
    EXPECT_EQ(syncWindow.Count(MXMIDI_MSG_SYNC_END), 1);
}

TEST_F(SwitchAndEnd, TimerReportsHowItIsScheduled) {
    const std::string scheduling = GetTimerScheduling();
    const bool known = scheduling.rfind("SCHED_", 0) == 0 || scheduling.rfind("nice", 0) == 0 ||
                       scheduling.rfind("normal", 0) == 0;
    EXPECT_TRUE(known) << scheduling;
}

} // namespace
