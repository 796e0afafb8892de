#include "tests/sequenzor/enginetest.h"

#include <QCoreApplication>
#include <fstream>
#include <sstream>

namespace sequenzortest {

namespace {
std::uint16_t RecordingPort() {
    static const std::uint16_t id = mxmidi::testing::AddRecordingPort("Sequenzor Test Port");
    return id;
}
} // namespace

void EngineTest::SetUp() {
    MidiStop();
    mxmidi::testing::UseManualClock();
    ASSERT_EQ(MidiInitWin(QCoreApplication::instance()), 1);
    port_ = RecordingPort();
    ASSERT_EQ(MidiSetDeviceByID(port_), 1);
    MidiIgnoreSMFTempo(false);
    mxmidi::testing::TakeRecordedEvents(port_);
}

void EngineTest::TearDown() {
    MidiStop();
    MidiClearTrackList();
    QCoreApplication::sendPostedEvents();
}

void EngineTest::Put(int track, std::uint32_t delta, std::uint8_t status, std::uint8_t data1,
                     std::uint8_t data2, std::uint8_t data3) {
    MidiEvent event{delta, status, data1, data2, data3};
    MidiInsertEvent(track, &event, kAppend);
}

void EngineTest::Start(int start, int length, double bpm) {
    startedAt_ = mxmidi::testing::ClockNow();
    ASSERT_EQ(MidiStart(start, length, bpm), 1);
}

void EngineTest::Play(std::uint64_t microseconds) {
    constexpr std::uint64_t kStep = 1000;
    for (std::uint64_t done = 0; done < microseconds; done += kStep) {
        mxmidi::testing::AdvanceClock(kStep);
        QCoreApplication::sendPostedEvents();
    }
}

void EngineTest::PlayUntilBeat(int beats) {
    for (int step = 0; step < 10000 && MidiGetBeats() < beats; ++step)
        Play(1000);
}

std::vector<SentEvent> EngineTest::Sent() const {
    return mxmidi::testing::TakeRecordedEvents(port_);
}

std::vector<SentEvent> EngineTest::SentWithoutNoteOffs() const {
    std::vector<SentEvent> kept;
    for (const SentEvent& event : Sent())
        if ((event.status & 0xF0) != 0x80) kept.push_back(event);
    return kept;
}

std::vector<int> EngineTest::SentNotes(std::uint8_t status) const {
    std::vector<int> notes;
    for (const SentEvent& event : Sent())
        if (event.status == status) notes.push_back(event.data1);
    return notes;
}

double EngineTest::SinceStart(const SentEvent& event) const {
    return static_cast<double>(event.microseconds) - static_cast<double>(startedAt_);
}

std::string EngineTest::Dump() const {
    const std::string path = folder_.Path() + "dump.txt";
    std::remove(path.c_str());
    MidiTrackDump(path.c_str());
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> EngineTest::DumpRows() const {
    std::istringstream text(Dump());
    std::vector<std::string> rows;
    std::string line;
    for (int header = 0; header < 4 && std::getline(text, line); ++header) {
    }
    while (std::getline(text, line))
        rows.push_back(line);
    return rows;
}

} // namespace sequenzortest
