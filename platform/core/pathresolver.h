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

// The course's second edition lies in an overlay folder inside the program
// folder and holds only the files that differ. Once set, a path naming a
// file inside `programFolder` (relative paths count from the current
// folder) resolves to the same relative path inside `overlayFolder` when
// that file exists there; folders and every other file resolve as before.
// An empty `overlayFolder` turns the overlay off. With ZUPFARI_TRACE_FILES
// set, every overlay file served is reported once on standard error as
// "ZUPFARI-OVERLAY <path>".
void SetContentOverlay(const QString& programFolder, const QString& overlayFolder);
QString ContentOverlay(); // the overlay folder, empty when off

// True when the resolved path names an existing file or folder.
bool PathExists(const QString& path);
bool AnsiPathExists(std::string_view ansiPath);

} // namespace platform
