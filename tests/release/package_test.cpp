// The Debian package that CPack builds: named zupfari-basis_<version>_<arch>.deb,
// depending on real Debian packages that cover every library its binaries
// need; unpacked into a scratch root, it starts through its launcher on a
// virtual X display (start screen, main window, greeting) and ends cleanly.

#include "tests/release/installedprogram.h"
#include "tests/support/realprogram.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

using namespace releasetest;
using testsupport::TempFolder;

// The Depends field as alternatives: each entry a list of package names.
QList<QStringList> DependencyAlternatives(const QString& depends) {
    QList<QStringList> entries;
    for (const QString& entry : depends.split(',', Qt::SkipEmptyParts)) {
        QStringList names;
        for (QString alternative : entry.split('|'))
            names << alternative.remove(QRegularExpression("\\(.*\\)")).trimmed();
        entries << names;
    }
    return entries;
}

// The Debian packages installed here among `names`.
QSet<QString> InstalledPackages(const QStringList& names) {
    const ToolResult query = RunTool("dpkg-query", QStringList{"-W", "-f=${Package} ${Status}\\n"} + names);
    QSet<QString> installed;
    for (const QString& line : query.out.split('\n'))
        if (line.endsWith("install ok installed")) installed << line.section(' ', 0, 0);
    return installed;
}

// The packages that own library files of this system: path -> package.
// dpkg knows a file under the path its package ships, /lib or /usr/lib, so
// both are asked (in one call; unknown paths are simply left out).
QMap<QString, QString> OwningPackages(const QStringList& paths) {
    QStringList asked;
    for (const QString& path : paths)
        asked << path << (path.startsWith("/usr/") ? path.mid(4) : "/usr" + path);
    QMap<QString, QString> owners;
    const QRegularExpression line("^([^:\\s]+)(?::\\S+)?: (/\\S+)$", QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(RunTool("dpkg", QStringList{"-S"} + asked).out); it.hasNext();) {
        const auto match = it.next();
        QString path = match.captured(2);
        if (!paths.contains(path)) path = path.startsWith("/usr/") ? path.mid(4) : "/usr" + path;
        owners[path] = match.captured(1);
    }
    return owners;
}

// Where the dynamic loader finds each library of `file`: name -> path.
QMap<QString, QString> ResolvedLibraries(const QString& file) {
    QMap<QString, QString> resolved;
    // "name => /path (address)", or "/path (address)" for the loader itself.
    const QRegularExpression line("^\\s*(?:(\\S+) => )?(/\\S+) \\(", QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(RunTool("ldd", {file}).out); it.hasNext();) {
        const auto match = it.next();
        const QString name = match.captured(1).isEmpty() ? QFileInfo(match.captured(2)).fileName()
                                                         : match.captured(1);
        resolved[name] = match.captured(2);
    }
    return resolved;
}

// Each dependency names a package of this Debian: one alternative of each
// entry is installed here, as the set-up installs them all.
void ExpectDebianPackages(const QList<QStringList>& entries) {
    QStringList names;
    for (const QStringList& entry : entries) names += entry;
    const QSet<QString> installed = InstalledPackages(names);
    for (const QStringList& entry : entries) {
        bool any = false;
        for (const QString& name : entry) any = any || installed.contains(name);
        EXPECT_TRUE(any) << entry.join(" | ").toStdString();
    }
}

// Every library the binaries of the program folder need comes from the
// package itself or from one of `dependedOn`.
void ExpectLibrariesCovered(const QString& programFolder, const QSet<QString>& dependedOn) {
    QList<QPair<QString, QString>> needs; // binary, library
    QMap<QString, QString> where;         // library -> path on this system
    for (const QString& file : FilesBelow(programFolder)) {
        if (!IsElf(programFolder + file)) continue;
        const QMap<QString, QString> resolved = ResolvedLibraries(programFolder + file);
        for (const QString& library : NeededLibraries(programFolder + file)) {
            if (QFileInfo::exists(programFolder + library)) continue;
            needs << qMakePair(file, library);
            where[library] = resolved.value(library);
        }
    }
    ASSERT_FALSE(needs.isEmpty());
    const QMap<QString, QString> owners = OwningPackages(where.values());
    for (const auto& [file, library] : needs) {
        const QString owner = owners.value(where[library]);
        EXPECT_TRUE(dependedOn.contains(owner))
            << file.toStdString() << " needs " << library.toStdString() << " ("
            << where[library].toStdString() << ") from '" << owner.toStdString() << "'";
    }
}

TEST(PackageTest, DebianPackageDependsOnWhatItNeedsAndStartsFromItsLauncher) {
    TempFolder out, root;
    const ToolResult cpack = RunTool(ZUPFARI_CPACK, {"-G", "DEB", "--config",
                                     ZUPFARI_BUILD_DIR "/CPackConfig.cmake", "-B", out.QPath()});
    ASSERT_TRUE(cpack.Ok()) << cpack.out.toStdString() << cpack.err.toStdString();
    const QString arch = RunTool("dpkg", {"--print-architecture"}).out.trimmed();
    const QString deb = out.QPath() + QString("zupfari-basis_%1_%2.deb").arg(ZUPFARI_VERSION, arch);
    ASSERT_TRUE(QFileInfo::exists(deb)) << cpack.out.toStdString();

    const ToolResult fields = RunTool("dpkg-deb", {"-f", deb, "Version", "Depends"});
    ASSERT_TRUE(fields.Ok()) << fields.err.toStdString();
    EXPECT_TRUE(fields.out.contains("Version: " ZUPFARI_VERSION "\n")) << fields.out.toStdString();
    const QString depends = fields.out.section("Depends: ", 1).section('\n', 0, 0);
    std::printf("package %s: %lld bytes\nDepends: %s\n", qPrintable(QFileInfo(deb).fileName()),
                static_cast<long long>(QFileInfo(deb).size()), qPrintable(depends));
    const QList<QStringList> entries = DependencyAlternatives(depends);
    ExpectDebianPackages(entries);

    ASSERT_TRUE(RunTool("dpkg", {"-x", deb, root.QPath()}).Ok());
    const QString usr = root.QPath() + "usr/";
    const QString programFolder = usr + "lib/zupfari-basis/";
    QSet<QString> dependedOn;
    for (const QStringList& entry : entries) dependedOn.unite(QSet<QString>(entry.begin(), entry.end()));
    ExpectLibrariesCovered(programFolder, dependedOn);
    for (const char* file : {"share/applications/" ZUPFARI_APP_ID ".desktop",
                             "share/metainfo/" ZUPFARI_APP_ID ".metainfo.xml",
                             "share/icons/hicolor/48x48/apps/" ZUPFARI_APP_ID ".png",
                             "share/doc/zupfari-basis/copyright"})
        EXPECT_TRUE(QFileInfo::exists(usr + file)) << file;

    testsupport::XvfbServer desktop;
    if (!desktop.Start(1024, 768)) GTEST_SKIP() << "no virtual X server";
    LauncherRun program;
    ASSERT_TRUE(program.Start(usr + "bin/zupfari-basis", "xcb", QString::fromStdString(desktop.Display())));
    for (const char* moment : {"startscreen", "mainwindow", "greeting"})
        ASSERT_TRUE(program.WaitFor(QString("ZUPFARI-TIME ") + moment)) << program.Stderr().toStdString();
    EXPECT_EQ(program.RunningProgram(), QFileInfo(programFolder + "ZupfariBasis").canonicalFilePath());
    EXPECT_EQ(program.Boxes().size(), 1) << program.Boxes().join('\n').toStdString();
    EXPECT_TRUE(program.Terminate()) << program.Stderr().toStdString();
    EXPECT_FALSE(program.ListLines("ListeUeplan.ztl").isEmpty());
}

} // namespace
