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

// Windows technology codes of the capability query: a synthesizer is even,
// a port odd.
inline constexpr std::uint16_t MOD_MIDIPORT = 1;
inline constexpr std::uint16_t MOD_SYNTH = 2;
inline constexpr std::uint16_t MOD_SQSYNTH = 3;
inline constexpr std::uint16_t MOD_FMSYNTH = 4;
inline constexpr std::uint16_t MOD_MAPPER = 5;
inline constexpr std::uint16_t MOD_WAVETABLE = 6;
inline constexpr std::uint16_t MOD_SWSYNTH = 7;

// --- Output devices ---------------------------------------------------------
std::uint16_t GetNumOutDevices();
// Writes the device's name (at most 31 characters and the NUL) into `name`,
// which holds at least 32 bytes; id 0xFFFF is the MIDI mapper ("MIDI Mapper").
// Non-zero when a name was written, 0 when the id names no device.
int GetMidiOutDescription(std::uint16_t id, char* name);
// Capability query: the device's technology code (MOD_...). Non-zero when the
// id names a device, 0 otherwise.
int GetMidiOutTechnology(std::uint16_t id, std::uint16_t* technology);

HMOUT OpenMidiOut(HWND window, std::uint16_t id, HSYNC sync, std::uint32_t flags);
// 0 = queued; MXMIDI_QUEUE_FULL = refused, try again after MXMIDI_MSG_OUT_ROOM.
// The time is in ticks after the previous queued event; 0xFFFFFFFF sends at once.
std::uint16_t PutMidiOut(HMOUT out, const MidiEvent* event);
void ResetMidiOut(HMOUT out); // all notes off, queue emptied
void FlushMidiOut(HMOUT out); // queue emptied without sending
void CloseMidiOut(HMOUT out);

// --- Timer ------------------------------------------------------------------
HSYNC OpenSync(std::uint32_t mode, HWND window, std::uint32_t flags, std::uint16_t period);
void StartSync(HSYNC sync);
void StopSync(HSYNC sync);
void ReStartSync(HSYNC sync);
void PauseSync(HSYNC sync, int flag);
void CloseSync(HSYNC sync);
std::uint16_t SetTempo(HSYNC sync, std::uint32_t microsecondsPerQuarter); // 0 = done
std::uint32_t GetTempo(HSYNC sync);
void SetResolution(HSYNC sync, std::uint16_t ticksPerQuarter);
std::uint16_t GetResolution(HSYNC sync);

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
void CloseSMF(HSMF smf);
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

std::uint16_t GetMaxMidiVersion();
