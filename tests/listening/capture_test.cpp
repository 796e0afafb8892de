// The real capture path: a private PulseAudio server with a null sink and a
// source remapped from its monitor (a microphone that hears whatever is
// played into the sink), fed by paplay. The server lives in the test's own
// runtime folder for the whole program, since Qt Multimedia connects to the
// server once per process. Skipped where PulseAudio is not installed.
//
// The server resamples between the sink, the remapped source and the
// capture stream and nudges those rates to keep its latencies, which moves
// the pitch by a cent or two (measured here: up to 2 cents flat). So the
// readings are checked to 3 cents here; the analysis itself is held to one
// cent on recordings (analysis_test).
#include "listening/frameclock.h"
#include "listening/inputdevices.h"
#include "listening/microphone.h"
#include "listening/tunerlistener.h"
#include "tests/listening/pluck.h"
#include "tests/support/realprogram.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

namespace {

using namespace listening;

const char* const kSink = "zupfari_null";
const char* const kMicrophone = "zupfari_mic";

// What pactl printed; `ok` tells whether it succeeded.
QString Pactl(const QStringList& arguments, bool* ok = nullptr) {
    QProcess pactl;
    pactl.start("pactl", arguments);
    const bool done = pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit &&
                      pactl.exitCode() == 0;
    if (ok != nullptr) *ok = done;
    return done ? QString::fromUtf8(pactl.readAllStandardOutput()) : QString();
}

bool PactlOk(const QStringList& arguments) {
    bool ok = false;
    Pactl(arguments, &ok);
    return ok;
}

// Pumps events until `done` holds or `ms` have passed.
template <typename Condition> bool Within(int ms, Condition done) {
    return testsupport::WaitFor([&] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }, ms);
}

// A source remapped from the null sink's monitor; its module index.
QString AddMicrophone(const char* name) {
    return Pactl({"load-module", "module-remap-source", QString("source_name=%1").arg(name),
                  QString("master=%1.monitor").arg(kSink)})
        .trimmed();
}

class Capture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("paplay").isEmpty())
            return;
        // -n: none of the machine's own modules; the server lives in
        // $XDG_RUNTIME_DIR, the test program's private folder.
        started_ = QProcess::execute("pulseaudio", {"-n", "--daemonize=yes", "--exit-idle-time=-1",
                                                    QString("--load=module-null-sink sink_name=%1").arg(kSink),
                                                    "--load=module-native-protocol-unix"}) == 0 &&
                   testsupport::WaitFor([] { return !Pactl({"info"}).isEmpty(); }, 5000) &&
                   !AddMicrophone(kMicrophone).isEmpty() &&
                   PactlOk({"set-default-source", kMicrophone});
    }
    static void TearDownTestSuite() {
        if (started_) QProcess::execute("pulseaudio", {"-k"});
        started_ = false;
    }
    void SetUp() override {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) GTEST_SKIP() << "PulseAudio is not installed";
        ASSERT_TRUE(started_) << "the private PulseAudio server did not start";
    }
    void TearDown() override {
        for (QProcess* player : players_) {
            player->kill();
            player->waitForFinished(2000);
            delete player;
        }
        players_.clear();
    }

    // Plays `samples` into the null sink (so into the microphone), once.
    void PlayIntoMicrophone(const std::vector<float>& samples, int rate) {
        const std::string file = folder_.Write("played" + std::to_string(players_.size()) + ".wav",
                                               listentest::WaveFile16(samples, rate));
        auto* player = new QProcess;
        player->start("paplay", {QString("--device=%1").arg(kSink), QString::fromStdString(file)});
        players_.push_back(player);
    }

    // A string rung for `seconds`, plucked again every second.
    static std::vector<float> RingingString(int string, double detune, double seconds, int rate) {
        std::vector<float> take;
        for (double at = 0; at < seconds; at += 1.0) {
            auto pluck = listentest::GuitarPluck(string, detune);
            pluck.leadSeconds = 0;
            pluck.seconds = 1.0;
            listentest::MixInto(take, listentest::Render(pluck, rate), take.size());
        }
        return take;
    }

    static bool started_;
    testsupport::TempFolder folder_;
    std::vector<QProcess*> players_;
};

bool Capture::started_ = false;

// Qt lists the remapped source (not the monitor), and the server's default
// source is the one chosen, whatever Qt 6.4 calls its default.
TEST_F(Capture, TheServersDefaultSourceIsChosenById) {
    const QString second = AddMicrophone("zupfari_mic2");
    ASSERT_FALSE(second.isEmpty());
    ASSERT_TRUE(Within(5000, [] { return InputDevices().size() == 2; }));
    for (const InputDevice& input : InputDevices()) EXPECT_FALSE(input.id.ends_with(".monitor")) << input.id;

    EXPECT_EQ(ServerDefaultSource(), kMicrophone);
    EXPECT_EQ(ChooseInput(InputDevices(), {}, ServerDefaultSource()), kMicrophone);
    ASSERT_TRUE(PactlOk({"set-default-source", "zupfari_mic2"}));
    EXPECT_EQ(ChooseInput(InputDevices(), {}, ServerDefaultSource()), "zupfari_mic2");
    EXPECT_EQ(ChooseInput(InputDevices(), kMicrophone, ServerDefaultSource()), kMicrophone);

    Pactl({"set-default-source", kMicrophone});
    Pactl({"unload-module", second});
    EXPECT_TRUE(Within(5000, [] { return InputDevices().size() == 1; }));
}

// The tuner's whole path: capture thread, frames, analysis, reading.
TEST_F(Capture, TheTunerHearsAStringPlayedIntoTheMicrophone) {
    MicrophoneTuner tuner;
    tuner.SetString(kAutoString);
    EXPECT_EQ(tuner.Start(""), kMicrophone);
    ASSERT_TRUE(Within(5000, [&] { return tuner.CurrentStatus() == TunerListening::Status::Listening; }))
        << int(tuner.CurrentStatus());

    PlayIntoMicrophone(RingingString(StringA, 13, 6, 44100), 44100);
    ASSERT_TRUE(Within(8000, [&] { return tuner.Latest().heard; })) << "the string was never heard";
    // Several readings while the string rings: the A string, 13 cents sharp.
    for (int i = 0; i < 5; ++i) {
        Within(200, [] { return false; });
        const TuningReading reading = tuner.Latest();
        ASSERT_TRUE(reading.heard);
        EXPECT_EQ(reading.string, StringA);
        EXPECT_NEAR(reading.cents, 13, 3.0);
    }

    // Paused (a reference tone sounds): what was heard is forgotten.
    tuner.SetPaused(true);
    EXPECT_EQ(tuner.CurrentStatus(), TunerListening::Status::Paused);
    Within(300, [] { return false; });
    EXPECT_FALSE(tuner.Latest().heard);
    tuner.SetPaused(false);
    tuner.SetString(StringA);
    EXPECT_TRUE(Within(3000, [&] { return tuner.Latest().heard; })) << "listening did not resume";

    tuner.Stop();
    EXPECT_EQ(tuner.CurrentStatus(), TunerListening::Status::Off);
}

// Blocks arrive stamped with their frames' time on the toolkit's clock:
// steady, gap-free and a little before their arrival.
TEST_F(Capture, FramesAreStampedOnTheToolkitsClock) {
    struct Block {
        std::int64_t first, arrived;
        std::size_t count;
        int rate;
    };
    std::mutex mutex;
    std::vector<Block> blocks;
    Microphone microphone;
    microphone.Start(kMicrophone, [&](const float*, std::size_t count, std::int64_t first, int rate) {
        std::lock_guard lock(mutex);
        blocks.push_back({first, ClockMicros(), count, rate});
    });
    // Four seconds of frames; the first three fill the frame clock's window.
    auto seconds = [&] {
        std::lock_guard lock(mutex);
        double total = 0;
        for (const Block& block : blocks) total += double(block.count) / block.rate;
        return total;
    };
    ASSERT_TRUE(Within(15000, [&] { return seconds() >= 4.0; })) << seconds() << " s";
    microphone.Stop();
    std::lock_guard lock(mutex);
    std::size_t settled = 0;
    for (double filled = 0; settled < blocks.size() && filled < 3.0; ++settled)
        filled += double(blocks[settled].count) / blocks[settled].rate;
    ASSERT_GT(blocks.size() - settled, 5u);
    for (std::size_t i = settled; i + 1 < blocks.size(); ++i) {
        const Block& block = blocks[i];
        const double duration = double(block.count) * 1e6 / block.rate;
        EXPECT_LE(double(block.first) + duration, double(block.arrived) + 1000.0) << "block " << i;
        EXPECT_GT(double(block.first), double(block.arrived) - 500000.0) << "block " << i;
        // The next block starts where this one ends (the anchor may move by
        // a few hundred microseconds).
        EXPECT_NEAR(double(blocks[i + 1].first), double(block.first) + duration, 2000.0) << "block " << i;
    }
}

// An input that goes away while listening is reported, never waited for.
TEST_F(Capture, AMicrophoneThatGoesAwayIsReportedLost) {
    const QString module = AddMicrophone("zupfari_usb");
    ASSERT_FALSE(module.isEmpty());
    ASSERT_TRUE(Within(5000, [] {
        for (const InputDevice& input : InputDevices())
            if (input.id == "zupfari_usb") return true;
        return false;
    }));
    MicrophoneTuner tuner;
    EXPECT_EQ(tuner.Start("zupfari_usb"), "zupfari_usb");
    ASSERT_TRUE(Within(5000, [&] { return tuner.CurrentStatus() == TunerListening::Status::Listening; }));
    Pactl({"unload-module", module});
    EXPECT_TRUE(Within(5000, [&] { return tuner.CurrentStatus() == TunerListening::Status::Lost; }))
        << int(tuner.CurrentStatus());
    // Starting again falls back to the server's default input.
    EXPECT_EQ(tuner.Start("zupfari_usb"), kMicrophone);
}

// zupfari-listen tune - : the same lines as for a file, from the microphone.
TEST_F(Capture, TheToolTunesFromTheMicrophone) {
    PlayIntoMicrophone(RingingString(HighE, -20, 5, 48000), 48000);
    QProcess tool;
    tool.start(QString::fromStdString(testsupport::BinFolder() + "zupfari-listen"),
               {"tune", "--string", "e", "--seconds", "3", "-"});
    ASSERT_TRUE(tool.waitForFinished(20000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 60); // 3 s of sound
    static const QRegularExpression heard(R"(^\s*\d+\.\d{3}\s+e\s+(\d+\.\d{2}) Hz\s+([+-]\d+\.\d) cents$)");
    std::vector<double> cents;
    for (const QString& line : lines) {
        const auto match = heard.match(line);
        if (!match.hasMatch()) continue;
        cents.push_back(match.captured(2).toDouble());
        // Right after each new pluck the string rings a little sharp.
        EXPECT_NEAR(cents.back(), -20, 5) << line.toStdString();
    }
    ASSERT_GE(cents.size(), 40u) << lines.join('\n').toStdString();
    std::sort(cents.begin(), cents.end());
    EXPECT_NEAR(cents[cents.size() / 2], -20, 3.0);
}

} // namespace
