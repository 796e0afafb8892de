// Start-up figures of the real program (run by hand): the time from the
// process start to the start screen being shown, and to the main window
// being shown after the start screen's three seconds. Each run gets fresh
// data and runtime folders, so each is a learner's first start.

#include <QCoreApplication>
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
bool RunOnce(std::map<QString, double>& times) {
    QTemporaryDir data, runtime;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data.path());
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("ZUPFARI_TIMING", "1");
    env.insert("ZUPFARI_AUTOANSWER", "600000:2");
    if (!env.contains("QT_QPA_PLATFORM")) env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(QString(ZUPFARI_BIN_DIR) + "/ZupfariBasis", {});
    if (!program.waitForStarted()) return false;
    QByteArray err;
    while (!err.contains("ZUPFARI-TIME mainwindow") && program.state() == QProcess::Running) {
        program.waitForReadyRead(100);
        err += program.readAllStandardError();
    }
    program.kill();
    program.waitForFinished();
    for (const QByteArray& line : err.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3 && parts[0] == "ZUPFARI-TIME") times[parts[1]] = parts[2].toDouble();
    }
    return times.count("mainwindow") == 1;
}

void Print(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("%-40s min %8.1f ms  median %8.1f ms  max %8.1f ms\n", what, values.front(),
                values[values.size() / 2], values.back());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::vector<double> startScreen, mainWindow;
    for (int i = 0; i < kRuns; ++i) {
        std::map<QString, double> times;
        if (!RunOnce(times)) {
            std::fprintf(stderr, "run %d: the program did not report its windows\n", i + 1);
            return 1;
        }
        startScreen.push_back(times["startscreen"]);
        mainWindow.push_back(times["mainwindow"]);
    }
    std::printf("%d first starts of ZupfariBasis\n", kRuns);
    Print("process start -> start screen shown", startScreen);
    Print("process start -> main window shown", mainWindow);
    std::vector<double> after;
    for (int i = 0; i < kRuns; ++i)
        after.push_back(mainWindow[i] - startScreen[i]);
    Print("start screen -> main window (timer 3 s)", after);
    return 0;
}
