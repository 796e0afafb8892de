// Pictures of the four panels of the main window's left column as a learner
// sees them, grabbed from the real main window with the generated course:
//
//   build/tests/panels_gallery OUTDIR [LANGUAGE]   (offscreen, or under Xvfb)
//
// writes OUTDIR/panel-plan.png (three planned lessons), panel-tuner.png (the
// g string chosen), panel-explorer.png (explorer mode, the mouse on lesson
// 3's row), panel-monitor.png (the first lesson with a second picture, given
// two videos here), and window-explorer.png (the whole window in explorer
// mode). The program folder is a copy of links to the build's; the
// learner's lists go to a scratch folder. Run by hand; not part of the suite.
//
// With PulseAudio installed it also starts a private sound server whose
// microphone hears what paplay plays into its null sink, and shoots the
// tuner listening: panel-tuner-microphone.png (the course's own B string
// tone played 8 cents sharp, the string chosen), panel-tuner-intune.png
// (the A string tone as it is, "automatisch") and panel-tuner-lost.png (the
// microphone gone). LANGUAGE 1 takes the English edition (default 0).

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
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
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

// A private PulseAudio server in `runtime`: a null sink "gallery_null" and a
// microphone "gallery_mic" that hears it. False without PulseAudio.
bool StartSoundServer(const QString& runtime) {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) return false;
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    return QProcess::execute("pulseaudio", {"-n", "--daemonize=yes", "--exit-idle-time=-1",
                                            "--load=module-null-sink sink_name=gallery_null",
                                            "--load=module-native-protocol-unix",
                                            "--load=module-remap-source source_name=gallery_mic "
                                            "master=gallery_null.monitor"}) == 0;
}

// Plays a tone of the course into the microphone, `cents` higher than it
// is: a copy whose header claims a faster sample rate.
void PlayIntoMicrophone(QProcess& player, const QString& bin, const char* tone, double cents) {
    player.kill();
    player.waitForFinished(2000);
    QFile file(bin + "Sounds/" + tone);
    if (!file.open(QIODevice::ReadOnly)) return;
    QByteArray bytes = file.readAll();
    if (bytes.size() < 44) return;
    auto field = [&bytes](int at) {
        return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8 |
               quint32(quint8(bytes[at + 2])) << 16 | quint32(quint8(bytes[at + 3])) << 24;
    };
    auto setField = [&bytes](int at, quint32 value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = char((value >> (8 * i)) & 0xff);
    };
    const double factor = std::pow(2.0, cents / 1200.0);
    setField(24, quint32(std::lround(field(24) * factor))); // frames per second
    setField(28, quint32(std::lround(field(28) * factor))); // bytes per second
    const QString copy = outFolder + "/.tone.wav";
    QFile out(copy);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) return;
    out.close();
    player.start("paplay", {"--device=gallery_null", copy});
}

void ShootMicrophone(app::TForm1& form, const QString& bin) {
    QProcess player;
    tools::TunerPanel& tuner = *form.Tools->Tuner;
    form.BStimmClick(nullptr);
    Wait(300); // the click's sound has ended
    tuner.SwitchMikrofon(true);
    tuner.StringLabels[tools::TunerPanel::StringH]->Click(); // the B string, chosen ...
    tuner.LAusschaltenClick();                               // ... its tone off
    PlayIntoMicrophone(player, bin, "SaiteH.wav", 8);
    Wait(2500);
    Shoot("panel-tuner-microphone.png");
    tuner.LAutomatischClick();
    PlayIntoMicrophone(player, bin, "SaiteA.wav", 0);
    Wait(2500);
    Shoot("panel-tuner-intune.png");
    player.kill();
    player.waitForFinished(2000);
    QProcess::execute("pactl", {"unload-module", "module-remap-source"});
    Wait(1500);
    Shoot("panel-tuner-lost.png");
    tuner.SwitchMikrofon(false);
    QFile::remove(outFolder + "/.tone.wav");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: panels_gallery OUTDIR\n");
        return 2;
    }
    QTemporaryDir data, program, runtime;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("SPRACHBANK_LANGUAGE", argc > 2 && QByteArray(argv[2]) == "1" ? "1" : "0");
    const bool soundServer = StartSoundServer(runtime.path());
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
    form.Tools->Tuner->StringLabels[tools::TunerPanel::StringG]->Click();
    Shoot("panel-tuner.png");
    platform::PlaySound(nullptr, 0);

    form.BExplorerClick(nullptr);
    form.Tools->Explorer->RowEnter(3);
    Shoot("panel-explorer.png");
    Shoot("window-explorer.png", form.rect());

    form.BExplorerClick(nullptr); // back to the plan
    form.Course->SetCurrentLesson(monitorLesson);
    std::printf("monitor on lesson %d\n", form.Course->CurrentLesson());
    form.OpenLesson();
    form.BMonitorClick(nullptr);
    Shoot("panel-monitor.png");

    if (soundServer) {
        ShootMicrophone(form, bin);
        QProcess::execute("pulseaudio", {"-k"});
    } else {
        std::printf("no PulseAudio: no pictures of the tuner listening\n");
    }

    app::TMsgWin::SetAnswerer({});
    platform::OverrideProgramFolder("");
    return 0;
}
