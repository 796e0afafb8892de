// The program installed with `cmake --install` under a fresh, relative
// prefix: the program folder holds exactly what build/bin holds (binaries
// with $ORIGIN as their only library path), the launcher, desktop entry,
// icons and AppStream file sit where the desktop looks for them, and the
// program started through a symbolic link to the launcher runs from the
// installed folder and finds all its content.

#include "tests/release/installedprogram.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

using namespace releasetest;
using testsupport::BinFolder;
using testsupport::TempFolder;

QByteArray Digest(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result();
}

// The value of `key` in the [Desktop Entry] group of a desktop file.
QString DesktopValue(const QString& file, const QString& key) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n'))
        if (line.startsWith(key + "=")) return line.mid(key.size() + 1);
    return {};
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A relative prefix, as a user might type it.
        const ToolResult install = RunTool(ZUPFARI_CMAKE, {"--install", ZUPFARI_BUILD_DIR, "--prefix",
                                                           "stage/usr"}, root_.QPath());
        ASSERT_TRUE(install.Ok()) << install.out.toStdString() << install.err.toStdString();
        prefix_ = root_.QPath() + "stage/usr/";
        programFolder_ = prefix_ + ZUPFARI_PROGRAM_DIR + "/";
    }

    TempFolder root_;
    QString prefix_, programFolder_;
};

TEST_F(InstallTest, ProgramFolderHoldsTheBuildsProgramFolder) {
    const QString bin = QString::fromStdString(BinFolder());
    const QStringList built = FilesBelow(bin);
    ASSERT_TRUE(built.contains("ZupfariBasis"));
    EXPECT_EQ(FilesBelow(programFolder_), built);

    QStringList binaries;
    for (const QString& file : built) {
        const QString installed = programFolder_ + file;
        if (IsElf(bin + file)) {
            binaries << file;
            // Shared libraries are installed without the execute bit, as Debian does.
            if (!file.endsWith(".so")) {
                EXPECT_TRUE(QFileInfo(installed).isExecutable()) << file.toStdString();
            }
            EXPECT_EQ(LibrarySearchPath(installed), "$ORIGIN") << file.toStdString();
        } else {
            EXPECT_EQ(Digest(installed), Digest(bin + file)) << file.toStdString();
        }
    }
    for (const char* binary : {"ZupfariBasis", "libSequenzor.so", "libSprachbank.so", "zupfari-listen"})
        EXPECT_TRUE(binaries.contains(binary)) << binary;
    const QStringList needed = NeededLibraries(programFolder_ + "ZupfariBasis");
    EXPECT_TRUE(needed.contains("libSequenzor.so") && needed.contains("libSprachbank.so"));
}

TEST_F(InstallTest, DesktopEntryIconsAndMetainfoAgreeOnTheProgramsId) {
    const QString id = ZUPFARI_APP_ID;
    const QString desktop = prefix_ + "share/applications/" + id + ".desktop";
    ASSERT_TRUE(QFileInfo::exists(desktop));
    EXPECT_EQ(DesktopValue(desktop, "Exec"), "zupfari-basis");
    EXPECT_TRUE(QFileInfo(prefix_ + "bin/" + DesktopValue(desktop, "Exec")).isExecutable());
    EXPECT_EQ(DesktopValue(desktop, "Icon"), id);
    EXPECT_TRUE(QFileInfo::exists(prefix_ + "share/metainfo/" + id + ".metainfo.xml"));
    EXPECT_TRUE(QFileInfo::exists(prefix_ + "share/doc/zupfari-basis/copyright"));

    const QString hicolor = prefix_ + "share/icons/hicolor/";
    const QStringList sizes = QDir(hicolor).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QString("%1x%1").arg(size))) << size;
    for (const QString& folder : sizes) {
        const QImage icon(hicolor + folder + "/apps/" + id + ".png");
        ASSERT_FALSE(icon.isNull()) << folder.toStdString();
        EXPECT_EQ(QString("%1x%2").arg(icon.width()).arg(icon.height()), folder);
        EXPECT_TRUE(icon.hasAlphaChannel());
        // A tile with a transparent margin, not an empty or a square picture.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << folder.toStdString();
        EXPECT_EQ(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255) << folder.toStdString();
    }

    // The whole tree as a software centre reads it: metainfo, desktop entry, icons.
    const ToolResult tree = RunTool("appstreamcli", {"validate-tree", "--no-net", prefix_});
    EXPECT_TRUE(tree.Ok()) << tree.out.toStdString() << tree.err.toStdString();
}

TEST_F(InstallTest, ProgramStartedThroughALinkToTheLauncherRunsFromTheProgramFolder) {
    // The launcher reached through a relative symbolic link in another folder.
    ASSERT_TRUE(QDir(root_.QPath()).mkpath("elsewhere"));
    ASSERT_TRUE(QFile::link("../stage/usr/bin/zupfari-basis", root_.QPath() + "elsewhere/zb"));

    LauncherRun program;
    ASSERT_TRUE(program.Start(root_.QPath() + "elsewhere/zb", "offscreen"));
    ASSERT_TRUE(program.WaitFor("ZUPFARI-TIME greeting")) << program.Stderr().toStdString();
    const QString installed = QFileInfo(programFolder_ + "ZupfariBasis").canonicalFilePath();
    EXPECT_EQ(program.RunningProgram(), installed);
    const QString maps = program.MappedFiles();
    EXPECT_TRUE(maps.contains(QFileInfo(programFolder_).canonicalFilePath() + "/libSequenzor.so"));
    EXPECT_FALSE(maps.contains(QString::fromStdString(BinFolder())));
    // The start question is the only box: no "important files missing", no
    // skin or picture errors.
    EXPECT_EQ(program.Boxes().size(), 1) << program.Boxes().join('\n').toStdString();
    EXPECT_TRUE(program.Terminate()) << program.Stderr().toStdString();
    // Ended from outside, it still saved the learner's lists.
    EXPECT_FALSE(program.ListLines("ListeUeplan.ztl").isEmpty());
}

} // namespace
