// The built-in synthesizer on a real sound server: its stream is there from
// the opening of the synthesizer, sleeps (corked) while nothing sounds and is
// woken by the next note. The test starts its own PulseAudio server with a
// null sink in the test's private runtime folder; it is skipped where
// PulseAudio is not installed.

#include "mxmidi/mxmidi.h"
#include "mxmidi/testing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// pactl's word on the synthesizer's stream: "yes" (corked), "no" (playing)
// or empty (no stream).
QString Corked() {
    QProcess pactl;
    pactl.start("pactl", {"list", "sink-inputs"});
    if (!pactl.waitForFinished(5000)) return {};
    for (const QString& line : QString::fromUtf8(pactl.readAllStandardOutput()).split('\n'))
        if (line.trimmed().startsWith("Corked:")) return line.section(':', 1).trimmed();
    return {};
}

template <typename Condition> bool Within(int ms, Condition done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QThread::msleep(100);
    }
    return true;
}

class SynthOnASoundServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("pactl").isEmpty())
            GTEST_SKIP() << "PulseAudio is not installed";
        started_ = QProcess::execute("pulseaudio", {"-n", "--daemonize=yes", "--exit-idle-time=-1",
                                                    "--load=module-null-sink",
                                                    "--load=module-native-protocol-unix"}) == 0;
        ASSERT_TRUE(started_) << "the private PulseAudio server did not start";
        ASSERT_TRUE(Within(5000, [] {
            QProcess pactl;
            pactl.start("pactl", {"info"});
            return pactl.waitForFinished(5000) && pactl.exitCode() == 0;
        }));
    }
    void TearDown() override {
        if (out_) CloseMidiOut(out_);
        if (started_) QProcess::execute("pulseaudio", {"-k"});
    }
    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        const MidiEvent event{MXMIDI_NOW, status, data1, data2, 0};
        ASSERT_EQ(PutMidiOut(out_, &event), 0);
    }
    bool started_ = false;
    HMOUT out_ = 0;
};

TEST_F(SynthOnASoundServer, TheStreamSleepsWhileQuietAndANoteWakesIt) {
    out_ = OpenMidiOut(nullptr, 0, 0, 0);
    ASSERT_GT(out_, MXMIDI_INVALID_HANDLE_LIMIT) << "sound font missing?";
    EXPECT_EQ(Corked(), "yes") << "no sleeping stream on the server";

    Send(0x90, 60, 100);
    EXPECT_TRUE(Within(2000, [] { return Corked() == "no"; })) << "the note did not wake it";
    EXPECT_TRUE(mxmidi::testing::GetSynthCounts().awake);
    Send(0x80, 60, 0);
    // Five quiet seconds after the note has died away.
    EXPECT_TRUE(Within(12000, [] { return Corked() == "yes"; })) << "it never went to sleep";
    EXPECT_FALSE(mxmidi::testing::GetSynthCounts().awake);

    Send(0xC0, 24, 0); // any message wakes it
    EXPECT_TRUE(Within(2000, [] { return Corked() == "no"; }));
    const mxmidi::testing::SynthCounts counts = mxmidi::testing::GetSynthCounts();
    EXPECT_EQ(counts.wakes, 2u);
    EXPECT_EQ(counts.sleeps, 1u);
}

} // namespace
