#pragma once
// CMidiFile: a Standard MIDI File opened through the toolkit, with the
// tracks attached to it.

#include "mxmidi/mxmidi.h"

#include <cstdint>
#include <vector>

namespace sequenzor {

class CMidiTrack;

inline constexpr int kModeRead = 114;  // 'r'
inline constexpr int kModeWrite = 119; // 'w'

// A Standard MIDI File in use: the toolkit's handle, the open mode, the track
// count the reader reported, and the tracks attached to it in file order (a
// track's position in that list is its index in the file).
class CMidiFile {
public:
    CMidiFile() = default;
    ~CMidiFile();
    CMidiFile(const CMidiFile&) = delete;
    CMidiFile& operator=(const CMidiFile&) = delete;

    // Opens `fileName` in `mode` with the format word preset to 1; on failure
    // the file stays closed with a track count of 0.
    bool Open(const char* fileName, int mode);
    // Closes the file, if open, unlinks all its tracks and sets the track
    // count to 0. False when a file opened for writing could not be written.
    bool Close();

    void Attach(CMidiTrack* track);
    void Detach(CMidiTrack* track);
    int IndexOf(const CMidiTrack* track) const;
    const std::vector<CMidiTrack*>& Tracks() const { return tracks_; }

    // Reads every attached track from the start of the file (mode 'r' only)
    // and gives the player's timer the file's resolution.
    void ReadAllTracks();

    bool IsOpen() const { return open_; }
    int Mode() const { return mode_; }
    HSMF Handle() const { return handle_; }
    std::uint16_t TrackCount() const { return trackCount_; }

private:
    HSMF handle_ = 0;
    bool open_ = false;
    int mode_ = 0;
    std::uint16_t format_ = 1;
    std::uint16_t trackCount_ = 0;
    std::vector<CMidiTrack*> tracks_;
};

} // namespace sequenzor
