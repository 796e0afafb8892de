// Figures of the built-in synthesizer's timing (run by hand; prints only).
//
// A click track (claves on the percussion channel, 173 to 233 ticks apart at
// 120 beats a minute, so that the clicks fall all over the synthesizer's
// periods) is
// - rendered offline by the synthesizer on the toolkit's manual clock, and
// - played in real time through "Zupfari Synth" into a private PulseAudio
//   server with a null sink, whose monitor parec records.
// In both every hit is found (the first sample above a quarter of the
// loudest) and set against its due time; after one offset is fitted (the
// detector's own delay; for the recording also the output latency) the
// deviations are printed as median / p99 / max. The output latency the engine
// reports (MidiGetOutputLatency) is printed beside the one measured: the
// recording's clicks against their due times, less the detector's delay of
// the offline run. The recording's samples are placed on the engine's clock
// by the moments parec's data arrives: the earliest arrival in each second
// bounds when a sample was played, and a line through these bounds gives
// every sample its time, so that a sound server whose clock runs a little
// fast or slow against the engine's (here the null sink: 80 ppm) is measured
// as it plays, not as if it kept the nominal rate.
// Then the first note after a long silence (the synthesizer's stream asleep),
// once started at once and once after a file load and a two-second pre-roll,
// as the program plays; and the processor time of this process and of the
// sound server while the clicks play and while everything is quiet.
//
//   build/tests/synth_timing_benchmark [clicks, default 120]

#include "mxmidi/testing.h"
#include "sequenzor/sequenzor.h"
#include "sequenzor/sequenzortiming.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QEventLoop>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kMicrosecondsPerTick = 500000.0 / 480.0;
constexpr unsigned long kAppend = 0xFFFFFFFFul;

// --- The click track ----------------------------------------------------------

// Ticks of the clicks: 173 to 233 apart, scattered.
std::vector<std::uint32_t> ClickTicks(int clicks) {
    std::vector<std::uint32_t> ticks;
    std::uint32_t tick = 480;
    for (int k = 0; k < clicks; ++k) {
        ticks.push_back(tick);
        tick += 173 + static_cast<std::uint32_t>((k * 37) % 61);
    }
    return ticks;
}

void Put(std::uint32_t delta, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    MidiEvent event{delta, status, data1, data2, 0};
    MidiInsertEvent(0, &event, kAppend);
}

void BuildClickTrack(const std::vector<std::uint32_t>& ticks) {
    MidiNewTrackList(1);
    Put(0, 0xB9, 91, 0); // as dry as the kit allows
    Put(0, 0xB9, 93, 0);
    std::uint32_t last = 0;
    for (std::uint32_t tick : ticks) {
        Put(tick - last, 0x99, 75, 127);
        Put(40, 0x89, 75, 0);
        last = tick + 40;
    }
}

std::vector<double> DueTimes(double start, const std::vector<std::uint32_t>& ticks) {
    std::vector<double> dues;
    for (std::uint32_t tick : ticks)
        dues.push_back(start + std::floor(double(tick) * kMicrosecondsPerTick));
    return dues;
}

// --- Finding the hits ---------------------------------------------------------

// When each sample of a recording was played: in each stretch of sound
// (the server stops sending while its sink is suspended) the time of the
// stretch's first sample and the time between two samples (µs).
struct SampleClock {
    struct Stretch {
        std::size_t firstSample = 0;
        double first = 0.0;
        double step = 1e6 / kRate;
    };
    std::vector<Stretch> stretches{Stretch{}};
    static SampleClock Nominal(double first) { return SampleClock{{Stretch{0, first}}}; }
    double TimeOf(std::size_t sample) const {
        auto stretch = stretches.begin();
        for (auto next = stretch; next != stretches.end() && next->firstSample <= sample; ++next)
            stretch = next;
        return stretch->first + double(sample - stretch->firstSample) * stretch->step;
    }
};

// Times (µs, on the engine's clock) where the signal first rises above a
// quarter of its loudest after 60 ms below it.
std::vector<double> Onsets(const std::vector<float>& samples, const SampleClock& clock) {
    float peak = 0.0f;
    for (float sample : samples)
        peak = std::max(peak, std::fabs(sample));
    const float threshold = 0.25f * peak;
    std::vector<double> onsets;
    std::size_t quietSince = 0;
    const std::size_t refractory = kRate * 60 / 1000;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::fabs(samples[i]) < threshold) continue;
        if (onsets.empty() || i - quietSince >= refractory)
            onsets.push_back(clock.TimeOf(i));
        quietSince = i;
    }
    return onsets;
}

// For each expected time the nearest onset within 40 ms, minus the expected
// time; hits not found are left out and counted.
std::vector<double> Offsets(const std::vector<double>& onsets, const std::vector<double>& expected,
                            int* missing) {
    std::vector<double> offsets;
    *missing = 0;
    for (double time : expected) {
        auto nearest = std::min_element(onsets.begin(), onsets.end(), [&](double a, double b) {
            return std::fabs(a - time) < std::fabs(b - time);
        });
        if (nearest == onsets.end() || std::fabs(*nearest - time) > 40000.0) {
            ++*missing;
            continue;
        }
        offsets.push_back(*nearest - time);
    }
    return offsets;
}

double Median(std::vector<double> values) {
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(std::ceil(p * double(values.size())) - 1))];
}

// Deviations from one fitted offset, in ms: median / p99 / max of their size.
void PrintDeviations(const char* what, const std::vector<double>& offsets, int missing) {
    const double fitted = Median(offsets);
    std::vector<double> deviations;
    for (double offset : offsets)
        deviations.push_back(std::fabs(offset - fitted) / 1000.0);
    std::printf("  %-46s %5.2f / %5.2f / %5.2f ms  (%zu hits, %d not found)\n", what,
                Median(deviations), Percentile(deviations, 0.99),
                deviations.empty() ? NAN : *std::max_element(deviations.begin(), deviations.end()),
                offsets.size(), missing);
}

// --- Processor time -----------------------------------------------------------

// The scheduler's count of the time run by the threads a process has now, in
// seconds (exact; the tick-sampled utime and stime charge a process that
// wakes briefly and often on an idle machine whole ticks).
double ProcessSeconds(qint64 pid) {
    double seconds = 0.0;
    const QString tasks = QString("/proc/%1/task").arg(pid);
    for (const QString& tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks + "/" + tid + "/schedstat");
        if (stat.open(QIODevice::ReadOnly)) seconds += stat.readAll().split(' ')[0].toDouble() / 1e9;
    }
    return seconds;
}

// --- The private sound server and the recording -------------------------------

template <typename Condition> bool WaitFor(Condition done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QThread::msleep(20);
    }
    return true;
}

class PrivateAudioServer {
public:
    // A desktop's sound server runs at real-time priority (RealtimeKit gives
    // it that); where this user may, so does this one (chrt), else it runs
    // as it can and the figures show it.
    bool Start() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) return false;
        const QStringList arguments = {"-n", "--daemonize=yes", "--exit-idle-time=-1",
                                       "--load=module-null-sink",
                                       "--load=module-native-protocol-unix",
                                       "--load=module-suspend-on-idle"};
        realtime_ = !QStandardPaths::findExecutable("chrt").isEmpty() &&
                    Run(QStringList{"-r", "5", "pulseaudio"} + arguments, "chrt");
        if (!realtime_ && !Run(arguments)) return false;
        return WaitFor([this] { return QFile::exists(Socket()); }, 5000);
    }
    bool Realtime() const { return realtime_; }
    ~PrivateAudioServer() {
        if (Run({"-k"})) WaitFor([this] { return !QFile::exists(PidFile()); }, 5000);
    }
    QString Socket() const { return runtime_.path() + "/pulse/native"; }
    QString PidFile() const { return runtime_.path() + "/pulse/pid"; }
    qint64 Pid() const {
        QFile file(PidFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
    }
    // The null sink's configured latency, in µs (pactl's report): it renders
    // (and its monitor records) up to that long before the sound counts as
    // played.
    double SinkLatency() const {
        QProcess pactl;
        pactl.setProcessEnvironment(Environment());
        pactl.start("pactl", {"list", "sinks"});
        if (!pactl.waitForFinished(5000)) return NAN;
        for (const QString& line : QString::fromUtf8(pactl.readAllStandardOutput()).split('\n')) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith("Latency:"))
                return trimmed.section("configured", 1).trimmed().section(' ', 0, 0).toDouble();
        }
        return NAN;
    }
    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        env.insert("PULSE_SERVER", "unix:" + Socket());
        return env;
    }

private:
    bool Run(const QStringList& arguments, const QString& program = "pulseaudio") const {
        QProcess pulse;
        pulse.setProcessEnvironment(Environment());
        pulse.start(program, arguments);
        return pulse.waitForFinished(10000) && pulse.exitCode() == 0;
    }
    QTemporaryDir runtime_;
    bool realtime_ = false;
};

// parec on the null sink's monitor, mono 16-bit; every piece of data that
// arrives is stamped with the engine's clock.
class Recorder {
public:
    explicit Recorder(const PrivateAudioServer& server) {
        parec_.setProcessEnvironment(server.Environment());
        QObject::connect(&parec_, &QProcess::readyReadStandardOutput, [this] { Take(); });
        parec_.start("parec", {"-d", "null.monitor", "--raw", "--format=s16le", "--rate=44100",
                               "--channels=1", "--latency-msec=10"});
    }
    bool Started() { return parec_.waitForStarted(5000); }
    void Stop() {
        Take();
        parec_.terminate();
        parec_.waitForFinished(5000);
    }
    // The samples' times. A pause of more than half a second in the data
    // starts a new stretch. In each stretch, for each second of samples the
    // earliest of (arrival - the time of the stretch's samples before it)
    // bounds when its first sample was played; a line fitted through these
    // bounds by least squares gives the stretch's first time and its step.
    SampleClock Clock() const {
        SampleClock clock;
        clock.stretches.clear();
        std::size_t begin = 0;
        for (std::size_t i = 1; i <= arrivals_.size(); ++i) {
            if (i < arrivals_.size() && arrivals_[i].second - arrivals_[i - 1].second < 500000.0)
                continue;
            clock.stretches.push_back(FitStretch(begin, i));
            begin = i;
        }
        if (clock.stretches.empty()) clock.stretches.push_back({});
        return clock;
    }
    // How far the server's sample clock ran from the engine's in the first
    // stretch (the click track), in ppm (above 0: fast).
    double ClockDrift() const {
        const SampleClock clock = Clock();
        return (1.0 - clock.stretches.front().step * kRate / 1e6) * 1e6;
    }
    std::vector<float> Samples() const {
        std::vector<float> samples(bytes_.size() / 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const auto value = static_cast<std::int16_t>(
                std::uint16_t(std::uint8_t(bytes_[2 * i])) |
                std::uint16_t(std::uint16_t(std::uint8_t(bytes_[2 * i + 1])) << 8));
            samples[i] = float(value) / 32768.0f;
        }
        return samples;
    }

private:
    // Arrivals [begin, end) as one stretch.
    SampleClock::Stretch FitStretch(std::size_t begin, std::size_t end) const {
        const std::size_t firstSample = arrivals_[begin].first;
        std::vector<std::pair<double, double>> bounds; // sample in stretch, bound
        for (std::size_t i = begin; i < end; ++i) {
            const double sample = double(arrivals_[i].first - firstSample);
            const double bound = arrivals_[i].second - sample * 1e6 / kRate;
            const auto second = static_cast<std::size_t>(sample / kRate);
            if (bounds.size() <= second) bounds.resize(second + 1, {0.0, 1e300});
            if (bound < bounds[second].second) bounds[second] = {sample, bound};
        }
        std::erase_if(bounds, [](const auto& bound) { return bound.second > 1e299; });
        if (bounds.size() < 3) {
            double earliest = 1e300;
            for (const auto& bound : bounds)
                earliest = std::min(earliest, bound.second);
            return {firstSample, earliest};
        }
        double meanX = 0.0, meanY = 0.0;
        for (const auto& [x, y] : bounds) {
            meanX += x / double(bounds.size());
            meanY += y / double(bounds.size());
        }
        double sxy = 0.0, sxx = 0.0;
        for (const auto& [x, y] : bounds) {
            sxy += (x - meanX) * (y - meanY);
            sxx += (x - meanX) * (x - meanX);
        }
        const double slope = sxx > 0.0 ? sxy / sxx : 0.0;
        return {firstSample, meanY - slope * meanX, 1e6 / kRate + slope};
    }

    void Take() {
        const double now = double(MidiGetClock());
        const QByteArray data = parec_.readAllStandardOutput();
        if (data.isEmpty()) return;
        arrivals_.push_back({bytes_.size() / 2, now});
        bytes_.append(data);
    }
    QProcess parec_;
    QByteArray bytes_;
    std::vector<std::pair<std::size_t, double>> arrivals_; // samples before, arrival
};

// Runs the event loop for `ms` (asleep between events, as a program is).
void RunEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until the piece has ended, looking every 20 ms.
bool PlayToTheEnd(int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (MidiGetStatus() == 1 && clock.elapsed() < limitMs)
        RunEvents(20);
    return MidiGetStatus() == 2;
}

void PrintCounts() {
    const mxmidi::testing::SynthCounts counts = mxmidi::testing::GetSynthCounts();
    std::printf("  %-46s wakes %llu, sleeps %llu, clock jumps %llu, underruns %llu, "
                "late messages %llu\n",
                "the synthesizer's stream so far:", (unsigned long long)counts.wakes,
                (unsigned long long)counts.sleeps, (unsigned long long)counts.jumps,
                (unsigned long long)counts.underruns, (unsigned long long)counts.lateMessages);
}

struct Run {
    std::vector<double> dues;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int clicks = argc > 1 ? std::max(10, std::atoi(argv[1])) : 120;
    const std::vector<std::uint32_t> ticks = ClickTicks(clicks);

    PrivateAudioServer server;
    const bool haveServer = server.Start();
    if (haveServer) {
        qputenv("PULSE_SERVER", ("unix:" + server.Socket()).toUtf8());
        qputenv("XDG_RUNTIME_DIR", server.Environment().value("XDG_RUNTIME_DIR").toUtf8());
    }

    // Offline: the manual clock renders the synthesizer frame by frame.
    mxmidi::testing::UseManualClock();
    if (MidiInitWin(&app) != 1 || MidiSetDeviceByID(0) != 1) {
        std::printf("the synthesizer does not open (no sound font?)\n");
        return 1;
    }
    BuildClickTrack(ticks);
    mxmidi::testing::StartSynthCapture();
    const double offlineStart = double(MidiGetClock());
    MidiStart(0, 0, 0.0);
    for (int step = 0; step < 600000 && MidiGetStatus() == 1; ++step) {
        mxmidi::testing::AdvanceClock(1000);
        QCoreApplication::sendPostedEvents();
    }
    mxmidi::testing::AdvanceClock(500000);
    const mxmidi::testing::SynthCapture offline = mxmidi::testing::TakeSynthCapture();
    int missing = 0;
    const std::vector<double> offlineOffsets =
        Offsets(Onsets(offline.samples, SampleClock::Nominal(double(offline.firstDue))),
                DueTimes(offlineStart, ticks), &missing);
    const double detectorDelay = Median(offlineOffsets);
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("Load average %.1f (%d cores); the sound server runs %s\n", load[0],
                int(sysconf(_SC_NPROCESSORS_ONLN)),
                !haveServer ? "not at all" : server.Realtime() ? "at real-time priority" : "as it can");
    std::printf("Click track of %d hits, deviation from the due times after one fitted offset "
                "(median / p99 / max):\n", clicks);
    PrintDeviations("rendered offline by the synthesizer", offlineOffsets, missing);
    MidiStop();
    char none[] = "none";
    MidiSetDeviceByName(none); // closes the synthesizer's output
    mxmidi::testing::UseSteadyClock();

    if (!haveServer) {
        std::printf("  through a sound server: skipped, no PulseAudio server could be started\n");
        return 0;
    }
    if (MidiSetDeviceByID(0) != 1) {
        std::printf("  the synthesizer does not open on the steady clock\n");
        return 1;
    }
    const int latency = MidiGetOutputLatency();
    const qint64 serverPid = server.Pid();
    const qint64 ownPid = QCoreApplication::applicationPid();

    // Processor time, with nothing recording: the clicks in real time, then
    // the quiet after them (the stream sleeps five seconds after the end).
    RunEvents(1000);
    double serverBefore = ProcessSeconds(serverPid);
    double ownBefore = ProcessSeconds(ownPid);
    QElapsedTimer wall;
    wall.start();
    MidiStart(0, 0, 0.0);
    const bool ended = PlayToTheEnd(120000);
    const double playSeconds = double(wall.nsecsElapsed()) / 1e9;
    const double ownPlaying = ProcessSeconds(ownPid) - ownBefore;
    const double serverPlaying = ProcessSeconds(serverPid) - serverBefore;
    RunEvents(6000);
    const bool asleep = !mxmidi::testing::GetSynthCounts().awake;
    serverBefore = ProcessSeconds(serverPid);
    ownBefore = ProcessSeconds(ownPid);
    wall.restart();
    RunEvents(5000);
    const double quietSeconds = double(wall.nsecsElapsed()) / 1e9;
    const double ownQuiet = ProcessSeconds(ownPid) - ownBefore;
    const double serverQuiet = ProcessSeconds(serverPid) - serverBefore;

    // The same clicks recorded, after the stream slept: the first ones show
    // the wake.
    Recorder recorder(server);
    if (!recorder.Started()) {
        std::printf("  parec did not start\n");
        return 1;
    }
    RunEvents(1000);
    MidiStart(0, 0, 0.0);
    const double realStart = double(MidiGetBeatTime(0)); // the run's tick 0
    RunEvents(2000);
    const double sinkLatency = server.SinkLatency();
    PlayToTheEnd(120000);
    const std::vector<double> realDues = DueTimes(realStart, ticks);

    // The first clicks after another silence: started at once, as a resume
    // from a pause does.
    RunEvents(7000);
    const std::vector<std::uint32_t> few(ticks.begin(), ticks.begin() + 4);
    BuildClickTrack(few);
    MidiStart(0, 0, 0.0);
    const double resumeStart = double(MidiGetBeatTime(0)); // the run's tick 0
    PlayToTheEnd(10000);
    const std::vector<double> resumeDues = DueTimes(resumeStart, few);

    // And after another silence, as Play does: the file is loaded, the
    // pre-roll blinks for two seconds, then the engine starts.
    RunEvents(7000);
    QTemporaryDir folder;
    const std::string file = (folder.path() + "/clicks.mid").toStdString();
    MidiSaveFile(file.c_str());
    MidiLoadFile(file.c_str());
    RunEvents(2000);
    MidiStart(0, 0, 0.0);
    const double playStart = double(MidiGetBeatTime(0)); // the run's tick 0
    PlayToTheEnd(10000);
    const std::vector<double> playDues = DueTimes(playStart, few);
    RunEvents(500);
    recorder.Stop();

    const std::vector<float> samples = recorder.Samples();
    const std::vector<double> onsets = Onsets(samples, recorder.Clock());
    std::vector<double> expected;
    for (double due : realDues)
        expected.push_back(due + latency);
    const std::vector<double> realOffsets = Offsets(onsets, expected, &missing);
    PrintDeviations("played through \"Zupfari Synth\", recorded", realOffsets, missing);
    std::printf("  %-46s %+6.1f ppm against the engine's clock\n",
                "the sound server's sample clock ran", recorder.ClockDrift());
    if (!ended) std::printf("  (the real-time run did not end in time)\n");

    std::printf("Output latency:\n");
    std::printf("  %-46s %6.2f ms\n", "reported by MidiGetOutputLatency", latency / 1000.0);
    std::vector<double> measured;
    for (double offset : realOffsets)
        measured.push_back((offset + latency - detectorDelay) / 1000.0);
    std::printf("  %-46s %6.2f ms  (min %.2f, max %.2f)\n",
                "recorded: hit at the monitor - due - detector", Median(measured),
                measured.empty() ? NAN : *std::min_element(measured.begin(), measured.end()),
                measured.empty() ? NAN : *std::max_element(measured.begin(), measured.end()));
    std::printf("  %-46s %6.2f ms\n", "  the null sink renders ahead by up to",
                sinkLatency / 1000.0);
    std::printf("  %-46s %6.2f to %.2f ms\n", "  so heard, by the sound server's clock,",
                Median(measured), Median(measured) + sinkLatency / 1000.0);
    std::printf("First clicks after five silent seconds, heard - (due + reported latency):\n");
    for (const auto& [what, dues] : {std::pair{"started at once (a resume)", resumeDues},
                                     std::pair{"after a load and a 2 s pre-roll (Play)", playDues}}) {
        std::vector<double> late;
        std::vector<double> exp;
        for (double due : dues)
            exp.push_back(due + latency);
        int notFound = 0;
        for (double offset : Offsets(onsets, exp, &notFound))
            late.push_back((offset - detectorDelay) / 1000.0);
        std::printf("  %-46s", what);
        for (double value : late)
            std::printf(" %+6.2f", value);
        std::printf(" ms%s\n", notFound ? "  (some not found)" : "");
    }
    PrintCounts();

    std::printf("Processor time (%% of one core):\n");
    std::printf("  %-46s %6.2f %%   sound server %6.2f %%\n", "clicks playing: this process",
                100.0 * ownPlaying / playSeconds, 100.0 * serverPlaying / playSeconds);
    std::printf("  %-46s %6.2f %%   sound server %6.2f %%   (stream %s)\n",
                "quiet, 6 s after the end: this process", 100.0 * ownQuiet / quietSeconds,
                100.0 * serverQuiet / quietSeconds, asleep ? "asleep" : "STILL AWAKE");
    return 0;
}
