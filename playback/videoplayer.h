#pragma once
// VideoPlayer: the course's one media player. It plays a video file inside a
// panel that the caller names, at a display rectangle within it, answers
// whether it is playing or stopped, can be stopped, rewound to its start
// point and closed, and reports the end of a video (or its stop) through one
// notification. Built over Qt Multimedia's QMediaPlayer and a video widget.

#include "platform/ui/types.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>

class QMediaPlayer;
class QAudioOutput;
class QVideoWidget;
class QWidget;
class QTimer;

namespace playback {

enum class TMPModes { mpNotReady, mpStopped, mpPlaying, mpOpen };
using enum TMPModes;

class VideoPlayer : public QObject {
public:
    // How long Open waits for the media framework to accept or refuse a file.
    static constexpr int kOpenTimeoutMs = 5000;
    // A playing video whose position stands still this long has stalled.
    static constexpr int kStallTimeoutMs = 8000;

    VideoPlayer();
    ~VideoPlayer() override;

    // The panel the video is shown in (not owned; the player follows its life).
    void SetDisplay(QWidget* panel);
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    QString FileName() const { return fileName_; }
    // Opens the file; throws platform::Exception with the media framework's
    // own text when the file cannot be played or no answer comes in time.
    void Open();
    // The video's place inside the display panel; throws platform::Exception
    // when there is no open video or no display.
    void SetDisplayRect(const platform::TRect& rect);
    // Starts (or continues) playing from the start point; throws
    // platform::Exception when nothing is open.
    void Play();
    // Stops the video; the next Play starts at the start point again. The
    // notification follows (posted), as for the end of the video.
    void Stop();
    // Moves the start point back to the beginning of the video.
    void Rewind();
    // Closes the file and hides the video picture.
    void Close();

    TMPModes Mode() const;
    // Where the video stands, in milliseconds from its beginning.
    qint64 Position() const;
    bool Playing() const { return Mode() == mpPlaying; }

    // Arms the notification: OnNotify is called once, as a posted event,
    // when the video ends or is stopped.
    void SetNotify(bool notify) { notify_ = notify; }
    std::function<void()> OnNotify;
    // An error of the media framework after the video started (a damaged
    // stream): called with its text before the notification.
    std::function<void(const QString&)> OnError;
    // Called once when the first picture of a video is shown.
    std::function<void()> OnFirstFrame;

    // The video widget (for tests and screenshots).
    QVideoWidget* VideoWidget() const { return video_; }

private:
    void EnsurePlayer();
    // Sets the file as the media object's source and waits for its verdict:
    // the complaint, or an empty text when it can be played.
    QString LoadSource();
    void WatchPlayer();
    void RenewPlayer();
    void MediaStatusChanged();
    void PlayerError();
    void PostNotify();
    void WatchdogTick();

    std::unique_ptr<QMediaPlayer> player_;
    QAudioOutput* audio_ = nullptr;
    QVideoWidget* video_ = nullptr;
    QWidget* panel_ = nullptr;
    QString fileName_;
    QRect displayRect_;
    bool open_ = false;
    bool playing_ = false;
    bool notify_ = false;
    bool frameSeen_ = false;
    bool errorReported_ = false;
    bool stoppedSinceOpen_ = false; // a playing video was stopped since the last Open
    QTimer* watchdog_ = nullptr;
    qint64 lastPosition_ = -1;
    int stillTicks_ = 0;
};

} // namespace playback
