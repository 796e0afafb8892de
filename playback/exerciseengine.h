#pragma once
// ExerciseEngine: the few MIDI engine calls the transport and the lesson
// screen make, behind an interface so that tests can drive the transport on
// a fake engine with its own beat counter. The program uses SequenzorEngine,
// which calls the engine library's exported functions.

#include <string>

namespace playback {

class ExerciseEngine {
public:
    virtual ~ExerciseEngine() = default;
    // 1 when the file loaded, 0 when it could not be read as a MIDI file.
    virtual int LoadFile(const std::string& path) = 0;
    // Plays from `start` (beats x 8) at the loaded file's own tempo.
    virtual int Start(int start) = 0;
    // Pauses and returns the beat counter.
    virtual int Pause() = 0;
    virtual int Stop() = 0;
    virtual bool IsRunning() = 0;
    // 0 not initialised, 1 playing, 2 stopped or ended, 3 paused.
    virtual int Status() = 0;
    // Beats counted since the start, the count-in included.
    virtual int Beats() = 0;
};

class SequenzorEngine : public ExerciseEngine {
public:
    int LoadFile(const std::string& path) override;
    int Start(int start) override;
    int Pause() override;
    int Stop() override;
    bool IsRunning() override;
    int Status() override;
    int Beats() override;
};

} // namespace playback
