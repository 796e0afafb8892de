#include "platform/core/folders.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <system_error>
#include <unistd.h>

namespace platform {
namespace fs = std::filesystem;

namespace {

constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path.push_back('/');
    return path;
}

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool MakeDirectory(const std::string& path) {
    std::error_code ec;
    fs::create_directory(path, ec);
    return IsDirectory(path);
}

} // namespace

namespace {
std::string& ProgramFolderOverride() {
    static std::string folder;
    return folder;
}
} // namespace

void OverrideProgramFolder(const std::string& folder) {
    ProgramFolderOverride() = folder;
}

std::string ProgramFolder() {
    if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
    std::error_code ec;
    fs::path exe = fs::canonical("/proc/self/exe", ec);
    if (ec) return WithSlash(fs::current_path(ec).string());
    return WithSlash(exe.parent_path().string());
}

std::string DriveOf(const std::string& path) {
    std::error_code ec;
    fs::path current = fs::weakly_canonical(path, ec);
    if (ec) return "/";
    struct stat st {};
    while (::stat(current.c_str(), &st) != 0 && current.has_parent_path() &&
           current != current.parent_path()) {
        current = current.parent_path();
    }
    dev_t device = st.st_dev;
    while (current.has_parent_path() && current != current.parent_path()) {
        struct stat parent {};
        if (::stat(current.parent_path().c_str(), &parent) != 0 || parent.st_dev != device) break;
        current = current.parent_path();
    }
    return WithSlash(current.string());
}

DriveType GetDriveType(const std::string& path) {
    struct statfs info {};
    if (::statfs(path.c_str(), &info) != 0) return DRIVE_NO_ROOT_DIR;
    long type = static_cast<long>(info.f_type);
    return (type == kIso9660Magic || type == kUdfMagic) ? DRIVE_CDROM : DRIVE_FIXED;
}

std::string ApplicationDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return WithSlash(xdg);
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    return WithSlash(std::string(home) + "/.local/share");
}

bool FindDataFolder(std::string& path) {
    path.clear();
    std::string base = ApplicationDataFolder();
    if (base.empty()) return false;
    if (!IsDirectory(base)) {
        std::error_code ec;
        fs::create_directories(base, ec);
        if (!IsDirectory(base)) return false;
    }
    bool result = true;
    path = base + "ZupfariDemo/";
    if (!IsDirectory(path) && !MakeDirectory(path)) result = false;
    if (!IsDirectory(path + "Listen")) MakeDirectory(path + "Listen");
    return result;
}

} // namespace platform
