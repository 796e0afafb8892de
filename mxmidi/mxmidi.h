#pragma once
// MxMidi, the MIDI toolkit under the Sequenzor engine: output ports, the
// timer that sends queued events at their time and counts beats, and the
// Standard MIDI File reader and writer.
//
// Handles are numbers; a handle of 32 or less means failure. Events cross as
// 8-byte MidiEvent records. The toolkit tells its client about progress by
// posting MxNotifyEvent to QObjects that live on the client's thread, so the
// client handles them between its own calls, on its own thread.
//
// Layouts the reader, the writer, the player and the ports agree on:
// - Tempo change: status 0, data1..data3 = microseconds per quarter note,
//   most significant byte first (the three bytes of the file's tempo meta).
// - System-exclusive message: a run of events with status 0xF0, one byte of
//   the message each in data1, from the opening 0xF0 to the closing 0xF7; the
//   first carries the delta time, the others 0. The F7 escape form of a file
//   (raw bytes) is read as such a run as well.
// - Channel messages: status, data1, data2 as on the wire (data2 0 where the
//   message has one data byte); data3 is 0.

#include <QEvent>
#include <cstddef>
#include <cstdint>

class QObject;

#pragma pack(push, 1)
struct MidiEvent {
    std::uint32_t time; // delta ticks; 0xFFFFFFFF = send at once
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
    std::uint8_t data3;
};
#pragma pack(pop)
static_assert(sizeof(MidiEvent) == 8, "MidiEvent is an 8-byte record");

using HWND = QObject*;
using HMOUT = std::uint32_t;
using HSYNC = std::uint32_t;
using HSMF = std::uint32_t;
using HMIN = std::uint32_t;

inline constexpr std::uint32_t MXMIDI_NOW = 0xFFFFFFFFu;
inline constexpr std::uint16_t MXMIDI_MAPPER = 0xFFFF;
inline constexpr std::uint16_t MXMIDI_NO_DEVICE = 0xFFFE; // a timed output that sends nothing
inline constexpr std::uint32_t MXMIDI_INVALID_HANDLE_LIMIT = 32; // handles <= 32 are failures
inline constexpr std::uint16_t MXMIDI_QUEUE_FULL = 1;            // PutMidiOut's refusal
inline constexpr std::uint16_t MXMIDI_BAD_HANDLE = 2;            // PutMidiOut: no such output
inline constexpr std::uint32_t MXMIDI_SMF_CHUNK = 8192;          // events per ReadSMF call

// The four notifications, as message numbers carried by MxNotifyEvent.
inline constexpr std::uint32_t MXMIDI_MSG_MIDI_IN = 0x03C3;   // input: drain GetMidiIn
inline constexpr std::uint32_t MXMIDI_MSG_OUT_ROOM = 0x5453;  // output queue has room
inline constexpr std::uint32_t MXMIDI_MSG_SYNC_BEAT = 0x5452; // one quarter note passed
inline constexpr std::uint32_t MXMIDI_MSG_SYNC_END = 0x5457;  // everything queued was played

// A notification from the toolkit: posted (QCoreApplication::postEvent) to the
// receiver object given to OpenMidiOut / OpenSync, and so handled on the
// thread that receiver lives on, between the client's calls.
class MxNotifyEvent : public QEvent {
public:
    static QEvent::Type EventType() {
        static const int type = QEvent::registerEventType();
        return static_cast<QEvent::Type>(type);
    }
    MxNotifyEvent(std::uint32_t message, std::uint32_t handle)
        : QEvent(EventType()), message_(message), handle_(handle) {}
    std::uint32_t Message() const { return message_; } // MXMIDI_MSG_...
    std::uint32_t Handle() const { return handle_; }   // the output or timer that sent it

private:
    std::uint32_t message_;
    std::uint32_t handle_;
};

// Technology codes of the capability query: a synthesizer is even, a port
// odd (the values MIDI programs have long used for these kinds).
inline constexpr std::uint16_t MOD_MIDIPORT = 1;
inline constexpr std::uint16_t MOD_SYNTH = 2;
inline constexpr std::uint16_t MOD_SQSYNTH = 3;
inline constexpr std::uint16_t MOD_FMSYNTH = 4;
inline constexpr std::uint16_t MOD_MAPPER = 5;
inline constexpr std::uint16_t MOD_WAVETABLE = 6;
inline constexpr std::uint16_t MOD_SWSYNTH = 7;

// --- Output devices ---------------------------------------------------------
// Ids in this order: 0 "Zupfari Synth", the built-in synthesizer (MOD_WAVETABLE);
// then the system's MIDI output ports (MOD_MIDIPORT, none without an ALSA
// sequencer); then "MIDI Log" (MOD_MIDIPORT) when the environment variable
// MXMIDI_LOG names a file; then the tests' recording ports (testing.h). The
// MIDI mapper 0xFFFF (MOD_MAPPER) plays through the built-in synthesizer.
// The system ports are listed afresh at every call; they are opened by name.
// "MIDI Log" appends one line per message sent: the microseconds since the
// port was opened, then status, data1 and data2 as two-digit hexadecimal,
// separated by single spaces; a system-exclusive message is one line with all
// its bytes from F0 to F7.
std::uint16_t GetNumOutDevices();
// Writes the device's name (at most 31 characters and the NUL) into `name`,
// which holds at least 32 bytes; id 0xFFFF is the MIDI mapper ("MIDI Mapper").
// Non-zero when a name was written, 0 when the id names no device.
int GetMidiOutDescription(std::uint16_t id, char* name);
// Capability query: the device's technology code (MOD_...). Non-zero when the
// id names a device, 0 otherwise.
// Counting or naming the devices (GetNumOutDevices, GetMidiOutDescription)
// starts loading the synthesizer's sound font in the background, so that it
// is ready, or nearly, when the synthesizer opens.
int GetMidiOutTechnology(std::uint16_t id, std::uint16_t* technology);

// Opens device `id` for the receiver `window`, its queue timed by `sync`
// (with 0 or an unknown timer every event is sent at once). `flags` are not
// used. MXMIDI_NO_DEVICE opens an output that is timed like any other (its
// tempo events, room and end notifications all work) but sends nothing: a
// player keeps its time line with no device. Opening the synthesizer waits
// until its sound font has been loaded (see synthport.h); other devices open
// at once. Opened while that timer runs (a second output during play), the
// output posts MXMIDI_MSG_OUT_ROOM at once so that the client fills it, and
// its first delta counts from the last event queued on that timer by any
// output (the client's time line goes on).
HMOUT OpenMidiOut(HWND window, std::uint16_t id, HSYNC sync, std::uint32_t flags);
// 0 = queued; MXMIDI_QUEUE_FULL = refused, try again after MXMIDI_MSG_OUT_ROOM;
// MXMIDI_BAD_HANDLE = no such output.
// The time is in ticks after the previous queued event; 0xFFFFFFFF sends at
// once, on the caller's thread, ahead of what is queued (a tempo event sent at
// once changes the timer's tempo from the current tick on). The queue holds
// 256 events; after a refusal MXMIDI_MSG_OUT_ROOM is posted once, when the
// queue is down to 128. Tempo events (status 0) are applied by the timer at
// their tick and never reach the device; a system-exclusive run is gathered
// and sent as one message when its F7 is reached (an incomplete run is
// dropped).
std::uint16_t PutMidiOut(HMOUT out, const MidiEvent* event);
// Queue emptied; a note-off for every note this output left sounding, and
// sustain pedals released where they were down.
void ResetMidiOut(HMOUT out);
// Queue emptied without sending. If the output's timer has a run going, the
// run is over: MXMIDI_MSG_SYNC_END is posted (also when the timer is stopped
// right after, as a player does at its end limit). Events still queued before
// the end are lost; a client that wants them played stops handing over
// instead and waits for the end notification.
void FlushMidiOut(HMOUT out);
void CloseMidiOut(HMOUT out);
// Moves an open output to device `id` (MXMIDI_NO_DEVICE: none). Notes it
// left sounding on the old device are switched off there; its queue, its
// timing, a refusal waiting for room and the end of the run all stay, so
// play goes on on the new device without a gap, running or paused. 1 when
// the new device opened; 0 when it did not (or the handle is unknown), and
// the output then goes on timed and silent.
int SwitchMidiOut(HMOUT out, std::uint16_t id);
// An instrument a piece selects: a program change on `channel`, with the bank
// that controller 0 chose on that channel before it (0 without one).
struct MidiProgram {
    std::uint8_t channel;
    std::uint8_t bank;
    std::uint8_t program;
};
// The client is about to play a piece on `out` that selects `programs`. The
// built-in synthesizer loads the samples of those instruments in the
// background (it loads only the samples in use), then wakes its sound if it
// sleeps, so that both are ready when the piece starts; other devices ignore
// it. Returns at once.
void PrepareMidiOut(HMOUT out, const MidiProgram* programs, std::size_t count);
// The client has queued everything it will queue in this run: once all of it
// has been sent, the timer posts MXMIDI_MSG_SYNC_END, at once when nothing is
// left queued, also in a run in which nothing was queued at all.
void MarkMidiOutEnd(HMOUT out);

// --- Timer ------------------------------------------------------------------
// A timer runs on its own thread at real-time priority where it can get it
// (see GetTimerScheduling) and sleeps to absolute deadlines on the steady
// clock. Tempo in microseconds per quarter
// note (default 500000), resolution in ticks per quarter note (default 480).
// Tick times are computed exactly from absolute ticks in integer microseconds,
// so nothing drifts across tempo changes.
//
// Notifications, posted to the timer's window:
// - MXMIDI_MSG_SYNC_BEAT once per quarter note since StartSync (ticks
//   resolution, 2 x resolution, ... at the tempo in force at each point).
// - MXMIDI_MSG_SYNC_END once everything queued in the run has been played.
//   The rule: when the timer has sent the last queued event of all its
//   outputs and no hand-over is waiting for a refill (no refusal since the
//   last accepted event), it posts a candidate; the candidate is checked
//   again when it is delivered on the window's thread, that is after the
//   client handled every notification posted before it (OUT_ROOM included)
//   and finished the call it was in. Only if the queues are still empty then
//   and the timer still runs does the window see it. So a queue that runs dry
//   while the client is busy, or in the middle of its priming, ends nothing.
//   A run in which nothing was ever queued gets no END by itself, unless
//   MarkMidiOutEnd says that nothing more will come. A candidate that finds
//   the timer paused is dropped, and the run's end is offered again when the
//   timer resumes. FlushMidiOut during a run posts an END that always goes
//   through.
// Notifications of an earlier run (before the last StartSync) are dropped on
// delivery. To do this the timer installs an event filter on its window.
// `mode`, `flags` and `period` are not used.
// OpenSync returns once the timer's thread has asked for its priority (at
// most one round trip to RealtimeKit over the system bus, bounded by half a
// second; nothing is asked where there is no system bus).
HSYNC OpenSync(std::uint32_t mode, HWND window, std::uint32_t flags, std::uint16_t period);
// A new run from tick 0 at the current tempo. On a running or paused timer it
// first ends the run in progress as StopSync does. Events queued while the
// timer was stopped are timed from the start, and an end marked while it was
// stopped (MarkMidiOutEnd) is this run's. On the steady clock tick 0 comes
// 10 ms after the call, so that the timer thread is awake for the first
// events (under the manual clock at once).
void StartSync(HSYNC sync);
// Stops the run: events still queued on its outputs are dropped and the notes
// they left sounding are turned off.
void StopSync(HSYNC sync);
// Resumes a paused timer at the position it was paused at, 10 ms after the
// call on the steady clock as StartSync does; nothing otherwise.
void ReStartSync(HSYNC sync);
// Pauses a running timer, keeping its position and queues. A non-zero flag
// also turns off the notes its outputs left sounding.
void PauseSync(HSYNC sync, int flag);
void CloseSync(HSYNC sync);
// 0 = done (a tempo of 0 or an unknown timer is refused with 1). While the
// timer runs, the new tempo applies from the next whole tick on.
std::uint16_t SetTempo(HSYNC sync, std::uint32_t microsecondsPerQuarter);
// 0 for an unknown timer.
std::uint32_t GetTempo(HSYNC sync);
// A resolution of 0 is ignored.
void SetResolution(HSYNC sync, std::uint16_t ticksPerQuarter);
std::uint16_t GetResolution(HSYNC sync);
// How the last timer thread started is scheduled, as a line of text for
// people ("SCHED_FIFO priority 11", "SCHED_RR priority 11 (RealtimeKit)",
// "nice -11 (RealtimeKit)", "normal (nice 0)"); "no timer yet" before the
// first OpenSync.
const char* GetTimerScheduling();

// --- Time line ----------------------------------------------------------------
// The toolkit's clock, in microseconds: the steady clock since its epoch (so
// equal to std::chrono::steady_clock in microseconds), or under the tests'
// manual clock the manual time. Every time below is on this clock.
std::uint64_t GetToolkitClock();
// The time at which the current run of `sync` reaches timer tick `tick`
// (tick 0 is the run's start): ticks already passed where they stood, later
// ones at the tempo in force with the tempo events queued before them
// applied. -1 when the timer has no run going (stopped, or unknown) or is
// paused before that tick (its time is not known until the resume).
std::int64_t GetSyncTickTime(HSYNC sync, std::uint64_t tick);
// Microseconds from an event's due time on the toolkit's clock to the moment
// it is heard on the output's device: 0 for devices that send at once (system
// ports, "MIDI Log", the tests' recording ports) and for an unknown handle.
std::uint32_t GetMidiOutLatency(HMOUT out);

// The name the timer threads carry (as /proc/<pid>/task/<tid>/comm shows it).
inline constexpr const char* kTimerThreadName = "mxmidi-timer";

// --- Standard MIDI Files ----------------------------------------------------
// mode 'r' (114) or 'w' (119). `format` is in/out (preset to 1 by callers);
// `tracks` receives the number of tracks of a file opened for reading.
// Returns 0 on failure.
HSMF OpenSMF(const char* fileName, std::uint16_t* format, int mode, std::uint16_t* tracks);
// Reads up to `max` further events of `track` (delta times); 0 = end of track.
std::uint32_t ReadSMF(HSMF smf, std::uint16_t track, MidiEvent* events, std::uint32_t max);
// Appends `count` events to `track` of a file opened for writing; returns the
// number taken. The file is written when it is closed.
std::uint32_t WriteSMF(HSMF smf, std::uint16_t track, const MidiEvent* events,
                       std::uint32_t count);
void RewindSMF(HSMF smf);
// 0 when the file was closed and, opened for writing, written in full; 1 when
// the handle is unknown or the file could not be written (an existing file
// of that name then stays as it was).
int CloseSMF(HSMF smf);
std::uint16_t GetSMFResolution(HSMF smf);
void SetSMFResolution(HSMF smf, std::uint16_t ticksPerQuarter);
// First meta event of `type` in `track`: *data points into the toolkit's
// memory (valid until the file is closed), *length its byte count. -1 when
// there is none.
int ReadMetaEvent(HSMF smf, std::uint16_t track, std::uint8_t type, const std::uint8_t** data,
                  std::uint32_t* length);
// Writes a meta event at the start of `track`; length 0 means up to the NUL.
// 0 = written.
int WriteMetaEvent(HSMF smf, std::uint16_t track, std::uint8_t type, const char* text,
                   std::uint32_t length);

// --- Input (never opened by the course) -------------------------------------
// Next received event into *event; false when there is none.
bool GetMidiIn(HMIN in, MidiEvent* event);
void StopMidiIn(HMIN in);
void CloseMidiIn(HMIN in);

std::uint16_t GetMaxMidiVersion(); // 0x0100: version 1.0
