// The exported functions: each hands over to the engine. No exception may
// cross the C boundary; one that would (memory exhausted by an absurd track
// count, say) ends the call with its failure value instead.
#include "sequenzor/sequenzor.h"
#include "sequenzor/sequenzortiming.h"

#include "sequenzor/engine.h"

using sequenzor::TheEngine;

namespace {

template <typename Result, typename Call> Result Guarded(Result failure, Call call) {
    try {
        return call();
    } catch (...) {
        return failure;
    }
}

template <typename Call> void Guarded(Call call) {
    try {
        call();
    } catch (...) {
    }
}

} // namespace

extern "C" {

void MidiChannelMute(int channel, int mute) {
    Guarded([&] { TheEngine().ChannelMute(channel, mute); });
}

int MidiClearTrackList() {
    return Guarded(0, [] { return TheEngine().ClearTrackList(); });
}

int MidiCreateNewTrack() {
    return Guarded(static_cast<int>(TheEngine().Tracks().size()),
                   [] { return TheEngine().CreateNewTrack(); });
}

int MidiGetBeats() {
    return TheEngine().Sync().beats;
}

unsigned short MidiGetDeviceID(char* name) {
    return Guarded(sequenzor::kNoDevice, [&] { return TheEngine().DeviceId(name); });
}

int MidiGetDeviceName(unsigned short id, char* name) {
    return Guarded(0, [&] { return TheEngine().DeviceName(id, name); });
}

int MidiGetNumDevs() {
    return Guarded(0, [] { return TheEngine().NumDevs(); });
}

int MidiGetStatus() {
    return TheEngine().Sync().status;
}

double MidiGetTempo() {
    return Guarded(120.0, [] { return TheEngine().GetTempo(); });
}

int MidiGetTrackMute(int track) {
    return TheEngine().GetTrackMute(track);
}

unsigned short MidiGetVersion() {
    return Guarded<unsigned short>(0, [] { return GetMaxMidiVersion(); });
}

void MidiIgnoreSMFTempo(bool ignore) {
    Guarded([&] { sequenzor::TheEngine().SetIgnoreFileTempo(ignore); });
}

int MidiImportFile(const char* fileName, int offset) {
    return Guarded(0, [&] { return TheEngine().ImportFile(fileName, offset); });
}

int MidiInitWin(HWND parent) {
    return Guarded(0, [&] { return TheEngine().InitWin(parent); });
}

void MidiInsertEvent(int track, MidiEvent* event, unsigned long index) {
    Guarded([&] { TheEngine().InsertEvent(track, event, index); });
}

int MidiIsRunning() {
    return TheEngine().Sync().running;
}

int MidiLoadFile(const char* fileName) {
    return Guarded(0, [&] { return TheEngine().LoadFile(fileName); });
}

int MidiNewTrackList(int count) {
    return Guarded(0, [&] { return TheEngine().NewTrackList(count); });
}

int MidiPause(int flag) {
    return Guarded(0, [&] { return TheEngine().Pause(flag); });
}

int MidiPutEvent(unsigned long time, unsigned char status, unsigned char data1, unsigned char data2,
                 unsigned char data3) {
    return Guarded(0, [&] {
        return TheEngine().PutEvent(static_cast<std::uint32_t>(time), status, data1, data2, data3);
    });
}

int MidiReStart() {
    return Guarded(0, [] { return TheEngine().ReStart(); });
}

int MidiSaveFile(const char* fileName) {
    return Guarded(0, [&] { return TheEngine().SaveFile(fileName); });
}

void MidiSetChannelVolume(unsigned char volume, unsigned char channel) {
    Guarded([&] { TheEngine().SetChannelVolume(volume, channel); });
}

int MidiSetDeviceByID(unsigned short id) {
    return Guarded(0, [&] { return TheEngine().SetDeviceById(id); });
}

int MidiSetDeviceByName(char* name) {
    return Guarded(0, [&] { return TheEngine().SetDeviceByName(name); });
}

void MidiSetMasterVolume(int) {}

void MidiSetRecordTrack(int track) {
    Guarded([&] { TheEngine().SetRecordTrack(track); });
}

int MidiSetTempo(double bpm) {
    return Guarded(0, [&] { return TheEngine().SetTempo(bpm); });
}

void MidiSetTrackMute(int track, int mute) {
    Guarded([&] { TheEngine().SetTrackMute(track, mute); });
}

int MidiStart(int start, int length, double bpm) {
    return Guarded(0, [&] { return TheEngine().Start(start, length, bpm); });
}

void MidiStartSync() {
    Guarded([] { TheEngine().StartSync(); });
}

int MidiStop() {
    return Guarded(0, [] { return TheEngine().Stop(); });
}

void MidiTrackDump(const char* fileName) {
    Guarded([&] { TheEngine().TrackDump(fileName); });
}

void MidiTransposeAll(unsigned char amount) {
    Guarded([&] { TheEngine().TransposeAll(amount); });
}

void MidiTransposeChannel(unsigned char amount, unsigned char channel) {
    Guarded([&] { TheEngine().TransposeChannel(amount, channel); });
}

long long MidiGetClock() {
    return static_cast<long long>(GetToolkitClock());
}

long long MidiGetBeatTime(int beats) {
    return Guarded(-1LL, [&] { return TheEngine().BeatTime(beats); });
}

int MidiGetOutputLatency() {
    return Guarded(0, [] { return TheEngine().OutputLatency(); });
}

int midiOutGetTechnology(unsigned short id, unsigned short* technology) {
    return Guarded(0, [&] { return TheEngine().DeviceTechnology(id, technology); });
}

} // extern "C"
