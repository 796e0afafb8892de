#include "content/generator/course_help.h"

#include "platform/core/files.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace content {

namespace {

// An arbitrary fixed moment (2026-01-01) in place of the compile time.
constexpr unsigned char kFixedStamp[4] = {0x00, 0x4C, 0x56, 0x69};

bool CopyFolder(const QString& from, const QString& to) {
    QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        QString target = to + "/" + entry.fileName();
        if (entry.isDir()) {
            if (!QDir().mkpath(target) || !CopyFolder(entry.filePath(), target)) return false;
        } else if (!QFile::copy(entry.filePath(), target)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool RemoveChmTimestamps(std::string& chm) {
    if (chm.size() < 24 || chm.compare(0, 4, "ITSF") != 0) return false;
    for (int i = 0; i < 4; ++i)
        chm[16 + i] = static_cast<char>(kFixedStamp[i]);
    // #SYSTEM starts with its version (3) and, from chmcmd, the time-stamp
    // record: code 10, length 4, then the four bytes of the time.
    static const std::string record("\x03\0\0\0\x0a\0\x04\0", 8);
    std::size_t at = chm.find(record);
    if (at == std::string::npos || at + record.size() + 4 > chm.size()) return false;
    for (int i = 0; i < 4; ++i)
        chm[at + record.size() + i] = static_cast<char>(kFixedStamp[i]);
    return true;
}

bool CompileHelp(const std::string& project, const std::string& target) {
    const QString chmcmd = QStandardPaths::findExecutable("chmcmd");
    if (chmcmd.isEmpty()) {
        std::fprintf(stderr, "content: chmcmd not found on PATH; install the Debian package "
                             "fp-utils to build the help files\n");
        return false;
    }
    // Compile in a scratch copy so that nothing is written into the sources.
    QTemporaryDir scratch;
    const QFileInfo projectFile(QString::fromStdString(project));
    if (!scratch.isValid() || !CopyFolder(projectFile.absolutePath(), scratch.path())) {
        std::fprintf(stderr, "content: cannot prepare the help sources of %s\n", project.c_str());
        return false;
    }
    QProcess process;
    process.setWorkingDirectory(scratch.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(chmcmd, {"--no-html-scan", projectFile.fileName()});
    const bool finished = process.waitForFinished(60000);
    const QString output = QString::fromLocal8Bit(process.readAll());
    const QString compiled = scratch.path() + "/" + projectFile.completeBaseName() + ".chm";
    auto bytes = platform::ReadFileBytes(compiled.toStdString());
    if (!finished || process.exitCode() != 0 || !bytes) {
        std::fprintf(stderr, "content: chmcmd failed for %s:\n%s\n", project.c_str(),
                     output.toLocal8Bit().constData());
        return false;
    }
    if (!RemoveChmTimestamps(*bytes))
        std::fprintf(stderr, "content: note: %s keeps chmcmd's time stamp\n", target.c_str());
    if (!platform::WriteFileAtomically(target, *bytes)) {
        std::fprintf(stderr, "content: cannot write %s\n", target.c_str());
        return false;
    }
    return true;
}

} // namespace content
