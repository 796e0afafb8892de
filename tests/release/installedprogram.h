#pragma once
// Helpers for the tests of the installed program: running the build's tools
// (cmake, cpack, dpkg, readelf) to their end, listing a folder's files,
// reading what an ELF file needs, and the installed program started through
// its launcher with scratch data, reporting on standard error.

#include "tests/support/testsupport.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace releasetest {

struct ToolResult {
    bool ran = false;   // started and ended by itself within the time
    int exitCode = -1;
    QString out, err;
    bool Ok() const { return ran && exitCode == 0; }
};

// Runs `program` with `args` in `folder` (empty: the current one), waiting up
// to `ms` for its end.
ToolResult RunTool(const QString& program, const QStringList& args, const QString& folder = {},
                   int ms = 300000);

// The paths of every file (and symbolic link) below `folder`, relative to it, sorted.
QStringList FilesBelow(const QString& folder);

// True for an ELF file (program or shared library).
bool IsElf(const QString& file);
// The libraries the ELF file names as needed, and the search path it carries
// (its RUNPATH or RPATH; empty when none).
QStringList NeededLibraries(const QString& file);
QString LibrarySearchPath(const QString& file);

// The installed program started through its launcher as a child process,
// with a scratch data folder, boxes answered with cancel after 100 ms and
// its start-up moments reported ("ZUPFARI-TIME <what>").
class LauncherRun {
public:
    ~LauncherRun();
    // `platform` is "offscreen" or "xcb" (then on `display`).
    bool Start(const QString& launcher, const QString& platform, const QString& display = {});
    // Waits until standard error holds `text` (false when the program ended or time ran out).
    bool WaitFor(const QString& text, int ms = 60000);
    const QString& Stderr();
    // The message boxes the program showed ("ZUPFARI-BOX" lines).
    QStringList Boxes();
    // The program file the process runs, and the files it has mapped.
    QString RunningProgram() const;
    QString MappedFiles() const;
    // The lines of a list file in the scratch data folder (empty when unreadable).
    QStringList ListLines(const QString& name) const;
    // Sends SIGTERM; true when the program then ended in time, with exit
    // code 0 or by that signal (not by a crash).
    bool Terminate(int ms = 15000);

private:
    testsupport::TempFolder data_, runtime_;
    QProcess process_;
    QString stderr_;
};

} // namespace releasetest
