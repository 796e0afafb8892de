// Real sound: with an audio server present the voice reaches it as a playback
// stream, and stopping the voice ends the stream. The test starts its own
// PulseAudio server with a null sink in the private runtime folder; it is
// skipped where PulseAudio is not installed. A program of its own, so that
// the machine's output is chosen while the server runs.
#include "platform/ui/sound.h"
#include "tests/support/soundfixture.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

QString Pactl(const QStringList& arguments) {
    QProcess pactl;
    pactl.start("pactl", arguments);
    if (!pactl.waitForFinished(5000) || pactl.exitCode() != 0) return QString();
    return QString::fromUtf8(pactl.readAllStandardOutput());
}

// Pumps events until `done` holds or five seconds have passed.
template <typename Condition> bool Within5s(Condition done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 5000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

class AudioServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("pactl").isEmpty())
            GTEST_SKIP() << "PulseAudio is not installed";
        started_ = QProcess::execute("pulseaudio", {"-n", "--daemonize=yes", "--exit-idle-time=-1",
                                                    "--load=module-null-sink",
                                                    "--load=module-native-protocol-unix"}) == 0;
        ASSERT_TRUE(started_) << "the private PulseAudio server did not start";
        ASSERT_TRUE(Within5s([] { return !Pactl({"info"}).isEmpty(); }));
    }
    void TearDown() override {
        platform::PlaySound(nullptr, 0);
        QCoreApplication::processEvents();
        if (started_) QProcess::execute("pulseaudio", {"-k"});
    }
    bool started_ = false;
};

} // namespace

TEST_F(AudioServer, ASoundIsAPlaybackStreamUntilItIsStopped) {
    testsupport::TempFolder temp;
    const std::string tone = temp.Write("tone.wav", soundtest::WaveOfMs(200));
    auto streams = [] { return Pactl({"list", "short", "sink-inputs"}).trimmed(); };
    ASSERT_TRUE(streams().isEmpty());

    ASSERT_TRUE(platform::PlaySound(tone.c_str(), platform::SND_FILENAME | platform::SND_LOOP |
                                                      platform::SND_ASYNC));
    EXPECT_TRUE(Within5s([&] { return !streams().isEmpty(); })) << "no stream reached the server";
    EXPECT_TRUE(platform::SoundIsPlaying());

    ASSERT_TRUE(platform::PlaySound(nullptr, 0));
    EXPECT_TRUE(Within5s([&] { return streams().isEmpty(); })) << "the stream outlived the stop";
}

TEST_F(AudioServer, ASoundPlayedOnceLeavesNoStreamBehindOnceItHasEnded) {
    testsupport::TempFolder temp;
    const std::string click = temp.Write("click.wav", soundtest::WaveOfMs(100));
    auto streams = [] { return Pactl({"list", "short", "sink-inputs"}).trimmed(); };
    ASSERT_TRUE(streams().isEmpty());
    ASSERT_TRUE(platform::PlaySound(click.c_str(), platform::SND_FILENAME | platform::SND_ASYNC));
    EXPECT_TRUE(Within5s([&] { return !streams().isEmpty(); })) << "no stream reached the server";
    // The sound lasts 100 ms; its stream goes about a second later, while
    // the sound layer still knows the sound is over.
    EXPECT_TRUE(Within5s([&] { return streams().isEmpty(); })) << "the stream outlived the sound";
    EXPECT_FALSE(platform::SoundIsPlaying());
}
