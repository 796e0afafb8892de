// Entry of every test program: a private home folder, a headless Qt
// application, then GoogleTest.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QTemporaryDir home(QDir::tempPath() + "/zupfari-home-XXXXXX");
    QByteArray homePath = home.path().toLocal8Bit();
    QDir(home.path()).mkpath(".local/share");
    QDir(home.path()).mkpath("run");
    QFile::setPermissions(home.path() + "/run",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("HOME", homePath.constData(), 1);
    setenv("XDG_DATA_HOME", (homePath + "/.local/share").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (homePath + "/run").constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Videos through GStreamer: the FFmpeg backend crashes without a sound server.
    setenv("QT_MEDIA_BACKEND", "gstreamer", 0);

    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
