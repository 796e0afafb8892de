#include "app/videodesk.h"

#include "app/msgwin.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/exceptions.h"

namespace app {

using namespace platform;

namespace {
constexpr int kIntroDelayMs = 500;
}

VideoDesk::VideoDesk(MainWindowLook& look, TForm* window, std::string programFolder, Hooks hooks)
    : look_(look), programFolder_(std::move(programFolder)), hooks_(std::move(hooks)) {
    Delay = new TTimer(window);
    Delay->SetEnabled(false);
    Delay->SetInterval(kIntroDelayMs);
}

void VideoDesk::ChooseVideo(bool courseGoesOn) {
    Path = programFolder_ + (courseGoesOn ? "lektionX\\IntroVideo.avi" : "lektionX\\FinalVideo.avi");
}

bool VideoDesk::VideoThere() const {
    return AnsiPathExists(Path);
}

void VideoDesk::WaitAfterFirstStart() {
    if (!VideoThere()) return;
    Pending = true;
    Delay->SetEnabled(true);
}

void VideoDesk::WaitOver() {
    Delay->SetEnabled(false);
    Pending = false;
}

void VideoDesk::SetPlanButtons(TControl* restart, TControl* next) {
    restart_ = restart;
    next_ = next;
}

void VideoDesk::LockControls(bool restore) {
    TControl* locked[12] = {look_.BExplorer, look_.BKontrolle, look_.BUeplan, look_.BMonitor,
                            look_.BStimm,    look_.BHilfe,     look_.BPlay,   look_.BPause,
                            look_.BStop,     restart_,         next_,         look_.TrBarTempo};
    for (std::size_t i = 0; i < savedEnabled_.size(); ++i) {
        if (locked[i] == nullptr) continue;
        if (restore) {
            locked[i]->SetEnabled(savedEnabled_[i]);
        } else {
            savedEnabled_[i] = locked[i]->Enabled();
            locked[i]->SetEnabled(false);
        }
    }
    look_.BLogo->SetEnabled(restore);
}

void VideoDesk::ShowVideoButton(bool stopPicture) {
    look_.BVideoStop->SetBgBmp(stopPicture ? &look_.VideoStopBmp : &look_.VideoPlayBmp);
    look_.BVideoStop->Repaint();
}

void VideoDesk::EnableVideoButton(bool enabled) {
    look_.BVideoStop->SetEnabled(enabled);
}

void VideoDesk::VideoEnded() {
    if (!Pending) return;
    Pending = false;
    if (hooks_.ShowGreeting) hooks_.ShowGreeting();
}

void VideoDesk::StopForLeaving(VideoShow& video) {
    if (!video.Playing) return;
    try {
        if (video.PlayerPlaying()) video.Stop();
    } catch (const Exception& error) {
        hooks_.Ask(ErrorText(4), error.Message(), "", CaptionText(1));
    }
    LockControls(true);
}

} // namespace app
