// The transport on the real main window with stand-in lesson content and a
// fake engine whose beat counter the test moves: Play with its pre-roll, the
// poll, the end of a pass, Pause, Stop, Loop, bars, the locator, the tempo
// bar and the passes that count toward the quiz.

#include "app/mainwindow.h"
#include "lessons/registrydata.h"
#include "playback/beatdisplay.h"
#include "playback/exerciseengine.h"
#include "tests/app/shellfixture.h"
#include "tests/lessons/lessonfixture.h"

#include <gtest/gtest.h>

namespace shelltest {
namespace {

using namespace platform;

// An engine that plays nothing: the test sets its beat counter and status.
class FakeEngine : public playback::ExerciseEngine {
public:
    std::vector<std::string> loads;
    std::vector<int> starts;
    int beats = 0;
    int status = 2;
    bool failLoad = false;

    int LoadFile(const std::string& path) override {
        loads.push_back(path);
        return failLoad ? 0 : 1;
    }
    int Start(int start) override {
        starts.push_back(start);
        beats = start / 8;
        status = 1;
        return 1;
    }
    int Pause() override {
        status = 3;
        return beats;
    }
    int Stop() override {
        status = 2;
        return 1;
    }
    bool IsRunning() override { return status == 1; }
    int Status() override { return status; }
    int Beats() override { return beats; }
};

// A main window whose transport is the real one (unlike the shell tests'
// watched window).
class TransportForm : public app::TForm1 {
public:
    using TForm1::TForm1;
};

class TransportTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        std::vector<std::string> own = {"Midi"};
        for (int n = 0; n < lessons::kLessonCount; ++n)
            own.push_back("lektion" + std::to_string(n));
        UseProgramFolderWithout(own);
        folder_ = programCopy_->Path();
    }

    // Opens `lesson` at `level` on a main window driven by the fake engine;
    // the pre-roll runs on a clock that moves only when it waits.
    void Open(int lesson, int level, int playCount = 0) {
        lessontest::WriteLessonScreen(folder_, lesson);
        lessontest::WriteExercises(folder_, lesson);
        CreateTransportWindows();
        form_->Lists->CurrentEntry = 0;
        form_->Lists->Plan[0] = {lesson, level, playCount};
        form_->CurrentLesson = lesson;
        form_->OpenLesson();
    }

    void CreateTransportWindows();

    // The poll with the engine at `beats`.
    void PollAt(int beats) {
        engine_->beats = beats;
        form_->TimerPC1Timer(form_->TimerPC1);
    }
    // Plays one whole pass: count-in, every beat, then the end.
    void PlayToEnd() {
        const int countIn = form_->CountInBeats;
        const int total = form_->LoopRecord.TotalBeats;
        for (int b = 0; b <= countIn + total - 1; ++b) PollAt(b);
        engine_->status = 2;
        PollAt(countIn + total);
    }

    FakeEngine* engine_ = nullptr;
    std::string folder_;
};

}  // namespace
}  // namespace shelltest
