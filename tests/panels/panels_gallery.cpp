// Pictures of the four panels of the main window's left column as a learner
// sees them, grabbed from the real main window with the generated course:
//
//   build/tests/panels_gallery OUTDIR        (offscreen, or under Xvfb)
//
// writes OUTDIR/panel-plan.png (three planned lessons), panel-tuner.png (the
// g string chosen), panel-explorer.png (explorer mode, the mouse on lesson
// 3's row), panel-monitor.png (the first lesson with a second picture, given
// two videos here), and window-explorer.png (the whole window in explorer
// mode). The program folder is a copy of links to the build's; the
// learner's lists go to a scratch folder. Run by hand; not part of the suite.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/zupfariapp.h"
#include "layout/screenlayout.h"
#include "platform/core/folders.h"
#include "platform/ui/application.h"
#include "platform/ui/sound.h"
#include "tools/explorer.h"
#include "tools/monitor.h"
#include "tools/tuner.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString outFolder;

void Wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The tool panel's place on the window with a margin of the background.
void Shoot(const QString& name, QRect area = layout::ToolPanel.adjusted(-12, -12, 12, 12)) {
    Wait(300);
    const QPixmap shot = app::Form1->grab(area);
    const QString file = outFolder + "/" + name;
    std::printf("%s %s\n", shot.save(file) ? "wrote" : "FAILED", qPrintable(file));
}

// The first lesson of the course with a second picture.
int LessonWithPictures(const QString& bin) {
    for (int lesson = 0; lesson < 30; ++lesson) {
        const QDir dir(bin + "lektion" + QString::number(lesson));
        if (dir.entryList(QDir::Files).contains("DiaA2.jpg", Qt::CaseInsensitive)) return lesson;
    }
    return 0;
}

// A program folder of links to the build's own, where lesson `lesson` also
// has two videos (the intro video under their names), since the course
// itself has none for the monitor.
void MirrorProgramFolder(const QString& bin, const QString& target, int lesson) {
    const QString lessonFolder = "lektion" + QString::number(lesson);
    for (const QFileInfo& entry : QDir(bin).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry.fileName() != lessonFolder)
            QFile::link(entry.absoluteFilePath(), target + entry.fileName());
    QDir().mkpath(target + lessonFolder);
    for (const QFileInfo& file : QDir(bin + lessonFolder).entryInfoList(QDir::Files))
        QFile::link(file.absoluteFilePath(), target + lessonFolder + "/" + file.fileName());
    for (const char* video : {"/Video1.avi", "/Video2.avi"})
        QFile::link(bin + "lektionX/IntroVideo.avi", target + lessonFolder + video);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: panels_gallery OUTDIR\n");
        return 2;
    }
    QTemporaryDir data, program;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("SPRACHBANK_LANGUAGE", "0");
    QApplication application(argc, argv);
    outFolder = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QDir().mkpath(outFolder);
    const QString bin = QDir(QCoreApplication::applicationDirPath() + "/../bin/").absolutePath() + "/";
    const int monitorLesson = LessonWithPictures(bin);
    MirrorProgramFolder(bin, program.path() + "/", monitorLesson);
    platform::OverrideProgramFolder(program.path().toStdString() + "/");
    app::TMsgWin::SetAnswerer([](app::TMsgWin&) { return 2; });

    platform::Application->SetTitle("Zupfari Basis");
    app::CreateProgramWindows();
    app::TForm1& form = *app::Form1;
    form.StartScreenTimerTimer(nullptr);
    Wait(500);

    // Three lessons in the plan, the second one open.
    const int planned[] = {4, 7, 12};
    for (int slot = 0; slot < 3; ++slot) {
        form.Lists->Plan[slot] = {planned[slot], 3 + slot, 0};
        form.Lists->Waiting[planned[slot]].Lesson = 0;
    }
    form.RefreshPlanPanel();
    form.BVonVorn->Show();
    form.Lists->CurrentEntry = 1;
    form.Course->SetCurrentLesson(7);
    form.OpenLesson();
    Shoot("panel-plan.png");

    form.BStimmClick(nullptr);
    form.Tuner->StringLabels[tools::TunerPanel::StringG]->Click();
    Shoot("panel-tuner.png");
    platform::PlaySound(nullptr, 0);

    form.BExplorerClick(nullptr);
    form.Explorer->RowEnter(3);
    Shoot("panel-explorer.png");
    Shoot("window-explorer.png", form.rect());

    form.BExplorerClick(nullptr); // back to the plan
    form.Course->SetCurrentLesson(monitorLesson);
    std::printf("monitor on lesson %d\n", form.Course->CurrentLesson());
    form.OpenLesson();
    form.BMonitorClick(nullptr);
    Shoot("panel-monitor.png");

    app::TMsgWin::SetAnswerer({});
    platform::OverrideProgramFolder("");
    return 0;
}
