#pragma once
// CMidiIn: the engine's MIDI input, which is never opened.

#include "mxmidi/mxmidi.h"
#include "sequenzor/notifywindow.h"

#include <QPointer>

namespace sequenzor {

class CMidiSync;
class CMidiTrack;

// The input side: the hidden window "CMaxMidiInWnd", an input handle that no
// call of the library opens, and the track input would be recorded into (the
// last track made; only while its record flag is set).
class CMidiIn {
public:
    CMidiIn() = default;
    ~CMidiIn();
    CMidiIn(const CMidiIn&) = delete;
    CMidiIn& operator=(const CMidiIn&) = delete;

    void DeleteWindow();
    void CreateWindow(QObject* parent, CMidiSync* sync);
    void StopAndClose(); // only an open input is stopped and closed

    void Attach(CMidiTrack* track);
    void Detach(CMidiTrack* track);
    CMidiTrack* Track() const { return track_; }
    CMidiSync* Sync() const { return sync_; }

private:
    void OnNotify(std::uint32_t message);

    QPointer<NotifyWindow> window_;
    CMidiSync* sync_ = nullptr;
    HMIN handle_ = 0;
    CMidiTrack* track_ = nullptr;
};

} // namespace sequenzor
