#pragma once
// The outside services the application shell asks about the machine it runs
// on: the MIDI engine's device calls, the drive-type test and the program
// folder. The main window receives them when it is built; the program passes
// the real ones (Sequenzor, the platform's drive test, the folder of the
// running program), tests pass their own so that a device list, a CD-ROM
// drive or a damaged program folder can be pretended.

#include <QObject>
#include <functional>
#include <string>

namespace app {

// The device calls of the MIDI engine that the main window makes.
class MidiDevices {
public:
    virtual ~MidiDevices() = default;
    // MidiGetNumDevs.
    virtual int NumDevs() = 0;
    // MidiInitWin with the application's window; true on success.
    virtual bool InitWin(QObject* window) = 0;
    // MidiGetDeviceName: the name of device `id` (0xFFFF: the mapper), true
    // when there is one. Windows-1252.
    virtual bool DeviceName(unsigned short id, std::string& name) = 0;
    // The toolkit's output capability query: true and the technology code
    // when the device exists.
    virtual bool Technology(unsigned short id, unsigned short& technology) = 0;
    // MidiSetDeviceByID, MidiSetDeviceByName, MidiIsRunning.
    virtual bool SetDeviceByID(unsigned short id) = 0;
    virtual bool SetDeviceByName(const std::string& name) = 0;
    virtual bool IsRunning() = 0;
};

// The engine's own device calls (Sequenzor and its toolkit).
MidiDevices& SequenzorDevices();

struct ShellServices {
    // The device calls; null means Sequenzor.
    MidiDevices* Midi = nullptr;
    // True when the drive holding the path is a CD-ROM; empty means the
    // platform's drive-type test.
    std::function<bool(const std::string& path)> IsCdRom;
    // The program folder (file-system spelling, ending in '/'); empty means
    // the folder of the running program.
    std::string ProgramFolder;

    // The device calls in use.
    MidiDevices& Devices() const;
    // The program folder in use.
    std::string Folder() const;
    // True when the program folder lies on a CD-ROM drive.
    bool ProgramOnCdRom() const;
};

} // namespace app
