#pragma once
// ContentPaths: where the course's content files are. The course names them
// relative to the program folder, with backslashes and in Windows-1252
// ("lektion1\\DiaA2.jpg"); File() gives the file-system path to open, found
// as ResolveAnsiPath finds it (the edition's overlay first, letter case
// ignored). A name that already holds the program folder, or any other
// absolute path, is taken as it is. The program resolves every content name
// through one of these instead of making the program folder the current
// folder before it opens something.

#include <string>
#include <string_view>

namespace platform {

class ContentPaths {
public:
    // The folder of the running program (see folders.h).
    ContentPaths();
    // `programFolder` in Windows-1252, ending in a separator.
    explicit ContentPaths(std::string programFolder);

    const std::string& Folder() const { return folder_; }
    // The full Windows-1252 path of `name`.
    std::string Full(std::string_view name) const;
    // The file-system path of `name`, ready for open().
    std::string File(std::string_view name) const;
    // True when `name` names an existing file or folder.
    bool Exists(std::string_view name) const;

private:
    std::string folder_;
};

} // namespace platform
