#pragma once
// Shared pieces of the toolkit tests: a receiver that counts notifications
// and a fixture with a timer and an output on a recording port, all on the
// manual clock.

#include "mxmidi/mxmidi.h"
#include "mxmidi/testing.h"

#include <QCoreApplication>
#include <QObject>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace mxmiditest {

// Stands for one of the engine's hidden windows: keeps what it was told.
class Receiver : public QObject {
public:
    struct Note {
        std::uint32_t message;
        std::uint32_t handle;
    };
    std::vector<Note> received;

    bool event(QEvent* event) override {
        if (event->type() != MxNotifyEvent::EventType()) return QObject::event(event);
        auto* notify = static_cast<MxNotifyEvent*>(event);
        received.push_back({notify->Message(), notify->Handle()});
        return true;
    }
    int Count(std::uint32_t message) const {
        return static_cast<int>(std::count_if(received.begin(), received.end(),
                                              [&](const Note& n) { return n.message == message; }));
    }
};

inline void DeliverNotifications() {
    QCoreApplication::sendPostedEvents();
}

inline MidiEvent Event(std::uint32_t time, std::uint8_t status, std::uint8_t data1 = 0,
                       std::uint8_t data2 = 0, std::uint8_t data3 = 0) {
    return MidiEvent{time, status, data1, data2, data3};
}

inline MidiEvent TempoEvent(std::uint32_t time, std::uint32_t microsecondsPerQuarter) {
    return Event(time, 0, (microsecondsPerQuarter >> 16) & 0xFF,
                 (microsecondsPerQuarter >> 8) & 0xFF, microsecondsPerQuarter & 0xFF);
}

// A timer (window `syncWindow`) and an output on a recording port (window
// `outWindow`) timed by it, at tempo 500000 and 480 ticks per quarter note.
class TimerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        mxmidi::testing::UseManualClock();
        portId = mxmidi::testing::AddRecordingPort("Test Port");
        sync = OpenSync(0, &syncWindow, 0, 10);
        out = OpenMidiOut(&outWindow, portId, sync, 0x33320);
        ASSERT_GT(sync, MXMIDI_INVALID_HANDLE_LIMIT);
        ASSERT_GT(out, MXMIDI_INVALID_HANDLE_LIMIT);
    }
    void TearDown() override {
        CloseMidiOut(out);
        CloseSync(sync);
        DeliverNotifications();
        mxmidi::testing::RemoveTestPorts();
        mxmidi::testing::UseSteadyClock();
    }
    std::uint16_t Put(const MidiEvent& event) { return PutMidiOut(out, &event); }
    std::vector<mxmidi::testing::SentEvent> Sent() {
        return mxmidi::testing::TakeRecordedEvents(portId);
    }
    std::vector<std::uint64_t> SentTimes() {
        std::vector<std::uint64_t> times;
        for (const auto& sent : Sent())
            times.push_back(sent.microseconds);
        return times;
    }

    Receiver syncWindow;
    Receiver outWindow;
    std::uint16_t portId = 0;
    HSYNC sync = 0;
    HMOUT out = 0;
};

} // namespace mxmiditest
