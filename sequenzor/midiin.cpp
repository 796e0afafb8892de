#include "sequenzor/midiin.h"

#include "sequenzor/miditrack.h"

namespace sequenzor {

CMidiIn::~CMidiIn() {
    if (track_) track_->input = nullptr;
    StopAndClose();
    DeleteWindow();
}

void CMidiIn::DeleteWindow() {
    sequenzor::DeleteWindow(window_);
}

void CMidiIn::CreateWindow(QObject* parent, CMidiSync* sync) {
    ReplaceWindow(window_, "CMaxMidiInWnd", parent,
                  [this](std::uint32_t message) { OnNotify(message); });
    sync_ = sync;
}

void CMidiIn::StopAndClose() {
    if (handle_ <= MXMIDI_INVALID_HANDLE_LIMIT) return;
    StopMidiIn(handle_);
    CloseMidiIn(handle_);
    handle_ = 0;
}

void CMidiIn::Attach(CMidiTrack* track) {
    // Every track keeps its link; the input records into the last one made.
    track_ = track;
    track->input = this;
}

void CMidiIn::Detach(CMidiTrack* track) {
    if (track->input == this) track->input = nullptr;
    if (track_ == track) track_ = nullptr;
}

void CMidiIn::OnNotify(std::uint32_t message) {
    if (message != MXMIDI_MSG_MIDI_IN || handle_ <= MXMIDI_INVALID_HANDLE_LIMIT) return;
    MidiEvent event{};
    while (GetMidiIn(handle_, &event)) {
        if (track_ && track_->recordFlag) track_->Insert(event, CMidiTrack::kAppend);
    }
}

} // namespace sequenzor
