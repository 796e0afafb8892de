#pragma once
// Sequenzor: a MIDI engine that keeps a list of MIDI tracks, reads and writes
// Standard MIDI Files and plays them on a MIDI output device at a given tempo,
// counting beats.
//
// The exported interface: 35 functions with C linkage. Each has a fixed
// export number, 1 to 35 in alphabetical order, and programs may bind them by
// number; they are declared here in that order, so that a function added
// later goes after them (as the capability query below and the time line of
// sequenzortiming.h do) and never shifts a number. Call MidiInitWin once
// first (only MidiGetNumDevs and MidiGetDeviceName may come before it), then
// every function on the thread that owns the window given to it: the engine's
// notifications are handled there, between calls. The window is a QObject
// living on that thread (the application object or a main window); the
// engine's hidden notification objects become its children.
//
// Results are int flags (1 success, 0 failure) or values. Engine status:
// 0 not initialised, 1 playing, 2 stopped or ended, 3 paused. Positions and
// lengths are in eighths of a quarter note (beat x 8). Device names have at
// most 31 characters; name buffers hold at least 32 bytes.

#include "mxmidi/mxmidi.h" // MidiEvent (8-byte record), HWND

#if defined(SEQUENZOR_BUILD)
#define SEQUENZOR_API __attribute__((visibility("default")))
#else
#define SEQUENZOR_API
#endif

extern "C" {

SEQUENZOR_API void MidiChannelMute(int channel, int mute);
SEQUENZOR_API int MidiClearTrackList();
SEQUENZOR_API int MidiCreateNewTrack();
SEQUENZOR_API int MidiGetBeats();
SEQUENZOR_API unsigned short MidiGetDeviceID(char* name);
SEQUENZOR_API int MidiGetDeviceName(unsigned short id, char* name);
SEQUENZOR_API int MidiGetNumDevs();
SEQUENZOR_API int MidiGetStatus();
SEQUENZOR_API double MidiGetTempo();
SEQUENZOR_API int MidiGetTrackMute(int track);
SEQUENZOR_API unsigned short MidiGetVersion();
SEQUENZOR_API void MidiIgnoreSMFTempo(bool ignore);
SEQUENZOR_API int MidiImportFile(const char* fileName, int offset);
SEQUENZOR_API int MidiInitWin(HWND parent);
SEQUENZOR_API void MidiInsertEvent(int track, MidiEvent* event, unsigned long index);
SEQUENZOR_API int MidiIsRunning();
SEQUENZOR_API int MidiLoadFile(const char* fileName);
SEQUENZOR_API int MidiNewTrackList(int count);
SEQUENZOR_API int MidiPause(int flag);
SEQUENZOR_API int MidiPutEvent(unsigned long time, unsigned char status, unsigned char data1,
                               unsigned char data2, unsigned char data3);
SEQUENZOR_API int MidiReStart();
SEQUENZOR_API int MidiSaveFile(const char* fileName);
SEQUENZOR_API void MidiSetChannelVolume(unsigned char volume, unsigned char channel);
SEQUENZOR_API int MidiSetDeviceByID(unsigned short id);
SEQUENZOR_API int MidiSetDeviceByName(char* name);
SEQUENZOR_API void MidiSetMasterVolume(int volume);
SEQUENZOR_API void MidiSetRecordTrack(int track);
SEQUENZOR_API int MidiSetTempo(double bpm);
SEQUENZOR_API void MidiSetTrackMute(int track, int mute);
SEQUENZOR_API int MidiStart(int start, int length, double bpm);
SEQUENZOR_API void MidiStartSync();
SEQUENZOR_API int MidiStop();
SEQUENZOR_API void MidiTrackDump(const char* fileName);
SEQUENZOR_API void MidiTransposeAll(unsigned char amount);
SEQUENZOR_API void MidiTransposeChannel(unsigned char amount, unsigned char channel);

// The device capability query of the platform, which the program's choice of
// the default device asks (the first device whose technology code is even is
// a synthesizer). It lives here because the engine holds the process's one
// MIDI toolkit: the program lists, names and tests devices through the
// engine alone. Writes the technology code of device `id` (0xFFFF: the
// mapper, MOD_MAPPER) and returns non-zero; 0 when the id names no device or
// `technology` is null. Not one of the 35 numbered functions: it comes after
// them, so their numbers stay.
SEQUENZOR_API int midiOutGetTechnology(unsigned short id, unsigned short* technology);

} // extern "C"
