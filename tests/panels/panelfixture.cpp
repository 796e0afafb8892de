#include "tests/panels/panelfixture.h"

#include "platform/core/files.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/wavefile.h"

namespace paneltest {

void SoundRecorder::Start(std::shared_ptr<const platform::WaveSound> sound, bool loop) {
    events.push_back(std::to_string(sound->FrameCount()) + (loop ? " loop" : " once"));
}

void PanelTest::SetUp() {
    ShellTest::SetUp();
    platform::SetSoundClock(&clock_);
    platform::SetSoundOutput(&sound_);
}

void PanelTest::TearDown() {
    ShellTest::TearDown();
    platform::PlaySound(nullptr, 0);
    platform::SetSoundOutput(nullptr);
    platform::SetSoundClock(nullptr);
}

void PanelTest::CreatePanelWindows() {
    form_ = new PanelForm1(nullptr, services_);
    app::Form1 = form_;
    app::FBeenden = new app::TFBeenden(nullptr);
    app::MsgWin = new app::TMsgWin(nullptr);
    sound_.events.clear();
}

std::string PanelTest::Played(const std::string& relative, bool loop) const {
    const std::string path = platform::ResolveAnsiPath(form_->Places->ProgramFolder + relative);
    const auto bytes = platform::ReadFileBytes(path);
    if (!bytes) return "<no " + relative + ">";
    const auto wave = platform::ParseWave(*bytes);
    if (!wave) return "<bad " + relative + ">";
    return std::to_string(wave->FrameCount()) + (loop ? " loop" : " once");
}

std::vector<int> PanelTest::PlanLessons() const {
    std::vector<int> lessons;
    for (const plan::ListEntry& entry : form_->Lists->Plan)
        lessons.push_back(entry.Lesson);
    return lessons;
}

void PanelTest::SetPlan(const std::vector<int>& lessons) {
    for (int slot = 0; slot < 3; ++slot) {
        const int lesson = slot < int(lessons.size()) ? lessons[slot] : -1;
        form_->Lists->Plan[slot] = plan::ListEntry{lesson, 1, 0};
        if (lesson >= 0) form_->Lists->Waiting[lesson].Lesson = 0;
    }
    form_->RefreshPlanPanel();
}

} // namespace paneltest
