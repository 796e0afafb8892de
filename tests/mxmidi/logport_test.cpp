// The "MIDI Log" port's file format.

#include "mxmiditestsupport.h"
#include "tests/support/testsupport.h"

#include <QtGlobal>
#include <cstdio>
#include <fstream>
#include <string>

using namespace mxmiditest;
using ::testing::ElementsAre;

namespace {

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(LogPortTest, WritesOneLinePerEventWithTimeAndHexBytes) {
    testsupport::TempFolder folder;
    std::string path = folder.Path() + "midi.log";
    qputenv("MXMIDI_LOG", path.c_str());
    mxmidi::testing::UseManualClock();
    mxmidi::testing::AdvanceClock(7000); // the log counts from its opening

    Receiver window;
    HSYNC sync = OpenSync(0, &window, 0, 10);
    std::uint16_t id = GetNumOutDevices() - 1;
    HMOUT out = OpenMidiOut(&window, id, sync, 0x33320);
    ASSERT_GT(out, MXMIDI_INVALID_HANDLE_LIMIT);
    StartSync(sync);
    const MidiEvent events[] = {
        {MXMIDI_NOW, 0xC0, 24, 0, 0}, {0, 0x90, 60, 100, 0}, {0, 0, 0x03, 0xD0, 0x90},
        {480, 0x80, 60, 0, 0},        {0, 0xF0, 0xF0, 0, 0}, {0, 0xF0, 0x43, 0, 0},
        {0, 0xF0, 0x10, 0, 0},        {0, 0xF0, 0xF7, 0, 0}, {1, 0xE0, 0x00, 0x40, 0},
    };
    for (const MidiEvent& event : events)
        ASSERT_EQ(PutMidiOut(out, &event), 0);
    mxmidi::testing::AdvanceClock(1000000);
    CloseMidiOut(out);
    CloseSync(sync);
    qunsetenv("MXMIDI_LOG");
    mxmidi::testing::UseSteadyClock();

    // Tempo 250000 from tick 0: tick 480 at 250000 µs, tick 481 at 250520.
    EXPECT_THAT(Lines(path), ElementsAre("0 C0 18 00", "0 90 3C 64", "250000 80 3C 00",
                                         "250000 F0 43 10 F7", "250520 E0 00 40"));
}

TEST(LogPortTest, AppendsToAnExistingFile) {
    testsupport::TempFolder folder;
    std::string path = folder.Write("midi.log", "earlier line\n");
    qputenv("MXMIDI_LOG", path.c_str());
    HMOUT out = OpenMidiOut(nullptr, GetNumOutDevices() - 1, 0, 0);
    MidiEvent event{MXMIDI_NOW, 0xB0, 7, 127, 0};
    PutMidiOut(out, &event);
    CloseMidiOut(out);
    qunsetenv("MXMIDI_LOG");
    std::vector<std::string> lines = Lines(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "earlier line");
    EXPECT_NE(lines[1].find(" B0 07 7F"), std::string::npos) << lines[1];
}

TEST(LogPortTest, OnTheSteadyClockAllLinesAreInTheFileOnceClosed) {
    testsupport::TempFolder folder;
    std::string path = folder.Path() + "midi.log";
    qputenv("MXMIDI_LOG", path.c_str());
    HMOUT out = OpenMidiOut(nullptr, GetNumOutDevices() - 1, 0, 0);
    ASSERT_GT(out, MXMIDI_INVALID_HANDLE_LIMIT);
    for (int note = 0; note < 100; ++note) {
        MidiEvent event{MXMIDI_NOW, 0x90, static_cast<std::uint8_t>(note), 1, 0};
        PutMidiOut(out, &event);
    }
    CloseMidiOut(out);
    qunsetenv("MXMIDI_LOG");
    std::vector<std::string> lines = Lines(path);
    ASSERT_EQ(lines.size(), 100u);
    std::uint64_t previous = 0;
    for (int note = 0; note < 100; ++note) {
        char tail[16];
        std::snprintf(tail, sizeof tail, " 90 %02X 01", note);
        EXPECT_NE(lines[note].find(tail), std::string::npos) << lines[note];
        std::uint64_t time = std::stoull(lines[note]);
        EXPECT_GE(time, previous);
        previous = time;
    }
}
