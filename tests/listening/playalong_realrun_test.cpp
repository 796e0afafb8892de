// The play-along check in the real program: lesson 1 at tempo level 10 on
// a private X display, "Mitspielen prüfen" switched on with a click, a pass
// played through "MIDI Log" (no sound of the program's own), and a learner's
// take heard through a microphone of a private PulseAudio server: a pipe
// source that this test fills in real time, each sample written when its
// moment has passed, as a sound card would deliver it. The take lines up
// with the moment the program says the file's first beat is heard, as late
// as the microphone's delay kept in the settings for that input. The marks
// and the summary line appear, and the line counts what the take played.
//
// The window at the end goes to build/gallery (or the folder
// ZUPFARI_GALLERY names) as playalong-summary.png; SPRACHBANK_LANGUAGE=1
// for the English edition.
#include "listening/exercisepart.h"
#include "tests/app/transportrun.h"
#include "tests/listening/learnertake.h"

#include "layout/screenlayout.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

using testsupport::WaitFor;
using transportrun::LessonOneRun;

const char* const kMicrophone = "zupfari_mic";
constexpr std::int64_t kMicrophoneDelay = 20000; // as the settings keep it for the microphone
constexpr int kChunkFrames = 441;                // 10 ms

std::int64_t SteadyMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Writes the microphone's samples into the pipe source's FIFO as the time
// passes: each 10 ms at their end, a faint hiss until the file's time 0 is
// known, then the take at its place.
class MicrophoneFeeder {
public:
    MicrophoneFeeder(const std::string& fifo, std::vector<float> take) : take_(std::move(take)) {
        fd_ = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd_ >= 0) thread_ = std::thread([this] { Run(); });
    }
    ~MicrophoneFeeder() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) ::close(fd_);
    }
    bool Open() const { return fd_ >= 0; }
    // The file's time 0 is heard at `micros` (steady clock).
    void SetFileStart(std::int64_t micros) { fileStart_ = micros; }

private:
    void Run() {
        std::mt19937 random(5);
        std::normal_distribution<float> hiss(0, 0.0005f);
        std::vector<float> chunk(kChunkFrames);
        const std::int64_t begin = SteadyMicros();
        for (std::int64_t k = 1; !stop_; ++k) {
            const std::int64_t end = begin + k * 10000;
            std::this_thread::sleep_until(std::chrono::steady_clock::time_point(std::chrono::microseconds(end)));
            const std::int64_t start = fileStart_.load();
            // The take's frame heard at the chunk's first moment.
            const std::int64_t first = start > 0 ? (end - 10000 - start - kMicrophoneDelay) * listentest::kTakeRate / 1000000
                                                 : -std::int64_t(take_.size()) - kChunkFrames;
            for (int i = 0; i < kChunkFrames; ++i) {
                const std::int64_t frame = first + i;
                float sample = hiss(random);
                if (frame >= 0 && frame < std::int64_t(take_.size())) sample += take_[std::size_t(frame)];
                chunk[std::size_t(i)] = sample;
            }
            const ssize_t written = ::write(fd_, chunk.data(), chunk.size() * sizeof(float));
            (void)written; // a full pipe drops a chunk, as an overrun card would
        }
    }

    std::vector<float> take_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<std::int64_t> fileStart_{0};
    std::thread thread_;
};

// What pactl printed; `ok` tells whether it succeeded.
QString Pactl(const QStringList& arguments, bool* ok = nullptr) {
    QProcess pactl;
    pactl.start("pactl", arguments);
    const bool done = pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
    if (ok != nullptr) *ok = done;
    return done ? QString::fromUtf8(pactl.readAllStandardOutput()) : QString();
}

// The value of the last "ZUPFARI-STEADY <what> <µs>" line, or -1.
std::int64_t SteadyReport(const QString& stderrText, const QString& what) {
    const QRegularExpression line("ZUPFARI-STEADY " + QRegularExpression::escape(what) + " (-?\\d+)");
    std::int64_t micros = -1;
    for (auto match = line.globalMatch(stderrText); match.hasNext();) micros = match.next().captured(1).toLongLong();
    return micros;
}

// The last caption the program reported for the summary line.
QString SummaryLine(const QString& stderrText) {
    QString last;
    for (const QString& line : stderrText.split('\n'))
        if (line.startsWith("ZUPFARI-CAPTION LErgebnis ")) last = line.mid(26);
    return last;
}

// The screen of display `display`, through the X library's Python binding.
QImage GrabScreen(const std::string& display, int width, int height) {
    const QString script = QString("import sys\nfrom Xlib import display, X\n"
                                   "d = display.Display('%1')\n"
                                   "r = d.screen().root.get_image(0, 0, %2, %3, X.ZPixmap, 0xffffffff)\n"
                                   "sys.stdout.buffer.write(r.data)\n")
                               .arg(QString::fromStdString(display))
                               .arg(width)
                               .arg(height);
    // Debian's own interpreter, which has the binding, before any other.
    const QString interpreter = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    QProcess python;
    python.start(interpreter, {"-c", script});
    if (!python.waitForFinished(20000)) return {};
    const QByteArray pixels = python.readAllStandardOutput();
    if (pixels.size() != qsizetype(width) * height * 4) return {};
    return QImage(reinterpret_cast<const uchar*>(pixels.constData()), width, height, QImage::Format_RGB32).copy();
}

int PixelsOf(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    return count;
}

class PlayAlongRealRun : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"pulseaudio", "pactl", "python3"})
            if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
        fifo_ = folder_.Path() + "/microphone.fifo";
        const QString runtime = QString::fromLocal8Bit(std::getenv("XDG_RUNTIME_DIR"));
        server_ = "unix:" + runtime + "/pulse/native";
    }
    // The server with its microphone: a pipe source this test fills, or
    // (`loopback`) a source remapped from a null sink's monitor, so that
    // the microphone hears what the program plays.
    void StartServer(bool loopback) {
        const QString microphone =
            loopback ? QString("--load=module-remap-source source_name=%1 master=zupfari_out.monitor").arg(kMicrophone)
                     : QString("--load=module-pipe-source source_name=%1 file=%2 format=float32le rate=%3 channels=1")
                           .arg(kMicrophone, QString::fromStdString(fifo_))
                           .arg(listentest::kTakeRate);
        QStringList arguments{"-n", "--daemonize=yes", "--exit-idle-time=-1", "--load=module-native-protocol-unix"};
        if (loopback) arguments << "--load=module-null-sink sink_name=zupfari_out";
        arguments << microphone;
        started_ = QProcess::execute("pulseaudio", arguments) == 0 &&
                   WaitFor([] { return !Pactl({"info"}).isEmpty(); }, 5000);
        ASSERT_TRUE(started_) << "the private PulseAudio server did not start";
        if (loopback) Pactl({"set-default-sink", "zupfari_out"});
        bool chosen = false;
        Pactl({"set-default-source", kMicrophone}, &chosen);
        ASSERT_TRUE(chosen) << "no pipe source: " << Pactl({"list", "short", "sources"}).toStdString();
    }
    void TearDown() override {
        if (started_) QProcess::execute("pulseaudio", {"-k"});
    }

    testsupport::TempFolder folder_;
    std::string fifo_;
    QString server_;
    bool started_ = false;
};

TEST_F(PlayAlongRealRun, APassPlayedIntoTheMicrophoneIsMarkedAndSummedUp) {
    StartServer(false);
    testsupport::XvfbServer xvfb;
    if (!xvfb.Start()) GTEST_SKIP() << "no Xvfb on this machine";
    LessonOneRun run(xvfb.Display(), "MIDI Log");
    if (!run.Pointer().Ready()) GTEST_SKIP() << "no XTest on this display";
    run.SetEnv("ZUPFARI_TIMING", "steady");
    run.SetEnv("ZUPFARI_CAPTIONS", "LErgebnis");
    run.SetEnv("PULSE_SERVER", server_);
    if (const char* language = std::getenv("SPRACHBANK_LANGUAGE")) run.SetEnv("SPRACHBANK_LANGUAGE", language);
    {
        QFile settings(run.Program().DataFolder() + "zupfaripref.ini");
        ASSERT_TRUE(settings.open(QIODevice::Append));
        settings.write(QString("[Listening]\r\nInput=%1\r\nDelay %1=%2\r\n").arg(kMicrophone).arg(kMicrophoneDelay).toLatin1());
    }

    // The learner plays lesson 1 as written but, in the line's second time
    // (whose marks stay on the screen), leaves out two notes of one bar
    // and plays one of the next a semitone high.
    listening::ExercisePart part;
    std::string error;
    ASSERT_TRUE(listening::ReadExercisePart(listentest::ExerciseFileOf(1, 10), part, error)) << error;
    std::vector<listentest::PlayedStrike> played = listentest::AsWritten(part);
    played[20].notes = {played[20].notes[0] + 1};
    played.erase(played.begin() + 17);
    played.erase(played.begin() + 16);
    const int notes = int(part.strikes.size());
    MicrophoneFeeder feeder(fifo_, listentest::RenderTake(played, double(part.endMicros) / 1e6 + 1.0, -70));
    ASSERT_TRUE(feeder.Open()) << "the pipe source's FIFO is not there";

    ASSERT_TRUE(run.Start()) << run.Failure().toStdString();
    // The switch beside the transport (the lesson is open before a click is
    // handled), then F5.
    run.Click(layout::PlayAlongSwitches.topLeft() + QPoint(13, layout::PlayAlongSwitches.height() / 2));
    QThread::msleep(300);
    ASSERT_TRUE(run.Key("F5"));
    ASSERT_TRUE(WaitFor([&] { return SteadyReport(run.Program().Stderr(), "first-beat-heard") > 0; }, 15000))
        << run.Program().Stderr().toStdString();
    feeder.SetFileStart(SteadyReport(run.Program().Stderr(), "first-beat-heard"));

    const QString onTime = QString("%1 von %2 Tönen im Takt").arg(notes - 3).arg(notes);
    const QString english = QString("%1 of %2 notes on time").arg(notes - 3).arg(notes);
    const bool summed = WaitFor(
        [&] {
            const QString line = SummaryLine(run.Program().Stderr());
            return line.contains("Tönen") || line.contains("notes on");
        },
        double(part.endMicros) / 1000 + 20000);
    const QString line = SummaryLine(run.Program().Stderr());
    ASSERT_TRUE(summed) << line.toStdString() << "\n" << run.Program().Stderr().toStdString();
    EXPECT_TRUE(line.startsWith(onTime) || line.startsWith(english)) << line.toStdString();
    ASSERT_NE(part.strikes[16].bar, part.strikes[20].bar);
    EXPECT_TRUE(line.endsWith(QString("Takt %1").arg(part.strikes[16].bar)) ||
                line.endsWith(QString("bar %1").arg(part.strikes[16].bar)))
        << line.toStdString();

    // The marks under the notation: green for the notes on time, red for
    // the wrong and the missed.
    const QImage screen = GrabScreen(xvfb.Display(), xvfb.Width(), xvfb.Height());
    ASSERT_FALSE(screen.isNull());
    const QRect window(run.WindowOrigin(), layout::MainWindow);
    EXPECT_GT(PixelsOf(screen, window, qRgb(40, 170, 60)), 20 * (notes - 3));
    EXPECT_GT(PixelsOf(screen, window, qRgb(210, 40, 40)), 20 * 3);
    const char* named = std::getenv("ZUPFARI_GALLERY");
    const QString gallery = named != nullptr ? QString(named) : QString::fromStdString(testsupport::BinFolder()) + "../gallery";
    QDir().mkpath(gallery);
    screen.copy(window).save(gallery + "/playalong-summary.png");
}

// "Einmessen" in the real program with the synthesizer playing into a
// null sink whose monitor is the microphone: the eight clicks are found and
// the delay (the server's capture path less what the frame clock already
// takes off) is kept for that microphone.
TEST_F(PlayAlongRealRun, CalibrationFindsTheSynthesizersClicksInTheMicrophone) {
    StartServer(true);
    testsupport::XvfbServer xvfb;
    if (!xvfb.Start()) GTEST_SKIP() << "no Xvfb on this machine";
    LessonOneRun run(xvfb.Display(), "Zupfari Synth");
    if (!run.Pointer().Ready()) GTEST_SKIP() << "no XTest on this display";
    run.SetEnv("ZUPFARI_CAPTIONS", "LErgebnis");
    run.SetEnv("PULSE_SERVER", server_);
    ASSERT_TRUE(run.Start()) << run.Failure().toStdString();
    const QRect summary = layout::PlayAlongSummary;
    run.Click(QPoint(summary.x() + 20, summary.bottom() + 9));
    const bool measured = WaitFor(
        [&] {
            const QString line = SummaryLine(run.Program().Stderr());
            return line.contains("eingemessen") || line.contains("calibrated") || line.contains("Nur ") ||
                   line.contains("Only ") || line.contains("E-Saite") || line.contains("low E");
        },
        20000);
    const QString line = SummaryLine(run.Program().Stderr());
    ASSERT_TRUE(measured) << line.toStdString() << "\n" << run.Program().Stderr().toStdString();
    EXPECT_TRUE(line.contains("eingemessen") || line.contains("calibrated")) << line.toStdString();
    QFile settings(run.Program().DataFolder() + "zupfaripref.ini");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(settings.readAll());
    const QRegularExpression stored(QString("Delay %1=(-?\\d+)").arg(kMicrophone));
    const auto match = stored.match(text);
    ASSERT_TRUE(match.hasMatch()) << text.toStdString();
    const long long delay = match.captured(1).toLongLong();
    std::printf("calibrated delay of the loopback: %lld us (%s)\n", delay, line.toUtf8().constData());
    EXPECT_GT(delay, -50000);
    EXPECT_LT(delay, 200000);
}

} // namespace
