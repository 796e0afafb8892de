// The built-in synthesizer on the manual clock: every message sounds at its
// own frame wherever the periods fall, and the sound sleeps while nothing
// sounds without losing or delaying the first note after it.

#include "mxmiditestsupport.h"

#include <cmath>
#include <limits>
#include <set>

using namespace mxmiditest;
using mxmidi::testing::AdvanceClock;
using mxmidi::testing::SynthCapture;

namespace {

constexpr double kBlockMicroseconds = 64 * 1e6 / 44100; // FluidSynth's block
constexpr double kMicrosecondsPerTick = 500000.0 / 480;

// How far after `due` the click due at `due` begins in the capture, in µs:
// the first sample above a hundredth of full scale (well above the reverb
// left of earlier sounds, reached within a few samples of a click's start)
// from 5 ms before it on; infinity when there is none within 50 ms.
double OnsetAfter(const SynthCapture& capture, double due) {
    const double from = due - 5000.0;
    auto index = static_cast<std::int64_t>(
        std::ceil((from - double(capture.firstDue)) * 44100 / 1e6));
    for (index = std::max<std::int64_t>(index, 0);
         index < std::int64_t(capture.samples.size()); ++index) {
        const double time = double(capture.firstDue) + double(index) * 1e6 / 44100;
        if (time > due + 50000.0) break;
        if (std::fabs(capture.samples[std::size_t(index)]) > 0.01f) return time - due;
    }
    return std::numeric_limits<double>::infinity();
}

constexpr std::uint8_t kDrums = 0x99;  // note on, percussion channel
constexpr std::uint8_t kClaves = 75;   // a click with a sharp start

// The synthesizer timed by a timer at 120 beats a minute, 480 ticks each.
class SynthTest : public ::testing::Test {
protected:
    void SetUp() override {
        mxmidi::testing::UseManualClock();
        sync = OpenSync(0, &syncWindow, 0, 10);
        out = OpenMidiOut(&outWindow, 0, sync, 0x33320);
        ASSERT_GT(out, MXMIDI_INVALID_HANDLE_LIMIT) << "sound font missing?";
        mxmidi::testing::TakeSynthOutput();
    }
    void TearDown() override {
        ResetMidiOut(out);
        CloseMidiOut(out);
        CloseSync(sync);
        DeliverNotifications();
        mxmidi::testing::UseSteadyClock();
    }
    void Now(std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0) {
        const MidiEvent event{MXMIDI_NOW, status, data1, data2, 0};
        ASSERT_EQ(PutMidiOut(out, &event), 0);
    }
    void Queue(std::uint32_t delta, std::uint8_t status, std::uint8_t data1,
               std::uint8_t data2 = 0) {
        const MidiEvent event{delta, status, data1, data2, 0};
        ASSERT_EQ(PutMidiOut(out, &event), 0);
    }

    Receiver syncWindow;
    Receiver outWindow;
    HSYNC sync = 0;
    HMOUT out = 0;
};

TEST_F(SynthTest, EveryNoteSoundsAtItsOwnFrameWhereverThePeriodsFall) {
    mxmidi::testing::StartSynthCapture();
    StartSync(sync);
    // Clicks 173 ticks (180.2 ms) apart: they fall all over the 512-frame
    // periods in which the sound is rendered.
    std::vector<double> dues;
    for (int click = 0; click < 12; ++click) {
        Queue(173, kDrums, kClaves, 127);
        dues.push_back(std::floor(double(173 * (click + 1)) * kMicrosecondsPerTick));
    }
    AdvanceClock(173 * 13 * 1042);
    const SynthCapture capture = mxmidi::testing::TakeSynthCapture();
    ASSERT_FALSE(capture.samples.empty());
    std::set<int> periodEighths;
    for (double due : dues) {
        EXPECT_LT(std::fabs(OnsetAfter(capture, due)), kBlockMicroseconds)
            << "click due at " << due << " µs";
        periodEighths.insert(int((due - double(capture.firstDue)) * 44100 / 1e6) % 512 / 64);
    }
    // The clicks did fall into different parts of their periods.
    EXPECT_GE(periodEighths.size(), 5u);
}

TEST_F(SynthTest, SleepsWhenQuietAndTheFirstNoteAfterwardsIsNeitherLostNorLate) {
    // Nothing sent: nothing rendered.
    AdvanceClock(2000000);
    EXPECT_EQ(mxmidi::testing::TakeSynthOutput().frames, 0u);

    Now(0x90, 64, 110);
    AdvanceClock(300000);
    Now(0x80, 64, 0);
    AdvanceClock(700000);
    mxmidi::testing::SynthOutput sounding = mxmidi::testing::TakeSynthOutput();
    EXPECT_GT(sounding.peak, 0.01f);
    // At real-time pace, from a latency before the first message on.
    const double latency = GetMidiOutLatency(out);
    EXPECT_NEAR(double(sounding.frames), (1e6 + latency) * 44100 / 1e6, 512.0);

    // Five quiet seconds after the note died away it sleeps: nothing more is
    // rendered.
    AdvanceClock(8000000);
    mxmidi::testing::TakeSynthOutput();
    EXPECT_FALSE(mxmidi::testing::GetSynthCounts().awake);
    AdvanceClock(30000000);
    EXPECT_EQ(mxmidi::testing::TakeSynthOutput().frames, 0u);

    // A note queued on the timer while it sleeps, due between two periods of
    // whatever clock it wakes to, sounds at its time.
    mxmidi::testing::StartSynthCapture();
    StartSync(sync);
    const double startedAt = double(mxmidi::testing::ClockNow());
    Queue(1001, kDrums, kClaves, 127);
    AdvanceClock(2000000);
    const SynthCapture first = mxmidi::testing::TakeSynthCapture();
    const double due = startedAt + std::floor(1001 * kMicrosecondsPerTick);
    EXPECT_LT(std::fabs(OnsetAfter(first, due)), kBlockMicroseconds);
    EXPECT_GT(mxmidi::testing::TakeSynthOutput().peak, 0.01f);

    // A note sent at once after another long silence, the same.
    AdvanceClock(20000000);
    EXPECT_FALSE(mxmidi::testing::GetSynthCounts().awake);
    mxmidi::testing::StartSynthCapture();
    AdvanceClock(3217);
    const double sentAt = double(mxmidi::testing::ClockNow());
    Now(kDrums, kClaves, 127);
    AdvanceClock(500000);
    EXPECT_LT(std::fabs(OnsetAfter(mxmidi::testing::TakeSynthCapture(), sentAt)),
              kBlockMicroseconds);
}

TEST_F(SynthTest, OutputsShareTheSynthesizerAndTheLastOneClosedSilencesIt) {
    Now(0x90, 60, 110); // held
    HMOUT second = OpenMidiOut(nullptr, MXMIDI_MAPPER, 0, 0);
    ASSERT_GT(second, MXMIDI_INVALID_HANDLE_LIMIT);
    EXPECT_EQ(GetMidiOutLatency(second), GetMidiOutLatency(out));
    EXPECT_GT(GetMidiOutLatency(out), 0u);
    CloseMidiOut(second);
    AdvanceClock(200000);
    EXPECT_GT(mxmidi::testing::TakeSynthOutput().peak, 0.01f);

    // Closed with the note still held: it must not come back.
    CloseMidiOut(out);
    AdvanceClock(500000);
    EXPECT_EQ(mxmidi::testing::TakeSynthOutput().frames, 0u);
    out = OpenMidiOut(&outWindow, 0, sync, 0);
    ASSERT_GT(out, MXMIDI_INVALID_HANDLE_LIMIT);
    Now(0xB0, 7, 100); // wakes it, sounds nothing
    AdvanceClock(300000);
    mxmidi::testing::SynthOutput after = mxmidi::testing::TakeSynthOutput();
    EXPECT_GT(after.frames, 0u);
    // At most the reverb of what sounded before; the held note was loud.
    EXPECT_LT(after.peak, 0.01f);
}

} // namespace
