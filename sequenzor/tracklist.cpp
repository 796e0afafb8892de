// The engine's track list and its files: building tracks, loading,
// importing and saving Standard MIDI Files.
#include "sequenzor/engine.h"

#include <algorithm>
#include <limits>

namespace sequenzor {

CMidiTrack* Engine::MakeTrack(bool linkToFile) {
    auto track = std::make_unique<CMidiTrack>();
    if (linkToFile) file_.Attach(track.get());
    out_.AddCursor(track.get());
    in_.Attach(track.get());
    tracks_.push_back(std::move(track));
    return tracks_.back().get();
}

void Engine::DeleteAllTracks() {
    // Each track unlinks itself from the file, the player and the input; the
    // record track must not outlive its track either.
    tracks_.clear();
    recordTrack_ = nullptr;
}

bool Engine::ValidTrack(int track) const {
    return track >= 0 && static_cast<std::size_t>(track) < tracks_.size() && tracks_[track];
}

int Engine::ClearTrackList() {
    DeleteAllTracks();
    return 1;
}

int Engine::CreateNewTrack() {
    recordTrack_ = MakeTrack(false);
    return static_cast<int>(tracks_.size());
}

int Engine::NewTrackList(int count) {
    if (count < 0) count = 0;
    ClearTrackList();
    for (int i = 0; i < count; ++i)
        MakeTrack(false);
    return 1;
}

void Engine::InsertEvent(int track, const MidiEvent* event, unsigned long index) {
    if (!event || !ValidTrack(track)) return;
    // -1 appends, as a 32-bit 0xFFFFFFFF and as a 64-bit unsigned long alike.
    if (index == std::numeric_limits<unsigned long>::max()) index = CMidiTrack::kAppend;
    // Only an index within the track, or the append marker, is taken.
    if (index != CMidiTrack::kAppend && index > tracks_[track]->Count()) return;
    tracks_[track]->Insert(*event, static_cast<std::uint32_t>(index));
}

void Engine::SetRecordTrack(int track) {
    if (ValidTrack(track)) recordTrack_ = tracks_[track].get();
}

int Engine::LoadFile(const char* fileName) {
    DeleteAllTracks();
    file_.Close();
    // A file that cannot be read as MIDI leaves an empty list and answers 0.
    if (!file_.Open(fileName, kModeRead)) return 0;
    for (int i = 0; i < file_.TrackCount(); ++i)
        MakeTrack(true);
    file_.ReadAllTracks();
    // A loaded piece is about to play (the program loads it at Play, before
    // its pre-roll): the synthesizer gets its instruments and its sound ready.
    out_.Prepare(tracks_);
    return 1;
}

int Engine::ImportFile(const char* fileName, int offset) {
    file_.Close(); // the old tracks stay, only unlinked from the file
    file_.Open(fileName, kModeRead);
    const std::size_t oldCount = tracks_.size();
    if (oldCount + file_.TrackCount() == 0) return 0;
    for (int i = 0; i < file_.TrackCount(); ++i)
        MakeTrack(true);
    file_.ReadAllTracks();
    out_.Prepare(tracks_);
    if (offset == 0) return 1;

    const std::uint32_t shift = ImportShift(offset, oldCount);
    for (std::size_t i = oldCount; i < tracks_.size(); ++i) {
        CMidiTrack& track = *tracks_[i];
        if (track.Count() == 0) continue;
        std::uint32_t& first = track.Events()[0].time;
        first += shift;
        if (static_cast<std::int32_t>(first) < 0) first = 0;
    }
    return 1;
}

// Ticks by which imported tracks are moved: `offset` eighths of a quarter
// note, or (offset below 0) to the end of the latest of the old tracks.
std::uint32_t Engine::ImportShift(int offset, std::size_t oldCount) const {
    if (offset > 0) {
        std::int64_t resolution =
            sync_.IsOpen() ? sync_.Resolution() : GetSMFResolution(file_.Handle());
        std::int64_t shift = static_cast<std::int64_t>(offset) * (resolution / 8);
        return static_cast<std::uint32_t>(
            std::min<std::int64_t>(shift, std::numeric_limits<std::int32_t>::max()));
    }
    // With no old material there is nothing to follow: the new tracks stay put.
    if (oldCount == 0) return 0;
    const CMidiTrack& first = *tracks_.front();
    std::uint32_t shift = first.Count() ? first.Events()[0].time : 0;
    for (std::size_t i = 0; i < oldCount; ++i)
        shift = std::max(shift, tracks_[i]->EndTime());
    return shift;
}

std::uint16_t Engine::TimerResolutionForSave() const {
    for (const auto& track : tracks_) {
        if (track->input && track->input->Sync() && track->input->Sync()->IsOpen())
            return track->input->Sync()->Resolution();
    }
    return 0;
}

int Engine::SaveFile(const char* fileName) {
    if (tracks_.empty()) return 1;
    file_.Close();

    CMidiFile writer;
    writer.Open(fileName, kModeWrite);
    for (const auto& track : tracks_)
        writer.Attach(track.get());
    bool written = writer.IsOpen();
    if (written) {
        if (std::uint16_t resolution = TimerResolutionForSave())
            SetSMFResolution(writer.Handle(), resolution);
        for (std::size_t i = 0; i < tracks_.size(); ++i) {
            CMidiTrack& track = *tracks_[i];
            const auto index = static_cast<std::uint16_t>(i);
            if (track.Name()) WriteMetaEvent(writer.Handle(), index, 3, track.Name()->c_str(), 0);
            if (WriteSMF(writer.Handle(), index, track.Events(), track.Count()) != track.Count())
                written = false;
        }
    }
    // The file is written at the close; an old file is replaced only by a
    // complete new one.
    if (!writer.Close()) written = false;
    return written ? 1 : 0;
}

} // namespace sequenzor
