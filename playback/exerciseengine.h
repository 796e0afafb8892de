#pragma once
// ExerciseEngine: the program's one way to the MIDI engine. The device menu,
// the transport, the lesson screen and the video hand-over make their engine
// calls through it, so that tests can pretend devices and drive playback on
// a fake engine with its own beat counter and clock. The program uses
// SequenzorEngine, which calls the engine library's exported functions.
// Every call is made on the user-interface thread, the thread that owns the
// window the engine was given (InitWin); only NumDevs and DeviceName may come
// before InitWin.

#include <QObject>
#include <string>

namespace playback {

class ExerciseEngine {
public:
    virtual ~ExerciseEngine() = default;

    // ---- Devices ---------------------------------------------------------------
    // The number of MIDI output devices.
    virtual int NumDevs() = 0;
    // Hands the engine the window its notifications go to; true on success.
    virtual bool InitWin(QObject* window) = 0;
    // The name of device `id` (0xFFFF: the mapper), true when there is one.
    // Windows-1252.
    virtual bool DeviceName(unsigned short id, std::string& name) = 0;
    // The device's technology code, true when the device exists.
    virtual bool Technology(unsigned short id, unsigned short& technology) = 0;
    virtual bool SetDeviceByID(unsigned short id) = 0;
    virtual bool SetDeviceByName(const std::string& name) = 0;

    // ---- Playing -----------------------------------------------------------------
    // 1 when the file (a file-system path) loaded, 0 when it could not be read
    // as a MIDI file.
    virtual int LoadFile(const std::string& path) = 0;
    // Plays from `start` (beats x 8) at the loaded file's own tempo; 1 when
    // it started, 0 when it could not.
    virtual int Start(int start) = 0;
    // Pauses and returns the beat counter.
    virtual int Pause() = 0;
    virtual int Stop() = 0;
    virtual bool IsRunning() = 0;
    // 0 not initialised, 1 playing, 2 stopped or ended, 3 paused.
    virtual int Status() = 0;
    // Beats counted since the start, the count-in included.
    virtual int Beats() = 0;

    // ---- Time line -----------------------------------------------------------------
    // In microseconds on the engine's steady clock: now; the moment the
    // running pass's beat counter reaches `beats` (-1 when no pass runs or
    // the engine cannot tell); and how long after its due time a note is
    // heard on the chosen device.
    virtual long long Clock();
    virtual long long BeatTime(int beats);
    virtual int OutputLatency();

    // ---- Tracks --------------------------------------------------------------------
    // Leaves track `track` of the loaded file (its chunk index) out of
    // playback, or plays it again; takes effect at the next Start.
    virtual void SetTrackMute(int track, bool mute);
};

class SequenzorEngine : public ExerciseEngine {
public:
    int NumDevs() override;
    bool InitWin(QObject* window) override;
    bool DeviceName(unsigned short id, std::string& name) override;
    bool Technology(unsigned short id, unsigned short& technology) override;
    bool SetDeviceByID(unsigned short id) override;
    bool SetDeviceByName(const std::string& name) override;
    int LoadFile(const std::string& path) override;
    int Start(int start) override;
    int Pause() override;
    int Stop() override;
    bool IsRunning() override;
    int Status() override;
    int Beats() override;
    long long Clock() override;
    long long BeatTime(int beats) override;
    int OutputLatency() override;
    void SetTrackMute(int track, bool mute) override;
};

// The engine library's one engine, as the program uses it.
ExerciseEngine& TheSequenzorEngine();

} // namespace playback
