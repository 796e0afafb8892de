#pragma once
// The toolkit's inner state: open outputs with their delta-time queues, the
// timers, and the one lock that guards them all. The client's thread, the
// timer threads and AdvanceClock all work on this state under that lock.

#include "mxmidi/mxmidi.h"
#include "mxmidi/outport.h"
#include "mxmidi/pimutex.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <bitset>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace mxmidi::detail {

inline constexpr std::size_t kQueueDepth = 256; // events an output queue holds
inline constexpr std::size_t kRoomMark = 128;   // OUT_ROOM once a refused queue is down to this
inline constexpr std::size_t kMaxSysEx = 65536; // longer system-exclusive runs are dropped
inline constexpr std::uint32_t kDefaultTempo = 500000;
inline constexpr std::uint16_t kDefaultResolution = 480;

class Sync;

struct QueuedEvent {
    std::uint64_t tick; // absolute tick of the timer's run
    MidiEvent event;
};

// The queue of an output: a fixed ring, so that the timer thread never frees
// memory another thread allocated (that would take the other thread's
// allocator lock, which an ordinary thread may hold while it is preempted).
class EventRing {
public:
    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    bool full() const { return count_ == kQueueDepth; }
    const QueuedEvent& front() const { return slots_[head_]; }
    const QueuedEvent& at(std::size_t index) const { return slots_[(head_ + index) % kQueueDepth]; }
    void pop_front() {
        head_ = (head_ + 1) % kQueueDepth;
        --count_;
    }
    void push_back(const QueuedEvent& event) { // only when not full
        slots_[(head_ + count_) % kQueueDepth] = event;
        ++count_;
    }
    void clear() { head_ = count_ = 0; }

private:
    std::array<QueuedEvent, kQueueDepth> slots_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

// An open output: its port, its queue of timed events and what it knows of
// the notes it left sounding.
class Output {
public:
    HMOUT handle = 0;
    QPointer<QObject> window;
    std::unique_ptr<OutPort> port;
    HSYNC sync = 0; // the timer that times its queue; 0 = none, events go out at once

    EventRing queue;
    std::uint64_t lastTick = 0; // tick of the event queued last: the deltas count from it
    bool refused = false;       // a hand-over was refused and none taken since
    bool roomPosted = false;    // OUT_ROOM was posted for that refusal
    bool endMarked = false;     // the client will queue nothing more in this run

    // Sends one event due at `due`: tempo events go to `timer` at `tick`,
    // system-exclusive bytes are gathered in `sysex` until the F7, the rest go
    // to the port.
    void Deliver(const MidiEvent& event, std::vector<std::uint8_t>& sysex, Sync* timer,
                 std::uint64_t tick, std::uint64_t due);
    void SilenceNotes(); // note-off (due now) for every note still sounding, sustain pedals up
    void DropQueue();    // unsent events go, refusal forgotten

    std::vector<std::uint8_t> sysexNow;   // run being gathered from events sent at once
    std::vector<std::uint8_t> sysexTimed; // run being gathered from the queue

private:
    void TrackNotes(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    std::bitset<16 * 128> sounding_;
    std::bitset<16> sustain_;
};

enum class SyncState { Stopped, Running, Paused };

// Where a run's tick times changed course: from `tick` on, ticks pass at
// `tempo` from the scaled time `scaled` (µs × resolution).
struct TempoSegment {
    std::uint64_t tick = 0;
    unsigned __int128 scaled = 0;
    std::uint32_t tempo = kDefaultTempo;
};

// The segments of a run before the current one, newest last; the oldest go
// when it is full (a run with more tempo changes than that forgets where its
// first ones stood).
class SegmentHistory {
public:
    static constexpr std::size_t kCapacity = 64;
    void clear() { head_ = count_ = 0; }
    void push(const TempoSegment& segment) {
        if (count_ == kCapacity) {
            head_ = (head_ + 1) % kCapacity;
            --count_;
        }
        slots_[(head_ + count_) % kCapacity] = segment;
        ++count_;
    }
    std::size_t size() const { return count_; }
    const TempoSegment& at(std::size_t index) const { return slots_[(head_ + index) % kCapacity]; }

private:
    std::array<TempoSegment, kCapacity> slots_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

class SyncGate;

// A timer: a run starts at tick 0 with StartSync; ticks pass at the tempo in
// force, tempo events in the queues of its outputs change it where they stand.
// Tick times are exact: time(tick) = (anchorScaled + (tick - anchorTick) *
// tempo) / resolution, where anchorScaled is the anchor's time in µs times
// the resolution, so no rounding builds up across tempo changes.
class Sync {
public:
    HSYNC handle = 0;
    QPointer<QObject> window;
    QPointer<SyncGate> gate;

    SyncState state = SyncState::Stopped;
    std::uint32_t tempo = kDefaultTempo;
    std::uint16_t resolution = kDefaultResolution;
    std::uint64_t anchorTick = 0;
    unsigned __int128 anchorScaled = 0;
    std::uint64_t nextBeatTick = 0;
    std::uint64_t pausedAt = 0;
    std::uint32_t generation = 0;     // which run; notifications of older runs are dropped
    bool endDelivered = false;        // END went through for the events queued so far
    bool sentInRun = false;           // some queued event was sent in this run
    std::uint64_t lastQueuedTick = 0; // tick of the event queued last on any of its outputs
    SegmentHistory history;           // the run's segments before the anchor

    std::thread thread;
    PiCondition wake;
    bool quit = false;

    std::uint64_t TimeOfTick(std::uint64_t tick) const;
    // The toolkit time at which the run reaches `tick`: past ticks where they
    // stood, later ones with the tempo events queued before them; -1 when no
    // run is going, or the timer is paused before that tick.
    std::int64_t RunTimeOfTick(std::uint64_t tick) const;
    std::uint64_t NextDeadline() const; // time of the next tick with work (running only)
    void ProcessDue(std::uint64_t now); // sends all that fell due up to now
    void ApplyTempoAt(std::uint64_t tick, std::uint32_t microsecondsPerQuarter);
    void ApplyTempoNow(std::uint32_t microsecondsPerQuarter, std::uint64_t now);
    void Start(std::uint64_t now);
    void Stop();
    void Pause(std::uint64_t now, bool silence);
    void Resume(std::uint64_t now);
    bool QueuesIdle() const;       // every queue empty and no refusal waiting for a refill
    bool EndDue() const;           // queues idle after events were sent or the end was marked
    std::vector<Output*> attached; // the outputs it times, kept by open and close
    const std::vector<Output*>& Outputs() const { return attached; }
    void PostEnd(bool forced);

private:
    std::uint64_t NextTick() const;
    std::uint64_t PositionTick(std::uint64_t time) const; // first whole tick at or after time
    void MoveAnchor(std::uint64_t tick, unsigned __int128 scaled);
    std::uint64_t TimeOnQueuedTempo(std::uint64_t tick) const;
};

// Watches the timer's window and lets a notification through only when it is
// still true on the client's thread: beats of the current run, and an END
// when, after the client had its chance to refill, nothing is left to play.
class SyncGate : public QObject {
public:
    explicit SyncGate(HSYNC handle) : handle_(handle) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HSYNC handle_;
};

// A notification as the toolkit posts it: stamped with the timer's run.
class ToolkitNotifyEvent : public MxNotifyEvent {
public:
    ToolkitNotifyEvent(std::uint32_t message, std::uint32_t handle, std::uint32_t generation,
                       bool forced)
        : MxNotifyEvent(message, handle), generation_(generation), forced_(forced) {}
    std::uint32_t Generation() const { return generation_; }
    bool Forced() const { return forced_; }

private:
    std::uint32_t generation_;
    bool forced_;
};

struct Toolkit {
    PiMutex mutex; // priority inheritance: the timer never waits behind ordinary threads
    std::map<std::uint32_t, std::unique_ptr<Output>> outputs;
    std::map<std::uint32_t, std::unique_ptr<Sync>> syncs;
    std::uint32_t nextHandle = 0x100;
};

Toolkit& TheToolkit();            // lives as long as the process
Output* FindOutput(HMOUT handle); // with the lock held
Sync* FindSync(HSYNC handle);     // with the lock held
std::uint32_t NewHandle();        // with the lock held; always above 32
// Posts a notification; from a timer thread through the notifier thread, in
// the order posted, so the timer never waits on Qt's locks.
void Post(const QPointer<QObject>& window, std::uint32_t message, std::uint32_t handle,
          std::uint32_t generation = 0, bool forced = false);
void MarkTimerThread(); // the calling thread is a timer thread
void WakeAllTimers();   // with the lock held

} // namespace mxmidi::detail
