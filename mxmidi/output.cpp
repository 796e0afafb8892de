// Output devices: opening, the delta-time queue and sending.

#include "mxmidi/toolkitclock.h"
#include "mxmidi/toolkitstate.h"

#include <QCoreApplication>

#include <thread>
#include <vector>

namespace mxmidi::detail {

Toolkit& TheToolkit() {
    static Toolkit* toolkit = new Toolkit; // never freed: timer threads may outlive statics
    return *toolkit;
}

Output* FindOutput(HMOUT handle) {
    auto& outputs = TheToolkit().outputs;
    auto it = outputs.find(handle);
    return it == outputs.end() ? nullptr : it->second.get();
}

Sync* FindSync(HSYNC handle) {
    auto& syncs = TheToolkit().syncs;
    auto it = syncs.find(handle);
    return it == syncs.end() ? nullptr : it->second.get();
}

std::uint32_t NewHandle() {
    Toolkit& toolkit = TheToolkit();
    if (toolkit.nextHandle <= MXMIDI_INVALID_HANDLE_LIMIT) toolkit.nextHandle = 0x100;
    return toolkit.nextHandle++;
}

namespace {

thread_local bool onTimerThread = false;

struct PendingPost {
    QPointer<QObject> window;
    std::uint32_t message, handle, generation;
    bool forced;
};

void PostNow(const PendingPost& post) {
    if (QObject* receiver = post.window.data())
        QCoreApplication::postEvent(receiver, new ToolkitNotifyEvent(post.message, post.handle,
                                                                     post.generation, post.forced));
}

// Posts the timer threads' notifications from a thread of its own: posting
// takes Qt's event-queue lock, which the client's thread holds at times, and a
// real-time timer must not wait for an ordinary thread.
class Notifier {
public:
    void Enqueue(PendingPost post) {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) {
            pending_.reserve(kReserved);
            posting_.reserve(kReserved);
            thread_ = std::thread([this] { Run(); });
        }
        pending_.push_back(std::move(post));
        wake_.notify_all();
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            while (pending_.empty())
                wake_.wait(lock);
            posting_.swap(pending_); // both keep their capacity
            lock.unlock();
            for (const PendingPost& post : posting_)
                PostNow(post);
            posting_.clear();
            lock.lock();
        }
    }

    PiMutex mutex_;
    PiCondition wake_;
    static constexpr std::size_t kReserved = 4096;
    std::vector<PendingPost> pending_; // from the timers, not yet posted
    std::vector<PendingPost> posting_; // being posted
    std::thread thread_;
};

Notifier& TheNotifier() {
    static Notifier* notifier = new Notifier; // never freed, like the toolkit
    return *notifier;
}

} // namespace

void MarkTimerThread() {
    onTimerThread = true;
}

void Post(const QPointer<QObject>& window, std::uint32_t message, std::uint32_t handle,
          std::uint32_t generation, bool forced) {
    PendingPost post{window, message, handle, generation, forced};
    if (onTimerThread)
        TheNotifier().Enqueue(std::move(post));
    else
        PostNow(post);
}

void Output::Deliver(const MidiEvent& event, std::vector<std::uint8_t>& sysex, Sync* timer,
                     std::uint64_t tick, std::uint64_t due) {
    std::uint8_t status = event.status;
    if (status == 0) {
        std::uint32_t tempo = (event.data1 << 16) | (event.data2 << 8) | event.data3;
        if (timer && tempo > 0) timer->ApplyTempoAt(tick, tempo);
        return;
    }
    if (status == 0xF0) {
        if (event.data1 == 0xF0)
            sysex.assign(1, 0xF0);
        else if (!sysex.empty())
            sysex.push_back(event.data1);
        if (sysex.size() > kMaxSysEx) sysex.clear();
        if (!sysex.empty() && event.data1 == 0xF7) {
            port->SendSysEx(due, sysex);
            sysex.clear();
        }
        return;
    }
    if (status < 0x80 || status == 0xF7)
        return;    // not a MIDI message, or an F7 outside a system-exclusive run
    sysex.clear(); // a run interrupted by another message is incomplete
    int length = MessageLength(status);
    std::uint8_t data1 = length >= 2 ? event.data1 & 0x7F : 0;
    std::uint8_t data2 = length >= 3 ? event.data2 & 0x7F : 0;
    TrackNotes(status, data1, data2);
    port->Send(due, status, data1, data2, length);
}

void Output::TrackNotes(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x90:
        sounding_.set(channel * 128 + data1, data2 > 0);
        break;
    case 0x80:
        sounding_.reset(channel * 128 + data1);
        break;
    case 0xB0:
        if (data1 == 64)
            sustain_.set(channel, data2 >= 64);
        else if (data1 == 123 || data1 == 120)
            for (int note = 0; note < 128; ++note)
                sounding_.reset(channel * 128 + note);
        break;
    default:
        break;
    }
}

void Output::SilenceNotes() {
    const std::uint64_t now = ClockNow();
    for (int channel = 0; channel < 16; ++channel) {
        for (int note = 0; note < 128; ++note)
            if (sounding_.test(channel * 128 + note))
                port->Send(now, static_cast<std::uint8_t>(0x80 | channel),
                           static_cast<std::uint8_t>(note), 0, 3);
        if (sustain_.test(channel))
            port->Send(now, static_cast<std::uint8_t>(0xB0 | channel), 64, 0, 3);
    }
    sounding_.reset();
    sustain_.reset();
}

void Output::DropQueue() {
    queue.clear();
    endMarked = false;
    sysexTimed.clear();
    refused = false;
    roomPosted = false;
}

} // namespace mxmidi::detail

using namespace mxmidi::detail;

namespace {

// The port behind `id`; a silent one for MXMIDI_NO_DEVICE; null when the
// device cannot be opened.
std::unique_ptr<OutPort> OpenDevicePort(std::uint16_t id) {
    if (id == MXMIDI_NO_DEVICE) return std::make_unique<SilentPort>();
    std::vector<DeviceEntry> devices = ListDevices();
    std::size_t index = id == MXMIDI_MAPPER ? 0 : id; // the mapper plays through the synth
    if (index >= devices.size()) return nullptr;
    return OpenPort(devices[index]);
}

} // namespace

HMOUT OpenMidiOut(HWND window, std::uint16_t id, HSYNC sync, std::uint32_t /*flags*/) {
    std::unique_ptr<OutPort> port = OpenDevicePort(id);
    if (!port) return 0;

    std::lock_guard lock(TheToolkit().mutex);
    auto output = std::make_unique<Output>();
    output->handle = NewHandle();
    output->window = window;
    output->port = std::move(port);
    Sync* timer = FindSync(sync);
    if (timer) {
        output->sync = sync;
        // The client's deltas go on from the last event it handed to the
        // timer, also when that went to an output it has closed since.
        output->lastTick = timer->lastQueuedTick;
        timer->attached.push_back(output.get());
        // Opened during play: the client may be waiting for room on another
        // output, so this one offers room at once.
        if (timer->state == SyncState::Running)
            Post(output->window, MXMIDI_MSG_OUT_ROOM, output->handle);
    }
    HMOUT handle = output->handle;
    TheToolkit().outputs.emplace(handle, std::move(output));
    return handle;
}

int SwitchMidiOut(HMOUT out, std::uint16_t id) {
    {
        std::lock_guard lock(TheToolkit().mutex);
        if (!FindOutput(out)) return 0;
    }
    // Opening may wait for the synthesizer's sound font: not under the lock.
    std::unique_ptr<OutPort> port = OpenDevicePort(id);
    const bool opened = port != nullptr;
    if (!port) port = std::make_unique<SilentPort>();
    {
        std::lock_guard lock(TheToolkit().mutex);
        Output* output = FindOutput(out);
        if (!output) return 0;
        output->SilenceNotes(); // on the old device
        output->sysexNow.clear();
        std::swap(output->port, port);
    }
    // The old port closes here, outside the lock.
    return opened ? 1 : 0;
}

void MarkMidiOutEnd(HMOUT out) {
    std::lock_guard lock(TheToolkit().mutex);
    Output* output = FindOutput(out);
    if (!output) return;
    output->endMarked = true;
    Sync* timer = FindSync(output->sync);
    if (timer && timer->state == SyncState::Running && timer->QueuesIdle()) timer->PostEnd(false);
}

std::uint16_t PutMidiOut(HMOUT out, const MidiEvent* event) {
    if (!event) return MXMIDI_BAD_HANDLE;
    std::lock_guard lock(TheToolkit().mutex);
    Output* output = FindOutput(out);
    if (!output) return MXMIDI_BAD_HANDLE;
    Sync* timer = FindSync(output->sync);
    if (event->time == MXMIDI_NOW || !timer) {
        if (event->status == 0) {
            std::uint32_t tempo = (event->data1 << 16) | (event->data2 << 8) | event->data3;
            if (timer && tempo > 0) timer->ApplyTempoNow(tempo, ClockNow());
            return 0;
        }
        output->Deliver(*event, output->sysexNow, timer, 0, ClockNow());
        return 0;
    }
    if (output->queue.full()) {
        output->refused = true;
        output->roomPosted = false;
        return MXMIDI_QUEUE_FULL;
    }
    bool wasEmpty = output->queue.empty();
    output->lastTick += event->time;
    output->queue.push_back({output->lastTick, *event});
    timer->lastQueuedTick = output->lastTick;
    output->refused = false;
    timer->endDelivered = false;
    // Behind other events it cannot be due sooner than what the timer waits for.
    if (wasEmpty) timer->wake.notify_all();
    return 0;
}

void PrepareMidiOut(HMOUT out, const MidiProgram* programs, std::size_t count) {
    std::vector<MidiProgram> selected;
    if (programs) selected.assign(programs, programs + count);
    std::lock_guard lock(TheToolkit().mutex);
    if (Output* output = FindOutput(out); output && output->port) output->port->Prepare(selected);
}

std::uint32_t GetMidiOutLatency(HMOUT out) {
    std::lock_guard lock(TheToolkit().mutex);
    Output* output = FindOutput(out);
    return output && output->port ? output->port->LatencyMicroseconds() : 0;
}

void ResetMidiOut(HMOUT out) {
    std::lock_guard lock(TheToolkit().mutex);
    if (Output* output = FindOutput(out)) {
        output->DropQueue();
        output->sysexNow.clear();
        output->SilenceNotes();
    }
}

void FlushMidiOut(HMOUT out) {
    std::lock_guard lock(TheToolkit().mutex);
    Output* output = FindOutput(out);
    if (!output) return;
    output->DropQueue();
    Sync* timer = FindSync(output->sync);
    if (timer && timer->state != SyncState::Stopped)
        timer->PostEnd(true); // nothing queued is left to play: the run ends
}

void CloseMidiOut(HMOUT out) {
    std::unique_ptr<Output> closing;
    {
        std::lock_guard lock(TheToolkit().mutex);
        auto& outputs = TheToolkit().outputs;
        auto it = outputs.find(out);
        if (it == outputs.end()) return;
        closing = std::move(it->second);
        outputs.erase(it);
        if (Sync* timer = FindSync(closing->sync)) std::erase(timer->attached, closing.get());
    }
    // The port closes outside the lock (the synthesizer may join its thread).
}
