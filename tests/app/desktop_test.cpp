// The real program on a desktop (a virtual X server of its own): the start
// screen is drawn and stays until the main window comes; a box held open
// during construction, or damaged skins, still lead to a working main window
// with its start question and greeting; after the end a new start works.

#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>
#include <cstdint>
#include <memory>

namespace {

using testsupport::BinFolder;
using testsupport::TempFolder;

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// A virtual X server on a free display whose screen is readable as a file.
class VirtualDesktop {
public:
    bool Start() {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty()) return false;
        for (int attempt = 0; attempt < 20; ++attempt) {
            const int display = 100 + int(QRandomGenerator::global()->bounded(400));
            if (QFileInfo::exists(QString("/tmp/.X11-unix/X%1").arg(display)) ||
                QFileInfo::exists(QString("/tmp/.X%1-lock").arg(display)))
                continue;
            server_.start(xvfb, {QString(":%1").arg(display), "-screen", "0",
                                 QString("%1x%2x24").arg(kScreenWidth).arg(kScreenHeight),
                                 "-fbdir", frame_.QPath(), "-nolisten", "tcp", "-br"});
            if (!server_.waitForStarted()) return false;
            for (int i = 0; i < 400 && server_.state() == QProcess::Running; ++i) {
                if (QFileInfo::exists(QString("/tmp/.X11-unix/X%1").arg(display)) &&
                    QFileInfo::exists(frame_.QPath() + "Xvfb_screen0")) {
                    display_ = QString(":%1").arg(display);
                    return OpenFrame();
                }
                QThread::msleep(50);
            }
            server_.kill();
            server_.waitForFinished();
        }
        return false;
    }
    ~VirtualDesktop() {
        server_.terminate();
        if (!server_.waitForFinished(3000)) server_.kill();
        server_.waitForFinished();
    }
    QString Display() const { return display_; }

    // True when the pixel is not the black of the empty screen.
    bool Lit(int x, int y) {
        std::uint32_t pixel = 0;
        frame_file_.seek(dataOffset_ + qint64(y) * bytesPerLine_ + qint64(x) * 4);
        if (frame_file_.read(reinterpret_cast<char*>(&pixel), 4) != 4) return false;
        return (pixel & 0x00FFFFFF) != 0;
    }

private:
    static std::uint32_t BigEndian(const QByteArray& bytes, int field) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + field * 4;
        return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
    }
    // The screen file is an X window dump: a header, a colour map, then the
    // pixels, 32 bits each.
    bool OpenFrame() {
        frame_file_.setFileName(frame_.QPath() + "Xvfb_screen0");
        if (!frame_file_.open(QIODevice::ReadOnly)) return false;
        const QByteArray header = frame_file_.read(100);
        const std::uint32_t headerSize = BigEndian(header, 0);
        const std::uint32_t colours = BigEndian(header, 19);
        bytesPerLine_ = BigEndian(header, 12);
        dataOffset_ = headerSize + colours * 12;
        return BigEndian(header, 11) == 32;
    }

    TempFolder frame_;
    QProcess server_;
    QFile frame_file_;
    QString display_;
    qint64 dataOffset_ = 0;
    qint64 bytesPerLine_ = 0;
};

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!desktop_.Start()) GTEST_SKIP() << "no virtual X server";
    }
    void Prepare(QProcess& program, const QString& path, const QStringList& extra = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", desktop_.Display());
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_DATA_HOME", data_.QPath());
        env.insert("XDG_RUNTIME_DIR", runtime_.QPath());
        env.insert("SPRACHBANK_LANGUAGE", "0");
        env.insert("ZUPFARI_TIMING", "1");
        env.insert("ZUPFARI_AUTOANSWER", "200:2");
        for (const QString& setting : extra)
            env.insert(setting.section('=', 0, 0), setting.section('=', 1));
        program.setProcessEnvironment(env);
        program.setProgram(path);
    }
    // Reads the program's reports until `line` has come (or the program ends).
    bool WaitFor(QProcess& program, const QByteArray& line, QByteArray& report, int ms = 30000) {
        QElapsedTimer waited;
        waited.start();
        program.waitForStarted();
        while (!report.contains(line) && waited.elapsed() < ms) {
            if (program.state() != QProcess::Running) break;
            program.waitForReadyRead(50);
            report += program.readAllStandardError();
        }
        report += program.readAllStandardError();
        return report.contains(line);
    }
    static void End(QProcess& program) {
        program.terminate();
        if (!program.waitForFinished(5000)) program.kill();
        program.waitForFinished();
    }
    QString Program() const { return QString::fromStdString(BinFolder()) + "ZupfariBasis"; }

    // A program folder of links to the build's, the program file copied, with
    // the given content files replaced by `damaged` bytes.
    QString ProgramWith(const TempFolder& folder, const QStringList& replaced,
                        const QByteArray& damaged) {
        const QString bin = QString::fromStdString(BinFolder());
        Mirror(bin, folder.QPath(), "", replaced);
        for (const QString& name : replaced) {
            QFile file(folder.QPath() + name);
            if (file.open(QIODevice::WriteOnly)) file.write(damaged);
        }
        QFile::remove(folder.QPath() + "ZupfariBasis");
        QFile::copy(bin + "ZupfariBasis", folder.QPath() + "ZupfariBasis");
        return folder.QPath() + "ZupfariBasis";
    }
    static void Mirror(const QString& source, const QString& target, const QString& relative,
                       const QStringList& replaced) {
        QDir().mkpath(target + relative);
        for (const QFileInfo& entry :
             QDir(source + relative).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            const QString name = relative + entry.fileName();
            if (replaced.contains(name)) continue;
            bool descend = false;
            for (const QString& r : replaced)
                if (r.startsWith(name + "/")) descend = true;
            if (descend)
                Mirror(source, target, name + "/", replaced);
            else
                QFile::link(entry.absoluteFilePath(), target + name);
        }
    }

    VirtualDesktop desktop_;
    TempFolder data_, runtime_;
};

// The start screen (480 x 320) and the main window (800 x 600) are both
// centred: the screen's middle is the start screen's, a point 380 pixels
// left of it only the main window's.
TEST_F(DesktopTest, TheStartScreenIsDrawnAndStaysUntilTheMainWindowComes) {
    QProcess program;
    Prepare(program, Program());
    QElapsedTimer clock;
    clock.start();
    program.start();
    ASSERT_TRUE(program.waitForStarted());
    qint64 startScreenSeen = -1, mainWindowSeen = -1, lastStartScreen = -1;
    while (clock.elapsed() < 30000 && mainWindowSeen < 0) {
        const bool middle = desktop_.Lit(kScreenWidth / 2, kScreenHeight / 2);
        const bool side = desktop_.Lit(kScreenWidth / 2 - 380, kScreenHeight / 2);
        if (middle && !side) {
            if (startScreenSeen < 0) startScreenSeen = clock.elapsed();
            lastStartScreen = clock.elapsed();
        }
        if (side) mainWindowSeen = clock.elapsed();
        QThread::msleep(5);
    }
    QByteArray report = program.readAllStandardError();
    ASSERT_GE(startScreenSeen, 0) << report.constData();
    ASSERT_GE(mainWindowSeen, 0) << report.constData();
    std::printf("start screen drawn after %lld ms, seen for %lld ms, main window at %lld ms\n",
                startScreenSeen, lastStartScreen - startScreenSeen, mainWindowSeen);
    // Its three seconds, give or take the sampling.
    EXPECT_GE(lastStartScreen - startScreenSeen, 2500);
    EXPECT_TRUE(WaitFor(program, "ZUPFARI-TIME greeting", report)) << report.constData();
    End(program);

    // The lock went with the process: the next start comes up.
    QProcess again;
    Prepare(again, Program());
    again.start();
    QByteArray second;
    EXPECT_TRUE(WaitFor(again, "ZUPFARI-TIME startscreen", second)) << second.constData();
    End(again);
}

TEST_F(DesktopTest, ABoxHeldOpenDuringConstructionStillLeadsToQuestionAndGreeting) {
    TempFolder folder;
    const QString path = ProgramWith(folder, {"Bilder/hintergrund.jpg"}, "\xFF\xD8 damaged");
    QProcess program;
    Prepare(program, path, {"ZUPFARI_BOXWAIT_MS=3500"});
    program.start();
    QByteArray report;
    ASSERT_TRUE(WaitFor(program, "ZUPFARI-TIME greeting", report, 60000)) << report.constData();
    const int box = report.indexOf("ZUPFARI-BOX  | Fehler beim");
    const int window = report.indexOf("ZUPFARI-TIME mainwindow");
    // The program speaks German here (see Prepare); so does the expected text.
    const testsupport::ScopedEnv german("SPRACHBANK_LANGUAGE", "0");
    const QByteArray question =
        "ZUPFARI-BOX " + platform::FromAnsi(DLL_GetMessage(4)).toUtf8() + " |";
    const int asked = report.indexOf(question);
    EXPECT_GE(box, 0) << report.constData();
    EXPECT_GT(window, box) << report.constData();
    EXPECT_GT(asked, window) << report.constData();
    End(program);
}

TEST_F(DesktopTest, DamagedSkinsLeadToAWorkingMainWindowAndANewStartIsPossible) {
    TempFolder folder;
    const QString path = ProgramWith(folder, {"Screen/StartScreen.zs1", "lektionY/MainWin.zs1"},
                                     "0\r\n$L\r\nTAG1\r\nkeine Zahl\r\n5\r\nArial\r\n10\r\n5\r\n0\r\nText\r\n");
    QProcess program;
    Prepare(program, path);
    program.start();
    QByteArray report;
    ASSERT_TRUE(WaitFor(program, "ZUPFARI-TIME mainwindow", report)) << report.constData();
    // The greeting's error is shown after the start question; the program
    // lives on and still answers.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1500) {
        program.waitForReadyRead(50);
        report += program.readAllStandardError();
    }
    EXPECT_EQ(program.state(), QProcess::Running) << report.constData();
    EXPECT_GE(report.count("ZUPFARI-BOX "), 3) << report.constData(); // two errors, question
    EXPECT_TRUE(desktop_.Lit(kScreenWidth / 2 - 380, kScreenHeight / 2));
    End(program);

    QProcess again;
    Prepare(again, path);
    again.start();
    QByteArray second;
    EXPECT_TRUE(WaitFor(again, "ZUPFARI-TIME mainwindow", second)) << second.constData();
    End(again);
}

} // namespace
