#include "playback/exerciseengine.h"

#include "sequenzor/sequenzor.h"

namespace playback {

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

} // namespace playback
