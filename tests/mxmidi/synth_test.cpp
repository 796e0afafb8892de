// The built-in synthesizer, paced by the manual clock.

#include "mxmiditestsupport.h"

using namespace mxmiditest;

TEST(SynthTest, RendersAtRealTimePaceAndSoundsAfterANoteOn) {
    mxmidi::testing::UseManualClock();
    HMOUT out = OpenMidiOut(nullptr, MXMIDI_MAPPER, 0, 0x33320);
    ASSERT_GT(out, MXMIDI_INVALID_HANDLE_LIMIT) << "sound font missing?";
    mxmidi::testing::TakeSynthOutput();

    mxmidi::testing::AdvanceClock(100000);
    mxmidi::testing::SynthOutput quiet = mxmidi::testing::TakeSynthOutput();
    EXPECT_EQ(quiet.frames, 4352u); // 4410 frames due, whole blocks of 64
    EXPECT_LT(quiet.peak, 1e-4f);

    MidiEvent noteOn{MXMIDI_NOW, 0x90, 60, 110, 0};
    ASSERT_EQ(PutMidiOut(out, &noteOn), 0);
    mxmidi::testing::AdvanceClock(100000);
    mxmidi::testing::SynthOutput sounding = mxmidi::testing::TakeSynthOutput();
    EXPECT_EQ(sounding.frames, 8768u - 4352u);
    EXPECT_GT(sounding.peak, 0.01f);

    // A second output on the synthesizer shares it; closing one keeps it.
    HMOUT second = OpenMidiOut(nullptr, 0, 0, 0);
    ASSERT_GT(second, MXMIDI_INVALID_HANDLE_LIMIT);
    CloseMidiOut(second);
    mxmidi::testing::AdvanceClock(800000);
    EXPECT_EQ(mxmidi::testing::TakeSynthOutput().frames, 44096u - 8768u);

    // With no output on it the synthesizer is not rendered at all.
    ResetMidiOut(out);
    CloseMidiOut(out);
    mxmidi::testing::AdvanceClock(500000);
    EXPECT_EQ(mxmidi::testing::TakeSynthOutput().frames, 0u);

    // Opened again, it starts from the same sound font, at once.
    out = OpenMidiOut(nullptr, 0, 0, 0);
    ASSERT_GT(out, MXMIDI_INVALID_HANDLE_LIMIT);
    mxmidi::testing::AdvanceClock(100000);
    EXPECT_EQ(mxmidi::testing::TakeSynthOutput().frames, 4352u);
    CloseMidiOut(out);
    mxmidi::testing::UseSteadyClock();
}
