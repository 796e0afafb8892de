#pragma once
// Sequenzor: a MIDI engine that keeps a list of MIDI tracks, reads and writes
// Standard MIDI Files and plays them on a MIDI output device at a given tempo,
// counting beats.
//
// The exported interface: 35 functions with C linkage, declared here in the
// order of their fixed numbers 1 to 35 (alphabetical). Call MidiInitWin once
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

/*  1 */ SEQUENZOR_API void MidiChannelMute(int channel, int mute);
/*  2 */ SEQUENZOR_API int MidiClearTrackList();
/*  3 */ SEQUENZOR_API int MidiCreateNewTrack();
/*  4 */ SEQUENZOR_API int MidiGetBeats();
/*  5 */ SEQUENZOR_API unsigned short MidiGetDeviceID(char* name);
/*  6 */ SEQUENZOR_API int MidiGetDeviceName(unsigned short id, char* name);
/*  7 */ SEQUENZOR_API int MidiGetNumDevs();
/*  8 */ SEQUENZOR_API int MidiGetStatus();
/*  9 */ SEQUENZOR_API double MidiGetTempo();
/* 10 */ SEQUENZOR_API int MidiGetTrackMute(int track);
/* 11 */ SEQUENZOR_API unsigned short MidiGetVersion();
/* 12 */ SEQUENZOR_API void MidiIgnoreSMFTempo(bool ignore);
/* 13 */ SEQUENZOR_API int MidiImportFile(const char* fileName, int offset);
/* 14 */ SEQUENZOR_API int MidiInitWin(HWND parent);
/* 15 */ SEQUENZOR_API void MidiInsertEvent(int track, MidiEvent* event, unsigned long index);
/* 16 */ SEQUENZOR_API int MidiIsRunning();
/* 17 */ SEQUENZOR_API int MidiLoadFile(const char* fileName);
/* 18 */ SEQUENZOR_API int MidiNewTrackList(int count);
/* 19 */ SEQUENZOR_API int MidiPause(int flag);
/* 20 */ SEQUENZOR_API int MidiPutEvent(unsigned long time, unsigned char status,
                                        unsigned char data1, unsigned char data2,
                                        unsigned char data3);
/* 21 */ SEQUENZOR_API int MidiReStart();
/* 22 */ SEQUENZOR_API int MidiSaveFile(const char* fileName);
/* 23 */ SEQUENZOR_API void MidiSetChannelVolume(unsigned char volume, unsigned char channel);
/* 24 */ SEQUENZOR_API int MidiSetDeviceByID(unsigned short id);
/* 25 */ SEQUENZOR_API int MidiSetDeviceByName(char* name);
/* 26 */ SEQUENZOR_API void MidiSetMasterVolume(int volume);
/* 27 */ SEQUENZOR_API void MidiSetRecordTrack(int track);
/* 28 */ SEQUENZOR_API int MidiSetTempo(double bpm);
/* 29 */ SEQUENZOR_API void MidiSetTrackMute(int track, int mute);
/* 30 */ SEQUENZOR_API int MidiStart(int start, int length, double bpm);
/* 31 */ SEQUENZOR_API void MidiStartSync();
/* 32 */ SEQUENZOR_API int MidiStop();
/* 33 */ SEQUENZOR_API void MidiTrackDump(const char* fileName);
/* 34 */ SEQUENZOR_API void MidiTransposeAll(unsigned char amount);
/* 35 */ SEQUENZOR_API void MidiTransposeChannel(unsigned char amount, unsigned char channel);

// The device capability query of the platform, which the program's choice of
// the default device asks (the first device whose technology code is even is
// a synthesizer). It lives here because the engine holds the process's one
// MIDI toolkit: the program lists, names and tests devices through the
// engine alone. Writes the technology code of device `id` (0xFFFF: the
// mapper, MOD_MAPPER) and returns non-zero; 0 when the id names no device or
// `technology` is null. Not one of the 35 numbered functions; its name sorts
// after them, so their numbers stay.
SEQUENZOR_API int midiOutGetTechnology(unsigned short id, unsigned short* technology);

} // extern "C"
