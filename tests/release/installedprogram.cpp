#include "tests/release/installedprogram.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <csignal>

namespace releasetest {

ToolResult RunTool(const QString& program, const QStringList& args, const QString& folder, int ms) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");
    process.setProcessEnvironment(env);
    if (!folder.isEmpty()) process.setWorkingDirectory(folder);
    process.start(program, args);
    ToolResult result;
    if (!process.waitForStarted()) return result;
    if (!process.waitForFinished(ms)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.ran = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QStringList FilesBelow(const QString& folder) {
    QStringList files;
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files << root.relativeFilePath(it.next());
    files.sort();
    return files;
}

bool IsElf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(4) == QByteArray("\x7f" "ELF", 4);
}

namespace {

// The bracketed values of readelf's dynamic section lines of one tag.
QStringList DynamicEntries(const QString& file, const QString& tag) {
    const ToolResult result = RunTool("readelf", {"-d", file});
    QStringList values;
    const QRegularExpression line("\\(" + tag + "\\)[^\\[]*\\[([^\\]]*)\\]");
    for (auto it = line.globalMatch(result.out); it.hasNext();) values << it.next().captured(1);
    return values;
}

} // namespace

QStringList NeededLibraries(const QString& file) { return DynamicEntries(file, "NEEDED"); }

QString LibrarySearchPath(const QString& file) {
    const QStringList paths = DynamicEntries(file, "RUNPATH") + DynamicEntries(file, "RPATH");
    return paths.join(';');
}

// --- LauncherRun -----------------------------------------------------------------

LauncherRun::~LauncherRun() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool LauncherRun::Start(const QString& launcher, const QString& platform, const QString& display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data_.QPath());
    env.insert("XDG_RUNTIME_DIR", runtime_.QPath());
    env.insert("SPRACHBANK_LANGUAGE", "0");
    env.insert("QT_QPA_PLATFORM", platform);
    if (!display.isEmpty()) env.insert("DISPLAY", display);
    env.insert("ZUPFARI_AUTOANSWER", "100:2");
    env.insert("ZUPFARI_TIMING", "1");
    process_.setProcessEnvironment(env);
    // Started from a neutral folder, so that nothing is found by accident
    // relative to the test's own working folder.
    process_.setWorkingDirectory(runtime_.QPath());
    process_.start(launcher, {});
    return process_.waitForStarted();
}

const QString& LauncherRun::Stderr() {
    process_.waitForReadyRead(10);
    stderr_ += QString::fromUtf8(process_.readAllStandardError());
    return stderr_;
}

bool LauncherRun::WaitFor(const QString& text, int ms) {
    QElapsedTimer waited;
    waited.start();
    while (!Stderr().contains(text)) {
        if (process_.state() != QProcess::Running || waited.elapsed() > ms) return false;
        process_.waitForReadyRead(50);
    }
    return true;
}

QStringList LauncherRun::Boxes() {
    QStringList boxes;
    for (const QString& line : Stderr().split('\n'))
        if (line.startsWith("ZUPFARI-BOX")) boxes << line;
    return boxes;
}

QString LauncherRun::RunningProgram() const {
    return QFileInfo(QString("/proc/%1/exe").arg(process_.processId())).symLinkTarget();
}

QString LauncherRun::MappedFiles() const {
    QFile maps(QString("/proc/%1/maps").arg(process_.processId()));
    return maps.open(QIODevice::ReadOnly) ? QString::fromUtf8(maps.readAll()) : QString();
}

QStringList LauncherRun::ListLines(const QString& name) const {
    QFile file(data_.QPath() + "ZupfariDemo/Listen/" + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
}

bool LauncherRun::Terminate(int ms) {
    ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
    if (!process_.waitForFinished(ms)) return false;
    // A program that saves on SIGTERM and then lets the signal take its
    // course ends "by the signal"; any other signal is a crash.
    if (process_.exitStatus() == QProcess::NormalExit) return process_.exitCode() == 0;
    return process_.exitCode() == SIGTERM;
}

} // namespace releasetest
