#include "tests/app/transportrun.h"

#include "layout/screenlayout.h"

#include <QDir>
#include <QThread>
#include <QFile>

namespace transportrun {

using testsupport::WaitFor;

std::vector<int> LessonOneNotes() {
    const std::vector<int> line = {40, 40, 40, 40, 45, 45, 45, 45, 50, 50, 50, 50, 55, 59, 64};
    std::vector<int> notes = line;
    notes.insert(notes.end(), line.begin(), line.end());
    return notes;
}

std::vector<LogEvent> ReadMidiLog(const QString& path) {
    std::vector<LogEvent> events;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return events;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.trimmed().split(' ');
        if (parts.size() != 4) continue; // a system-exclusive line
        LogEvent event;
        event.Micros = parts[0].toULongLong();
        event.Status = parts[1].toInt(nullptr, 16);
        event.Data1 = parts[2].toInt(nullptr, 16);
        event.Data2 = parts[3].toInt(nullptr, 16);
        events.push_back(event);
    }
    return events;
}

std::vector<std::vector<LogEvent>> NoteOnsByPass(const std::vector<LogEvent>& events) {
    std::vector<std::vector<LogEvent>> passes;
    bool inExercise = true;
    for (const LogEvent& event : events) {
        if (!event.NoteOn()) continue;
        const bool click = (event.Status & 0x0F) == 9;
        if (click && inExercise) passes.emplace_back();
        inExercise = !click;
        if (passes.empty()) passes.emplace_back();
        passes.back().push_back(event);
    }
    return passes;
}

LessonOneRun::LessonOneRun(const std::string& display, const QString& device)
    : display_(display), pointer_(display) {
    program_.SetEnv("MXMIDI_LOG", MidiLogPath());
    WriteScratchData(device);
}

// The sound device in the settings file; lesson 1 at level 10 with no pass
// played in the first plan slot; lessons 0 and 1 taken from the waiting list.
void LessonOneRun::WriteScratchData(const QString& device) {
    const QString data = program_.DataFolder();
    QDir().mkpath(data + "Listen");
    auto write = [](const QString& path, const QString& text) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(text.toLatin1());
    };
    write(data + "zupfaripref.ini", "[Midi]\r\nSoundcard=" + device + "\r\n");
    write(data + "Listen/ListeUeplan.ztl", "3\r\n1\r\n10\r\n0\r\n-1\r\n1\r\n0\r\n-1\r\n1\r\n0\r\n");
    QString waiting = "3\r\n0\r\n1\r\n0\r\n0\r\n10\r\n0\r\n";
    for (int lesson = 2; lesson < 30; ++lesson)
        waiting += "1\r\n1\r\n0\r\n";
    write(data + "Listen/ListeWarten.ztl", waiting);
}

bool LessonOneRun::Start() {
    if (!pointer_.Ready()) {
        failure_ = "no XTest on the display";
        return false;
    }
    if (!program_.Start("xcb", display_)) {
        failure_ = "the program did not come up: " + program_.Stderr();
        return false;
    }
    // The main window is the viewable window of its fixed size.
    const bool shown = WaitFor([this] {
        for (const QRect& window : pointer_.ViewableWindows())
            if (window.size() == layout::MainWindow) {
                origin_ = window.topLeft();
                return true;
            }
        return false;
    });
    if (!shown) {
        failure_ = "no main window on the display";
        return false;
    }
    if (startBoxes_ > 1) {
        if (!WaitFor([this] { return program_.Stderr().count("ZUPFARI-BOX") >= startBoxes_; })) {
            failure_ = "the start-up's message boxes did not come";
            return false;
        }
        QThread::msleep(400); // answered after 100 ms
    }
    // The plan's first entry; the lesson opens before any later key or
    // click is handled.
    Click(layout::ToolPanel.topLeft() +
          QPoint(layout::PlanSelectLeft + layout::PlanButton.width() / 2,
                 layout::PlanFirstRowTop + layout::PlanButton.height() / 2));
    return true;
}

void LessonOneRun::Click(QPoint inWindow) {
    const QPoint onScreen = origin_ + inWindow;
    pointer_.Click(onScreen.x(), onScreen.y());
}

std::vector<Timing> LessonOneRun::Timings() {
    std::vector<Timing> timings;
    for (const QString& line : program_.Stderr().split('\n')) {
        const QStringList parts = line.trimmed().split(' ');
        if (parts.size() < 3 || parts[0] != "ZUPFARI-TIME") continue;
        Timing timing;
        timing.What = parts[1];
        if (parts.size() == 4) timing.Beat = parts[2].toInt();
        timing.Ms = parts.back().toDouble();
        timings.push_back(timing);
    }
    return timings;
}

int LessonOneRun::Count(const QString& what) {
    int count = 0;
    for (const Timing& timing : Timings())
        count += timing.What == what ? 1 : 0;
    return count;
}

bool LessonOneRun::WaitForCount(const QString& what, int count, int ms) {
    return WaitFor([&] { return Count(what) >= count; }, ms);
}

bool LessonOneRun::PlayOnePass(int ms) {
    const int ready = Count("transport-ready");
    const int started = Count("engine-start");
    if (!Key("F5")) return false;
    return WaitForCount("engine-start", started + 1, 10000) &&
           WaitForCount("transport-ready", ready + 1, ms);
}

} // namespace transportrun
