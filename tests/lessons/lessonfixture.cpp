#include "tests/lessons/lessonfixture.h"

#include "layout/screenlayout.h"
#include "lessons/registrydata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <set>

namespace lessontest {

namespace {

std::string LessonFolder(const std::string& programFolder, int lesson) {
    return programFolder + "lektion" + std::to_string(lesson) + "/";
}

// Paper with a staff under every line of notation and a note head on every
// beat the cursor can show, at the point's own place.
QImage NotationPicture(int lesson) {
    QImage image(kBackdropWidth, kBackdropHeight, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xEC, 0xD8));
    QPainter painter(&image);
    painter.translate(-kBackdropLeft, -kBackdropTop);
    const playback::CursorGeometry g = lessons::LessonGeometry(lesson, 0);
    const int pointSize = layout::PointBitmap.width();
    std::set<int> rows;
    for (int p = 0; p < std::max(g.BeatCount, 1); ++p) {
        playback::CursorGeometry withHold = g;
        const lessons::HoldRange hold = lessons::MainScreenHold(lesson);
        withHold.HoldFrom = hold.From;
        withHold.HoldTo = hold.To;
        const playback::CursorStep step = playback::ComputeCursorStep(withHold, p);
        if (step.Held) continue;
        rows.insert(step.PointY);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x20, 0x20, 0x20));
        painter.drawEllipse(QRect(step.PointX + 2, step.PointY - pointSize - 14, 10, 8));
    }
    painter.setPen(QColor(0x40, 0x40, 0x40));
    for (int baseline : rows)
        for (int line = 0; line < 5; ++line) {
            const int y = baseline - pointSize - 26 + line * 5;
            painter.drawLine(g.OriginX - 10, y, kBackdropLeft + kBackdropWidth - 20, y);
        }
    painter.end();
    return image;
}

void SaveJpeg(const QImage& image, const std::string& path) {
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    image.save(QString::fromStdString(path), "JPG", 92);
}

std::string Line(const std::string& text) {
    return text + "\r\n";
}

std::string Num(int value) {
    return Line(std::to_string(value));
}

std::string VarLen(unsigned value) {
    std::string bytes(1, char(value & 0x7F));
    while ((value >>= 7) != 0)
        bytes.insert(bytes.begin(), char((value & 0x7F) | 0x80));
    return bytes;
}

std::string Be32(unsigned value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

} // namespace

void WriteBytes(const std::string& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), qint64(bytes.size()));
}

void WriteLessonScreen(const std::string& programFolder, int lesson) {
    const std::string folder = LessonFolder(programFolder, lesson);
    SaveJpeg(NotationPicture(lesson), folder + "Noten.jpg");
    QImage help(24, 24, QImage::Format_RGB32);
    help.fill(QColor(0x30, 0x60, 0xA0));
    SaveJpeg(help, folder + "Hilfe.jpg");
    const std::string name = "lektion" + std::to_string(lesson) + "\\";
    std::string skin = Line(lessons::LessonValuesOf(lesson).Header);
    skin += Line("$I") + Line("TAG200") + Num(kBackdropLeft) + Num(kBackdropTop) +
            Line(name + "Noten.jpg");
    skin += Line("$S") + Line("TAG300") + Num(kCutOutLeft) + Num(kCutOutTop) + Num(40) + Num(20) +
            Num(kCutOutColour) + Num(kCutOutColour);
    skin += Line("$L") + Line("TAG101") + Num(180) + Num(250) + Line("Arial") + Num(12) + Num(1) +
            Num(0) + Line("Lektion " + std::to_string(lesson));
    skin += Line("$I") + Line("TAG405") + Num(690) + Num(250) + Line(name + "Hilfe.jpg");
    WriteBytes(folder + "MainWin.zs1", skin);
}

std::string ExerciseBytes(int beats, int bpm) {
    constexpr unsigned kTicks = 480;
    std::string track;
    const unsigned tempo = 60000000u / unsigned(bpm);
    track += VarLen(0) + "\xFF\x51\x03" + std::string{char(tempo >> 16), char(tempo >> 8), char(tempo)};
    for (int b = 0; b < 4; ++b) // count-in on the percussion channel
        track += VarLen(b == 0 ? 0 : kTicks / 2) + "\x99\x25\x64" + VarLen(kTicks / 2) + "\x89\x25" +
                 std::string(1, '\0');
    for (int b = 0; b < beats; ++b)
        track += VarLen(kTicks / 2) + "\x90\x40\x50" + VarLen(kTicks / 2) + "\x80\x40" +
                 std::string(1, '\0');
    track += VarLen(0) + "\xFF\x2F" + std::string(1, '\0');
    std::string file = "MThd" + Be32(6) + std::string{0, 1, 0, 1} +
                       std::string{char(kTicks >> 8), char(kTicks & 0xFF)};
    file += "MTrk" + Be32(unsigned(track.size())) + track;
    return file;
}

void WriteExercises(const std::string& programFolder, int lesson) {
    const playback::CursorGeometry g = lessons::LessonGeometry(lesson, 0);
    for (int level = 1; level <= lessons::kLevelCount; ++level)
        WriteBytes(programFolder + "Midi/uebung" + std::to_string(lesson) + "_" +
                       std::to_string(level) + ".mid",
                   ExerciseBytes(g.BeatCount, lessons::LessonTempo(lesson, level, 0)));
}

void WriteCourse(const std::string& programFolder) {
    for (int n = 0; n < lessons::kLessonCount; ++n) {
        WriteLessonScreen(programFolder, n);
        WriteExercises(programFolder, n);
    }
}

bool HasGeneratedCourse(const std::string& programFolder) {
    QString base = QString::fromStdString(programFolder);
    if (!base.endsWith('/')) base += '/';
    for (int n = 0; n < lessons::kLessonCount; ++n) {
        if (!QFileInfo::exists(base + QString("lektion%1/MainWin.zs1").arg(n))) return false;
        for (int level = 1; level <= lessons::kLevelCount; ++level)
            if (!QFileInfo::exists(base + QString("Midi/uebung%1_%2.mid").arg(n).arg(level)))
                return false;
    }
    return true;
}

std::vector<std::string> CourseFolders() {
    std::vector<std::string> folders = {"Midi"};
    for (int n = 0; n < lessons::kLessonCount; ++n)
        folders.push_back("lektion" + std::to_string(n));
    return folders;
}

} // namespace lessontest
