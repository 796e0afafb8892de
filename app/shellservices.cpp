#include "app/shellservices.h"

#include "platform/core/folders.h"
#include "sequenzor/sequenzor.h"

#include <cstring>

namespace app {
namespace {

constexpr int kNameBufferSize = 64;

// The device calls over the exported interface of Sequenzor.
class EngineDevices : public MidiDevices {
public:
    int NumDevs() override { return MidiGetNumDevs(); }
    bool InitWin(QObject* window) override { return MidiInitWin(window) != 0; }
    bool DeviceName(unsigned short id, std::string& name) override {
        char buffer[kNameBufferSize] = {};
        if (MidiGetDeviceName(id, buffer) == 0) return false;
        name = buffer;
        return true;
    }
    bool Technology(unsigned short id, unsigned short& technology) override {
        std::uint16_t code = 0;
        if (midiOutGetTechnology(id, &code) == 0) return false;
        technology = code;
        return true;
    }
    bool SetDeviceByID(unsigned short id) override { return MidiSetDeviceByID(id) != 0; }
    bool SetDeviceByName(const std::string& name) override {
        char buffer[kNameBufferSize] = {};
        std::strncpy(buffer, name.c_str(), sizeof buffer - 1);
        return MidiSetDeviceByName(buffer) != 0;
    }
    bool IsRunning() override { return MidiIsRunning() != 0; }
};

} // namespace

MidiDevices& SequenzorDevices() {
    static EngineDevices devices;
    return devices;
}

MidiDevices& ShellServices::Devices() const {
    return Midi != nullptr ? *Midi : SequenzorDevices();
}

std::string ShellServices::Folder() const {
    return ProgramFolder.empty() ? platform::ProgramFolder() : ProgramFolder;
}

bool ShellServices::ProgramOnCdRom() const {
    const std::string folder = Folder();
    if (IsCdRom) return IsCdRom(folder);
    return platform::GetDriveType(folder) == platform::DRIVE_CDROM;
}

} // namespace app
