// Start-up figures of the real program (run by hand, under an X server such
// as xvfb-run, or offscreen without one): the time from the process start to
// the start screen drawn, to the main window shown after the start screen's
// three seconds, and to the greeting. Each run gets fresh data and runtime
// folders, so each is a learner's first start. The runs are made once with
// the sound font the program finds by itself and once with each font named
// on the command line (ZUPFARI_SOUNDFONT), e.g.
//   xvfb-run -s '-screen 0 1024x768x24' build/tests/startup_benchmark \
//       /usr/share/sounds/sf2/FluidR3_GM.sf2 /usr/share/sounds/sf2/TimGM6mb.sf2

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr int kRuns = 5;

// One start; fills `times` with the reported milliseconds by name.
bool RunOnce(const QString& soundFont, std::map<QString, double>& times) {
    QTemporaryDir data, runtime;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data.path());
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("ZUPFARI_TIMING", "1");
    env.insert("ZUPFARI_AUTOANSWER", "0:2");
    if (!soundFont.isEmpty()) env.insert("ZUPFARI_SOUNDFONT", soundFont);
    if (!env.contains("QT_QPA_PLATFORM"))
        env.insert("QT_QPA_PLATFORM", env.contains("DISPLAY") ? "xcb" : "offscreen");
    program.setProcessEnvironment(env);
    program.start(QString(ZUPFARI_BIN_DIR) + "/ZupfariBasis", {});
    if (!program.waitForStarted()) return false;
    QByteArray err;
    while (!err.contains("ZUPFARI-TIME greeting") && program.state() == QProcess::Running) {
        program.waitForReadyRead(100);
        err += program.readAllStandardError();
    }
    program.kill();
    program.waitForFinished();
    for (const QByteArray& line : err.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3 && parts[0] == "ZUPFARI-TIME") times[parts[1]] = parts[2].toDouble();
    }
    return times.count("greeting") == 1;
}

void Print(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("  %-42s min %8.1f ms  median %8.1f ms  max %8.1f ms\n", what, values.front(),
                values[values.size() / 2], values.back());
}

bool Measure(const QString& soundFont) {
    std::vector<double> startScreen, mainWindow, greeting, shown;
    for (int i = 0; i < kRuns; ++i) {
        std::map<QString, double> times;
        if (!RunOnce(soundFont, times)) {
            std::fprintf(stderr, "run %d: the program did not report its windows\n", i + 1);
            return false;
        }
        startScreen.push_back(times["startscreen"]);
        mainWindow.push_back(times["mainwindow"]);
        greeting.push_back(times["greeting"]);
        shown.push_back(times["mainwindow"] - times["startscreen"]);
    }
    const qint64 size = soundFont.isEmpty() ? 0 : QFileInfo(soundFont).size();
    std::printf("%d first starts, sound font %s%s\n", kRuns,
                soundFont.isEmpty() ? "found by the program" : qPrintable(soundFont),
                size > 0 ? qPrintable(QString(" (%1 MB)").arg(size / 1000000)) : "");
    Print("process start -> start screen drawn", startScreen);
    Print("process start -> main window shown", mainWindow);
    Print("process start -> greeting ready", greeting);
    Print("start screen on screen (timer 3 s)", shown);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::printf("display: %s\n", qEnvironmentVariableIsSet("DISPLAY")
                                     ? qPrintable(qEnvironmentVariable("DISPLAY"))
                                     : "none (offscreen)");
    bool ok = Measure(QString());
    for (int i = 1; i < argc; ++i)
        ok = Measure(QString::fromLocal8Bit(argv[i])) && ok;
    return ok ? 0 : 1;
}
