#pragma once
// VideoDesk: the main window's side of its videos (the VideoShow plays
// them). It keeps what the video button plays: the intro while the course
// goes on, the final video once it is through. It switches the button's
// picture and whether it takes presses, locks the main controls while a
// video plays and restores them after, and on the very first start keeps
// the half second in which the intro's end leads to the greeting.

#include "app/mainlook.h"
#include "app/videoshow.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"

#include <array>
#include <functional>
#include <string>

namespace app {

class VideoDesk : public VideoShowHost {
public:
    struct Hooks {
        // The Stop button's action.
        std::function<void()> StopExercise;
        std::function<int(const QString&, const QString&, const QString&, const QString&)> Ask;
        // The intro ended while it was pending.
        std::function<void()> ShowGreeting;
    };

    // The controls are `look`'s, the timer `window`'s; the videos lie in
    // `programFolder` (Windows-1252, ends in a separator).
    VideoDesk(MainWindowLook& look, platform::TForm* window, std::string programFolder, Hooks hooks);

    // The intro while the course goes on, else the final video.
    void ChooseVideo(bool courseGoesOn);
    bool VideoThere() const;
    // The first start: the intro's end leads to the greeting for half a second.
    void WaitAfterFirstStart();
    // The half second is over.
    void WaitOver();
    // The practice plan's buttons, locked along with the main controls.
    void SetPlanButtons(platform::TControl* restart, platform::TControl* next);
    // Leaving: a video that plays stops (a player's error is told) and the
    // controls come back.
    void StopForLeaving(VideoShow& video);

    // ---- What a video asks ----------------------------------------------------------
    void LockControls(bool restore) override;
    void StopExercise() override { hooks_.StopExercise(); }
    void ShowVideoButton(bool stopPicture) override;
    void EnableVideoButton(bool enabled) override;
    int AskMessage(const QString& title, const QString& body, const QString& cancel,
                   const QString& ok) override {
        return hooks_.Ask(title, body, cancel, ok);
    }
    void VideoEnded() override;

    // What the video button plays (Windows-1252 path).
    std::string Path;
    // The intro's end would lead to the greeting.
    bool Pending = false;
    platform::TTimer* Delay;

private:
    MainWindowLook& look_;
    const std::string programFolder_;
    Hooks hooks_;
    platform::TControl* restart_ = nullptr;
    platform::TControl* next_ = nullptr;
    std::array<bool, 12> savedEnabled_{};
};

} // namespace app
