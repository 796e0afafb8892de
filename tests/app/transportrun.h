#pragma once
// Lesson 1 in the real program on an X display, for the transport's real
// runs, its benchmark and its pictures: scratch data that chooses the sound
// device and puts lesson 1 at tempo level 10 first in the practice plan, the
// program started and the lesson opened with a click on its plan entry, the
// keys and clicks that drive the transport, and what the program reports
// under ZUPFARI_TIMING ("engine-start", "point N", "transport-ready") and
// what the device "MIDI Log" wrote.

#include "tests/support/realprogram.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace transportrun {

// Lesson 1's exercise: four beats of count-in clicks, then E, A and D four
// times each and g, h, e and a rest, the line played twice (MIDI notes of the
// open strings).
inline constexpr int kCountInBeats = 4;
std::vector<int> LessonOneNotes();

// One line of the "MIDI Log" file: microseconds since the device opened,
// then the message bytes.
struct LogEvent {
    std::uint64_t Micros = 0;
    int Status = 0, Data1 = 0, Data2 = 0;
    bool NoteOn() const { return (Status & 0xF0) == 0x90 && Data2 > 0; }
};
std::vector<LogEvent> ReadMidiLog(const QString& path);
// The note-ons of a log, one list per pass: a pass starts at a count-in click
// (percussion channel) that follows a note of the exercise, or at the first
// note-on.
std::vector<std::vector<LogEvent>> NoteOnsByPass(const std::vector<LogEvent>& events);

// One "ZUPFARI-TIME <what> [beat] <ms>" line: milliseconds since the process
// started; Beat is the exercise beat of a "point" line, else -1.
struct Timing {
    QString What;
    int Beat = -1;
    double Ms = 0.0;
};

class LessonOneRun {
public:
    // `device` is the name the settings file gives for the MIDI device
    // ("MIDI Log" writes to MidiLogPath()).
    LessonOneRun(const std::string& display, const QString& device);

    // Extra environment for the program (before Start).
    void SetEnv(const QString& name, const QString& value) { program_.SetEnv(name, value); }
    // The message boxes the program shows at start-up before the lesson can
    // be opened (1: the start question).
    void SetStartBoxes(int boxes) { startBoxes_ = boxes; }
    // Starts the program on the display and opens lesson 1 from the plan;
    // false (with the reason in Failure()) when either did not happen.
    bool Start();
    const QString& Failure() const { return failure_; }

    // A click at a point of the main window, and a key.
    void Click(QPoint inWindow);
    bool Key(const char* keysymName) { return pointer_.Key(keysymName); }

    // The timing lines so far, those of one kind, and a wait for the
    // count of one kind to reach `count`.
    std::vector<Timing> Timings();
    int Count(const QString& what);
    bool WaitForCount(const QString& what, int count, int ms);

    // Plays one whole pass with F5: true once the transport is Ready again.
    bool PlayOnePass(int ms = 60000);

    QString MidiLogPath() const { return log_.QPath() + "/midi.log"; }
    testsupport::RealProgram& Program() { return program_; }
    testsupport::XDriver& Pointer() { return pointer_; }
    QPoint WindowOrigin() const { return origin_; }

private:
    void WriteScratchData(const QString& device);

    std::string display_;
    testsupport::TempFolder log_;
    testsupport::RealProgram program_;
    testsupport::XDriver pointer_;
    QPoint origin_;
    QString failure_;
    int startBoxes_ = 1;
};

} // namespace transportrun
