// Pictures of the slide windows and the quiz as a learner sees them, taken
// from the real program windows on a real display (run under Xvfb):
//
//   xvfb-run -s '-screen 0 1024x768x24' build/tests/slides_gallery OUTDIR
//
// writes OUTDIR/slide_a.png (window A with its picture frame and three chord
// pictures), slide_c.png, quiz_ticked.png and quiz_failed.png (the question
// after a wrong answer). Lesson 1's slides and quiz come from a small course
// of its own written into a copy of the program folder, so the pictures do
// not depend on the generated course. Run by hand; not part of the suite.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/shellservices.h"
#include "app/zupfariapp.h"
#include "lessons/quizwin.h"
#include "lessons/slidewindows.h"
#include "platform/core/cp1252.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

QString outFolder;

void Wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Shoot(const QString& name) {
    Wait(300);
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen->grabWindow(0);
    const QString file = outFolder + "/" + name;
    std::printf("%s %s\n", shot.save(file) ? "wrote" : "FAILED", qPrintable(file));
}

// A program folder of links to the build's own, with lesson 1 made here.
void MirrorProgramFolder(const QString& bin, const QString& target) {
    for (const QFileInfo& entry : QDir(bin).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry.fileName() != "lektion1")
            QFile::link(entry.absoluteFilePath(), target + entry.fileName());
    QDir().mkpath(target + "lektion1");
}

void WriteSkin(const QString& file, const std::vector<QString>& lines) {
    std::string bytes;
    for (const QString& line : lines)
        bytes += platform::ToAnsi(line) + "\r\n";
    QFile out(file);
    if (out.open(QIODevice::WriteOnly)) out.write(bytes.data(), qint64(bytes.size()));
}

QString Colour(int r, int g, int b) {
    return QString::number(r | (g << 8) | (b << 16));
}

std::vector<QString> Label(int tag, int x, int y, int size, int style, const QString& colour,
                           const QString& text) {
    std::vector<QString> lines = {"$L"};
    if (tag != 0) lines.push_back("TAG" + QString::number(tag));
    lines.insert(lines.end(), {QString::number(x), QString::number(y), "Arial",
                               QString::number(size), QString::number(style), colour, text});
    return lines;
}

std::vector<QString> Picture(int tag, int x, int y, const QString& file) {
    return {"$I", "TAG" + QString::number(tag), QString::number(x), QString::number(y), file};
}

void Append(std::vector<QString>& to, const std::vector<QString>& lines) {
    to.insert(to.end(), lines.begin(), lines.end());
}

// Paper for the backdrop, a guitar for the slide frame, chord charts.
void PaintPaper(const QString& file) {
    QImage image(660, 568, QImage::Format_RGB32);
    image.fill(QColor(0xFB, 0xF6, 0xEA));
    QPainter p(&image);
    p.setPen(QColor(0xD9, 0xA5, 0x66));
    p.drawRect(0, 0, 659, 567);
    p.end();
    image.save(file, "JPG", 92);
}

void PaintGuitar(const QString& file, int variant) {
    QImage image(192, 144, QImage::Format_RGB32);
    image.fill(variant == 1 ? QColor(0xE8, 0xD8, 0xB8) : QColor(0xC8, 0xDC, 0xE8));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x4A, 0x2F, 0x1B));
    p.setPen(Qt::NoPen);
    p.drawRect(118, 66 + 4 * variant, 70, 14);
    p.setBrush(QColor(0xB0, 0x6A, 0x2E));
    p.setPen(QColor(0x4A, 0x2F, 0x1B));
    p.drawEllipse(QPointF(48, 73 + 4 * variant), 40, 46);
    p.drawEllipse(QPointF(98, 73 + 4 * variant), 28, 34);
    p.setBrush(QColor(0x2A, 0x1A, 0x10));
    p.drawEllipse(QPointF(84, 73 + 4 * variant), 11, 11);
    p.setPen(QColor(0xF0, 0xF0, 0xF0));
    for (int s = 0; s < 6; ++s)
        p.drawLine(QPointF(30, 68 + 4 * variant + s * 2), QPointF(188, 68 + 4 * variant + s * 2));
    p.end();
    image.save(file, "JPG", 92);
}

void PaintChord(const QString& file, const QString& name, const std::vector<QPoint>& dots) {
    QImage image(90, 112, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x3B, 0x2A, 0x1E));
    QFont font("Arial");
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 2, 90, 18), Qt::AlignCenter, name);
    for (int s = 0; s < 6; ++s)
        p.drawLine(15 + s * 12, 26, 15 + s * 12, 102);
    for (int f = 0; f <= 4; ++f)
        p.drawLine(15, 26 + f * 19, 75, 26 + f * 19);
    p.fillRect(15, 24, 61, 3, QColor(0x3B, 0x2A, 0x1E));
    p.setBrush(QColor(0x8B, 0x5A, 0x2B));
    for (const QPoint& dot : dots) // string 0..5 (low E first), fret 1..4
        p.drawEllipse(QPointF(15 + dot.x() * 12, 26 + dot.y() * 19 - 9.5), 5, 5);
    p.end();
    image.save(file, "JPG", 95);
}

void WriteLessonOne(const QString& folder) {
    const QString dir = folder + "lektion1/";
    PaintPaper(dir + "Papier.jpg");
    PaintGuitar(dir + "DiaA1.jpg", 1);
    PaintGuitar(dir + "DiaA2.jpg", 2);
    PaintChord(dir + "Akkord1.jpg", "E-Moll", {{1, 2}, {2, 2}});
    PaintChord(dir + "Akkord2.jpg", "A-Moll", {{2, 2}, {3, 2}, {4, 1}});
    PaintChord(dir + "Akkord3.jpg", "C-Dur", {{1, 3}, {2, 2}, {4, 1}});
    const QString ink = Colour(0x3B, 0x2A, 0x1E), wood = Colour(0x8B, 0x5A, 0x2B);

    std::vector<QString> a = {"1"};
    Append(a, Picture(200, 16, 16, "lektion1\\Papier.jpg"));
    Append(a, {"$S", "TAG240", "16", "16", "660", "64", Colour(0xD9, 0xA5, 0x66), "0"});
    Append(a, Label(0, 40, 34, 18, 1, ink, "Lektion 1: Die ersten Akkorde"));
    Append(a, Label(0, 40, 110, 11, 0, ink,
                    "Halten Sie die Gitarre locker auf dem rechten Oberschenkel.$n"
                    "Die linke Hand greift die Saiten am Hals,$n"
                    "die rechte Hand schlägt sie über dem Schallloch an.$n$n"
                    "Die Bilder rechts zeigen die Haltung;$n"
                    "klicken Sie auf »nächstes Bild«, um weiterzublättern."));
    Append(a, Picture(110, 452, 110, "lektion1\\DiaA1.jpg"));
    Append(a, Label(121, 452, 262, 10, 4, wood, "Bild 1"));
    Append(a, Label(122, 512, 262, 10, 4, wood, "Bild 2"));
    Append(a, Label(120, 572, 262, 10, 5, wood, "nächstes Bild"));
    Append(a, Label(131, 452, 290, 10, 5, wood, "Video: So halten Sie die Gitarre"));
    Append(a, Label(0, 40, 330, 12, 1, ink, "Drei Akkorde zum Anhören (Bild anklicken):"));
    Append(a, Picture(141, 60, 360, "lektion1\\Akkord1.jpg"));
    Append(a, Picture(142, 180, 360, "lektion1\\Akkord2.jpg"));
    Append(a, Picture(143, 300, 360, "lektion1\\Akkord3.jpg"));
    WriteSkin(dir + "WinA.zs1", a);

    std::vector<QString> b = {"1"};
    Append(b, Picture(200, 16, 16, "lektion1\\Papier.jpg"));
    Append(b, Label(0, 40, 40, 18, 1, ink, "Der Anschlag"));
    Append(b, Label(0, 40, 90, 11, 0, ink,
                    "Schlagen Sie die Saiten mit dem Daumen von oben nach unten an."));
    WriteSkin(dir + "WinB.zs1", b);

    std::vector<QString> c = {"1"};
    Append(c, Picture(200, 16, 16, "lektion1\\Papier.jpg"));
    Append(c, {"$S", "TAG260", "40", "420", "612", "120", Colour(0xD9, 0xA5, 0x66), "0"});
    Append(c, Label(0, 40, 40, 18, 1, ink, "Jetzt sind Sie dran"));
    Append(c, Label(0, 40, 90, 11, 0, ink,
                    "Auf dem Übungsbildschirm läuft ein Punkt über die Noten.$n"
                    "Spielen Sie mit, zuerst langsam (Stufe 1), dann immer schneller.$n"
                    "Nach drei Durchgängen auf Stufe 10 wartet die Kontrolle."));
    Append(c, Picture(110, 452, 200, "lektion1\\DiaC1.jpg"));
    Append(c, Label(0, 60, 440, 12, 1, ink, "Tipp:"));
    Append(c,
           Label(0, 60, 464, 11, 0, ink, "Zählen Sie beim Einzählen laut mit: eins, zwei, drei, vier."));
    PaintGuitar(dir + "DiaC1.jpg", 2);
    WriteSkin(dir + "WinC.zs1", c);

    const char* questions[] = {"Wo liegt die Gitarre?", "Womit schlagen Sie an?",
                               "Wie viele Saiten hat die Gitarre?"};
    const char* answers[3][4] = {
        {"auf dem Tisch", "auf dem linken Knie", "unter dem Arm", "auf dem rechten Oberschenkel"},
        {"mit dem Plektrum", "mit der Faust", "mit dem Daumen", "mit dem Bogen"},
        {"vier", "fünf", "sieben", "sechs"}};
    const QPoint corners[] = {{30, 30}, {404, 30}, {30, 304}};
    std::vector<QString> q = {"0"};
    for (int i = 0; i < 3; ++i) {
        Append(q, Label(0, corners[i].x() + 20, corners[i].y() + 22, 12, 1, ink,
                        QString("%1. %2").arg(i + 1).arg(QString::fromUtf8(questions[i]))));
        for (int k = 0; k < 4; ++k)
            Append(q, Label(0, corners[i].x() + 48, corners[i].y() + 68 + 36 * k, 11, 0, ink,
                            QString::fromUtf8(answers[i][k])));
    }
    for (int i = 0; i < 3; ++i) {
        Append(q, {"$C", QString::number(i), "4"});
        for (int k = 0; k < 4; ++k)
            Append(q, {QString::number(corners[i].x() + 26),
                       QString::number(corners[i].y() + 70 + 36 * k)});
    }
    WriteSkin(dir + "Kontrolle.zs1", q);
}

// The skins read their pictures from the folder of the running program, so
// the gallery copies itself into a program folder of its own and runs there.
int RunInCopy(const QString& out) {
    QTemporaryDir data, program;
    const QString bin = QCoreApplication::applicationDirPath() + "/../bin/";
    const QString folder = program.path() + "/";
    MirrorProgramFolder(bin, folder);
    WriteLessonOne(folder);
    QFile::copy(QCoreApplication::applicationFilePath(), folder + "slides_gallery");
    QProcess copy;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data.path());
    env.insert("SPRACHBANK_LANGUAGE", "0");
    env.insert("SLIDES_GALLERY_COPY", "1");
    copy.setProcessEnvironment(env);
    copy.setProcessChannelMode(QProcess::ForwardedChannels);
    copy.start(folder + "slides_gallery", {QFileInfo(out).absoluteFilePath()});
    copy.waitForFinished(120000);
    return copy.exitCode();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: slides_gallery OUTDIR\n");
        return 2;
    }
    QApplication application(argc, argv);
    outFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outFolder);
    if (std::getenv("SLIDES_GALLERY_COPY") == nullptr) return RunInCopy(outFolder);

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
    app::CreateProgramWindows();
    app::Form1->StartScreenTimerTimer(nullptr);
    Wait(500);

    app::Form1->CurrentLesson = 1;
    app::Form1->OpenSlidesA();
    Shoot("slide_a.png");
    lessons::ExtWinA->BNext->Click();
    Wait(100);
    lessons::ExtWinB->BNext->Click();
    Shoot("slide_c.png");

    app::Form1->Lists->ClearIntroMode();
    lessons::ExtWinC->BNext->Click(); // after the slides: the quiz
    lessons::QuizWin->Skin->Group(0)->Box(4)->Click();
    lessons::QuizWin->Skin->Group(1)->Box(2)->Click();
    lessons::QuizWin->Skin->Group(2)->Box(4)->Click();
    Shoot("quiz_ticked.png");
    photographBox = true;
    lessons::QuizWin->BNext->Click();
    Wait(200);

    app::TMsgWin::SetAnswerer({});
    return 0;
}
