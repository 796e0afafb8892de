#include "sequenzor/midiout.h"

#include "sequenzor/midisync.h"
#include "sequenzor/miditrack.h"

#include <algorithm>
#include <cmath>

namespace sequenzor {

namespace {

constexpr std::uint8_t kExclusiveOpen = 0xF0;
constexpr std::uint8_t kExclusiveClose = 0xF7;

// Tempo, controllers, program changes, channel pressure, pitch bend and
// system events carry state that a start in the middle of a piece must catch
// up on; notes and polyphonic pressure do not.
bool IsChased(std::uint8_t status) {
    return status == 0 || (status & 0xB0) == 0xB0 || (status & 0xC0) == 0xC0;
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
    deviceId_ = id;
    openSetting_ = kOpenSetting;
    HSYNC timer = sync_ ? sync_->Handle() : 0;
    handle_ = OpenMidiOut(window_.data(), id, timer, openSetting_);
    open_ = handle_ > MXMIDI_INVALID_HANDLE_LIMIT;
    if (!open_) handle_ = 0;
    return open_ ? 1 : 0;
}

void CMidiOut::ResetAndClose() {
    if (!open_) return;
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

int CMidiOut::HandOver(const MidiEvent& event) {
    if (!open_) return 1;
    if (ignoreFileTempo && event.status == 0) return 1;
    return PutMidiOut(handle_, &event) == 0 ? 1 : 0;
}

void CMidiOut::SendNow(const MidiEvent& event) {
    PutMidiOut(handle_, &event);
}

int CMidiOut::HandOverFromBlock(const MidiEvent& event) {
    if (!open_) return 1;
    if (ignoreFileTempo && event.status == 0) {
        // The dropped tempo event's ticks go on to the next event.
        if (event.time != MXMIDI_NOW) carriedTicks_ += event.time;
        return 1;
    }
    MidiEvent timed = event;
    if (timed.time != MXMIDI_NOW) timed.time += carriedTicks_;
    if (!HandOver(timed)) return 0;
    carriedTicks_ = 0;
    return 1;
}

void CMidiOut::ResetBlock() {
    blockCount_ = 0;
    handOverPosition_ = 0;
    carriedTicks_ = 0;
    endLimitReached_ = false;
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
    // The minus one puts events lying exactly on the start beat after S.
    std::int64_t startTick = 0;
    if (start > 0)
        startTick = std::max<std::int64_t>(0, std::trunc(start * resolution * 0.125 - 1));
    const auto s = static_cast<std::uint32_t>(std::min<std::int64_t>(startTick, 0xFFFFFFFFLL));
    if (length > 0) {
        std::int64_t limit = std::trunc(length * resolution * 0.125 + s);
        endLimit_ = static_cast<std::uint32_t>(std::min<std::int64_t>(limit, 0xFFFFFFFFLL));
    }

    bool anyAfterStart = false;
    std::uint32_t earliestAfterStart = 0;
    for (TrackCursor& cursor : cursors_) {
        const CMidiTrack& track = *cursor.track;
        const MidiEvent* events = track.Events();
        std::uint32_t position = 0;
        std::uint32_t absolute = 0;
        for (; position < track.Count(); ++position) {
            absolute += events[position].time;
            if (absolute >= s) break;
            if (IsChased(events[position].status)) {
                MidiEvent caught = events[position];
                caught.time = 0;
                SendNow(caught);
            }
        }
        if (position < track.Count() && absolute > s &&
            (!anyAfterStart || absolute < earliestAfterStart)) {
            anyAfterStart = true;
            earliestAfterStart = absolute;
        }
        cursor.trackPosition = position;
        cursor.exclusiveLock = 0;
        cursor.chunkSize = kBlockSize;
    }
    timeBase_ = anyAfterStart ? earliestAfterStart : std::max(timeBase_, s);
    ResetBlock();
    Prime();
}

void CMidiOut::Prime() {
    Feed();
}

void CMidiOut::TimerEnded() {
    // A piece cut at its end limit may leave notes on whose ends were never sent.
    if (endLimitReached_ && open_) ResetMidiOut(handle_);
}

void CMidiOut::OnNotify(std::uint32_t message) {
    if (message == MXMIDI_MSG_OUT_ROOM) Feed();
}

void CMidiOut::Feed() {
    if (cursors_.empty()) return;
    if (handOverPosition_ == blockCount_) {
        if (endLimitReached_) return; // nothing more before the end limit
        MergeBlock();
    }
    while (handOverPosition_ < blockCount_) {
        if (!HandOverFromBlock(block_[handOverPosition_])) return; // queue full: wait for room
        ++handOverPosition_;
        if (handOverPosition_ == blockCount_) {
            if (endLimitReached_) return;
            MergeBlock();
        }
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
