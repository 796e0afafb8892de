// The platform's system services: instance lock, folders, desktop opener,
// Windows-1252 text and clocks.
#include "platform/core/clock.h"
#include "platform/core/cp1252.h"
#include "platform/core/folders.h"
#include "platform/core/instancelock.h"
#include "platform/ui/shell.h"
#include "tests/support/testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using testsupport::TempFolder;

namespace {

// Starts a child process that takes the lock and then waits to be killed.
pid_t StartLockHolder(const std::string& name) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    pid_t child = fork();
    if (child == 0) {
        platform::InstanceLock lock(name);
        char flag = lock.Acquired() ? 'y' : 'n';
        (void)!write(ready[1], &flag, 1);
        for (;;) pause();
    }
    char flag = 0;
    (void)!read(ready[0], &flag, 1);
    close(ready[0]);
    close(ready[1]);
    return flag == 'y' ? child : -1;
}

using testsupport::ScopedEnv;

} // namespace

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    platform::InstanceLock first("ZupfariTestLockA");
    ASSERT_TRUE(first.Acquired());
    {
        platform::InstanceLock second("ZupfariTestLockA");
        EXPECT_FALSE(second.Acquired());
        EXPECT_TRUE(second.HeldElsewhere());
    }
    first.Release();
    platform::InstanceLock third("ZupfariTestLockA");
    EXPECT_TRUE(third.Acquired());
}

TEST(InstanceLock, AnotherProcessIsRefusedAndTheLockIsFreeAfterItIsKilled) {
    pid_t holder = StartLockHolder("ZupfariTestLockB");
    ASSERT_GT(holder, 0);
    {
        platform::InstanceLock refused("ZupfariTestLockB");
        EXPECT_TRUE(refused.HeldElsewhere());
    }
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    platform::InstanceLock after("ZupfariTestLockB");
    EXPECT_TRUE(after.Acquired());
    EXPECT_FALSE(after.HeldElsewhere());
}

TEST(InstanceLock, LivesInTheRuntimeFolder) {
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/nonexistent-runtime");
    EXPECT_EQ(platform::InstanceLock::LockPath("ZupfariBS").rfind("/tmp/ZupfariBS-", 0), 0u);
}

TEST(DataFolder, FirstCallCreatesZupfariDemoAndListen) {
    TempFolder temp;
    ScopedEnv xdg("XDG_DATA_HOME", temp.Path() + "share");
    std::string path;
    EXPECT_TRUE(platform::FindDataFolder(path));
    EXPECT_EQ(path, temp.Path() + "share/ZupfariDemo/");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path)).isDir());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path + "Listen")).isDir());
    // A second call finds what the first made.
    std::string again;
    EXPECT_TRUE(platform::FindDataFolder(again));
    EXPECT_EQ(again, path);
}

TEST(DataFolder, DefaultsToLocalShareInHome) {
    TempFolder temp;
    ScopedEnv home("HOME", temp.Path() + "home");
    ScopedEnv xdg("XDG_DATA_HOME", "relative/is/ignored");
    EXPECT_EQ(platform::ApplicationDataFolder(), temp.Path() + "home/.local/share/");
    std::string path;
    EXPECT_TRUE(platform::FindDataFolder(path));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path + "Listen")).isDir());
}

TEST(DataFolder, FailsWhenTheFolderCannotBeMade) {
    TempFolder temp;
    std::string blocker = temp.Write("blocker", "a file, not a folder");
    ScopedEnv xdg("XDG_DATA_HOME", blocker + "/share");
    std::string path;
    EXPECT_FALSE(platform::FindDataFolder(path));

    // The application folder exists but ZupfariDemo is taken by a file.
    temp.Write("share2/ZupfariDemo", "in the way");
    ScopedEnv xdg2("XDG_DATA_HOME", temp.Path() + "share2");
    EXPECT_FALSE(platform::FindDataFolder(path));
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable) {
    std::string folder = platform::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder + "platform_core_tests")).exists());
}

TEST(Drives, MountPointAndType) {
    EXPECT_EQ(platform::DriveOf("/proc/self/status"), "/proc/");
    EXPECT_EQ(platform::GetDriveType("/proc"), platform::DRIVE_FIXED);
    EXPECT_EQ(platform::GetDriveType("/no/such/folder"), platform::DRIVE_NO_ROOT_DIR);
    std::string drive = platform::DriveOf(platform::ProgramFolder());
    EXPECT_EQ(drive.back(), '/');
    EXPECT_EQ(platform::ProgramFolder().rfind(drive, 0), 0u);
}

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(platform::ToAnsi(platform::FromAnsi(all)), all);
}

TEST(Cp1252, GermanLettersAndTheEuroSign) {
    QString text = QString::fromUtf8("äöüÄÖÜß € „Übung“ – …");
    std::string bytes = platform::ToAnsi(text);
    EXPECT_EQ(bytes, "\xE4\xF6\xFC\xC4\xD6\xDC\xDF \x80 \x84\xDC" "bung\x93 \x96 \x85");
    EXPECT_EQ(platform::FromAnsi(bytes), text);
    EXPECT_EQ(platform::ToAnsi(QString::fromUtf8("Ω")), "?");
}

TEST(Clock, StepsInMillisecondsAndSystemTimeIsUtc) {
    std::uint32_t before = platform::timeGetTime();
    platform::Sleep(30);
    std::uint32_t elapsed = platform::timeGetTime() - before;
    EXPECT_GE(elapsed, 30u);

    QDateTime utc = QDateTime::currentDateTimeUtc();
    platform::SystemTime now = platform::GetSystemTime();
    QDateTime reported(QDate(now.wYear, now.wMonth, now.wDay),
                       QTime(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds), Qt::UTC);
    EXPECT_LE(std::abs(reported.secsTo(utc)), 2);
    EXPECT_EQ(now.wDayOfWeek, reported.date().dayOfWeek() % 7);
}

namespace {
class Recorder : public platform::DesktopOpener {
public:
    bool Open(const QString& target) override {
        opened.push_back(target);
        return true;
    }
    std::vector<QString> opened;
};
} // namespace

TEST(Shell, TestsReplaceTheDesktopWithARecorder) {
    Recorder recorder;
    platform::SetDesktopOpener(&recorder);
    EXPECT_TRUE(platform::ShellOpen("https://www.zupfari.de/"));
    EXPECT_TRUE(platform::ShellOpen("/opt/zupfari/Hilfe.chm"));
    EXPECT_FALSE(platform::ShellOpen("  "));
    EXPECT_EQ(platform::SetDesktopOpener(nullptr), &recorder);
    ASSERT_EQ(recorder.opened.size(), 2u);
    EXPECT_EQ(recorder.opened[0], "https://www.zupfari.de/");
}
