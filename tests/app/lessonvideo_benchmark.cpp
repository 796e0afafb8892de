// Figures of the lesson videos in the main window (run by hand, prints only):
// for a fretboard video (mostly still pictures) and a strumming video (the
// hand always moving), the time from the start of the accompaniment to the
// first picture, and the processor time the program takes while the video
// and its accompaniment play through "MIDI Log".
//   build/tests/lessonvideo_benchmark
#include "tests/app/benchmarkloop.h"
#include "tests/app/shellfixture.h"

#include "sequenzor/sequenzor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

namespace shelltest {
namespace {

class LessonVideoBenchmark : public ShellTest {};

TEST_F(LessonVideoBenchmark, FirstPictureAfterTheAccompanimentAndCpuWhilePlaying) {
    const std::string log = dataHome_.Path() + "midi.log";
    setenv("MXMIDI_LOG", log.c_str(), 1);
    CreateWindows();
    ShowMainWindow();
    form_->Timer2Timer(nullptr);
    ASSERT_NE(MidiInitWin(QCoreApplication::instance()), 0);
    char logName[32] = "MIDI Log";
    ASSERT_NE(MidiSetDeviceByName(logName), 0);
    bool frame = false;
    form_->Video->Player().OnFirstFrame = [&] { frame = true; };
    for (const char* name : {"lektion7\\Video2", "lektion17\\Video1"}) {
        const std::string base = form_->Places->ProgramFolder + name;
        frame = false;
        const double cpu0 = CpuSeconds();
        QElapsedTimer clock;
        clock.start();
        // The accompaniment starts inside PlayVideo, just before the video.
        form_->PlayVideo(base + ".avi", base + ".mid", platform::Rect(0, 0, 192, 144), 100, 120, form_->VideoPanel);
        const double started = double(clock.nsecsElapsed()) / 1e6;
        RunEvents(10000, [&] { return frame; });
        const double firstPicture = double(clock.nsecsElapsed()) / 1e6;
        ASSERT_TRUE(frame) << name;
        RunEvents(30000, [&] { return !form_->Video->Playing; });
        const double seconds = double(clock.elapsed()) / 1000.0;
        const double cpu = CpuSeconds() - cpu0;
        std::printf("%s: PlayVideo returned after %.0f ms, first picture %.0f ms after the call; "
                    "%.2f s processor time in %.2f s = %.0f %% of one core\n",
                    name, started, firstPicture, cpu, seconds, 100.0 * cpu / seconds);
    }
    MidiStop();
    unsetenv("MXMIDI_LOG");
}

} // namespace
} // namespace shelltest
