// Two looks at opening lessons with the real main window, run by hand:
//   lesson_tool --benchmark          prints the time to open each lesson
//                                    (skin, tint, exercise load) and the median;
//   lesson_tool --screenshot out.png opens lesson 1, puts the point on its
//                                    third beat and saves the whole screen
//                                    (run it under xvfb-run).
// Uses the generated course when the program folder has it, else stand-in
// lessons in a temporary copy. Writes nothing outside temporary folders.

#include "app/fbeenden.h"
#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/shellservices.h"
#include "lessons/registrydata.h"
#include "platform/core/folders.h"
#include "platform/ui/application.h"
#include "tests/lessons/lessonfixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void ProcessEvents(int rounds = 5) {
    for (int i = 0; i < rounds; ++i)
        QCoreApplication::processEvents();
}

// A program folder: the build's own when it holds the course, else links to
// its content plus stand-in lessons.
std::string ProgramFolder(const QTemporaryDir& scratch, bool& standIn) {
    const std::string bin = ZUPFARI_BIN_DIR "/";
    standIn = !lessontest::HasGeneratedCourse(bin);
    if (!standIn) return bin;
    const QString copy = scratch.path() + "/program/";
    QDir().mkpath(copy);
    for (const QFileInfo& entry : QDir(QString::fromStdString(bin))
                                      .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (entry.fileName().startsWith("lektion", Qt::CaseInsensitive) &&
            entry.fileName() != "lektionX" && entry.fileName() != "lektionY")
            continue;
        if (entry.fileName() == "Midi") continue;
        QFile::link(entry.absoluteFilePath(), copy + entry.fileName());
    }
    lessontest::WriteCourse(copy.toStdString());
    return copy.toStdString();
}

app::TForm1* OpenMainWindow(const std::string& programFolder) {
    app::ShellServices services;
    services.ProgramFolder = programFolder;
    auto* form = new app::TForm1(nullptr, services);
    app::Form1 = form;
    app::FBeenden = new app::TFBeenden(nullptr);
    app::MsgWin = new app::TMsgWin(nullptr);
    form->StartScreenTimerTimer(nullptr);
    ProcessEvents();
    return form;
}

void Open(app::TForm1* form, int lesson, int level) {
    form->Lists->CurrentEntry = 0;
    form->Lists->Plan[0] = {lesson, level, 0};
    form->Course->SetCurrentLesson(lesson);
    form->OpenLesson();
}

int Benchmark(app::TForm1* form) {
    constexpr int kRounds = 5;
    std::vector<double> perLesson;
    for (int n = 0; n < lessons::kLessonCount; ++n) {
        std::vector<double> times;
        for (int r = 0; r < kRounds; ++r) {
            QElapsedTimer clock;
            clock.start();
            Open(form, n, 1 + r % lessons::kLevelCount);
            times.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());
        perLesson.push_back(times[kRounds / 2]);
        std::printf("lesson %2d  %7.2f ms\n", n, times[kRounds / 2]);
    }
    std::vector<double> sorted = perLesson;
    std::sort(sorted.begin(), sorted.end());
    std::printf("open a lesson: median %.2f ms, fastest %.2f ms, slowest %.2f ms (30 lessons, "
                "median of %d openings each)\n",
                (sorted[14] + sorted[15]) / 2, sorted.front(), sorted.back(), kRounds);
    return 0;
}

int Screenshot(app::TForm1* form, const QString& path) {
    Open(form, 1, 1);
    ProcessEvents();
    form->PlayCursor->Position = 2; // the third beat
    form->MovePlayPoint(false);
    ProcessEvents();
    QThread::msleep(300);
    ProcessEvents();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    const bool saved = shot.save(path);
    std::printf("point at %d,%d (baseline); screenshot %s: %s\n", form->PlayCursor->PointX,
                form->PlayCursor->PointY, saved ? "saved" : "NOT saved",
                path.toLocal8Bit().constData());
    return saved ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir scratch;
    setenv("XDG_DATA_HOME", (scratch.path() + "/data").toLocal8Bit().constData(), 1);
    setenv("SPRACHBANK_LANGUAGE", "0", 1);
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    const bool screenshot = args.size() >= 3 && args[1] == "--screenshot";
    if (!screenshot && !(args.size() >= 2 && args[1] == "--benchmark")) {
        std::fprintf(stderr, "usage: lesson_tool --benchmark | --screenshot out.png\n");
        return 2;
    }
    bool standIn = false;
    const std::string programFolder = ProgramFolder(scratch, standIn);
    platform::OverrideProgramFolder(programFolder);
    std::printf("%s\n", standIn ? "stand-in lessons (no generated lesson folders yet)"
                                : "generated course");
    platform::SetMessageBoxHook([](const QString&, const QString&, unsigned) { return platform::IDOK; });
    app::TMsgWin::SetAnswerer([](app::TMsgWin&) { return 2; });
    app::TForm1* form = OpenMainWindow(programFolder);
    const int result = screenshot ? Screenshot(form, args[2]) : Benchmark(form);
    delete app::MsgWin;
    delete app::FBeenden;
    delete form;
    app::Form1 = nullptr;
    return result;
}
