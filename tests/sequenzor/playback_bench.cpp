// Real-time playback benchmark: plays a dense 60-second piece at 178 beats
// per minute through the "MIDI Log" port and prints how far each event's
// sending time lay from its scheduled time, the beat counter against the wall
// clock, and the processor time used while playing. Before that it measures
// the processor time of ten idle seconds on the default device (after
// MidiInitWin). Uses only Sequenzor's exported interface. Prints figures;
// asserts nothing.
#include "sequenzor/sequenzor.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kTracks = 8;
constexpr int kBeats = 178;              // one minute at 178 bpm
constexpr std::uint32_t kTempo = 337078; // trunc(60,000,000 / 178)
constexpr std::uint32_t kResolution = 480;
constexpr std::uint32_t kStep = 120; // sixteenth notes
constexpr std::uint32_t kNoteLength = 100;

struct Planned {
    std::uint64_t tick;
    int track;
    std::uint8_t status, data1, data2;
};

std::int64_t SteadyMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Append(int track, std::uint32_t delta, std::uint8_t status, std::uint8_t data1,
            std::uint8_t data2, std::uint8_t data3 = 0) {
    MidiEvent event{delta, status, data1, data2, data3};
    MidiInsertEvent(track, &event, 0xFFFFFFFFul);
}

// Eight tracks of sixteenth notes, a controller on every beat; returns the
// events in the order they are due (equal ticks in track order).
std::vector<Planned> BuildPiece() {
    MidiNewTrackList(kTracks);
    Append(0, 0, 0x00, (kTempo >> 16) & 0xFF, (kTempo >> 8) & 0xFF, kTempo & 0xFF);
    std::vector<Planned> plan;
    for (int t = 0; t < kTracks; ++t) {
        std::uint64_t last = 0;
        const auto channel = static_cast<std::uint8_t>(t);
        for (std::uint32_t k = 0; k < kBeats * 4; ++k) {
            const std::uint64_t on = std::uint64_t(k) * kStep;
            const auto note = static_cast<std::uint8_t>(40 + t * 4 + k % 12);
            if (k % 4 == 0) {
                Append(t, static_cast<std::uint32_t>(on - last), 0xB0 | channel, 11, 100);
                plan.push_back({on, t, static_cast<std::uint8_t>(0xB0 | channel), 11, 100});
                last = on;
            }
            Append(t, static_cast<std::uint32_t>(on - last), 0x90 | channel, note, 90);
            Append(t, kNoteLength, 0x80 | channel, note, 0);
            plan.push_back({on, t, static_cast<std::uint8_t>(0x90 | channel), note, 90});
            plan.push_back(
                {on + kNoteLength, t, static_cast<std::uint8_t>(0x80 | channel), note, 0});
            last = on + kNoteLength;
        }
    }
    std::stable_sort(plan.begin(), plan.end(), [](const Planned& a, const Planned& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.track < b.track;
    });
    return plan;
}

struct Logged {
    std::int64_t microseconds;
    unsigned status, data1, data2;
};

std::vector<Logged> ReadLog(const std::string& path) {
    std::vector<Logged> lines;
    std::ifstream in(path);
    Logged entry{};
    while (in >> std::dec >> entry.microseconds >> std::hex >> entry.status >> entry.data1 >>
           entry.data2)
        lines.push_back(entry);
    return lines;
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(fraction * values.size()))];
}

} // namespace

int main(int argc, char** argv) {
    const std::string logPath = QDir::tempPath().toStdString() + "/sequenzor_bench_log.txt";
    std::remove(logPath.c_str());
    setenv("MXMIDI_LOG", logPath.c_str(), 1);
    QCoreApplication app(argc, argv);

    MidiInitWin(&app);
    {
        // Idle on the default device, as the course sits between exercises.
        const double idleBefore = CpuSeconds();
        QTimer::singleShot(10000, &app, &QCoreApplication::quit);
        app.exec();
        std::printf("idle on the default device: CPU %.3f s over 10 s = %.2f %% of a core\n",
                    CpuSeconds() - idleBefore, 10.0 * (CpuSeconds() - idleBefore));
    }
    char logName[] = "MIDI Log";
    if (!MidiSetDeviceByName(logName)) {
        std::fprintf(stderr, "no MIDI Log port\n");
        return 1;
    }
    // The log's times count from the port's opening: one message sent at once
    // (an active-sensing byte, first line of the log) ties them to the
    // steady clock.
    const std::int64_t beforeMark = SteadyMicroseconds();
    MidiPutEvent(0xFFFFFFFFul, 0xFE, 0, 0, 0);
    const std::int64_t afterMark = SteadyMicroseconds();
    const std::vector<Planned> plan = BuildPiece();

    const double cpuBefore = CpuSeconds();
    const std::int64_t started = SteadyMicroseconds();
    MidiStart(0, 0, 0.0);
    std::int64_t ended = 0;
    int beatsAtEnd = 0;
    QTimer poll; // as the course polls: every 100 ms
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (MidiGetStatus() != 2) return;
        ended = SteadyMicroseconds();
        beatsAtEnd = MidiGetBeats();
        app.quit();
    });
    poll.start(100);
    app.exec();
    const double cpuUsed = CpuSeconds() - cpuBefore;

    std::vector<Logged> log = ReadLog(logPath);
    if (log.empty() || log.front().status != 0xFE) {
        std::fprintf(stderr, "the log does not begin with the mark\n");
        return 1;
    }
    const std::int64_t portOpened = (beforeMark + afterMark) / 2 - log.front().microseconds;
    log.erase(log.begin());
    const double microsecondsPerTick = double(kTempo) / kResolution;
    const double startInLog = double(started - portOpened);
    std::vector<double> late;
    std::size_t mismatches = 0;
    for (std::size_t i = 0; i < std::min(log.size(), plan.size()); ++i) {
        const Planned& p = plan[i];
        if (log[i].status != p.status || log[i].data1 != p.data1 || log[i].data2 != p.data2)
            ++mismatches;
        const double scheduled = startInLog + double(p.tick) * microsecondsPerTick;
        late.push_back(std::abs(double(log[i].microseconds) - scheduled) / 1000.0);
    }
    const double wallSeconds = (ended - started) / 1e6;
    std::printf("events planned %zu, logged %zu, out of order or wrong %zu\n", plan.size(),
                log.size(), mismatches);
    std::printf("send time vs schedule (ms): median %.3f  p99 %.3f  max %.3f\n",
                Percentile(late, 0.5), Percentile(late, 0.99),
                late.empty() ? 0 : *std::max_element(late.begin(), late.end()));
    const double lastTick = plan.empty() ? 0 : double(plan.back().tick);
    std::printf("piece %.3f s by the wall clock (end seen by a 100 ms poll, last event due at "
                "%.3f s); beat counter %d, beats due by the last event %d, wall clock says %.2f\n",
                wallSeconds, lastTick * microsecondsPerTick / 1e6, beatsAtEnd,
                int(lastTick / kResolution), wallSeconds * 178.0 / 60.0);
    std::printf("CPU %.3f s over %.3f s = %.2f %% of a core\n", cpuUsed, wallSeconds,
                100.0 * cpuUsed / wallSeconds);
    return 0;
}
