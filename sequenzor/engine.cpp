#include "sequenzor/engine.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace sequenzor {

namespace {
constexpr std::size_t kDeviceNameBuffer = 32; // 31 characters and the NUL
Engine theEngine;
} // namespace

Engine& TheEngine() {
    return theEngine;
}

Engine::Engine() {
    sync_.onEnd = [this] { out_.TimerEnded(); };
    // The toolkit's file table is made now, before the engine is complete,
    // so that it is still there when the engine closes its file at unload.
    CloseSMF(0);
}

Engine::~Engine() {
    Shutdown();
}

void Engine::Shutdown() {
    DeleteAllTracks();
    out_.ResetAndClose();
    sync_.Close();
    file_.Close();
    sync_.DeleteWindow();
    in_.DeleteWindow();
    out_.DeleteWindow();
}

namespace {
// The application object goes before the libraries are unloaded, and the
// toolkit's own state may go with them: the engine lets go of its devices
// while everything it needs is still there.
void ShutdownWithApplication() {
    TheEngine().Shutdown();
}
} // namespace

int Engine::InitWin(QObject* parent) {
    // Tracks held before go; nothing points at them once they are unlinked.
    DeleteAllTracks();
    static bool shutdownRegistered = false;
    if (QCoreApplication::instance() && !shutdownRegistered) {
        qAddPostRoutine(ShutdownWithApplication);
        shutdownRegistered = true;
    }

    sync_.CreateWindow(parent);
    sync_.Open();
    in_.CreateWindow(parent, &sync_);
    out_.CreateWindow(parent, &sync_);

    in_.StopAndClose();
    out_.ResetAndClose();

    if (NumDevs() <= 0) return 0;
    if (!out_.OpenDevice(0) && !out_.OpenDevice(MXMIDI_MAPPER)) return 0;
    sync_.status = 2;
    return 1;
}

int Engine::NumDevs() const {
    return GetNumOutDevices();
}

int Engine::DeviceName(std::uint16_t id, char* name) const {
    if (!name) return 0;
    // The toolkit promises at most 31 characters; a roomy buffer and the cut
    // below keep the caller's 32 bytes safe even if it wrote more.
    char description[256] = {};
    int written = GetMidiOutDescription(id, description);
    if (!written) return 0;
    description[kDeviceNameBuffer - 1] = '\0';
    std::memcpy(name, description, std::strlen(description) + 1);
    return written;
}

std::uint16_t Engine::DeviceId(const char* name) const {
    if (!name) return kNoDevice;
    const std::uint16_t count = static_cast<std::uint16_t>(NumDevs());
    for (std::uint16_t id = 0; id < count; ++id) {
        char deviceName[kDeviceNameBuffer] = {};
        if (DeviceName(id, deviceName) && std::strcmp(deviceName, name) == 0) return id;
    }
    return kNoDevice;
}

int Engine::DeviceTechnology(std::uint16_t id, unsigned short* technology) const {
    if (!technology) return 0;
    std::uint16_t code = 0;
    if (!GetMidiOutTechnology(id, &code)) return 0;
    *technology = code;
    return 1;
}

// A device change keeps the queued music and its timing; an unknown name or
// a device that does not open leaves the player timed and silent.
int Engine::SetDeviceById(std::uint16_t id) {
    return out_.ChangeDevice(id);
}

int Engine::SetDeviceByName(const char* name) {
    std::uint16_t id = DeviceId(name);
    if (id == kNoDevice) {
        out_.ChangeDevice(MXMIDI_NO_DEVICE);
        return 0;
    }
    return out_.ChangeDevice(id);
}

void Engine::TrackDump(const char* fileName) const {
    if (!fileName) return;
    std::FILE* dump = std::fopen(fileName, "w");
    if (!dump) return;
    std::fprintf(dump, "Resolution %d\n\n", static_cast<int>(sync_.Resolution()));
    std::fprintf(dump, "track status data1 data2 data3 dtime abstime\n\n");
    int position = 0;
    for (const TrackCursor& cursor : out_.Cursors()) {
        const CMidiTrack& track = *cursor.track;
        std::uint32_t absolute = 0;
        for (std::uint32_t i = 0; i < track.Count(); ++i) {
            const MidiEvent& e = track.Events()[i];
            absolute += e.time;
            std::fprintf(dump, "%d %X %X %X %X %d %d\n", position, e.status, e.data1, e.data2,
                         e.data3, static_cast<int>(e.time), static_cast<int>(absolute));
        }
        ++position;
    }
    std::fclose(dump);
}

} // namespace sequenzor
