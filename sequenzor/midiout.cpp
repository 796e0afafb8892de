#include "sequenzor/midiout.h"

#include "sequenzor/chase.h"
#include "sequenzor/midisync.h"
#include "sequenzor/miditrack.h"

#include <algorithm>
#include <cmath>

namespace sequenzor {

namespace {

constexpr std::uint8_t kExclusiveOpen = 0xF0;
constexpr std::uint8_t kExclusiveClose = 0xF7;

// A chased event with the absolute time and track it comes from; the bytes
// of a system-exclusive run carry the time of its opening byte, so that the
// run stays whole when the tracks are put in time order.
struct ChasedEvent {
    std::uint32_t time;
    std::size_t track;
    MidiEvent event;
};

bool IsNoteOn(const MidiEvent& event) {
    return (event.status & 0xF0) == 0x90 && event.data2 > 0;
}

bool IsNoteOff(const MidiEvent& event) {
    return (event.status & 0xF0) == 0x80 || ((event.status & 0xF0) == 0x90 && event.data2 == 0);
}

std::uint32_t TicksBetween(std::uint32_t later, std::uint32_t earlier) {
    return later > earlier ? later - earlier : 0;
}

} // namespace

CMidiOut::~CMidiOut() {
    ResetAndClose();
    for (TrackCursor& cursor : cursors_)
        cursor.track->output = nullptr;
    DeleteWindow();
}

void CMidiOut::DeleteWindow() {
    sequenzor::DeleteWindow(window_);
}

void CMidiOut::CreateWindow(QObject* parent, CMidiSync* sync) {
    ReplaceWindow(window_, "CMaxMidiOutWnd", parent,
                  [this](std::uint32_t message) { OnNotify(message); });
    sync_ = sync;
}

int CMidiOut::OpenDevice(std::uint16_t id) {
    if (open_) return 1;
    if (handle_) return ChangeDevice(id);
    deviceId_ = id;
    openSetting_ = kOpenSetting;
    HSYNC timer = sync_ ? sync_->Handle() : 0;
    handle_ = OpenMidiOut(window_.data(), id, timer, openSetting_);
    open_ = handle_ > MXMIDI_INVALID_HANDLE_LIMIT;
    if (!open_) {
        handle_ = OpenMidiOut(window_.data(), MXMIDI_NO_DEVICE, timer, openSetting_);
        if (handle_ <= MXMIDI_INVALID_HANDLE_LIMIT) handle_ = 0;
    }
    return open_ ? 1 : 0;
}

int CMidiOut::ChangeDevice(std::uint16_t id) {
    if (!handle_) return OpenDevice(id);
    deviceId_ = id;
    open_ = SwitchMidiOut(handle_, id) == 1 && id != MXMIDI_NO_DEVICE;
    return open_ ? 1 : 0;
}

void CMidiOut::ResetAndClose() {
    if (!handle_) return;
    ResetMidiOut(handle_);
    CloseMidiOut(handle_);
    open_ = false;
    handle_ = 0;
}

void CMidiOut::AddCursor(CMidiTrack* track) {
    if (track->output) track->output->RemoveCursor(track);
    TrackCursor cursor;
    cursor.track = track;
    cursors_.push_back(std::move(cursor));
    track->output = this;
}

void CMidiOut::RemoveCursor(CMidiTrack* track) {
    auto it = std::find_if(cursors_.begin(), cursors_.end(),
                           [track](const TrackCursor& c) { return c.track == track; });
    if (it != cursors_.end()) cursors_.erase(it);
    if (track->output == this) track->output = nullptr;
}

void CMidiOut::Prepare(const std::vector<std::unique_ptr<CMidiTrack>>& tracks) {
    if (!handle_) return;
    // Bank selects and program changes of all tracks in the order they play.
    struct Choice {
        std::uint32_t time;
        MidiEvent event;
    };
    std::vector<Choice> choices;
    for (const auto& track : tracks) {
        std::uint32_t time = 0;
        for (std::uint32_t i = 0; i < track->Count(); ++i) {
            const MidiEvent& event = track->Events()[i];
            time += event.time;
            const std::uint8_t kind = event.status & 0xF0;
            const bool noteOn = kind == 0x90 && event.data2 > 0;
            if (kind == 0xC0 || noteOn || (kind == 0xB0 && event.data1 == 0))
                choices.push_back({time, event});
        }
    }
    std::stable_sort(choices.begin(), choices.end(),
                     [](const Choice& a, const Choice& b) { return a.time < b.time; });
    // A channel that plays a note before any program change plays its
    // default instrument, program 0.
    std::array<std::uint8_t, 16> bank{};
    std::array<bool, 16> chosen{};
    std::vector<MidiProgram> programs;
    for (const Choice& choice : choices) {
        const auto channel = static_cast<std::uint8_t>(choice.event.status & 0x0F);
        switch (choice.event.status & 0xF0) {
        case 0xB0:
            bank[channel] = choice.event.data2 & 0x7F;
            break;
        case 0xC0:
            programs.push_back({channel, bank[channel],
                                static_cast<std::uint8_t>(choice.event.data1 & 0x7F)});
            chosen[channel] = true;
            break;
        default:
            if (!chosen[channel]) programs.push_back({channel, bank[channel], 0});
            chosen[channel] = true;
            break;
        }
    }
    PrepareMidiOut(handle_, programs.data(), programs.size());
}

int CMidiOut::HandOver(const MidiEvent& event) {
    if (!open_) return 1;
    if (ignoreFileTempo && event.status == 0) return 1;
    return PutMidiOut(handle_, &event) == 0 ? 1 : 0;
}

void CMidiOut::SendNow(const MidiEvent& event) {
    // Also without a device: the silent output still takes tempo changes.
    if (handle_) PutMidiOut(handle_, &event);
}

int CMidiOut::HandOverFromBlock(const MidiEvent& event) {
    if (!handle_) return 1;
    if (ignoreFileTempo && event.status == 0) {
        // The dropped tempo event's ticks go on to the next event.
        if (event.time != MXMIDI_NOW) carriedTicks_ += event.time;
        return 1;
    }
    MidiEvent timed = event;
    if (timed.time != MXMIDI_NOW) timed.time += carriedTicks_;
    if (PutMidiOut(handle_, &timed) != 0) return 0;
    carriedTicks_ = 0;
    return 1;
}

void CMidiOut::ResetBlock() {
    blockCount_ = 0;
    handOverPosition_ = 0;
    carriedTicks_ = 0;
    endLimitReached_ = false;
    finished_ = false;
    sounding_.clear();
}

void CMidiOut::Rewind() {
    for (TrackCursor& cursor : cursors_) {
        cursor.trackPosition = 0;
        cursor.exclusiveLock = 0;
        cursor.chunkSize = kBlockSize;
    }
    endLimit_ = 0;
    timeBase_ = 0;
    ResetBlock();
    Prime();
}

void CMidiOut::Seek(int start, int length) {
    const std::int64_t resolution = sync_ ? sync_->Resolution() : 0;
    // The start point's own tick, and S one below it, so that events lying
    // exactly on the start beat come after S and are played.
    std::int64_t startPoint = 0;
    std::int64_t startTick = 0;
    if (start > 0) {
        startPoint = std::trunc(start * resolution * 0.125);
        startTick = std::max<std::int64_t>(0, std::trunc(start * resolution * 0.125 - 1));
    }
    const auto s = static_cast<std::uint32_t>(std::min<std::int64_t>(startTick, 0xFFFFFFFFLL));
    if (length > 0) {
        std::int64_t limit = std::trunc(length * resolution * 0.125 + s);
        endLimit_ = static_cast<std::uint32_t>(std::min<std::int64_t>(limit, 0xFFFFFFFFLL));
    }

    std::vector<ChasedEvent> chased;
    for (std::size_t t = 0; t < cursors_.size(); ++t) {
        TrackCursor& cursor = cursors_[t];
        const CMidiTrack& track = *cursor.track;
        const MidiEvent* events = track.Events();
        std::uint32_t position = 0;
        std::uint32_t absolute = 0;
        std::uint32_t runTime = 0;
        for (; position < track.Count(); ++position) {
            absolute += events[position].time;
            if (absolute >= s) break;
            const MidiEvent& event = events[position];
            if (!IsChased(event.status)) continue;
            const bool inRun = event.status == 0xF0 && event.data1 != kExclusiveOpen;
            if (!inRun) runTime = absolute;
            chased.push_back({runTime, t, event});
        }
        cursor.trackPosition = position;
        cursor.exclusiveLock = 0;
        cursor.chunkSize = kBlockSize;
    }
    // The piece goes on from the start point's own time, whether or not a
    // note lies on it: the beat counter and the music stay together.
    timeBase_ = static_cast<std::uint32_t>(std::min<std::int64_t>(startPoint, 0xFFFFFFFFLL));
    ResetBlock();

    std::stable_sort(chased.begin(), chased.end(), [](const ChasedEvent& a, const ChasedEvent& b) {
        return a.time != b.time ? a.time < b.time : a.track < b.track;
    });
    std::vector<MidiEvent> settings;
    settings.reserve(chased.size());
    for (const ChasedEvent& c : chased)
        settings.push_back(c.event);
    SendChased(ReduceChased(settings));
    Prime();
}

// Sends the settings of the start point before anything else of the run: the
// tempo as the first queued event, at tick 0 (the queue is empty at a start,
// so it is taken), the others at once, in order. Neither goes through the
// player's hand-over, so the ignore-file-tempo flag does not apply.
void CMidiOut::SendChased(const std::vector<MidiEvent>& chased) {
    for (MidiEvent event : chased) {
        event.time = event.status == 0 ? 0 : MXMIDI_NOW;
        SendNow(event);
    }
}

void CMidiOut::Prime() {
    Feed();
}

void CMidiOut::TimerEnded() {
    // A piece cut at its end limit may leave notes on whose ends were never sent.
    if (endLimitReached_ && handle_) ResetMidiOut(handle_);
}

void CMidiOut::NotesTransposed(int channel, std::uint8_t amount) {
    if (channel < 0 || channel >= static_cast<int>(transposition_.size())) return;
    transposition_[channel] = static_cast<std::uint8_t>(transposition_[channel] + amount);
}

void CMidiOut::OnNotify(std::uint32_t message) {
    if (message == MXMIDI_MSG_OUT_ROOM) Feed();
}

void CMidiOut::Feed() {
    if (finished_) return;
    if (handOverPosition_ == blockCount_) NextBlock();
    while (handOverPosition_ < blockCount_) {
        if (!HandOverFromBlock(block_[handOverPosition_])) return; // queue full: wait for room
        ++handOverPosition_;
        if (handOverPosition_ == blockCount_) NextBlock();
    }
}

// Merges the next send block; when there is none (the tracks are used up or
// the end limit is reached), the run has been handed over whole.
void CMidiOut::NextBlock() {
    if (endLimitReached_ || cursors_.empty()) {
        blockCount_ = 0;
        handOverPosition_ = 0;
    } else {
        MergeBlock();
    }
    if (blockCount_ == 0) FinishRun();
}

// Nothing more comes in this run: the timer reports the end once the queue
// has played out, also when nothing was queued at all (no events after the
// start point, or an empty track list).
void CMidiOut::FinishRun() {
    if (finished_) return;
    finished_ = true;
    if (handle_) MarkMidiOutEnd(handle_);
}

// A note-off is sent for the key its note-on was sent with, even when the
// channel was transposed in between.
void CMidiOut::PairNoteOff(MidiEvent& event) {
    const int channel = event.status & 0x0F;
    const bool on = IsNoteOn(event);
    if (!on && !IsNoteOff(event)) return;
    const auto untransposed = static_cast<std::uint8_t>(event.data1 - transposition_[channel]);
    std::vector<std::uint8_t>& sent = sounding_[(channel << 8) | untransposed];
    if (on) {
        sent.push_back(event.data1);
    } else if (!sent.empty()) {
        event.data1 = sent.front();
        sent.erase(sent.begin());
    }
}

void CMidiOut::FetchChunk(TrackCursor& cursor) {
    cursor.chunk.clear();
    cursor.chunkPosition = 0;
    const CMidiTrack& track = *cursor.track;
    if (cursor.trackPosition >= track.Count() || track.muteFlag || track.recordFlag) {
        cursor.chunkSize = 0;
        return;
    }
    const std::uint32_t size = std::min(kBlockSize, track.Count() - cursor.trackPosition);
    const MidiEvent* first = track.Events() + cursor.trackPosition;
    cursor.chunk.assign(first, first + size);
    std::uint32_t absolute = track.AbsoluteTime(cursor.trackPosition);
    cursor.chunk[0].time = absolute;
    for (std::uint32_t i = 1; i < size; ++i) {
        absolute += first[i].time;
        cursor.chunk[i].time = absolute;
    }
    cursor.chunkSize = size;
}

TrackCursor* CMidiOut::EarliestCursor() {
    TrackCursor* earliest = nullptr;
    for (TrackCursor& cursor : cursors_) {
        if (cursor.chunkPosition >= cursor.chunk.size()) continue;
        if (!earliest ||
            cursor.chunk[cursor.chunkPosition].time < earliest->chunk[earliest->chunkPosition].time)
            earliest = &cursor;
    }
    return earliest;
}

void CMidiOut::MergeBlock() {
    if (block_.empty()) block_.assign(kBlockSize, MidiEvent{});
    TrackCursor* locked = nullptr;
    for (TrackCursor& cursor : cursors_) {
        FetchChunk(cursor);
        if (!cursor.chunk.empty() && cursor.exclusiveLock) locked = &cursor;
    }

    std::uint32_t count = 0;
    while (count < kBlockSize) {
        TrackCursor* from = locked;
        if (from && from->chunkPosition >= from->chunk.size()) break;
        if (!from) from = EarliestCursor();
        if (!from) break;
        const MidiEvent event = from->chunk[from->chunkPosition++];
        block_[count] = event;
        if (event.data1 == kExclusiveOpen) {
            from->exclusiveLock = 1;
            locked = from;
        } else if (event.data1 == kExclusiveClose) {
            from->exclusiveLock = 0;
            locked = nullptr;
        }
        lastMergedTime_ = event.time;
        if (endLimit_ && event.time >= endLimit_ && event.data1 != kExclusiveOpen &&
            event.data1 != kExclusiveClose) {
            endLimitReached_ = true;
            break;
        }
        PairNoteOff(block_[count]);
        ++count;
    }

    for (TrackCursor& cursor : cursors_) {
        cursor.trackPosition += cursor.chunkPosition;
        cursor.chunk.clear();
        cursor.chunkPosition = 0;
    }

    if (count > 0) {
        // Absolute times into delta times, from the back.
        const std::uint32_t last = block_[count - 1].time;
        for (std::uint32_t i = count - 1; i > 0; --i)
            block_[i].time = TicksBetween(block_[i].time, block_[i - 1].time);
        block_[0].time = TicksBetween(block_[0].time, timeBase_);
        timeBase_ = last;
    }
    blockCount_ = count;
    handOverPosition_ = 0;
}

} // namespace sequenzor
