// The device list, names, technology codes and handles.

#include "mxmiditestsupport.h"

#include <QtGlobal>
#include <cstring>
#include <string>

using namespace mxmiditest;

namespace {

std::string Name(std::uint16_t id) {
    char name[64];
    std::memset(name, 'X', sizeof name);
    if (!GetMidiOutDescription(id, name)) return "<none>";
    return name;
}

class DevicesTest : public ::testing::Test {
protected:
    void TearDown() override {
        mxmidi::testing::RemoveTestPorts();
        qunsetenv("MXMIDI_LOG");
    }
};

} // namespace

TEST_F(DevicesTest, SynthComesFirstAndTheMapperPlaysThroughIt) {
    qunsetenv("MXMIDI_LOG");
    ASSERT_GE(GetNumOutDevices(), 1);
    EXPECT_EQ(Name(0), "Zupfari Synth");
    EXPECT_EQ(Name(MXMIDI_MAPPER), "MIDI Mapper");
    std::uint16_t technology = 1;
    ASSERT_NE(GetMidiOutTechnology(0, &technology), 0);
    EXPECT_EQ(technology % 2, 0) << "the synthesizer must count as a synthesizer";
    EXPECT_EQ(Name(GetNumOutDevices()), "<none>");
    EXPECT_EQ(GetMidiOutTechnology(GetNumOutDevices(), &technology), 0);
    EXPECT_EQ(GetMidiOutDescription(0, nullptr), 0);
}

TEST_F(DevicesTest, LogIsListedOnlyWhenNamedAndTestPortsComeLast) {
    qunsetenv("MXMIDI_LOG");
    std::uint16_t without = GetNumOutDevices();
    for (std::uint16_t id = 0; id < without; ++id)
        EXPECT_NE(Name(id), "MIDI Log");

    qputenv("MXMIDI_LOG", "/tmp/never-written.log");
    ASSERT_EQ(GetNumOutDevices(), without + 1);
    EXPECT_EQ(Name(without), "MIDI Log");
    std::uint16_t technology = 0;
    ASSERT_NE(GetMidiOutTechnology(without, &technology), 0);
    EXPECT_EQ(technology % 2, 1);

    std::uint16_t test = mxmidi::testing::AddRecordingPort("Recorder");
    EXPECT_EQ(test, without + 1);
    EXPECT_EQ(Name(test), "Recorder");
    ASSERT_NE(GetMidiOutTechnology(test, &technology), 0);
    EXPECT_EQ(technology, MOD_MIDIPORT);
}

TEST_F(DevicesTest, LongNamesAreCutTo31CharactersAndTheBufferIsNotOverrun) {
    std::uint16_t id = mxmidi::testing::AddRecordingPort(
        "A port name that is much longer than thirty-one characters");
    char name[40];
    std::memset(name, 'X', sizeof name);
    ASSERT_NE(GetMidiOutDescription(id, name), 0);
    EXPECT_EQ(std::strlen(name), 31u);
    EXPECT_EQ(std::string(name), "A port name that is much longer");
    EXPECT_EQ(name[32], 'X');
}

TEST_F(DevicesTest, HandlesAreAbove32AndFailuresAreNot) {
    mxmidi::testing::UseManualClock();
    Receiver window;
    std::uint16_t id = mxmidi::testing::AddRecordingPort("Recorder");
    HSYNC sync = OpenSync(0, &window, 0, 10);
    HMOUT first = OpenMidiOut(&window, id, sync, 0x33320);
    HMOUT second = OpenMidiOut(&window, id, 0, 0x33320);
    EXPECT_GT(sync, MXMIDI_INVALID_HANDLE_LIMIT);
    EXPECT_GT(first, MXMIDI_INVALID_HANDLE_LIMIT);
    EXPECT_GT(second, MXMIDI_INVALID_HANDLE_LIMIT);
    EXPECT_NE(first, second);
    EXPECT_LE(OpenMidiOut(&window, static_cast<std::uint16_t>(id + 1), sync, 0),
              MXMIDI_INVALID_HANDLE_LIMIT);
    EXPECT_LE(OpenMidiOut(&window, 0xFFF0, sync, 0), MXMIDI_INVALID_HANDLE_LIMIT);

    // Without a timer every event goes out at once.
    MidiEvent event{480, 0x90, 60, 100, 0};
    EXPECT_EQ(PutMidiOut(second, &event), 0);
    EXPECT_EQ(mxmidi::testing::TakeRecordedEvents(id).size(), 1u);

    CloseMidiOut(first);
    CloseMidiOut(second);
    CloseSync(sync);
    EXPECT_EQ(PutMidiOut(first, &event), MXMIDI_BAD_HANDLE);
    mxmidi::testing::UseSteadyClock();
}

TEST_F(DevicesTest, LogThatCannotBeWrittenDoesNotOpen) {
    qputenv("MXMIDI_LOG", "/nonexistent-folder/sub/log.txt");
    std::uint16_t id = GetNumOutDevices() - 1;
    ASSERT_EQ(Name(id), "MIDI Log");
    EXPECT_LE(OpenMidiOut(nullptr, id, 0, 0), MXMIDI_INVALID_HANDLE_LIMIT);
}

TEST_F(DevicesTest, InputIsNeverOpen) {
    MidiEvent event{};
    EXPECT_FALSE(GetMidiIn(0, &event));
    StopMidiIn(0);
    CloseMidiIn(0);
    EXPECT_EQ(GetMaxMidiVersion(), 0x0100);
}
