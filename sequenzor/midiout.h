#pragma once
// CMidiOut: the output device and the player that feeds it.

#include "mxmidi/mxmidi.h"
#include "sequenzor/notifywindow.h"

#include <QPointer>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace sequenzor {

class CMidiSync;
class CMidiTrack;

// Where the player stands in one track: a temporary chunk of up to 512 of
// its events with absolute times, the next event of that chunk, the track's
// next event not yet merged, and whether a system-exclusive run is open.
struct TrackCursor {
    CMidiTrack* track = nullptr;
    std::vector<MidiEvent> chunk; // times are absolute ticks
    std::uint32_t chunkSize = 512;
    std::uint32_t chunkPosition = 0;
    std::uint32_t trackPosition = 0;
    int exclusiveLock = 0;
};

// The output device and the player. The player merges the tracks linked to
// it into send blocks of at most 512 time-ordered events and hands them to
// the toolkit's queue until the queue refuses one; the output-ready
// notification on "CMaxMidiOutWnd" brings the next hand-over.
class CMidiOut {
public:
    static constexpr std::uint32_t kBlockSize = 512;
    static constexpr std::uint32_t kOpenSetting = 0x33320;

    CMidiOut() = default;
    ~CMidiOut();
    CMidiOut(const CMidiOut&) = delete;
    CMidiOut& operator=(const CMidiOut&) = delete;

    void DeleteWindow();
    void CreateWindow(QObject* parent, CMidiSync* sync);
    CMidiSync* Sync() const { return sync_; }

    // Device: opens `id` unless a device is open already; 1 opened, 0 failed.
    // Without a device the player still has a silent output on the timer,
    // so that play keeps its time line, its tempo and its end.
    int OpenDevice(std::uint16_t id);
    // Moves the output to device `id` (MXMIDI_NO_DEVICE: none), keeping what
    // is queued and the timing; notes sounding on the old device are
    // switched off there. 1 when the new device opened.
    int ChangeDevice(std::uint16_t id);
    void ResetAndClose(); // reset before close, device and silent output alike
    bool IsOpen() const { return open_; }
    HMOUT Handle() const { return handle_; }

    // Track cursors, one per linked track, in linking order.
    void AddCursor(CMidiTrack* track);
    void RemoveCursor(CMidiTrack* track);
    const std::vector<TrackCursor>& Cursors() const { return cursors_; }

    // The tracks are about to play: the device gets ready for the
    // instruments their program changes select (PrepareMidiOut).
    void Prepare(const std::vector<std::unique_ptr<CMidiTrack>>& tracks);

    // The hand-over rule: 1 taken (also when dropped), 0 queue full.
    int HandOver(const MidiEvent& event);
    // Straight to the toolkit, answer not looked at.
    void SendNow(const MidiEvent& event);

    // Playback from the start: cursors to 0, end limit and time base cleared.
    void Rewind();
    // Playback from `start` (eighths of a quarter) for `length` eighths.
    void Seek(int start, int length);
    void Prime();
    // Tells the player that the timer has ended, so a finished piece cut at
    // its end limit leaves no note sounding.
    void TimerEnded();
    // The stored notes of `channel` were moved by `amount` semitones (mod 256).
    void NotesTransposed(int channel, std::uint8_t amount);

    int ignoreFileTempo = 0;

    // Read by tests and the track dump.
    std::uint32_t EndLimit() const { return endLimit_; }
    std::uint32_t TimeBase() const { return timeBase_; }

private:
    void OnNotify(std::uint32_t message);
    void Feed();
    void NextBlock();
    void FinishRun();
    void SendChased(const std::vector<MidiEvent>& chased);
    void PairNoteOff(MidiEvent& event);
    int HandOverFromBlock(const MidiEvent& event);
    void FetchChunk(TrackCursor& cursor);
    void MergeBlock();
    TrackCursor* EarliestCursor();
    void ResetBlock();

    QPointer<NotifyWindow> window_;
    CMidiSync* sync_ = nullptr;
    HMOUT handle_ = 0;
    bool open_ = false;
    std::uint16_t deviceId_ = 0;
    std::uint32_t openSetting_ = 0;

    std::vector<TrackCursor> cursors_;
    std::vector<MidiEvent> block_;
    std::uint32_t blockCount_ = 0;
    std::uint32_t handOverPosition_ = 0;
    std::uint32_t timeBase_ = 0;
    std::uint32_t lastMergedTime_ = 0;
    std::uint32_t endLimit_ = 0;
    // Ticks of dropped events (ignored file tempo) still owed to the next
    // event handed over, so the events after them keep their times.
    std::uint32_t carriedTicks_ = 0;
    bool endLimitReached_ = false;
    bool finished_ = false; // everything of this run was handed over

    // Transposition since the engine began, per channel, and the notes
    // handed over and not yet ended, by channel and untransposed key: a
    // note-off merged after a transposition still ends the key that sounds.
    std::array<std::uint8_t, 16> transposition_{};
    std::map<int, std::vector<std::uint8_t>> sounding_;
};

} // namespace sequenzor
