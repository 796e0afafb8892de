// The engine's time line: its clock, the times of the run's beats and the
// chosen device's output latency.
#include "sequenzor/sequenzortiming.h"
#include "tests/sequenzor/enginetest.h"

#include <chrono>

namespace sequenzortest {
namespace {

using Timing = EngineTest;

constexpr long long kBeat = 500000; // µs per quarter note at the default 120

// A note on every beat of track 0 for `beats` beats, with an optional tempo
// event (µs per quarter) at the start of beat `tempoBeat`.
void BeatNotes(int beats, int tempoBeat = -1, std::uint32_t tempo = 0) {
    MidiNewTrackList(1);
    for (int beat = 0; beat < beats; ++beat) {
        if (beat == tempoBeat)
            EngineTest::Put(0, beat == 0 ? 0 : 240, 0, (tempo >> 16) & 0xFF, (tempo >> 8) & 0xFF,
                            tempo & 0xFF);
        const std::uint32_t delta = beat == 0 ? 0 : (beat == tempoBeat ? 0 : 240);
        EngineTest::Put(0, delta, 0x90, 60, 100);
        EngineTest::Put(0, 240, 0x80, 60, 0);
    }
}

TEST_F(Timing, ClockIsTheToolkitsAndTheSteadyClockOutsideTests) {
    const long long before = MidiGetClock();
    mxmidi::testing::AdvanceClock(1234);
    EXPECT_EQ(MidiGetClock(), before + 1234);

    mxmidi::testing::UseSteadyClock();
    const auto steady = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
    EXPECT_NEAR(double(MidiGetClock()), double(steady), 50000.0);
    mxmidi::testing::UseManualClock();
}

TEST_F(Timing, OnTheSteadyClockARunBeginsAMomentAfterItIsAskedFor) {
    // The timer thread is woken by the start; it must be awake before the
    // first events are due, or they go out as late as its wake-up took.
    BeatNotes(8);
    mxmidi::testing::UseSteadyClock();
    const long long asked = MidiGetClock();
    Start(0);
    const long long begins = MidiGetBeatTime(0);
    EXPECT_GE(begins - asked, 5000);
    EXPECT_LE(begins - asked, 50000); // not so long that a learner would notice
    EXPECT_EQ(MidiGetBeatTime(1) - begins, kBeat);
    // Going on after a pause: the beats still to come move by the pause and
    // by the same moment.
    const long long secondBefore = MidiGetBeatTime(2);
    MidiPause(1);
    const long long paused = MidiGetClock();
    MidiReStart();
    const long long resumed = MidiGetClock();
    const long long moved = MidiGetBeatTime(2) - secondBefore;
    EXPECT_GE(moved, 5000);
    EXPECT_LE(moved, resumed - paused + 50000);
    MidiStop();
    mxmidi::testing::UseManualClock();
}

TEST_F(Timing, BeatTimesAreKnownAheadAndMatchWhenTheCounterGetsThere) {
    // Twice as fast from beat 4 on: the file's tempo event counts before it
    // is reached.
    BeatNotes(8, 4, 250000);
    EXPECT_EQ(MidiGetBeatTime(1), -1); // no run yet
    Start(0);
    const long long t0 = MidiGetClock();
    EXPECT_EQ(MidiGetBeatTime(0), t0);
    EXPECT_EQ(MidiGetBeatTime(1), t0 + kBeat);
    EXPECT_EQ(MidiGetBeatTime(4), t0 + 4 * kBeat);
    EXPECT_EQ(MidiGetBeatTime(6), t0 + 4 * kBeat + 2 * kBeat / 2);
    const long long expected[] = {0, kBeat, 2 * kBeat, 3 * kBeat, 4 * kBeat, 4 * kBeat + kBeat / 2,
                                  5 * kBeat, 5 * kBeat + kBeat / 2};
    for (int beat = 1; beat < 8; ++beat) {
        PlayUntilBeat(beat);
        ASSERT_EQ(MidiGetBeats(), beat);
        // The counter moves on the first 1 ms step at or after the beat.
        EXPECT_GE(MidiGetClock(), t0 + expected[beat]) << beat;
        EXPECT_LT(MidiGetClock(), t0 + expected[beat] + 1000) << beat;
        // Beats passed keep their times, also across the tempo change.
        for (int earlier = 0; earlier <= beat; ++earlier)
            EXPECT_EQ(MidiGetBeatTime(earlier), t0 + expected[earlier]) << beat << " " << earlier;
    }
}

TEST_F(Timing, AStartInThePieceCountsFromItsOwnBeat) {
    BeatNotes(8);
    Start(24); // beat counter 3
    const long long t0 = MidiGetClock();
    EXPECT_EQ(MidiGetBeats(), 3);
    EXPECT_EQ(MidiGetBeatTime(1), t0);
    EXPECT_EQ(MidiGetBeatTime(3), t0);
    EXPECT_EQ(MidiGetBeatTime(4), t0 + kBeat);
    PlayUntilBeat(4);
    EXPECT_LT(MidiGetClock() - (t0 + kBeat), 1000);
}

TEST_F(Timing, TempoSetDuringPlayMovesTheBeatsStillToCome) {
    BeatNotes(8);
    Start(0);
    const long long t0 = MidiGetClock();
    Play(kBeat + kBeat / 2); // half way into the second beat
    ASSERT_EQ(MidiSetTempo(60.0), 1);
    EXPECT_EQ(MidiGetBeatTime(1), t0 + kBeat);
    // The rest of beat 2 (half a beat) at half the speed.
    EXPECT_NEAR(double(MidiGetBeatTime(2)), double(t0 + kBeat + kBeat / 2 + kBeat), 3.0);
    EXPECT_NEAR(double(MidiGetBeatTime(3)), double(t0 + kBeat + kBeat / 2 + 3 * kBeat), 3.0);
}

TEST_F(Timing, PauseLeavesTheFutureUnknownAndTheResumeShiftsIt) {
    BeatNotes(8);
    Start(0);
    const long long t0 = MidiGetClock();
    PlayUntilBeat(2);
    Play(100000);
    MidiPause(0);
    const long long pausedAt = MidiGetClock();
    Play(3000000);
    EXPECT_EQ(MidiGetBeatTime(2), t0 + 2 * kBeat);
    EXPECT_EQ(MidiGetBeatTime(3), -1);
    const long long pausedFor = MidiGetClock() - pausedAt;
    MidiReStart();
    EXPECT_EQ(MidiGetBeatTime(1), t0 + kBeat);
    EXPECT_EQ(MidiGetBeatTime(3), t0 + 3 * kBeat + pausedFor);
    PlayUntilBeat(3);
    EXPECT_LT(MidiGetClock() - (t0 + 3 * kBeat + pausedFor), 1000);
}

TEST_F(Timing, NoRunAfterStopOrTheEndOfThePiece) {
    BeatNotes(2);
    Start(0);
    EXPECT_GE(MidiGetBeatTime(1), 0);
    MidiStop();
    EXPECT_EQ(MidiGetBeatTime(1), -1);
    Start(0);
    Play(3 * kBeat);
    ASSERT_EQ(MidiGetStatus(), 2);
    EXPECT_EQ(MidiGetBeatTime(1), -1);
}

TEST_F(Timing, DevicesThatSendAtOnceHaveNoLatency) {
    EXPECT_EQ(MidiGetOutputLatency(), 0); // the recording port
    char unknown[] = "No Such Device";
    EXPECT_EQ(MidiSetDeviceByName(unknown), 0);
    EXPECT_EQ(MidiGetOutputLatency(), 0); // nothing open
}

} // namespace
} // namespace sequenzortest
