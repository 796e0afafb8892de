#pragma once
// The outside services the application shell asks about the machine it runs
// on: the MIDI engine, the drive-type test and the program folder. The main
// window receives them when it is built; the program passes the real ones
// (Sequenzor, the platform's drive test, the folder of the running program),
// tests pass their own so that a device list, an engine that plays, a CD-ROM
// drive or a damaged program folder can be pretended.

#include "playback/exerciseengine.h"

#include <functional>
#include <string>

namespace app {

struct ShellServices {
    // The MIDI engine; null means Sequenzor.
    playback::ExerciseEngine* Engine = nullptr;
    // True when the drive holding the path is a CD-ROM; empty means the
    // platform's drive-type test.
    std::function<bool(const std::string& path)> IsCdRom;
    // The program folder (file-system spelling, ending in '/'); empty means
    // the folder of the running program.
    std::string ProgramFolder;

    // The engine in use.
    playback::ExerciseEngine& MidiEngine() const;
    // The program folder in use.
    std::string Folder() const;
    // True when the program folder lies on a CD-ROM drive.
    bool ProgramOnCdRom() const;
};

} // namespace app
