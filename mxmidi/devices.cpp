// The device list and the toolkit's device queries.

#include "mxmidi/mxmidi.h"
#include "mxmidi/outport.h"
#include "mxmidi/synthport.h"

#include <QByteArray>
#include <QString>
#include <cstring>

namespace mxmidi::detail {

std::string CutDeviceName(const std::string& name) {
    return name.substr(0, kMaxDeviceName);
}

// System port names are UTF-8; the toolkit's texts are 8-bit ANSI. Characters
// beyond Latin-1 become '?'.
std::string ToAnsiName(const std::string& utf8) {
    return QString::fromUtf8(utf8.c_str()).toLatin1().toStdString();
}

int MessageLength(std::uint8_t status) {
    if (status < 0x80) return 0;
    if (status < 0xF0) {
        std::uint8_t kind = status & 0xF0;
        return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
    }
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 2;
    case 0xF2:
        return 3;
    default:
        return 1;
    }
}

std::vector<DeviceEntry> ListDevices() {
    std::vector<DeviceEntry> devices;
    devices.push_back({PortKind::Synth, kSynthName, kSynthName, MOD_WAVETABLE});
    for (const std::string& port : ListSystemPorts())
        devices.push_back({PortKind::System, CutDeviceName(ToAnsiName(port)), port, MOD_MIDIPORT});
    QByteArray logPath = qgetenv("MXMIDI_LOG");
    if (!logPath.isEmpty())
        devices.push_back({PortKind::Log, kLogName, logPath.toStdString(), MOD_MIDIPORT});
    for (const auto& [name, key] : ListRecordingPorts())
        devices.push_back({PortKind::Recording, CutDeviceName(name), key, MOD_MIDIPORT});
    return devices;
}

std::unique_ptr<OutPort> OpenPort(const DeviceEntry& device) {
    switch (device.kind) {
    case PortKind::Synth:
        return OpenSynthPort();
    case PortKind::System:
        return OpenSystemPort(device.fullName);
    case PortKind::Log:
        return OpenLogPort(device.fullName);
    case PortKind::Recording:
        return OpenRecordingPort(device.fullName);
    }
    return nullptr;
}

} // namespace mxmidi::detail

using namespace mxmidi::detail;

// Whoever counts or names the devices is about to choose one: the
// synthesizer's sound font starts loading now.
std::uint16_t GetNumOutDevices() {
    StartSynthLoading();
    return static_cast<std::uint16_t>(ListDevices().size());
}

int GetMidiOutDescription(std::uint16_t id, char* name) {
    if (!name) return 0;
    StartSynthLoading();
    std::string text;
    if (id == MXMIDI_MAPPER) {
        text = kMapperName;
    } else {
        std::vector<DeviceEntry> devices = ListDevices();
        if (id >= devices.size()) return 0;
        text = devices[id].name;
    }
    text = CutDeviceName(text);
    std::memcpy(name, text.c_str(), text.size() + 1);
    return 1;
}

int GetMidiOutTechnology(std::uint16_t id, std::uint16_t* technology) {
    if (!technology) return 0;
    if (id == MXMIDI_MAPPER) {
        *technology = MOD_MAPPER;
        return 1;
    }
    std::vector<DeviceEntry> devices = ListDevices();
    if (id >= devices.size()) return 0;
    *technology = devices[id].technology;
    return 1;
}
