// The timer: its thread, tick arithmetic, beats and the end of a run.

#include "mxmidi/realtime.h"
#include "mxmidi/toolkitclock.h"
#include "mxmidi/toolkitstate.h"

#include <QThread>

#include <cstdio>
#include <future>
#include <pthread.h>
#include <mutex>
#include <string>

namespace mxmidi::detail {
namespace {

constexpr std::uint64_t kMaxSleep = 3600ull * 1000000; // wake at least hourly
// A run starts, or goes on after a pause, this long after it is asked to, on
// the steady clock: the timer thread, woken for it, is then awake before its
// first events are due, instead of sending them as late as its wake-up took
// (up to 10 ms on a busy or virtual machine). Under the manual clock time
// stands still and nothing needs it.
constexpr std::uint64_t kRunLeadMicroseconds = 10000;

std::uint64_t RunStartTime() {
    return ClockIsManual() ? ClockNow() : ClockNow() + kRunLeadMicroseconds;
}

std::uint64_t Clamp64(unsigned __int128 value) {
    return value > UINT64_MAX ? UINT64_MAX : static_cast<std::uint64_t>(value);
}

std::mutex schedulingMutex;
char schedulingText[64] = "no timer yet";

void RecordScheduling(const std::string& text) {
    std::lock_guard lock(schedulingMutex);
    std::snprintf(schedulingText, sizeof schedulingText, "%s", text.c_str());
}

// Real-time priority keeps the send times tight on a busy machine; the
// opener waits until the thread has asked for it.
void RunTimer(Sync* sync, std::promise<void>* prioritySettled) {
    pthread_setname_np(pthread_self(), kTimerThreadName);
    RecordScheduling(RaiseThreadPriority());
    prioritySettled->set_value();
    MarkTimerThread();
    std::unique_lock lock(TheToolkit().mutex);
    while (!sync->quit) {
        if (ClockIsManual() || sync->state != SyncState::Running) {
            sync->wake.wait(lock);
            continue;
        }
        std::uint64_t now = ClockNow();
        sync->ProcessDue(now);
        if (sync->state != SyncState::Running) continue;
        std::uint64_t deadline = std::min(sync->NextDeadline(), now + kMaxSleep);
        sync->wake.wait_until(lock, SteadyTimePoint(deadline));
    }
}

} // namespace

void WakeAllTimers() {
    for (auto& [handle, sync] : TheToolkit().syncs)
        sync->wake.notify_all();
}

std::uint64_t Sync::TimeOfTick(std::uint64_t tick) const {
    unsigned __int128 scaled;
    if (tick >= anchorTick) {
        scaled = anchorScaled + static_cast<unsigned __int128>(tick - anchorTick) * tempo;
    } else {
        unsigned __int128 back = static_cast<unsigned __int128>(anchorTick - tick) * tempo;
        scaled = back > anchorScaled ? 0 : anchorScaled - back;
    }
    return Clamp64(scaled / resolution);
}

std::uint64_t Sync::PositionTick(std::uint64_t time) const {
    unsigned __int128 scaled = static_cast<unsigned __int128>(time) * resolution;
    if (scaled <= anchorScaled) return anchorTick;
    unsigned __int128 ticks = (scaled - anchorScaled + tempo - 1) / tempo;
    return Clamp64(anchorTick + ticks);
}

std::uint64_t Sync::NextTick() const {
    std::uint64_t tick = nextBeatTick;
    for (Output* output : Outputs())
        if (!output->queue.empty()) tick = std::min(tick, output->queue.front().tick);
    return tick;
}

std::uint64_t Sync::NextDeadline() const {
    return TimeOfTick(NextTick());
}

void Sync::MoveAnchor(std::uint64_t tick, unsigned __int128 scaled) {
    if (tick > anchorTick) history.push({anchorTick, anchorScaled, tempo});
    anchorTick = std::max(anchorTick, tick);
    anchorScaled = scaled;
}

void Sync::ApplyTempoAt(std::uint64_t tick, std::uint32_t microsecondsPerQuarter) {
    if (tick > anchorTick)
        MoveAnchor(tick, anchorScaled + static_cast<unsigned __int128>(tick - anchorTick) * tempo);
    tempo = microsecondsPerQuarter;
    wake.notify_all();
}

void Sync::ApplyTempoNow(std::uint32_t microsecondsPerQuarter, std::uint64_t now) {
    if (state == SyncState::Stopped) {
        tempo = microsecondsPerQuarter;
        return;
    }
    std::uint64_t time = state == SyncState::Paused ? pausedAt : now;
    ApplyTempoAt(PositionTick(time), microsecondsPerQuarter);
}

namespace {
std::uint32_t TempoOf(const MidiEvent& event) {
    return (event.data1 << 16) | (event.data2 << 8) | event.data3;
}
} // namespace

std::uint64_t Sync::TimeOnQueuedTempo(std::uint64_t tick) const {
    std::uint64_t segmentTick = anchorTick;
    unsigned __int128 segmentScaled = anchorScaled;
    std::uint32_t segmentTempo = tempo;
    bool atAnchor = true; // a tempo event still queued at the anchor's tick applies there
    for (;;) {
        // The next tick before `tick` where a queued tempo event applies; of
        // several there, the last one the timer would send wins.
        std::uint64_t next = UINT64_MAX;
        std::uint32_t nextTempo = 0;
        for (Output* output : Outputs()) {
            for (std::size_t i = 0; i < output->queue.size(); ++i) {
                const QueuedEvent& queued = output->queue.at(i);
                if (queued.event.status != 0 || queued.tick >= tick) continue;
                if (queued.tick < segmentTick || (queued.tick == segmentTick && !atAnchor)) continue;
                const std::uint32_t value = TempoOf(queued.event);
                if (value == 0 || queued.tick > next) continue;
                next = queued.tick;
                nextTempo = value;
            }
        }
        if (next == UINT64_MAX) break;
        segmentScaled += static_cast<unsigned __int128>(next - segmentTick) * segmentTempo;
        segmentTick = next;
        segmentTempo = nextTempo;
        atAnchor = false;
    }
    return Clamp64((segmentScaled +
                    static_cast<unsigned __int128>(tick - segmentTick) * segmentTempo) /
                   resolution);
}

std::int64_t Sync::RunTimeOfTick(std::uint64_t tick) const {
    if (state == SyncState::Stopped) return -1;
    std::uint64_t time = 0;
    if (tick >= anchorTick) {
        time = TimeOnQueuedTempo(tick);
    } else {
        time = TimeOfTick(tick); // before the oldest segment kept: the best guess
        for (std::size_t i = history.size(); i-- > 0;) {
            const TempoSegment& segment = history.at(i);
            if (segment.tick > tick) continue;
            time = Clamp64((segment.scaled +
                            static_cast<unsigned __int128>(tick - segment.tick) * segment.tempo) /
                           resolution);
            break;
        }
    }
    if (state == SyncState::Paused && time > pausedAt) return -1; // not reached, not yet known
    return time > static_cast<std::uint64_t>(INT64_MAX) ? -1 : static_cast<std::int64_t>(time);
}

bool Sync::EndDue() const {
    if (!QueuesIdle()) return false;
    if (sentInRun) return true;
    for (Output* output : Outputs())
        if (output->endMarked) return true;
    return false;
}

bool Sync::QueuesIdle() const {
    for (Output* output : Outputs())
        if (!output->queue.empty() || output->refused) return false;
    return true;
}

void Sync::PostEnd(bool forced) {
    Post(window, MXMIDI_MSG_SYNC_END, handle, generation, forced);
}

void Sync::ProcessDue(std::uint64_t now) {
    while (state == SyncState::Running) {
        std::uint64_t tick = NextTick();
        if (TimeOfTick(tick) > now) break;
        bool sentSome = false;
        for (Output* output : Outputs()) {
            while (!output->queue.empty() && output->queue.front().tick <= tick) {
                const QueuedEvent queued = output->queue.front();
                output->queue.pop_front();
                output->Deliver(queued.event, output->sysexTimed, this, tick,
                                TimeOfTick(queued.tick));
                sentSome = true;
            }
            if (output->refused && !output->roomPosted && output->queue.size() <= kRoomMark) {
                output->roomPosted = true;
                Post(output->window, MXMIDI_MSG_OUT_ROOM, output->handle);
            }
        }
        if (nextBeatTick <= tick) {
            Post(window, MXMIDI_MSG_SYNC_BEAT, handle, generation);
            nextBeatTick += resolution;
        }
        // A candidate only: the gate lets it through if the queues are still
        // empty once the client's thread gets to it.
        if (sentSome) sentInRun = true;
        if (sentSome && QueuesIdle()) PostEnd(false);
    }
}

void Sync::Start(std::uint64_t now) {
    if (state != SyncState::Stopped) Stop(); // a restart abandons the run in progress
    ++generation;
    endDelivered = false;
    sentInRun = false;
    anchorTick = 0;
    anchorScaled = static_cast<unsigned __int128>(now) * resolution;
    history.clear();
    nextBeatTick = resolution;
    state = SyncState::Running;
    // What was queued while the timer stood belongs to this run, and so does
    // an end marked with it: with nothing left to play the run ends now.
    if (EndDue()) PostEnd(false);
    wake.notify_all();
}

void Sync::Stop() {
    state = SyncState::Stopped;
    lastQueuedTick = 0;
    for (Output* output : Outputs()) {
        output->DropQueue();
        output->lastTick = 0;
        output->SilenceNotes();
    }
}

void Sync::Pause(std::uint64_t now, bool silence) {
    if (state != SyncState::Running) return;
    state = SyncState::Paused;
    pausedAt = now;
    if (silence)
        for (Output* output : Outputs())
            output->SilenceNotes();
}

void Sync::Resume(std::uint64_t now) {
    if (state != SyncState::Paused) return;
    if (now > pausedAt) {
        // Ticks from the pause on come later by its length; those before it
        // keep the times they had.
        const std::uint64_t resumeTick = PositionTick(pausedAt);
        const unsigned __int128 scaled =
            anchorScaled + static_cast<unsigned __int128>(resumeTick - anchorTick) * tempo +
            static_cast<unsigned __int128>(now - pausedAt) * resolution;
        MoveAnchor(resumeTick, scaled);
    }
    state = SyncState::Running;
    // An end that found the timer paused is offered again.
    if (!endDelivered && EndDue()) PostEnd(false);
    wake.notify_all();
}

bool SyncGate::eventFilter(QObject*, QEvent* event) {
    if (event->type() != MxNotifyEvent::EventType()) return false;
    auto* notify = dynamic_cast<ToolkitNotifyEvent*>(event);
    if (!notify || notify->Handle() != handle_) return false;
    std::lock_guard lock(TheToolkit().mutex);
    Sync* sync = FindSync(handle_);
    if (!sync || notify->Generation() != sync->generation) return true; // from a run that is over
    if (notify->Message() != MXMIDI_MSG_SYNC_END) return false;
    bool ended = notify->Forced() || (sync->state == SyncState::Running && sync->QueuesIdle());
    if (sync->endDelivered || !ended) return true;
    sync->endDelivered = true;
    return false;
}

} // namespace mxmidi::detail

using namespace mxmidi::detail;

HSYNC OpenSync(std::uint32_t /*mode*/, HWND window, std::uint32_t /*flags*/,
               std::uint16_t /*period*/) {
    auto sync = std::make_unique<Sync>();
    sync->window = window;
    Sync* raw = sync.get();
    std::promise<void> prioritySettled;
    std::future<void> settled = prioritySettled.get_future();
    {
        std::lock_guard lock(TheToolkit().mutex);
        sync->handle = NewHandle();
        if (window) {
            auto* gate = new SyncGate(sync->handle);
            if (window->thread() != gate->thread()) gate->moveToThread(window->thread());
            window->installEventFilter(gate);
            sync->gate = gate;
        }
        TheToolkit().syncs.emplace(sync->handle, std::move(sync));
        raw->thread = std::thread(RunTimer, raw, &prioritySettled);
    }
    settled.wait();
    return raw->handle;
}

const char* GetTimerScheduling() {
    std::lock_guard lock(schedulingMutex);
    return schedulingText;
}

void CloseSync(HSYNC handle) {
    std::unique_ptr<Sync> closing;
    {
        std::lock_guard lock(TheToolkit().mutex);
        auto& syncs = TheToolkit().syncs;
        auto it = syncs.find(handle);
        if (it == syncs.end()) return;
        closing = std::move(it->second);
        syncs.erase(it);
        for (auto& [h, output] : TheToolkit().outputs) {
            if (output->sync == handle) {
                output->DropQueue();
                output->sync = 0;
            }
        }
        closing->quit = true;
        closing->wake.notify_all();
    }
    closing->thread.join();
    if (SyncGate* gate = closing->gate.data()) {
        if (gate->thread() == QThread::currentThread())
            delete gate;
        else
            gate->deleteLater();
    }
}

namespace {

// Runs `action` on the timer under the lock; nothing for an unknown handle.
template <typename Action> void WithSync(HSYNC handle, Action action) {
    std::lock_guard lock(TheToolkit().mutex);
    if (Sync* sync = FindSync(handle)) action(*sync);
}

} // namespace

void StartSync(HSYNC sync) {
    WithSync(sync, [](Sync& s) { s.Start(RunStartTime()); });
}

void StopSync(HSYNC sync) {
    WithSync(sync, [](Sync& s) { s.Stop(); });
}

void ReStartSync(HSYNC sync) {
    WithSync(sync, [](Sync& s) { s.Resume(RunStartTime()); });
}

void PauseSync(HSYNC sync, int flag) {
    WithSync(sync, [flag](Sync& s) { s.Pause(ClockNow(), flag != 0); });
}

std::uint16_t SetTempo(HSYNC sync, std::uint32_t microsecondsPerQuarter) {
    if (microsecondsPerQuarter == 0) return 1;
    std::uint16_t result = 1;
    WithSync(sync, [&](Sync& s) {
        s.ApplyTempoNow(microsecondsPerQuarter, ClockNow());
        result = 0;
    });
    return result;
}

std::uint32_t GetTempo(HSYNC sync) {
    std::uint32_t tempo = 0;
    WithSync(sync, [&](Sync& s) { tempo = s.tempo; });
    return tempo;
}

void SetResolution(HSYNC sync, std::uint16_t ticksPerQuarter) {
    if (ticksPerQuarter == 0) return;
    WithSync(sync, [ticksPerQuarter](Sync& s) {
        // The anchor keeps its time; ticks from there on have the new length.
        s.anchorScaled = s.anchorScaled * ticksPerQuarter / s.resolution;
        s.resolution = ticksPerQuarter;
        s.history.clear(); // its segments were in the old resolution
        s.wake.notify_all();
    });
}

std::uint16_t GetResolution(HSYNC sync) {
    std::uint16_t resolution = 0;
    WithSync(sync, [&](Sync& s) { resolution = s.resolution; });
    return resolution;
}

std::int64_t GetSyncTickTime(HSYNC sync, std::uint64_t tick) {
    std::int64_t time = -1;
    WithSync(sync, [&](Sync& s) { time = s.RunTimeOfTick(tick); });
    return time;
}

std::uint64_t GetToolkitClock() {
    return ClockNow();
}
