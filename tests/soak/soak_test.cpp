// A thousand rounds of what the transport asks of the engine, over the
// exercise files of all 30 lessons at all levels: open the lesson's level
// file, play, pause, resume, stop, change the level, loop the last bars twice.
// The engine plays on the toolkit's manual clock into "MIDI Log"; after each
// step the status and the beat counter must agree with what was asked, and
// after each pause, stop and end no note may be left sounding at the port.
// Prints the figures of the run.

#include "mxmidi/testing.h"
#include "sequenzor/sequenzor.h"
#include "tests/soak/notebalance.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int kCycles = 1000;
constexpr int kLessons = 30;
constexpr int kLevels = 10;
constexpr std::uint64_t kStep = 10000;          // µs per clock step while playing
constexpr std::uint64_t kLongest = 600000000;   // no pass may run longer (10 min)

std::string ContentFolder() {
#ifdef SOAK_CONTENT_DIR
    if (std::getenv("ZUPFARI_BIN_DIR") == nullptr) return std::string(SOAK_CONTENT_DIR) + "/";
#endif
    return testsupport::BinFolder();
}

std::string ExerciseFile(int lesson, int level) {
    return ContentFolder() + "Midi/uebung" + std::to_string(lesson) + "_" + std::to_string(level) +
           ".mid";
}

long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> value;
            return value;
        }
        status.ignore(256, '\n');
    }
    return 0;
}

// Moves the clock on, delivering the engine's notifications after every step.
void Advance(std::uint64_t microseconds) {
    for (std::uint64_t done = 0; done < microseconds; done += kStep) {
        mxmidi::testing::AdvanceClock(kStep);
        QCoreApplication::sendPostedEvents();
    }
}

class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        MidiStop();
        mxmidi::testing::UseManualClock();
        ASSERT_EQ(MidiInitWin(QCoreApplication::instance()), 1);
        char name[32] = "MIDI Log";
        const unsigned short id = MidiGetDeviceID(name);
        ASSERT_NE(id, 0xFFFF) << "no \"MIDI Log\" device";
        ASSERT_EQ(MidiSetDeviceByID(id), 1);
        MidiIgnoreSMFTempo(false);
    }
    void TearDown() override {
        MidiStop();
        MidiClearTrackList();
        QCoreApplication::sendPostedEvents();
        mxmidi::testing::UseSteadyClock();
    }

    // Plays until the beat counter reaches `beats` or the piece ends.
    static void PlayUntilBeat(int beats) {
        for (std::uint64_t t = 0; t < kLongest && MidiGetStatus() == 1 && MidiGetBeats() < beats;
             t += kStep)
            Advance(kStep);
    }
    // Plays to the end of the piece; false when it does not end.
    static bool PlayToEnd() {
        for (std::uint64_t t = 0; t < kLongest && MidiGetStatus() == 1; t += kStep)
            Advance(kStep);
        return MidiGetStatus() == 2;
    }
    // No note sounding at the port (checked after every pause, stop and end).
    void ExpectSilence(const char* after, int cycle) {
        std::string error;
        ASSERT_TRUE(log_.ReadNew(&error)) << error;
        ASSERT_EQ(log_.Sounding(), 0)
            << "cycle " << cycle << ": " << log_.FirstSounding() << " still sounds after " << after;
    }
    // The engine does not move while it is not playing.
    static void ExpectStandingStill(int status, int cycle) {
        const int beats = MidiGetBeats();
        Advance(200000);
        ASSERT_EQ(MidiGetStatus(), status) << "cycle " << cycle;
        ASSERT_EQ(MidiGetBeats(), beats) << "cycle " << cycle;
        ASSERT_EQ(MidiIsRunning(), 0) << "cycle " << cycle;
    }

    void Cycle(int cycle);

    testsupport::TempFolder folder_;
    std::string logPath_ = folder_.Path() + "midi.log";
    testsupport::ScopedEnv logEnv_{"MXMIDI_LOG", logPath_};
    soak::NoteBalance log_{logPath_};
};

void Soak::Cycle(int cycle) {
    const int lesson = cycle % kLessons;
    const int level = cycle / kLessons % kLevels + 1;
    const int otherLevel = level % kLevels + 1;

    // Open the lesson: its level file goes into the engine.
    ASSERT_EQ(MidiLoadFile(ExerciseFile(lesson, level).c_str()), 1) << ExerciseFile(lesson, level);
    ASSERT_EQ(MidiGetStatus(), 2);
    // Play a few beats.
    ASSERT_EQ(MidiStart(0, 0, 0.0), 1);
    ASSERT_EQ(MidiGetStatus(), 1);
    ASSERT_EQ(MidiIsRunning(), 1);
    const int target = 2 + cycle % 5;
    PlayUntilBeat(target);
    ASSERT_EQ(MidiGetStatus(), 1) << "cycle " << cycle << ": ended before beat " << target;
    ASSERT_GE(MidiGetBeats(), target);
    // Pause: the counter is kept and stands still.
    const int paused = MidiPause(1);
    ASSERT_EQ(paused, MidiGetBeats());
    ASSERT_EQ(MidiGetStatus(), 3);
    ASSERT_NO_FATAL_FAILURE(ExpectStandingStill(3, cycle));
    ASSERT_NO_FATAL_FAILURE(ExpectSilence("pause", cycle));
    // Resume where it was paused, as the transport does.
    ASSERT_EQ(MidiStart(paused * 8, 0, 0.0), 1);
    ASSERT_EQ(MidiGetStatus(), 1);
    ASSERT_GE(MidiGetBeats(), paused);
    PlayUntilBeat(paused + 1);
    ASSERT_GE(MidiGetBeats(), paused);
    // Stop.
    MidiStop();
    ASSERT_EQ(MidiGetStatus(), 2);
    ASSERT_NO_FATAL_FAILURE(ExpectStandingStill(2, cycle));
    ASSERT_NO_FATAL_FAILURE(ExpectSilence("stop", cycle));
    // Another level: load its file while stopped and play a beat.
    ASSERT_EQ(MidiLoadFile(ExerciseFile(lesson, otherLevel).c_str()), 1);
    ASSERT_EQ(MidiGetStatus(), 2);
    ASSERT_EQ(MidiStart(0, 0, 0.0), 1);
    PlayUntilBeat(2);
    MidiStop();
    ASSERT_NO_FATAL_FAILURE(ExpectSilence("level change", cycle));
    // Loop on: the last stretch from the pause beat to the end, twice.
    for (int pass = 1; pass <= 2; ++pass) {
        ASSERT_EQ(MidiStart(paused * 8, 0, 0.0), 1);
        ASSERT_TRUE(PlayToEnd()) << "cycle " << cycle << " pass " << pass << " never ended";
        ASSERT_GE(MidiGetBeats(), paused);
        ASSERT_EQ(MidiIsRunning(), 0);
        ASSERT_NO_FATAL_FAILURE(ExpectSilence("the end of a pass", cycle));
    }
    ASSERT_NO_FATAL_FAILURE(ExpectStandingStill(2, cycle));
}

TEST_F(Soak, ThousandTransportCyclesOverEveryLessonLeaveNoNoteSounding) {
    for (int lesson = 0; lesson < kLessons; ++lesson)
        for (int level = 1; level <= kLevels; ++level)
            ASSERT_TRUE(std::ifstream(ExerciseFile(lesson, level)).good())
                << ExerciseFile(lesson, level) << " missing: build the content first";
    const auto started = std::chrono::steady_clock::now();
    const std::uint64_t clockAtStart = mxmidi::testing::ClockNow();
    for (int cycle = 0; cycle < kCycles; ++cycle)
        ASSERT_NO_FATAL_FAILURE(Cycle(cycle)) << "in cycle " << cycle;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // A note off for a key that is not sounding is harmless: a resume
    // inside a held note plays the note's own off.
    EXPECT_GT(log_.NotesOn(), static_cast<std::uint64_t>(kCycles));
    std::printf("soak: %d cycles over %d lessons x %d levels in %.1f s (%.0f s of music), "
                "%llu log lines, %llu notes on, 0 sounding, %d offs of silent keys, "
                "peak RSS %ld kB\n",
                kCycles, kLessons, kLevels, seconds,
                static_cast<double>(mxmidi::testing::ClockNow() - clockAtStart) / 1e6,
                static_cast<unsigned long long>(log_.Lines()),
                static_cast<unsigned long long>(log_.NotesOn()), log_.StrayOffs(),
                PeakResidentKb());
}

} // namespace
