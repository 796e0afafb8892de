#include "playback/exerciseengine.h"

#include "sequenzor/sequenzor.h"
#include "sequenzor/sequenzortiming.h"

#include <chrono>
#include <cstdint>
#include <cstring>

namespace playback {

namespace {

constexpr int kNameBufferSize = 64;

} // namespace

// Without a time line from the engine the program's own steady clock stands
// in, beat times are unknown (the transport then follows the beat counter)
// and nothing is known to lie between a note's time and its sound.
long long ExerciseEngine::Clock() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

long long ExerciseEngine::BeatTime(int) {
    return -1;
}

int ExerciseEngine::OutputLatency() {
    return 0;
}

void ExerciseEngine::SetTrackMute(int, bool) {}

int SequenzorEngine::NumDevs() {
    return MidiGetNumDevs();
}

bool SequenzorEngine::InitWin(QObject* window) {
    return MidiInitWin(window) != 0;
}

bool SequenzorEngine::DeviceName(unsigned short id, std::string& name) {
    char buffer[kNameBufferSize] = {};
    if (MidiGetDeviceName(id, buffer) == 0) return false;
    name = buffer;
    return true;
}

bool SequenzorEngine::Technology(unsigned short id, unsigned short& technology) {
    std::uint16_t code = 0;
    if (midiOutGetTechnology(id, &code) == 0) return false;
    technology = code;
    return true;
}

bool SequenzorEngine::SetDeviceByID(unsigned short id) {
    return MidiSetDeviceByID(id) != 0;
}

bool SequenzorEngine::SetDeviceByName(const std::string& name) {
    char buffer[kNameBufferSize] = {};
    std::strncpy(buffer, name.c_str(), sizeof buffer - 1);
    return MidiSetDeviceByName(buffer) != 0;
}

int SequenzorEngine::LoadFile(const std::string& path) {
    return MidiLoadFile(path.c_str());
}

int SequenzorEngine::Start(int start) {
    return MidiStart(start, 0, 0.0);
}

int SequenzorEngine::Pause() {
    return MidiPause(1);
}

int SequenzorEngine::Stop() {
    return MidiStop();
}

bool SequenzorEngine::IsRunning() {
    return MidiIsRunning() != 0;
}

int SequenzorEngine::Status() {
    return MidiGetStatus();
}

int SequenzorEngine::Beats() {
    return MidiGetBeats();
}

long long SequenzorEngine::Clock() {
    return MidiGetClock();
}

long long SequenzorEngine::BeatTime(int beats) {
    return MidiGetBeatTime(beats);
}

int SequenzorEngine::OutputLatency() {
    return MidiGetOutputLatency();
}

void SequenzorEngine::SetTrackMute(int track, bool mute) {
    MidiSetTrackMute(track, mute ? 1 : 0);
}

ExerciseEngine& TheSequenzorEngine() {
    static SequenzorEngine engine;
    return engine;
}

} // namespace playback
