// Pictures of the slide windows and the quiz of the generated course as a
// learner sees them, taken from the real program windows on a real display
// (run under Xvfb):
//
//   xvfb-run -a -s '-screen 0 1024x768x24' build/tests/slides_gallery build/gallery
//
// writes into OUTDIR, each the 800 x 600 area of the windows:
//   main.png         the main window after a fresh start (plan panel with
//                    "Neue Übung");
//   slide_a.png      window A of the first lesson whose window A has a
//                    picture frame and chord pictures;
//   slide_a_next.png the same after "next picture";
//   slide_c.png      window C of that lesson;
//   quiz_ticked.png  its quiz with one box ticked per question (the second
//                    one wrong);
//   quiz_failed.png  the question that follows the wrong answer;
//   main_lesson.png  the main window with the lesson in the plan and open;
//   slide_b.png      window B of lesson 6, its second picture chosen by its
//                    number (which is marked).
// The program folder is the build's own; the learner's data go to a scratch
// folder. SPRACHBANK_LANGUAGE=1 shoots the English edition (German unless
// set). Run by hand; not part of the suite.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/shellservices.h"
#include "app/zupfariapp.h"
#include "lessons/quizwin.h"
#include "lessons/registrydata.h"
#include "lessons/slidewindows.h"
#include "platform/core/folders.h"
#include "platform/ui/application.h"
#include "platform/ui/controls.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

QString outFolder;
QString programFolder;

void Wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The windows' 800 x 600 area of the screen.
void Shoot(const QString& name) {
    Wait(300);
    const QRect area = app::Form1->geometry();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                      area.width(), area.height());
    const QString file = outFolder + "/" + name;
    std::printf("%s %s\n", shot.save(file) ? "wrote" : "FAILED", qPrintable(file));
}

QString SkinText(int lesson, const char* name) {
    QFile file(programFolder + QString("lektion%1/%2").arg(lesson).arg(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

// The first lesson whose window A has a picture frame and chord pictures.
int LessonWithChords() {
    for (int lesson = 0; lesson < lessons::kLessonCount; ++lesson) {
        if (lessons::SkipsSlideWindow(lesson, lessons::kSlideA)) continue;
        const QString skin = SkinText(lesson, "WinA.zs1");
        if (skin.contains("TAG110") && skin.contains("TAG141")) return lesson;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: slides_gallery OUTDIR\n");
        return 2;
    }
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("SPRACHBANK_LANGUAGE")) qputenv("SPRACHBANK_LANGUAGE", "0");
    QApplication application(argc, argv);
    // Absolute: the program makes its own folder the current one.
    outFolder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(outFolder);
    programFolder = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../bin") + "/";
    platform::OverrideProgramFolder(programFolder.toStdString()); // where skins find pictures
    const int lesson = LessonWithChords();
    if (lesson < 0) {
        std::fprintf(stderr, "no lesson with chord pictures in %s\n", qPrintable(programFolder));
        return 1;
    }
    std::printf("lesson %d\n", lesson);

    // Boxes are answered "Nein" at once, except the one to be photographed.
    bool photographBox = false;
    app::TMsgWin::SetAnswerer([&photographBox](app::TMsgWin& box) {
        if (!photographBox) return 2;
        photographBox = false;
        QTimer::singleShot(600, &box, [&box] {
            Shoot("quiz_failed.png");
            box.SetModalResult(2);
        });
        return box.TForm::ShowModal();
    });

    platform::Application->SetTitle("Zupfari Basis");
    app::ShellServices services;
    services.ProgramFolder = programFolder.toStdString();
    app::CreateProgramWindows(services);
    app::Form1->StartScreenTimerTimer(nullptr);
    Wait(1500);
    Shoot("main.png");

    // The lesson introduced as "Neue Übung" would (its slides, then the
    // plan), with window A photographed before and after "next picture".
    app::Form1->Course->SetPreviousLesson(app::Form1->Course->CurrentLesson());
    app::Form1->Course->SetCurrentLesson(lesson);
    app::Form1->Lists->SetIntroMode();
    app::Form1->OpenSlidesA();
    Shoot("slide_a.png");
    lessons::ExtWinA->NextSlidePicture(nullptr);
    Shoot("slide_a_next.png");
    lessons::ExtWinA->BNext->Click();
    Wait(100);
    if (lessons::ExtWinB->isVisible()) lessons::ExtWinB->BNext->Click();
    Shoot("slide_c.png");
    lessons::ExtWinC->BNext->Click();
    Shoot("main_lesson.png");

    // Its quiz: question 2 answered wrongly.
    lessons::QuizWin->ShowQuiz();
    const std::array<int, 3> key = lessons::LessonValuesOf(lesson).AnswerKey;
    for (int question = 0; question < 3; ++question) {
        lessons::CheckGroup* group = lessons::QuizWin->Skin->Group(question);
        if (group == nullptr) continue;
        const int box = question == 1 ? key[question] % group->Count() + 1 : key[question];
        group->Box(box)->Click();
    }
    Shoot("quiz_ticked.png");
    photographBox = true;
    lessons::QuizWin->BNext->Click();
    Wait(200);

    // Window B of lesson 6, reached from its window A.
    app::Form1->Course->SetCurrentLesson(6);
    app::Form1->OpenSlidesA();
    lessons::ExtWinA->BNext->Click();
    Wait(100);
    if (lessons::ExtWinB->isVisible()) {
        // A click on the number "2", as the learner gives it.
        for (int i = 0; i < lessons::ExtWinB->ComponentCount(); ++i) {
            auto* label = dynamic_cast<platform::TLabel*>(lessons::ExtWinB->Components(i));
            if (label != nullptr && label->Caption() == "2" && label->OnClick) {
                label->Click();
                break;
            }
        }
        Shoot("slide_b.png");
        lessons::ExtWinB->BCancel->Click();
    }

    app::TMsgWin::SetAnswerer({});
    return 0;
}
