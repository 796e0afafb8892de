#include "app/shellservices.h"

#include "platform/core/folders.h"

namespace app {

playback::ExerciseEngine& ShellServices::MidiEngine() const {
    return Engine != nullptr ? *Engine : playback::TheSequenzorEngine();
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
