#pragma once
// Engine: the one Sequenzor engine of the process.

#include "mxmidi/mxmidi.h"
#include "sequenzor/midifile.h"
#include "sequenzor/midiin.h"
#include "sequenzor/midiout.h"
#include "sequenzor/midisync.h"
#include "sequenzor/miditrack.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace sequenzor {

inline constexpr std::uint16_t kNoDevice = 0xFFF0;

// The engine behind the exported Midi... functions: the file in use, the
// timer, the input, the output with its player, and the track list that owns
// the tracks. It is single-threaded: every call and every notification runs
// on the thread of the window given to InitWin.
class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Start-up and devices (engine.cpp).
    int InitWin(QObject* parent);
    // Closes output, timer and file and drops tracks and windows, as at unload.
    void Shutdown();
    int NumDevs() const;
    int DeviceName(std::uint16_t id, char* name) const;
    std::uint16_t DeviceId(const char* name) const;
    // The device's technology code (MOD_... of mxmidi.h); 0 when the id
    // names no device.
    int DeviceTechnology(std::uint16_t id, unsigned short* technology) const;
    int SetDeviceById(std::uint16_t id);
    int SetDeviceByName(const char* name);
    void TrackDump(const char* fileName) const;

    // Track list and files (tracklist.cpp).
    int ClearTrackList();
    int CreateNewTrack();
    int NewTrackList(int count);
    void InsertEvent(int track, const MidiEvent* event, unsigned long index);
    void SetRecordTrack(int track);
    int LoadFile(const char* fileName);
    int ImportFile(const char* fileName, int offset);
    int SaveFile(const char* fileName);

    // Playback (player.cpp).
    int Start(int start, int length, double bpm);
    int Stop();
    int Pause(int flag);
    int ReStart();
    void StartSync();
    int SetTempo(double bpm);
    double GetTempo() const;
    void SetTrackMute(int track, int mute);
    int GetTrackMute(int track) const;
    void SetChannelVolume(std::uint8_t volume, std::uint8_t channel);
    void ChannelMute(int channel, int mute);
    void TransposeChannel(std::uint8_t amount, std::uint8_t channel);
    void TransposeAll(std::uint8_t amount);
    void SetIgnoreFileTempo(bool ignore) { out_.ignoreFileTempo = ignore ? 1 : 0; }
    // The time line (player.cpp): when the run's beat counter reaches
    // `beats` on the toolkit's clock (-1: no run, not known), and the chosen
    // device's output latency in µs.
    long long BeatTime(int beats) const;
    int OutputLatency() const;
    int PutEvent(std::uint32_t time, std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                 std::uint8_t data3);

    // Read by the exported getters and by tests.
    const std::vector<std::unique_ptr<CMidiTrack>>& Tracks() const { return tracks_; }
    CMidiTrack* RecordTrack() const { return recordTrack_; }
    const CMidiSync& Sync() const { return sync_; }
    const CMidiOut& Out() const { return out_; }

private:
    CMidiTrack* MakeTrack(bool linkToFile);
    void DeleteAllTracks();
    bool ValidTrack(int track) const;
    std::uint32_t ImportShift(int offset, std::size_t oldCount) const;
    std::uint16_t TimerResolutionForSave() const;

    // Members first, tracks last: the tracks go first and unlink themselves
    // from the members.
    CMidiFile file_;
    CMidiSync sync_;
    CMidiIn in_;
    CMidiOut out_;
    std::vector<std::unique_ptr<CMidiTrack>> tracks_;
    CMidiTrack* recordTrack_ = nullptr;
};

// The engine of this process, built when the library is loaded.
Engine& TheEngine();

} // namespace sequenzor
