// Pictures of the transport in the real program, taken from the X display it
// runs on (run by hand under Xvfb; the pictures go to build/gallery, or the
// folder given):
//   xvfb-run -a -s '-screen 0 1024x768x24' build/tests/transport_gallery [folder]
// (SPRACHBANK_LANGUAGE=1 for the English edition)
// - transport-countin.png: lesson 1 playing its count-in (the digit left of
//   the point, the LED column still);
// - transport-playing.png: mid-exercise, just after the point moved onto
//   beat 5 (the LED column lit);
// - transport-paused.png: after F6 during the exercise;
// and beside each a "-keys" picture of the transport keys and the LED column,
// twice the size.

#include "tests/app/transportrun.h"

#include "layout/screenlayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace {

using transportrun::LessonOneRun;

// Waits, polling every 2 ms, for the point to reach `beat`.
bool WaitForPoint(LessonOneRun& run, int beat, int ms) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms) {
        for (const transportrun::Timing& timing : run.Timings())
            if (timing.What == "point" && timing.Beat == beat) return true;
        QThread::msleep(2);
    }
    return false;
}

bool Save(const LessonOneRun& run, const QString& folder, const char* name) {
    const QRect window(run.WindowOrigin(), layout::MainWindow);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = folder + "/" + name;
    bool saved = screen.copy(window).save(path);
    // The transport keys and the LED column, twice the size.
    const QRect keys(window.topLeft() + QPoint(440, 20), QSize(360, 240));
    QString zoomed = path;
    zoomed.replace(".png", "-keys.png");
    saved = saved && screen.copy(keys).scaled(keys.size() * 2).save(zoomed);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", path.toUtf8().constData());
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || QGuiApplication::platformName() != "xcb") {
        std::printf("run this under an X server (xvfb-run)\n");
        return 1;
    }
    const QString folder = argc > 1
                               ? QString(argv[1])
                               : QString::fromStdString(testsupport::BinFolder()) + "../gallery";
    QDir().mkpath(folder);

    LessonOneRun run(display, "MIDI Log");
    // The edition of SPRACHBANK_LANGUAGE (German unless set).
    if (const char* language = std::getenv("SPRACHBANK_LANGUAGE")) run.SetEnv("SPRACHBANK_LANGUAGE", language);
    if (!run.Start()) {
        std::printf("%s\n", run.Failure().toUtf8().constData());
        return 1;
    }
    QThread::msleep(1000); // the lesson opens
    bool ok = run.Key("F5") && run.WaitForCount("engine-start", 1, 10000);
    // Second count-in beat: its digit shows.
    QThread::msleep(700);
    ok = ok && Save(run, folder, "transport-countin.png");
    // Just after the point moved: the column has filled and starts to drain.
    ok = ok && WaitForPoint(run, 5, 10000);
    QThread::msleep(20);
    ok = ok && Save(run, folder, "transport-playing.png");
    QThread::msleep(700);
    ok = ok && run.Key("F6");
    QThread::msleep(500);
    ok = ok && Save(run, folder, "transport-paused.png");
    run.Key("F7");
    return ok ? 0 : 1;
}
