#pragma once
// VideoShow: the program's one media player at work for the main window. It
// shows a video inside the panel a caller names (the intro video, the slide
// windows' and the monitor's videos), plays its MIDI accompaniment through
// the exercise engine for as long as the video runs, has the main controls
// locked while it plays and unlocked when it ends, and tells a file the
// player refuses as a failure. Everything runs on the user-interface thread.

#include "platform/ui/controls.h"
#include "platform/ui/graphics.h"
#include "playback/exerciseengine.h"
#include "playback/videoplayer.h"

#include <QPointer>
#include <QString>
#include <memory>
#include <string>

namespace app {

// What a video asks of the window it plays in.
class VideoShowHost {
public:
    virtual ~VideoShowHost() = default;
    // Locks the main controls (saving their states), or restores them.
    virtual void LockControls(bool restore) = 0;
    // Stops the exercise, as the Stop button does.
    virtual void StopExercise() = 0;
    // The video button: its stop picture while a video plays, its play
    // picture otherwise; and whether it takes presses.
    virtual void ShowVideoButton(bool stopPicture) = 0;
    virtual void EnableVideoButton(bool enabled) = 0;
    virtual int AskMessage(const QString& title, const QString& body, const QString& cancel,
                           const QString& ok) = 0;
    // A video has ended or was stopped, and everything is as before it.
    virtual void VideoEnded() = 0;
};

class VideoShow {
public:
    // `introPanel` is the main window's own video panel, hidden at every end.
    VideoShow(VideoShowHost& host, playback::ExerciseEngine& engine, platform::TPanel* introPanel);
    ~VideoShow();
    VideoShow(const VideoShow&) = delete;
    VideoShow& operator=(const VideoShow&) = delete;

    // The accompaniment name that means "none".
    static constexpr const char* kNoAccompaniment = "0";

    // Plays the video `file` (a Windows-1252 path) in `panel`, placed at `left`,
    // `top` and sized by displayRect's right and bottom; the video fills
    // displayRect inside it. `midiFile` (Windows-1252) is played by the
    // engine from its beginning, or kNoAccompaniment. A missing file or panel
    // does nothing; a file the player refuses is told (error 3) and leaves
    // everything as it was. A video still running ends first.
    void Play(const std::string& file, const std::string& midiFile,
              const platform::TRect& displayRect, int top, int left, platform::TPanel* panel);
    // Stops the video (its end follows) and sets its start back to 0.
    void Stop();
    // True while the media player plays.
    bool PlayerPlaying() const;
    // The media player, made on first use.
    playback::VideoPlayer& Player();
    // The media player's notification: the video ended or was stopped.
    void PlayerNotify();

    // True from a video's start until its end has been handled; the window
    // ignores most presses meanwhile.
    bool Playing = false;

private:
    void EndRunningVideo();
    void ShowPanel(platform::TPanel* panel, int left, int top, platform::TRect displayRect);
    bool Open(const std::string& file, platform::TRect displayRect, platform::TPanel* panel);
    void Start(const std::string& midiFile);
    void TellError(int number, const QString& text);

    VideoShowHost& host_;
    playback::ExerciseEngine& engine_;
    QPointer<platform::TPanel> introPanel_;
    QPointer<platform::TPanel> panel_;
    std::unique_ptr<playback::VideoPlayer> player_;
};

} // namespace app
