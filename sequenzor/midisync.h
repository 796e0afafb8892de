#pragma once
// CMidiSync: the engine's timer, its beat counter and its status.

#include "mxmidi/mxmidi.h"
#include "sequenzor/notifywindow.h"

#include <QPointer>
#include <cstdint>

namespace sequenzor {

// The engine's timer: the toolkit's timer handle, the running flag, the beat
// counter and the engine status, and the hidden window "CMaxMidiSyncWnd" that
// receives the beat and end notifications. The running flag follows the
// timer and is left alone while no timer is open.
class CMidiSync {
public:
    CMidiSync() = default;
    ~CMidiSync();
    CMidiSync(const CMidiSync&) = delete;
    CMidiSync& operator=(const CMidiSync&) = delete;

    void DeleteWindow();
    void CreateWindow(QObject* parent);
    // Opens the timer on the window (settings 0 and 10); a handle of 32 or
    // less leaves it closed.
    void Open();
    void Close(); // stops and closes the timer, if open

    void Start();
    void Stop();
    void Pause(int flag);
    void ReStart();
    // Drops beat and end notifications still waiting from an earlier run.
    void DiscardPendingNotifications();

    // Ticks per quarter note of the timer (0 without a timer).
    std::uint16_t Resolution() const;

    bool IsOpen() const { return open_; }
    HSYNC Handle() const { return handle_; }
    NotifyWindow* Window() const { return window_.data(); }

    // Called on the end notification, before the status becomes 2.
    std::function<void()> onEnd;

    // When the current run's beat counter reaches `count`, on the toolkit's
    // clock; -1 when no run is going or the time is not known.
    std::int64_t BeatTime(int count) const;

    int running = 0;
    int beats = 0;
    int runFirstBeat = 0; // the beat counter at the start of the current run
    std::uint8_t status = 0;

private:
    void OnNotify(std::uint32_t message);

    QPointer<NotifyWindow> window_;
    HSYNC handle_ = 0;
    bool open_ = false;
    std::uint16_t mode_ = 0;
    std::uint16_t period_ = 10;
};

} // namespace sequenzor
