// The exported set, start-up, devices and the engine status.
#include "tests/sequenzor/enginetest.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>
#include <set>

namespace sequenzortest {
namespace {

const char* const kExported[] = {"MidiChannelMute",
                                 "MidiClearTrackList",
                                 "MidiCreateNewTrack",
                                 "MidiGetBeats",
                                 "MidiGetDeviceID",
                                 "MidiGetDeviceName",
                                 "MidiGetNumDevs",
                                 "MidiGetStatus",
                                 "MidiGetTempo",
                                 "MidiGetTrackMute",
                                 "MidiGetVersion",
                                 "MidiIgnoreSMFTempo",
                                 "MidiImportFile",
                                 "MidiInitWin",
                                 "MidiInsertEvent",
                                 "MidiIsRunning",
                                 "MidiLoadFile",
                                 "MidiNewTrackList",
                                 "MidiPause",
                                 "MidiPutEvent",
                                 "MidiReStart",
                                 "MidiSaveFile",
                                 "MidiSetChannelVolume",
                                 "MidiSetDeviceByID",
                                 "MidiSetDeviceByName",
                                 "MidiSetMasterVolume",
                                 "MidiSetRecordTrack",
                                 "MidiSetTempo",
                                 "MidiSetTrackMute",
                                 "MidiStart",
                                 "MidiStartSync",
                                 "MidiStop",
                                 "MidiTrackDump",
                                 "MidiTransposeAll",
                                 "MidiTransposeChannel"};
// Exported beside the numbered ones: the capability query and the time line.
const char* const kUnnumbered[] = {"midiOutGetTechnology", "MidiGetClock", "MidiGetBeatTime",
                                   "MidiGetOutputLatency"};

TEST(SequenzorLibrary, ExportsTheThirtyFiveFunctionsTheCapabilityQueryAndTheTimeLine) {
    testsupport::TempFolder folder;
    const std::string list = folder.Path() + "symbols.txt";
    // The test programs sit in build/tests, the libraries in build/bin.
    std::string bin = testsupport::BinFolder();
    if (bin.empty()) bin = QCoreApplication::applicationDirPath().toStdString() + "/../bin/";
    const std::string library = bin + "libSequenzor.so";
    ASSERT_EQ(testsupport::RunShell("nm -D --defined-only '" + library + "' > '" + list + "'"), 0);
    std::set<std::string> symbols;
    std::ifstream in(list);
    std::string address, kind, name;
    while (in >> address >> kind >> name)
        symbols.insert(name);
    std::set<std::string> expected(std::begin(kExported), std::end(kExported));
    expected.insert(std::begin(kUnnumbered), std::end(kUnnumbered));
    EXPECT_EQ(symbols, expected);
    EXPECT_EQ(std::size(kExported), 35u);
    EXPECT_TRUE(std::is_sorted(std::begin(kExported), std::end(kExported),
                               [](const char* a, const char* b) { return std::strcmp(a, b) < 0; }));
}

using EngineApi = EngineTest;

TEST_F(EngineApi, StatusFollowsStartPauseResumeAndStop) {
    EXPECT_EQ(MidiGetStatus(), 2);
    EXPECT_EQ(MidiIsRunning(), 0);
    MidiNewTrackList(1);
    Put(0, 0, 0x90, 60, 100);
    Put(0, 480 * 8, 0x80, 60, 0);
    Start(0);
    EXPECT_EQ(MidiGetStatus(), 1);
    EXPECT_EQ(MidiIsRunning(), 1);
    PlayUntilBeat(2);
    EXPECT_EQ(MidiPause(1), 2);
    EXPECT_EQ(MidiGetStatus(), 3);
    EXPECT_EQ(MidiIsRunning(), 0);
    Play(2000000); // no beats pass while paused
    EXPECT_EQ(MidiGetBeats(), 2);
    EXPECT_EQ(MidiReStart(), 1);
    EXPECT_EQ(MidiGetStatus(), 1);
    EXPECT_EQ(MidiIsRunning(), 1);
    PlayUntilBeat(3);
    EXPECT_EQ(MidiStop(), 3);
    EXPECT_EQ(MidiGetStatus(), 2);
    EXPECT_EQ(MidiIsRunning(), 0);
}

TEST_F(EngineApi, StartSyncRunsTheTimerOnly) {
    const int beats = MidiGetBeats();
    MidiStartSync();
    EXPECT_EQ(MidiIsRunning(), 1);
    EXPECT_EQ(MidiGetStatus(), 2);
    EXPECT_EQ(MidiGetBeats(), beats);
}

TEST_F(EngineApi, DeviceNamesAreFoundWholeOnly) {
    char name[32] = {};
    ASSERT_NE(MidiGetDeviceName(port_, name), 0);
    EXPECT_STREQ(name, "Sequenzor Test Port");
    EXPECT_EQ(MidiGetDeviceID(name), port_);
    char prefix[] = "Sequenzor Test";
    EXPECT_EQ(MidiGetDeviceID(prefix), 0xFFF0);
    char lowerCase[] = "sequenzor test port";
    EXPECT_EQ(MidiGetDeviceID(lowerCase), 0xFFF0);
    EXPECT_EQ(MidiGetDeviceID(nullptr), 0xFFF0);

    ASSERT_NE(MidiGetDeviceName(0xFFFF, name), 0);
    EXPECT_STREQ(name, "MIDI Mapper");
    EXPECT_EQ(MidiGetDeviceName(static_cast<unsigned short>(MidiGetNumDevs()), name), 0);
    EXPECT_EQ(MidiGetDeviceName(port_, nullptr), 0);
}

TEST_F(EngineApi, CapabilityQueryTellsSynthesizersFromPorts) {
    unsigned short technology = 0;
    ASSERT_NE(midiOutGetTechnology(0, &technology), 0);
    EXPECT_EQ(technology % 2, 0); // the built-in synthesizer
    ASSERT_NE(midiOutGetTechnology(port_, &technology), 0);
    EXPECT_EQ(technology, MOD_MIDIPORT);
    ASSERT_NE(midiOutGetTechnology(0xFFFF, &technology), 0);
    EXPECT_EQ(technology, MOD_MAPPER);
    EXPECT_EQ(midiOutGetTechnology(static_cast<unsigned short>(MidiGetNumDevs()), &technology), 0);
    EXPECT_EQ(midiOutGetTechnology(0, nullptr), 0);
}

TEST_F(EngineApi, LongDeviceNamesFitThirtyTwoBytes) {
    const std::uint16_t id =
        mxmidi::testing::AddRecordingPort("A Very Long Name Of A Recording Port For The Test");
    char buffer[40];
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_NE(MidiGetDeviceName(id, buffer), 0);
    EXPECT_EQ(std::strlen(buffer), 31u);
    EXPECT_EQ(std::string(buffer + 32, 8), std::string(8, '#'));
    EXPECT_EQ(MidiGetDeviceID(buffer), id);
    EXPECT_EQ(MidiSetDeviceByName(buffer), 1);
}

TEST_F(EngineApi, UnknownDeviceNameLeavesTheOutputClosed) {
    char unknown[] = "No Such Device";
    EXPECT_EQ(MidiSetDeviceByName(unknown), 0);
    // With no output, events count as taken and go nowhere.
    EXPECT_EQ(MidiPutEvent(0xFFFFFFFF, 0x90, 60, 100, 0), 1);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(MidiSetDeviceByID(0xFFF0), 0);
    EXPECT_EQ(MidiSetDeviceByID(port_), 1);
    EXPECT_EQ(MidiPutEvent(0xFFFFFFFF, 0x90, 60, 100, 0), 1);
    EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(EngineApi, PutEventIsTimedFromThePreviousEvent) {
    Start(0);
    EXPECT_EQ(MidiPutEvent(480, 0x90, 64, 90, 0), 1);
    EXPECT_EQ(MidiPutEvent(0xFFFFFFFF, 0xC0, 5, 0, 0), 1); // at once
    std::vector<SentEvent> now = Sent();
    ASSERT_EQ(now.size(), 1u);
    EXPECT_EQ(now[0].status, 0xC0);
    Play(600000);
    std::vector<SentEvent> later = SentWithoutNoteOffs();
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].data1, 64);
    EXPECT_NEAR(SinceStart(later[0]), 500000, 1);
}

TEST_F(EngineApi, MasterVolumeAndVersion) {
    MidiSetMasterVolume(0);
    EXPECT_TRUE(Sent().empty());
    EXPECT_NE(MidiGetVersion(), 0);
}

TEST_F(EngineApi, InitWinAgainDropsTheOldTracksAndWindows) {
    MidiNewTrackList(3);
    ASSERT_EQ(MidiInitWin(QCoreApplication::instance()), 1);
    EXPECT_TRUE(DumpRows().empty());
    EXPECT_EQ(QCoreApplication::instance()->findChildren<QObject*>("CMaxMidiSyncWnd").size(), 1);
    EXPECT_EQ(QCoreApplication::instance()->findChildren<QObject*>("CMaxMidiOutWnd").size(), 1);
    EXPECT_EQ(QCoreApplication::instance()->findChildren<QObject*>("CMaxMidiInWnd").size(), 1);
}

// Caps this process's address space a little above what it uses now, then
// asks for a track list far larger than the memory left; exits 0 when the
// call answered failure.
[[noreturn]] void AskForTooManyTracks() {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t cap = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) +
                       (rlim_t{64} << 20);
    const rlimit limit{cap, cap};
    setrlimit(RLIMIT_AS, &limit);
    std::_Exit(MidiNewTrackList(std::numeric_limits<int>::max()) == 0 ? 0 : 1);
}

// Memory running out inside a call is that call's failure, not a success.
TEST(EngineFailures, ATrackListTheMemoryCannotHoldIsAFailure) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs an address space without a cap";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(AskForTooManyTracks(), ::testing::ExitedWithCode(0), "");
#endif
}

} // namespace
} // namespace sequenzortest
