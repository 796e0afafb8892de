#include "playback/videoplayer.h"

#include "platform/core/cp1252.h"
#include "platform/ui/exceptions.h"
#include "sprachbank/sprachbank.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVideoSink>
#include <QVideoWidget>

namespace playback {

using platform::Exception;

namespace {

// The player's complaints in the learner's language (error texts 301 to 309).
QString Said(int number) {
    return platform::FromAnsi(DLL_GetErrStr(number));
}

bool Settled(QMediaPlayer::MediaStatus status) {
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia ||
           status == QMediaPlayer::BufferingMedia || status == QMediaPlayer::EndOfMedia ||
           status == QMediaPlayer::InvalidMedia;
}

QString PlayerErrorText(const QMediaPlayer& player, const QString& fileName) {
    QString text = player.errorString();
    if (text.isEmpty()) text = Said(301);
    return text + QStringLiteral(" (") + QFileInfo(fileName).fileName() + QStringLiteral(")");
}

// A RIFF file (AVI) names its own length; one that ends early was cut off in
// copying, and the media framework would play it silently to the cut or stall.
// Returns the complaint, or an empty text.
QString CheckRiffLength(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return Said(302);
    const QByteArray head = file.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF")) return {};
    const auto* b = reinterpret_cast<const unsigned char*>(head.constData());
    const qint64 declared = qint64(b[4]) | qint64(b[5]) << 8 | qint64(b[6]) << 16 | qint64(b[7]) << 24;
    if (file.size() >= declared + 8) return {};
    return Said(303)
        .arg(file.size())
        .arg(declared + 8);
}

constexpr int kWatchdogTickMs = 500;

} // namespace

VideoPlayer::VideoPlayer() : watchdog_(new QTimer(this)) {
    watchdog_->setInterval(kWatchdogTickMs);
    connect(watchdog_, &QTimer::timeout, this, [this] { WatchdogTick(); });
}

VideoPlayer::~VideoPlayer() {
    if (player_) {
        player_->disconnect(this);
        player_->stop();
    }
    if (video_ != nullptr && panel_ != nullptr) delete video_;
}

void VideoPlayer::EnsurePlayer() {
    if (player_) return;
    player_ = std::make_unique<QMediaPlayer>();
    // The video's own sound track is heard only where the machine has an
    // audio output; without one the player runs silent rather than failing.
    if (!QMediaDevices::audioOutputs().isEmpty()) {
        audio_ = new QAudioOutput(player_.get());
        player_->setAudioOutput(audio_);
    }
    WatchPlayer();
}

void VideoPlayer::RenewPlayer() {
    player_->disconnect(this);
    player_->stop();
    player_.reset();
    audio_ = nullptr;
    EnsurePlayer();
    if (video_ != nullptr) player_->setVideoOutput(video_);
}

void VideoPlayer::WatchPlayer() {
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus) { MediaStatusChanged(); });
    connect(player_.get(), &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error, const QString&) { PlayerError(); });
}

void VideoPlayer::SetDisplay(QWidget* panel) {
    EnsurePlayer();
    if (panel == panel_ && video_ != nullptr) return;
    player_->setVideoOutput(static_cast<QObject*>(nullptr));
    delete video_;
    video_ = nullptr;
    panel_ = panel;
    if (panel_ == nullptr) return;
    video_ = new QVideoWidget(panel_);
    video_->hide();
    connect(video_, &QObject::destroyed, this, [this] {
        video_ = nullptr;
        panel_ = nullptr;
    });
    connect(video_->videoSink(), &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame&) {
        if (frameSeen_ || !playing_) return;
        frameSeen_ = true;
        if (video_ != nullptr) {
            video_->setGeometry(displayRect_);
            video_->show();
        }
        if (OnFirstFrame) OnFirstFrame();
    });
    player_->setVideoOutput(video_);
}

void VideoPlayer::Open() {
    EnsurePlayer();
    Close();
    errorReported_ = false;
    if (!QFileInfo(fileName_).isFile())
        throw Exception(Said(304) + fileName_);
    if (const QString cut = CheckRiffLength(fileName_); !cut.isEmpty())
        throw Exception(cut + QStringLiteral(": ") + QFileInfo(fileName_).fileName());
    QString failure = LoadSource();
    if (!failure.isEmpty() && stoppedSinceOpen_) {
        // The media framework may fail while it tears down a video that was
        // stopped, and then refuses the next file with that error: a fresh
        // media object tries it once more.
        RenewPlayer();
        failure = LoadSource();
    }
    stoppedSinceOpen_ = false;
    if (!failure.isEmpty()) {
        // A media object that refused a file keeps its error; the next file
        // gets a fresh one.
        RenewPlayer();
        throw Exception(failure);
    }
    open_ = true;
}

QString VideoPlayer::LoadSource() {
    // A video widget that is hidden while the stream starts makes the media
    // framework fail on an X display with OpenGL ("Internal data stream
    // error"): until its first picture it stands shown as a single pixel in
    // the corner of the (black) panel, which keeps the panel's text readable.
    if (video_ != nullptr) {
        video_->setGeometry(0, 0, 1, 1);
        video_->show();
    }
    player_->setSource(QUrl::fromLocalFile(fileName_));
    // Wait for the framework's verdict, but never for ever.
    QEventLoop wait;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
    auto status = connect(player_.get(), &QMediaPlayer::mediaStatusChanged, &wait,
                          [&wait](QMediaPlayer::MediaStatus s) {
                              if (Settled(s)) wait.quit();
                          });
    auto error = connect(player_.get(), &QMediaPlayer::errorOccurred, &wait, &QEventLoop::quit);
    if (!Settled(player_->mediaStatus()) && player_->error() == QMediaPlayer::NoError) {
        timeout.start(kOpenTimeoutMs);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    disconnect(status);
    disconnect(error);
    if (player_->error() != QMediaPlayer::NoError ||
        player_->mediaStatus() == QMediaPlayer::InvalidMedia)
        return PlayerErrorText(*player_, fileName_);
    if (!Settled(player_->mediaStatus()))
        return Said(305) + QFileInfo(fileName_).fileName();
    if (!player_->hasVideo())
        return Said(306) + QFileInfo(fileName_).fileName();
    return {};
}

void VideoPlayer::SetDisplayRect(const platform::TRect& rect) {
    if (!open_) throw Exception(Said(307));
    if (video_ == nullptr) throw Exception(Said(308));
    displayRect_ = QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
    if (frameSeen_) video_->setGeometry(displayRect_);
}

void VideoPlayer::Play() {
    if (!open_) throw Exception(Said(307));
    frameSeen_ = false;
    playing_ = true;
    lastPosition_ = -1;
    stillTicks_ = 0;
    watchdog_->start();
    player_->play();
}

void VideoPlayer::Stop() {
    if (!player_) return;
    const bool wasPlaying = playing_;
    playing_ = false;
    stoppedSinceOpen_ = stoppedSinceOpen_ || wasPlaying;
    player_->stop();
    Rewind();
    if (wasPlaying) PostNotify();
}

void VideoPlayer::Rewind() {
    if (player_ && open_) player_->setPosition(0);
}

void VideoPlayer::Close() {
    playing_ = false;
    frameSeen_ = false;
    if (video_ != nullptr) video_->hide();
    if (!player_) return;
    if (open_ || !player_->source().isEmpty()) {
        player_->stop();
        player_->setSource(QUrl());
    }
    open_ = false;
}

TMPModes VideoPlayer::Mode() const {
    if (!open_) return mpNotReady;
    return playing_ ? mpPlaying : mpStopped;
}

qint64 VideoPlayer::Position() const {
    return player_ ? player_->position() : 0;
}

// The media framework does not always report the end of a stream (seen
// under heavy load): a video standing at its end, or standing still for
// too long, ends here so that nobody waits for it for ever.
void VideoPlayer::WatchdogTick() {
    if (!playing_ || !player_) {
        watchdog_->stop();
        return;
    }
    const qint64 position = player_->position();
    stillTicks_ = position == lastPosition_ ? stillTicks_ + 1 : 0;
    lastPosition_ = position;
    const qint64 duration = player_->duration();
    const bool atEnd = duration > 0 && position >= duration - kWatchdogTickMs;
    if (atEnd && stillTicks_ >= 2) {
        playing_ = false;
        player_->stop();
        Rewind();
        PostNotify();
    } else if (stillTicks_ * kWatchdogTickMs >= kStallTimeoutMs) {
        errorReported_ = false;
        const QString text = Said(309) + QFileInfo(fileName_).fileName();
        playing_ = false;
        player_->stop();
        Rewind();
        QTimer::singleShot(0, this, [this, text] {
            if (OnError) OnError(text);
        });
        PostNotify();
    }
}

void VideoPlayer::MediaStatusChanged() {
    if (player_->mediaStatus() != QMediaPlayer::EndOfMedia || !playing_) return;
    playing_ = false;
    Rewind();
    PostNotify();
}

void VideoPlayer::PlayerError() {
    if (!open_ || errorReported_) return; // Open reports its own errors
    // The media framework may fail while a stopped or ended video is torn
    // down: nothing the learner sees went wrong (the next Open starts afresh).
    if (!playing_) return;
    errorReported_ = true;
    const QString text = PlayerErrorText(*player_, fileName_);
    const bool wasPlaying = playing_;
    playing_ = false;
    QPointer<VideoPlayer> self(this);
    QTimer::singleShot(0, this, [self, text] {
        if (self && self->OnError) self->OnError(text);
    });
    if (wasPlaying) PostNotify();
}

// The notification comes as a posted event, like a window message, so that
// whoever stopped the video has finished before it is handled.
void VideoPlayer::PostNotify() {
    if (!notify_) return;
    notify_ = false;
    QTimer::singleShot(0, this, [this] {
        if (OnNotify) OnNotify();
    });
}

} // namespace playback
