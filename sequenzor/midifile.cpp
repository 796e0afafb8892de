#include "sequenzor/midifile.h"

#include "sequenzor/midiout.h"
#include "sequenzor/midisync.h"
#include "sequenzor/miditrack.h"

#include <algorithm>

namespace sequenzor {

CMidiFile::~CMidiFile() {
    Close();
}

bool CMidiFile::Open(const char* fileName, int mode) {
    mode_ = mode;
    format_ = 1;
    trackCount_ = 0;
    std::uint16_t tracks = 0;
    handle_ = fileName ? OpenSMF(fileName, &format_, mode, &tracks) : 0;
    open_ = handle_ != 0;
    if (open_ && mode == kModeRead) trackCount_ = tracks;
    return open_;
}

bool CMidiFile::Close() {
    const bool closed = !open_ || CloseSMF(handle_) == 0;
    open_ = false;
    handle_ = 0;
    for (CMidiTrack* track : tracks_)
        track->file = nullptr;
    tracks_.clear();
    trackCount_ = 0;
    return closed;
}

void CMidiFile::Attach(CMidiTrack* track) {
    if (track->file) track->file->Detach(track);
    track->file = this;
    tracks_.push_back(track);
}

void CMidiFile::Detach(CMidiTrack* track) {
    tracks_.erase(std::remove(tracks_.begin(), tracks_.end(), track), tracks_.end());
    if (track->file == this) track->file = nullptr;
}

int CMidiFile::IndexOf(const CMidiTrack* track) const {
    auto it = std::find(tracks_.begin(), tracks_.end(), track);
    return it == tracks_.end() ? -1 : static_cast<int>(it - tracks_.begin());
}

void CMidiFile::ReadAllTracks() {
    if (!open_ || mode_ != kModeRead || tracks_.empty()) return;
    RewindSMF(handle_);
    for (std::size_t i = 0; i < tracks_.size(); ++i) {
        tracks_[i]->Read(handle_, static_cast<std::uint16_t>(i));
        tracks_[i]->FetchName();
    }
    CMidiOut* output = tracks_.front()->output;
    if (output && output->Sync() && output->Sync()->IsOpen())
        SetResolution(output->Sync()->Handle(), GetSMFResolution(handle_));
}

} // namespace sequenzor
