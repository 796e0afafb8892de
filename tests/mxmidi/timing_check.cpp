// A quick real-time check of the toolkit's timer: events every 5 ms go to the
// "MIDI Log" port on the steady clock, refilled on the room notification as
// the engine does; prints how far each event's send time, as the log file
// shows it, lay from its scheduled time. Then, for comparison, the same for a
// bare thread of the same priority that does nothing but sleep to the same
// deadlines: what the machine itself allows. Figures only, nothing is
// asserted. Usage: mxmidi_timing_check [log file] (default: a file in /tmp).

#include "mxmidi/mxmidi.h"
#include "mxmidi/realtime.h"
#include "mxmidi/testing.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <time.h>
#include <vector>

namespace {

constexpr int kEvents = 2000;           // 10 s
constexpr std::uint32_t kStepTicks = 5; // tempo 1,000,000 µs at 1000 ticks: 1 tick = 1 ms

// Hands the events over until refused, again on every room notification.
class Feeder : public QObject {
public:
    HMOUT out = 0;
    int handed = 0;
    bool ended = false;
    void Feed() {
        while (handed < kEvents) {
            MidiEvent event{handed == 0 ? 0u : kStepTicks, 0x90, 60, 100, 0};
            if (PutMidiOut(out, &event) != 0) return;
            ++handed;
        }
    }
    bool event(QEvent* event) override {
        if (event->type() != MxNotifyEvent::EventType()) return QObject::event(event);
        auto* notify = static_cast<MxNotifyEvent*>(event);
        if (notify->Message() == MXMIDI_MSG_OUT_ROOM) Feed();
        if (notify->Message() == MXMIDI_MSG_SYNC_END) {
            ended = true;
            QCoreApplication::quit();
        }
        return true;
    }
};

// The microseconds column of the log's lines.
std::vector<std::uint64_t> LoggedTimes(const std::string& path) {
    std::vector<std::uint64_t> times;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line);
        std::uint64_t microseconds = 0;
        if (fields >> microseconds) times.push_back(microseconds);
    }
    return times;
}

double Percentile(const std::vector<double>& sorted, double p) {
    std::size_t index = static_cast<std::size_t>(p * (sorted.size() - 1));
    return sorted[index];
}

// How late a thread scheduled like the timer wakes from sleeps to absolute
// deadlines 5 ms apart, in ms, sorted.
std::vector<double> BareWakeUps(std::string* scheduling) {
    std::vector<double> late;
    std::thread reference([&] {
        *scheduling = mxmidi::detail::RaiseThreadPriority();
        timespec deadline{};
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        for (int i = 0; i < kEvents; ++i) {
            deadline.tv_nsec += 5000000;
            if (deadline.tv_nsec >= 1000000000) {
                deadline.tv_nsec -= 1000000000;
                ++deadline.tv_sec;
            }
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr);
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            late.push_back(double(now.tv_sec - deadline.tv_sec) * 1e3 +
                           double(now.tv_nsec - deadline.tv_nsec) / 1e6);
        }
    });
    reference.join();
    std::sort(late.begin(), late.end());
    return late;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::string logPath = argc > 1 ? argv[1] : "/tmp/mxmidi_timing_check.log";
    std::remove(logPath.c_str());
    qputenv("MXMIDI_LOG", logPath.c_str());
    Feeder feeder;
    HSYNC sync = OpenSync(0, &feeder, 0, 10);
    SetResolution(sync, 1000);
    SetTempo(sync, 1000000);
    std::uint16_t logId = GetNumOutDevices() - 1; // lists the system ports once (slow)
    std::uint64_t opened = mxmidi::testing::ClockNow();
    feeder.out = OpenMidiOut(&feeder, logId, sync, 0x33320);
    if (feeder.out <= MXMIDI_INVALID_HANDLE_LIMIT) {
        std::printf("cannot open the log %s\n", logPath.c_str());
        return 1;
    }

    // Queued first, as the engine does, so that the timer alone decides when
    // the events go.
    feeder.Feed();
    StartSync(sync);
    // Tick 0 on the log's time line.
    const std::uint64_t start = std::uint64_t(GetSyncTickTime(sync, 0)) - opened;
    QTimer::singleShot(kEvents * 5 + 3000, &application, &QCoreApplication::quit);
    application.exec();
    CloseMidiOut(feeder.out);
    CloseSync(sync);

    std::vector<std::uint64_t> logged = LoggedTimes(logPath);
    std::vector<double> errors;
    for (std::size_t i = 0; i < logged.size(); ++i) {
        double scheduled = static_cast<double>(start + i * 5000);
        errors.push_back((static_cast<double>(logged[i]) - scheduled) / 1000.0);
    }
    if (errors.empty()) {
        std::printf("no events sent\n");
        return 1;
    }
    std::sort(errors.begin(), errors.end());
    // The timer never sends early: an earliest event before its time means
    // the log's time line began later than measured here (this thread was
    // held up while it opened the port); its start is taken from that event.
    const double early = std::min(errors.front(), 0.0);
    for (double& error : errors)
        error -= early;
    std::printf("timer thread: %s\n", GetTimerScheduling());
    std::printf("events logged %zu of %d, end notification %s\n", logged.size(), kEvents,
                feeder.ended ? "received" : "MISSING");
    std::printf("send time - scheduled time [ms]: median %.3f  p99 %.3f  max %.3f  min %.3f\n",
                Percentile(errors, 0.5), Percentile(errors, 0.99), errors.back(), errors.front());
    std::string scheduling;
    const std::vector<double> bare = BareWakeUps(&scheduling);
    std::printf("a bare thread (%s) waking at the same deadlines [ms]: median %.3f  p99 %.3f  "
                "max %.3f\n",
                scheduling.c_str(), Percentile(bare, 0.5), Percentile(bare, 0.99), bare.back());
    return 0;
}
