// Figures of the transport in the real program (run by hand; prints only),
// on an Xvfb display of its own (ZUPFARI_SOUNDFONT passes on to the program):
// - the resident memory with the lesson open, and the CPU while it stands
//   open once the synthesizer has fallen asleep (with the sound server's);
// - the CPU of the whole program process (user-interface thread, LED and
//   beat threads, engine, synthesizer) from the engine's start to the end of
//   each pass of lesson 1 at tempo level 10, and while the lesson stands open
//   before it; once through the built-in synthesizer, which sounds into a
//   private PulseAudio server with a null sink (skipped without PulseAudio),
//   and once through "MIDI Log"; for every pass, each thread's share and how
//   often it woke; and what the machine charges for that many wake-ups at the
//   price of a bare thread's, and at most for one (the machine's part of the
//   figures, not the program's work);
// - from the "MIDI Log" run, the lag of the point's move onto each beat
//   behind the moment that beat is heard (the note leaving the engine plus
//   the device's output latency, which is 0 for "MIDI Log"): the log's times
//   are lined up with the program's own report of the engine start (the
//   pass's first click leaves at that moment) and compared with its reports
//   of the point; printed beside the figure of the 100 ms poll the point
//   used to move on; beside it, how much of that lag was the beat timer
//   waking the user-interface thread late, and how late the machine wakes a
//   bare thread of normal priority sleeping to deadlines a beat apart
//   meanwhile (what no program thread can beat).
//   build/tests/transport_benchmark [passes, default 2]

#include "tests/app/transportrun.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace {

using transportrun::LessonOneRun;
using transportrun::LogEvent;
using transportrun::Timing;

// utime + stime of a process (all its threads), in seconds. The kernel
// samples these on its timer tick: a process that wakes briefly and often on
// an otherwise idle machine is charged whole ticks (the tick that wakes the
// processor finds it running), so this over-counts such a process several
// times over. Printed beside the scheduler's count for comparison.
double TickSeconds(qint64 pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0.0;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return 0.0;
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

// Calls `visit(name, folder)` for every thread of a process, with the
// thread's name and its folder under /proc.
template <typename Visit> void ForEachThread(qint64 pid, Visit visit) {
    const QString tasks = QString("/proc/%1/task").arg(pid);
    for (const QString& tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks + "/" + tid + "/comm");
        if (name.open(QIODevice::ReadOnly)) visit(QString(name.readAll().trimmed()), tasks + "/" + tid);
    }
}

template <typename Count> Count Total(const std::map<QString, Count>& byThread) {
    Count total = 0;
    for (const auto& [name, count] : byThread) total += count;
    return total;
}

// What each thread name added between two counts.
template <typename Count>
std::map<QString, double> Added(const std::map<QString, Count>& before,
                                const std::map<QString, Count>& after) {
    std::map<QString, double> added;
    for (const auto& [name, count] : after) {
        const auto earlier = before.find(name);
        added[name] = double(count - (earlier == before.end() ? 0 : earlier->second));
    }
    return added;
}

// CPU time of each thread of a process by thread name (threads of one name
// added up), in seconds, from the scheduler's nanosecond count.
std::map<QString, double> ThreadSeconds(qint64 pid) {
    std::map<QString, double> seconds;
    ForEachThread(pid, [&](const QString& name, const QString& folder) {
        QFile stat(folder + "/schedstat");
        if (stat.open(QIODevice::ReadOnly))
            seconds[name] += stat.readAll().split(' ')[0].toDouble() / 1e9;
    });
    return seconds;
}

// The scheduler's own count of the time run by the threads a process has now
// (exact to the nanosecond), in seconds. A thread that ends between two counts
// takes its time with it; the tick figures printed beside show if that
// mattered.
double CpuSeconds(qint64 pid) {
    return Total(ThreadSeconds(pid));
}

// How often each thread of a process has gone to sleep and been woken (its
// voluntary context switches), by thread name (threads of one name added up).
std::map<QString, long long> SleepsByThread(qint64 pid) {
    std::map<QString, long long> sleeps;
    ForEachThread(pid, [&](const QString& name, const QString& folder) {
        QFile status(folder + "/status");
        if (!status.open(QIODevice::ReadOnly)) return;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:"))
                sleeps[name] += line.mid(24).trimmed().toLongLong();
    });
    return sleeps;
}

// One pass's figures by thread: its share of a core and its wake-ups a
// second (threads below 0.1 % or one wake-up a second left out).
void PrintThreads(int pass, const std::map<QString, double>& seconds,
                  const std::map<QString, double>& sleeps, double wallSeconds) {
    std::printf("  pass %d %-37s", pass + 1, "by thread (% of a core):");
    for (const auto& [name, used] : seconds)
        if (used * 1000.0 > wallSeconds)
            std::printf(" %s %.2f", name.toUtf8().constData(), 100.0 * used / wallSeconds);
    std::printf("\n  pass %d %-37s", pass + 1, "wake-ups a second, by thread:");
    for (const auto& [name, woken] : sleeps)
        if (woken >= wallSeconds) std::printf(" %s %.0f", name.toUtf8().constData(), woken / wallSeconds);
    std::printf("\n");
}

// Resident memory of a process, in MB.
double ResidentMegabytes(qint64 pid) {
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0.0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ')[0].toDouble() / 1024.0;
    return 0.0;
}

// CPU of `pid` while `work` runs, in percent of one core.
template <typename Work> double CpuPercent(qint64 pid, Work work, double* seconds = nullptr) {
    QElapsedTimer wall;
    const double before = CpuSeconds(pid);
    wall.start();
    work();
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    if (seconds != nullptr) *seconds = elapsed;
    return 100.0 * (CpuSeconds(pid) - before) / elapsed;
}

// A private PulseAudio server with a null sink, in its own runtime folder.
class PrivateAudioServer {
public:
    bool Start() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) return false;
        return Run({"-n", "--daemonize=yes", "--exit-idle-time=-1", "--load=module-null-sink",
                    "--load=module-native-protocol-unix", "--load=module-suspend-on-idle"}) &&
               testsupport::WaitFor([this] { return QFile::exists(Socket()); }, 5000);
    }
    ~PrivateAudioServer() {
        // The server removes its files as it goes; the folder goes after it.
        if (Run({"-k"})) testsupport::WaitFor([this] { return !QFile::exists(PidFile()); }, 5000);
    }
    QString RuntimeFolder() const { return runtime_.QPath(); }
    QString Socket() const { return runtime_.QPath() + "/pulse/native"; }
    QString PidFile() const { return runtime_.QPath() + "/pulse/pid"; }
    qint64 Pid() const {
        QFile file(PidFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
    }

private:
    bool Run(const QStringList& arguments) const {
        QProcess pulse;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime_.QPath());
        pulse.setProcessEnvironment(env);
        pulse.start("pulseaudio", arguments);
        return pulse.waitForFinished(10000) && pulse.exitCode() == 0;
    }
    testsupport::TempFolder runtime_;
};

void PrintSpread(const char* what, std::vector<double> values, const char* unit) {
    if (values.empty()) {
        std::printf("  %-44s no values\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    const std::size_t p99 = std::min(values.size() - 1, (values.size() * 99 + 99) / 100 - 1);
    std::printf("  %-44s min %7.1f  median %7.1f  p99 %7.1f  max %7.1f %s  (%zu)\n", what,
                values.front(), values[values.size() / 2], values[p99], values.back(), unit,
                values.size());
}

// The 99th percentile of the distance from 0.
double AbsoluteP99(std::vector<double> values) {
    if (values.empty()) return 0.0;
    for (double& value : values) value = std::abs(value);
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, (values.size() * 99 + 99) / 100 - 1)];
}

// The lag of every point move behind the note of its beat, in ms.
// The beat whose point lay farthest from its heard beat, of the last lags
// measured: its exercise beat, its pass (from 0) and the lag in ms.
struct WorstBeat {
    int beat = -1, pass = -1;
    double lag = 0.0;
    double wake = 0.0; // when the beat timer woke the thread, behind the heard beat
};
WorstBeat worstBeat;
// For every point: how late the beat timer woke the user-interface thread
// behind the heard beat, in ms (the rest of the point's lag is drawing).
std::vector<double> wakeLags;

std::vector<double> PointLags(const std::vector<Timing>& timings,
                              const std::vector<LogEvent>& log) {
    worstBeat = {};
    wakeLags.clear();
    // Each pass is lined up on the moment the engine said its first beat
    // would be heard; a pass's later notes follow at their logged distances.
    std::vector<double> starts;
    for (const Timing& timing : timings)
        if (timing.What == "first-beat-heard") starts.push_back(timing.Ms);
    const auto passes = transportrun::NoteOnsByPass(log);
    std::vector<double> lags;
    std::size_t timingIndex = 0;
    for (std::size_t p = 0; p < passes.size() && p < starts.size(); ++p) {
        const std::vector<LogEvent>& pass = passes[p];
        const int clicks = transportrun::kCountInBeats;
        if (int(pass.size()) <= clicks) continue;
        const double beatUs = double(pass[clicks - 1].Micros - pass[0].Micros) / (clicks - 1);
        // This pass's point moves: those after its engine start.
        std::vector<Timing> points, wakes;
        for (; timingIndex < timings.size(); ++timingIndex) {
            const Timing& timing = timings[timingIndex];
            if (timing.What == "first-beat-heard" && timing.Ms > starts[p]) break;
            if (timing.What == "point" && timing.Ms >= starts[p]) points.push_back(timing);
            if (timing.What == "beat-wake" && timing.Ms >= starts[p]) wakes.push_back(timing);
        }
        int lastBeat = -1;
        for (std::size_t i = clicks; i < pass.size(); ++i) {
            const double sinceStart = double(pass[i].Micros - pass[0].Micros);
            const int beat = int(sinceStart / beatUs + 0.5) - clicks;
            if (beat == lastBeat) continue; // the first note of a beat counts
            lastBeat = beat;
            const double noteMs = starts[p] + sinceStart / 1000.0;
            double wake = 0.0;
            for (const Timing& timing : wakes)
                if (timing.Beat == beat) wake = timing.Ms - noteMs;
            for (const Timing& point : points)
                if (point.Beat == beat) {
                    lags.push_back(point.Ms - noteMs);
                    wakeLags.push_back(wake);
                    if (worstBeat.beat < 0 || std::fabs(lags.back()) > std::fabs(worstBeat.lag))
                        worstBeat = {beat, int(p), lags.back(), wake};
                }
        }
    }
    return lags;
}

// A thread of this process at normal priority, like the program's
// user-interface thread, that does nothing but sleep to absolute deadlines:
// how late the machine itself wakes such a thread, in ms, and what it charges
// the thread for waking (its run time, though it does no work). Printed
// beside the program's figures.
class BareSleeper {
public:
    explicit BareSleeper(double periodMs) : periodNs_(static_cast<long long>(periodMs * 1e6)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~BareSleeper() { Stop(); }
    std::vector<double> Stop() {
        quit_ = true;
        if (thread_.joinable()) thread_.join();
        return late_;
    }
    // After Stop: the thread's run time in % of a core, and per wake in µs.
    double CpuPercent() const { return 100.0 * runNs_ / double(wallNs_); }
    double MicrosPerWake() const { return late_.empty() ? 0.0 : runNs_ / 1e3 / late_.size(); }
    // The most run time it was charged for one wake-up, in µs.
    double LongestWakeMicros() const { return longestWakeNs_ / 1e3; }

private:
    static long long Now() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return now.tv_sec * 1000000000LL + now.tv_nsec;
    }
    static double RunNs() {
        timespec run{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &run);
        return double(run.tv_sec) * 1e9 + double(run.tv_nsec);
    }
    void Run() {
        const long long start = Now();
        const double runStart = RunNs();
        long long deadline = start;
        double runBefore = runStart;
        while (!quit_) {
            deadline += periodNs_;
            const timespec at{static_cast<time_t>(deadline / 1000000000LL),
                              static_cast<long>(deadline % 1000000000LL)};
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
            late_.push_back(double(Now() - deadline) / 1e6);
            const double run = RunNs();
            longestWakeNs_ = std::max(longestWakeNs_, run - runBefore);
            runBefore = run;
        }
        runNs_ = RunNs() - runStart;
        wallNs_ = Now() - start;
    }
    const long long periodNs_;
    std::atomic<bool> quit_{false};
    std::vector<double> late_;
    double runNs_ = 0.0;
    double longestWakeNs_ = 0.0;
    long long wallNs_ = 1;
    std::thread thread_;
};

bool Measure(const std::string& display, const QString& device, int passes,
             PrivateAudioServer* audio) {
    std::printf("%s:\n", device.toUtf8().constData());
    LessonOneRun run(display, device);
    if (audio != nullptr) {
        run.SetEnv("XDG_RUNTIME_DIR", audio->RuntimeFolder());
        run.SetEnv("PULSE_SERVER", "unix:" + audio->Socket());
    }
    if (!run.Start()) {
        std::printf("  %s\n", run.Failure().toUtf8().constData());
        return false;
    }
    const qint64 pid = run.Program().Process().processId();
    const bool synth = audio != nullptr;
    QThread::msleep(1000); // the lesson opens and settles
    const double idle = CpuPercent(pid, [] { QThread::msleep(3000); });
    std::printf("  %-44s %6.2f %% of a core\n", "lesson open, nothing playing (first 4 s)", idle);
    std::printf("  %-44s %6.1f MB%s\n", "resident memory, lesson open",
                ResidentMegabytes(pid), synth ? "   (before: 251 MB with FluidR3)" : "");
    // The synthesizer woke for the piece the lesson loaded; five quiet
    // seconds later it sleeps, and the sound server's sink after it.
    QThread::msleep(8000);
    const double serverQuiet0 = synth ? CpuSeconds(audio->Pid()) : 0.0;
    double quietSeconds = 0.0;
    const double quiet = CpuPercent(pid, [] { QThread::msleep(5000); }, &quietSeconds);
    std::printf("  %-44s %6.2f %% of a core", "lesson open 12 s, nothing playing", quiet);
    if (synth)
        std::printf(" + %.2f %% in the sound server   (before: 4.7 %% + 2-3 %%)",
                    100.0 * (CpuSeconds(audio->Pid()) - serverQuiet0) / quietSeconds);
    std::printf("\n");
    std::vector<double> playing, audioServer, playingTicks, audioServerTicks;
    double wakes = 0.0, serverWakes = 0.0, playedSeconds = 0.0;
    BareSleeper sleeper(60000.0 / 126.0);
    BareSleeper waker(100.0); // seldom, so as not to keep the processors awake itself
    for (int pass = 0; pass < passes; ++pass) {
        const int started = run.Count("engine-start");
        const int ready = run.Count("transport-ready");
        if (!run.Key("F5") || !run.WaitForCount("engine-start", started + 1, 10000)) return false;
        const double serverBefore = audio != nullptr ? CpuSeconds(audio->Pid()) : 0.0;
        const double serverTicksBefore = audio != nullptr ? TickSeconds(audio->Pid()) : 0.0;
        const double ticksBefore = TickSeconds(pid);
        const auto sleepsBefore = SleepsByThread(pid);
        const long long serverSleepsBefore = audio != nullptr ? Total(SleepsByThread(audio->Pid())) : 0;
        double seconds = 0.0;
        const auto threadsBefore = ThreadSeconds(pid);
        playing.push_back(CpuPercent(
            pid, [&] { run.WaitForCount("transport-ready", ready + 1, 60000); }, &seconds));
        const auto sleeps = Added(sleepsBefore, SleepsByThread(pid));
        PrintThreads(pass, Added(threadsBefore, ThreadSeconds(pid)), sleeps, seconds);
        playingTicks.push_back(100.0 * (TickSeconds(pid) - ticksBefore) / seconds);
        wakes += Total(sleeps);
        if (audio != nullptr)
            serverWakes += double(Total(SleepsByThread(audio->Pid())) - serverSleepsBefore);
        playedSeconds += seconds;
        if (audio != nullptr) {
            audioServer.push_back(100.0 * (CpuSeconds(audio->Pid()) - serverBefore) / seconds);
            audioServerTicks.push_back(100.0 * (TickSeconds(audio->Pid()) - serverTicksBefore) /
                                       seconds);
        }
    }
    PrintSpread("playing, per pass (% of a core)", playing, "%");
    if (audio != nullptr) PrintSpread("the PulseAudio server meanwhile", audioServer, "%");
    PrintSpread("playing, sampled by ticks (as before)", playingTicks, "%");
    if (audio != nullptr)
        PrintSpread("the server, sampled by ticks (as before)", audioServerTicks, "%");
    if (synth) std::printf("  %-44s 6.2 %% + 4.5 %% in the sound server\n", "(before, playing:");
    waker.Stop();
    std::printf("  %-44s %6.2f %% of a core (%.0f us a wake, at most %.0f us)\n",
                "a bare thread waking every 100 ms meanwhile", waker.CpuPercent(),
                waker.MicrosPerWake(), waker.LongestWakeMicros());
    // What the machine charges for the wake-ups alone, at the bare thread's
    // price: the part of the figures above that is no work of the program.
    const double perWake = waker.MicrosPerWake() / 1e6;
    std::printf("  %-44s %.0f a second", "wake-ups while playing: the program", wakes / playedSeconds);
    if (audio != nullptr) std::printf(", the server %.0f", serverWakes / playedSeconds);
    std::printf("\n  %-44s %.2f %%", "  their price at the bare thread's rate",
                100.0 * wakes * perWake / playedSeconds);
    if (audio != nullptr) std::printf(" + %.2f %%", 100.0 * serverWakes * perWake / playedSeconds);
    std::printf("\n");
    if (device == "MIDI Log") {
        QThread::msleep(100); // the device writes its lines every 10 ms
        const auto lags = PointLags(run.Timings(), transportrun::ReadMidiLog(run.MidiLogPath()));
        PrintSpread("point behind its heard beat", lags, "ms");
        PrintSpread("  of which the beat timer's wake-up", wakeLags, "ms");
        PrintSpread("  a bare thread's wake-up meanwhile", sleeper.Stop(), "ms");
        std::printf("  %-44s min %7.1f  median %7.1f  max %7.1f ms  (the 100 ms poll)\n",
                    "  before", 2.0, 49.2, 117.6);
        std::printf("  %-44s %7.1f ms  (goal: within 10 ms)\n", "  p99 of the distance either way",
                    AbsoluteP99(lags));
        std::printf("  %-44s beat %d of pass %d, %.1f ms (timer woke at %.1f ms)\n", "  farthest",
                    worstBeat.beat, worstBeat.pass + 1, worstBeat.lag, worstBeat.wake);
        const auto late =
            std::count_if(lags.begin(), lags.end(), [](double lag) { return lag > 100.0; });
        std::printf("  %-44s %ld\n", "beats with the point over 100 ms late", long(late));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int passes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
    testsupport::XvfbServer xvfb;
    if (!xvfb.Start()) {
        std::printf("no Xvfb\n");
        return 1;
    }
    std::printf("Lesson 1 at tempo level 10 (126 beats per minute, 36 beats a pass), %d passes\n",
                passes);
    PrivateAudioServer audio;
    bool ok = true;
    if (audio.Start())
        ok = Measure(xvfb.Display(), "Zupfari Synth", passes, &audio) && ok;
    else
        std::printf("Zupfari Synth: skipped, no PulseAudio server could be started\n");
    ok = Measure(xvfb.Display(), "MIDI Log", passes, nullptr) && ok;
    return ok ? 0 : 1;
}
