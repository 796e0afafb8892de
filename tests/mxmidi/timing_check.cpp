// A quick real-time check of the toolkit's timer: events every 5 ms go to a
// recording port on the steady clock, refilled on the room notification as
// the engine does; prints how far each event's send time lay from its
// scheduled time. Figures only, nothing is asserted.

#include "mxmidi/mxmidi.h"
#include "mxmidi/testing.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

double Percentile(const std::vector<double>& sorted, double p) {
    std::size_t index = static_cast<std::size_t>(p * (sorted.size() - 1));
    return sorted[index];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    Feeder feeder;
    std::uint16_t port = mxmidi::testing::AddRecordingPort("Timing");
    HSYNC sync = OpenSync(0, &feeder, 0, 10);
    SetResolution(sync, 1000);
    SetTempo(sync, 1000000);
    feeder.out = OpenMidiOut(&feeder, port, sync, 0x33320);

    std::uint64_t start = mxmidi::testing::ClockNow();
    StartSync(sync);
    feeder.Feed();
    QTimer::singleShot(kEvents * 5 + 3000, &application, &QCoreApplication::quit);
    application.exec();

    std::vector<mxmidi::testing::SentEvent> sent = mxmidi::testing::TakeRecordedEvents(port);
    std::vector<double> errors;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        double scheduled = static_cast<double>(start + i * 5000);
        errors.push_back((static_cast<double>(sent[i].microseconds) - scheduled) / 1000.0);
    }
    CloseMidiOut(feeder.out);
    CloseSync(sync);
    if (errors.empty()) {
        std::printf("no events sent\n");
        return 1;
    }
    std::sort(errors.begin(), errors.end());
    std::printf("events sent %zu of %d, end notification %s\n", sent.size(), kEvents,
                feeder.ended ? "received" : "MISSING");
    std::printf("send time - scheduled time [ms]: median %.3f  p99 %.3f  max %.3f  min %.3f\n",
                Percentile(errors, 0.5), Percentile(errors, 0.99), errors.back(), errors.front());
    return 0;
}
