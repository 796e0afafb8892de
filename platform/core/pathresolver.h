#pragma once
// Content paths as the course writes them ("lektion1\\DiaA2.jpg") found on a
// file system that knows '/' only and tells letter case apart.

#include <QString>
#include <string>
#include <string_view>

namespace platform {

// Turns every '\' into '/' and finds each part of the path on disk without
// regard to letter case ("lektion1\\DIAA2.JPG" finds lektion1/DiaA2.jpg). An
// exact match wins over one that differs in case. When some part cannot be
// found, the rest is kept as written, so the result names a missing file and
// opening it fails as it should. Relative paths start at the current folder.
//
// Folder listings are cached; a folder whose modification time changed, or in
// which a name was not found, is listed again, so files added later are found.
// Safe to call from any thread.
QString ResolvePath(const QString& path);

// The same for a Windows-1252 path; the result is the file system's own
// (UTF-8) spelling, ready for open().
std::string ResolveAnsiPath(std::string_view ansiPath);

// True when the resolved path names an existing file or folder.
bool PathExists(const QString& path);
bool AnsiPathExists(std::string_view ansiPath);

} // namespace platform
