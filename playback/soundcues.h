#pragma once
// The sound cues of the course: the click that answers every button which
// opens or changes a view, and the named cues (refusal, right, wrong, photo,
// chord samples). This is the one place that knows the click sound and the
// flags cues are played with; the main window owns one and every window
// reaches it through the main window.

#include <string>
#include <string_view>

namespace playback {

class SoundCues {
public:
    // Length of every path buffer, the terminating zero included.
    static constexpr int kPathBufferSize = 260;
    static constexpr int kClickSoundCount = 6;
    // The slot (1-based) that the click plays: "Fmaj7.wav".
    static constexpr int kClickSlot = 5;

    // Builds the six click paths at once: `programFolder` (Windows-1252,
    // ending in a path separator) + "ClickSounds\\" + the file name. Opens and
    // tests no file. A path that would not fit its 260-character buffer is
    // left empty, so that click stays silent (PlayClick returns false).
    explicit SoundCues(std::string_view programFolder);

    // Plays the click (slot 5). Every caller passes async = true,
    // loop = false, which gives the flags 0x20003: the click cuts off any
    // sound that plays, a looping tuner tone included. False when the file is
    // missing (silently) or the platform refused.
    bool PlayClick(bool async, bool loop);

    // Plays the cue at the full path `path` (Windows-1252). Every caller
    // passes async = true, loop = false, which gives the flags 0x20013: with
    // SND_NOSTOP the cue is not played at all while another sound plays. A
    // path of 260 characters or more (it would not fit the caller's buffer) is
    // refused silently, like a missing file: false.
    bool PlayNamedCue(std::string_view path, bool async, bool loop);

    // The two calls that stand at the callers: stop the sound that plays
    // (no file name, flags 0) and purge (no file name, SND_PURGE).
    static bool StopSound();
    static bool PurgeSound();

    // Writes `programFolder` + `relativeName` into `buffer` the way callers
    // build a named cue's path. When the two do not fit (259 characters and
    // the zero), `buffer` is left empty and the result is false; an empty path
    // names no file, so the cue stays silent.
    static bool BuildCuePath(char (&buffer)[kPathBufferSize], std::string_view programFolder,
                             std::string_view relativeName);

    // The click path of `slot` (1..6); empty for a slot out of range.
    const char* ClickPath(int slot) const;

private:
    static bool PlayExisting(const char* path, unsigned flags);

    char clickPaths_[kClickSoundCount][kPathBufferSize] = {};
};

} // namespace playback
