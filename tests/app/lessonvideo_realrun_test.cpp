// A lesson's video in the real program on a display of its own: a new
// learner's "Neue Übung" opens lesson 0's window A, a click on its video link
// plays the video in the window's picture frame while its accompaniment
// sounds through the device "MIDI Log": the notes of the video's MIDI file,
// in their order and at their times. Played again and stopped with Esc, the
// accompaniment stops with it: no note after the stop, none left sounding.

#include "tests/app/transportrun.h"

#include "layout/screenlayout.h"
#include "lessons/skinreader.h"
#include "mxmidi/smfreader.h"
#include "platform/core/files.h"
#include "platform/core/pathresolver.h"
#include "tests/support/realprogram.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using testsupport::WaitFor;
using testsupport::XDriver;
using transportrun::LogEvent;

constexpr QSize kScreen{1024, 768};
const QPoint kNewExercise =
    layout::ToolPanel.topLeft() + QPoint(layout::PlanSelectLeft + layout::PlanButton.width() / 2,
                                         layout::PlanBottomButtonsTop + layout::PlanButton.height() / 2);

// Where a label of a skin sits (window coordinates), found by its tag.
std::optional<QPoint> LabelAt(const std::string& skinFile, int tag) {
    const auto bytes = platform::ReadFileBytes(platform::ResolveAnsiPath(skinFile));
    if (!bytes) return std::nullopt;
    const std::vector<std::string> lines = lessons::SplitSkinLines(*bytes);
    lessons::SkinReader reader(lines);
    while (const std::optional<lessons::SkinRecord> record = reader.Next())
        if (const auto* label = std::get_if<lessons::SkinLabelRecord>(&*record); label && label->tag == tag)
            return QPoint(label->left, label->top);
    return std::nullopt;
}

// The note-ons of a MIDI file: key and microseconds at the file's tempo.
std::vector<std::pair<int, long long>> FileNoteOns(const std::string& path) {
    std::vector<std::pair<int, long long>> notes;
    const auto bytes = platform::ReadFileBytes(path);
    if (!bytes) return notes;
    const auto smf = mxmidi::smf::ParseSmf(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    if (!smf) return notes;
    long long microsPerBeat = 500000;
    std::multimap<long long, int> byTick;
    for (const auto& track : smf->tracks) {
        long long tick = 0;
        for (const MidiEvent& e : track.events) {
            tick += e.time;
            if (e.status == 0) microsPerBeat = e.data1 << 16 | e.data2 << 8 | e.data3; // one tempo for the whole file
            if ((e.status & 0xF0) == 0x90 && e.data2 > 0) byTick.emplace(tick, e.data1);
        }
    }
    for (const auto& [tick, key] : byTick) notes.emplace_back(key, tick * microsPerBeat / smf->resolution);
    return notes;
}

// The length of an AVI file's video in milliseconds, from its main header.
long long VideoMs(const std::string& path) {
    const auto bytes = platform::ReadFileBytes(path);
    const std::size_t at = bytes ? bytes->find("avih") : std::string::npos;
    if (at == std::string::npos || at + 32 > bytes->size()) return -1;
    auto le32 = [&](std::size_t i) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes->data() + i);
        return static_cast<long long>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<unsigned>(b[3]) << 24);
    };
    return le32(at + 8) * le32(at + 24) / 1000; // microseconds per frame, frames
}

std::vector<LogEvent> NoteOns(const std::vector<LogEvent>& events) {
    std::vector<LogEvent> ons;
    for (const LogEvent& e : events)
        if (e.NoteOn()) ons.push_back(e);
    return ons;
}

// Every note switched on is switched off again: by its note-off or by an
// "all notes off" / "all sound off" on its channel after it.
bool AllNotesClosed(const std::vector<LogEvent>& events) {
    std::map<std::pair<int, int>, int> sounding; // (channel, key) -> count
    for (const LogEvent& e : events) {
        const int channel = e.Status & 0x0F, kind = e.Status & 0xF0;
        if (kind == 0x90 && e.Data2 > 0) ++sounding[{channel, e.Data1}];
        else if (kind == 0x80 || kind == 0x90) sounding[{channel, e.Data1}] = 0;
        else if (kind == 0xB0 && (e.Data1 == 123 || e.Data1 == 120))
            for (auto& [note, count] : sounding)
                if (note.first == channel) count = 0;
    }
    for (const auto& [note, count] : sounding)
        if (count > 0) return false;
    return true;
}

class LessonVideoInWindowA : public ::testing::Test {
protected:
    void SetUp() override {
        if (!xvfb_.Start(kScreen.width(), kScreen.height())) GTEST_SKIP() << "no Xvfb";
        x_ = std::make_unique<XDriver>(xvfb_.Display());
        if (!x_->Ready()) GTEST_SKIP() << "no XTest on the display";
        program_.SetEnv("MXMIDI_LOG", log_.QPath() + "/midi.log");
        program_.SetEnv("SPRACHBANK_LANGUAGE", "0");
        const QString data = program_.DataFolder();
        QDir().mkpath(data);
        QFile ini(data + "zupfaripref.ini");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Midi]\r\nSoundcard=MIDI Log\r\n");
    }
    std::vector<LogEvent> Log() const { return transportrun::ReadMidiLog(log_.QPath() + "/midi.log"); }
    std::string Report() { return program_.Stderr().toStdString(); }
    std::vector<XDriver::ShownWindow> Slides() {
        std::vector<XDriver::ShownWindow> shown;
        for (const auto& window : x_->ShownWindows())
            if (window.width == layout::MainWindow.width() && window.height == layout::MainWindow.height())
                shown.push_back(window);
        return shown;
    }
    void Click(QPoint at) { x_->Click(origin_.x() + at.x(), origin_.y() + at.y()); }

    testsupport::XvfbServer xvfb_;
    std::unique_ptr<XDriver> x_;
    testsupport::RealProgram program_;
    testsupport::TempFolder log_;
    QPoint origin_;
};

TEST_F(LessonVideoInWindowA, PlaysWithItsAccompanimentAndStopsWithIt) {
    const std::string folder = testsupport::BinFolder() + "lektion0/";
    const std::optional<QPoint> link = LabelAt(folder + "WinA.zs1", 131);
    ASSERT_TRUE(link) << "window A of lesson 0 links its video";
    const auto expected = FileNoteOns(folder + "Video1.mid");
    ASSERT_GE(expected.size(), 4u);
    const long long videoMs = VideoMs(folder + "Video1.avi");
    ASSERT_GT(videoMs, 4000);

    ASSERT_TRUE(program_.Start("xcb", xvfb_.Display())) << Report();
    ASSERT_TRUE(WaitFor([&] { return Slides().size() == 1; })) << Report();
    origin_ = QPoint(Slides()[0].left, Slides()[0].top);
    // "Neue Übung": window A of lesson 0, over the main window.
    ASSERT_TRUE(WaitFor([&] {
        if (Slides().size() < 2) Click(kNewExercise);
        return WaitFor([&] { return Slides().size() == 2; }, 1500);
    }, 20000)) << Report();
    const unsigned long windowA = Slides().back().id;

    // The whole video: its notes in the file's order and at its times.
    Click(*link + QPoint(12, 6));
    ASSERT_TRUE(WaitFor([&] { return !NoteOns(Log()).empty(); }, 20000)) << Report();
    QElapsedTimer sinceFirstNote;
    sinceFirstNote.start();
    ASSERT_TRUE(WaitFor([&] { return NoteOns(Log()).size() >= expected.size(); }, 30000))
        << NoteOns(Log()).size() << " notes\n" << Report();
    // Until the video's end, and a little more.
    const long long rest = videoMs - expected[0].second / 1000 + 800 - sinceFirstNote.elapsed();
    QThread::msleep(static_cast<unsigned long>(std::max(0LL, rest)));
    const std::vector<LogEvent> whole = NoteOns(Log());
    ASSERT_EQ(whole.size(), expected.size()) << "notes after the video's end";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(whole[i].Data1, expected[i].first) << i;
        const long long heard = static_cast<long long>(whole[i].Micros - whole[0].Micros);
        const long long written = expected[i].second - expected[0].second;
        EXPECT_NEAR(heard, written, 25000) << "note " << i;
    }
    EXPECT_TRUE(AllNotesClosed(Log()));

    // Again, stopped with Esc after its second note: the accompaniment stops.
    const std::size_t before = whole.size();
    Click(*link + QPoint(12, 6));
    ASSERT_TRUE(WaitFor([&] { return NoteOns(Log()).size() >= before + 2; }, 30000)) << Report();
    ASSERT_TRUE(WaitFor([&] { return x_->FocusWindow() == windowA; }, 5000));
    ASSERT_TRUE(x_->Key("Escape"));
    QThread::msleep(400);
    const std::size_t atStop = NoteOns(Log()).size();
    QThread::msleep(2000);
    EXPECT_EQ(NoteOns(Log()).size(), atStop) << "notes after the video stopped";
    EXPECT_LT(atStop, before + expected.size()) << "the whole accompaniment played";
    EXPECT_TRUE(AllNotesClosed(Log())) << "a note left sounding";
    EXPECT_EQ(Slides().size(), 2u) << "Esc stops the video; window A stays";

    program_.EndWith(SIGTERM);
}

} // namespace
