#include "sequenzor/midisync.h"

#include <QCoreApplication>
#include <algorithm>

namespace sequenzor {

CMidiSync::~CMidiSync() {
    Close();
    DeleteWindow();
}

void CMidiSync::DeleteWindow() {
    sequenzor::DeleteWindow(window_);
}

void CMidiSync::CreateWindow(QObject* parent) {
    ReplaceWindow(window_, "CMaxMidiSyncWnd", parent,
                  [this](std::uint32_t message) { OnNotify(message); });
}

void CMidiSync::Open() {
    Close();
    handle_ = OpenSync(mode_, window_.data(), 0, period_);
    open_ = handle_ > MXMIDI_INVALID_HANDLE_LIMIT;
    if (!open_) handle_ = 0;
}

void CMidiSync::Close() {
    if (!open_) return;
    StopSync(handle_);
    CloseSync(handle_);
    running = 0;
    open_ = false;
    handle_ = 0;
}

void CMidiSync::Start() {
    if (!open_) return;
    StartSync(handle_);
    running = 1;
    runFirstBeat = beats;
}

void CMidiSync::Stop() {
    if (!open_) return;
    StopSync(handle_);
    running = 0;
}

void CMidiSync::Pause(int flag) {
    if (!open_) return;
    PauseSync(handle_, flag);
    running = 0;
}

void CMidiSync::ReStart() {
    if (!open_) return;
    ReStartSync(handle_);
    running = 1;
}

void CMidiSync::DiscardPendingNotifications() {
    if (window_) QCoreApplication::removePostedEvents(window_.data(), MxNotifyEvent::EventType());
}

std::int64_t CMidiSync::BeatTime(int count) const {
    if (!open_) return -1;
    // The timer reports a beat every quarter note from its start: the run's
    // k-th beat after its first count comes at tick k x resolution.
    const std::int64_t beatsAfterStart = std::max<std::int64_t>(0, std::int64_t{count} - runFirstBeat);
    const auto tick = static_cast<std::uint64_t>(beatsAfterStart) * GetResolution(handle_);
    return GetSyncTickTime(handle_, tick);
}

std::uint16_t CMidiSync::Resolution() const {
    return open_ ? GetResolution(handle_) : 0;
}

void CMidiSync::OnNotify(std::uint32_t message) {
    if (message == MXMIDI_MSG_SYNC_BEAT) {
        ++beats;
    } else if (message == MXMIDI_MSG_SYNC_END) {
        Stop();
        if (onEnd) onEnd();
        status = 2;
    }
}

} // namespace sequenzor
