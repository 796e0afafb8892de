#pragma once
// Where the program lives and where the learner's data goes.
//
// Folder names handed out here end in '/', so a content name can be appended
// directly (the program's code writes ProgramFolder + "Listen\\...").

#include <string>

namespace platform {

// Folder of the running executable, symbolic links resolved, ending in '/'.
std::string ProgramFolder();
// Tests and tools that run the program over another content folder: makes
// ProgramFolder() report `folder` (ending in '/'); empty puts the
// executable's folder back.
void OverrideProgramFolder(const std::string& folder);

// Mount point of the file system that holds `path` (ending in '/'): what the
// program calls the drive of a file.
std::string DriveOf(const std::string& path);

// Drive types as the program tests them.
enum DriveType : unsigned { DRIVE_NO_ROOT_DIR = 1, DRIVE_FIXED = 3, DRIVE_CDROM = 5 };

// DRIVE_CDROM when the file system holding `path` is ISO 9660 or UDF,
// DRIVE_NO_ROOT_DIR when it cannot be examined, DRIVE_FIXED otherwise.
DriveType GetDriveType(const std::string& path);

// The per-user application data folder: $XDG_DATA_HOME when it is an absolute
// path, else ~/.local/share; ending in '/'. Empty when neither can be worked out.
std::string ApplicationDataFolder();

// Works out the learner's data folder: the application data folder +
// "ZupfariDemo/", created if missing, with its subfolder "Listen". The
// application data folder itself is created when missing (a new account may
// not have ~/.local/share yet). Returns false when the folder cannot be had;
// the caller then uses the program folder. `path` receives the folder either way.
bool FindDataFolder(std::string& path);

} // namespace platform
