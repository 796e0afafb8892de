#pragma once
// The test bench of the left column's panels: the real main window on the
// shell's bench, with the lesson-opening, slide and video calls counted, the
// sound layer recording what it was asked to play, and a program folder of
// links that a test may add lesson files to.

#include "app/mainwindow.h"
#include "plan/planpanel.h"
#include "platform/ui/sound.h"
#include "tests/app/shellfixture.h"
#include "tools/explorer.h"
#include "tools/monitor.h"
#include "tools/tuner.h"

#include <memory>
#include <string>
#include <vector>

namespace paneltest {

// A main window that notes the calls into the lesson machinery.
class PanelForm1 : public shelltest::WatchedForm1 {
public:
    using WatchedForm1::WatchedForm1;
    int lessonsOpened = 0;
    struct Video {
        std::string file, midi;
        platform::TRect rect;
        int top, left;
    };
    std::vector<Video> videos;
    std::vector<int> slidesOpened; // CurrentLesson at each OpenSlidesA
    void OpenLesson() override { ++lessonsOpened; }
    void OpenSlidesA() override { slidesOpened.push_back(Course->CurrentLesson()); }
    void PlayVideo(const std::string& file, const std::string& midi, const platform::TRect& rect,
                   int top, int left, platform::TPanel*) override {
        videos.push_back({file, midi, rect, top, left});
    }
};

// Records every start ("<frames> loop|once") and stop of the sound layer.
class SoundRecorder : public platform::SoundOutput {
public:
    void Start(std::shared_ptr<const platform::WaveSound> sound, bool loop) override;
    void Stop() override { events.push_back("stop"); }
    std::vector<std::string> events;
};

// A sound clock that moves only when told to.
class ManualSoundClock : public platform::SoundClock {
public:
    std::uint64_t NowMs() override { return now; }
    void WaitMs(std::uint64_t ms) override { now += ms; }
    std::uint64_t now = 1000;
};

class PanelTest : public shelltest::ShellTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The shell's windows with PanelForm1 as the main window.
    void CreatePanelWindows();
    PanelForm1* Form() const { return static_cast<PanelForm1*>(form_); }
    // What the recorder notes for the program folder's file `relative`
    // (content name with backslashes) played once or looping.
    std::string Played(const std::string& relative, bool loop) const;
    std::string Click() const { return Played("ClickSounds\\Fmaj7.wav", false); }
    // The plan's lessons, slot by slot.
    std::vector<int> PlanLessons() const;
    // Sets the plan to `lessons` (up to three, the rest empty) and refreshes.
    void SetPlan(const std::vector<int>& lessons);

    // Every sound that plays, other than a looping one, has ended.
    void LetSoundsEnd() { clock_.now += 600000; }

    SoundRecorder sound_;
    ManualSoundClock clock_;
};

} // namespace paneltest
