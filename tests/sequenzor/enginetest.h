#pragma once
// The frame of Sequenzor's tests: an initialised engine on the toolkit's
// manual clock, playing into a recording port.

#include "mxmidi/testing.h"
#include "sequenzor/sequenzor.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sequenzortest {

using mxmidi::testing::SentEvent;

inline constexpr unsigned long kAppend = 0xFFFFFFFFul;
inline constexpr double kMicrosecondsPerTick = 500000.0 / 480.0; // 120 bpm, 480 ticks

// Each test starts with MidiInitWin done, an empty track list, the toolkit's
// clock standing still, and the output on a recording port.
class EngineTest : public ::testing::Test {
public:
    // Appends an event to `track`.
    static void Put(int track, std::uint32_t delta, std::uint8_t status, std::uint8_t data1,
                    std::uint8_t data2 = 0, std::uint8_t data3 = 0);

protected:
    void SetUp() override;
    void TearDown() override;

    // Starts play and remembers the toolkit time it started at.
    void Start(int start, int length = 0, double bpm = 0.0);
    // Moves the clock on by `microseconds` in 1 ms steps, handling the
    // engine's notifications after every step, as its thread would.
    static void Play(std::uint64_t microseconds);
    // Moves on until the beat counter reaches `beats` (at most ten seconds).
    static void PlayUntilBeat(int beats);
    // What the recording port sent since the last call.
    std::vector<SentEvent> Sent() const;
    // What was sent without the note-offs (the toolkit ends every run by
    // silencing the notes still sounding).
    std::vector<SentEvent> SentWithoutNoteOffs() const;
    // Only the events with `status`, as their data1 bytes.
    std::vector<int> SentNotes(std::uint8_t status = 0x90) const;
    // Microseconds since the last Start of an event sent.
    double SinceStart(const SentEvent& event) const;
    // MidiTrackDump's text, and its lines after the two header lines.
    std::string Dump() const;
    std::vector<std::string> DumpRows() const;

    testsupport::TempFolder folder_;
    std::uint16_t port_ = 0;
    std::uint64_t startedAt_ = 0;
};

} // namespace sequenzortest
