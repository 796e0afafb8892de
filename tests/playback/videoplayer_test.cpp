// The video player over the media framework: a real course video plays to its
// end inside its panel and notifies once; Stop notifies and rewinds; damaged
// files are refused with the framework's text instead of hanging.
#include "playback/videoplayer.h"

#include "platform/ui/exceptions.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QVideoWidget>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

using playback::VideoPlayer;

// Runs the event loop until `done` holds or `ms` pass; returns `done`.
bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

QString CourseVideo(const char* name) {
    return QString::fromStdString(testsupport::BinFolder() + "lektionX/" + name);
}

class VideoPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel_.setGeometry(0, 0, 320, 240);
        panel_.show();
        player_.SetDisplay(&panel_);
        player_.OnNotify = [this] { ++notified_; };
        player_.OnFirstFrame = [this] { ++frames_; };
        player_.OnError = [this](const QString& text) { errors_ << text; };
    }

    void OpenAndPlay(const QString& file) {
        player_.SetFileName(file);
        player_.Open();
        player_.SetDisplayRect(platform::Rect(0, 0, 320, 240));
        player_.SetNotify(true);
        player_.Play();
    }

    // Opening `bytes` as an AVI must fail with a text, quickly enough.
    QString OpenFailure(const std::string& bytes) {
        const std::string path = folder_.Write("damaged.avi", bytes);
        player_.SetFileName(QString::fromStdString(path));
        try {
            player_.Open();
        } catch (const platform::Exception& error) {
            return error.Message();
        }
        return {};
    }

    QWidget panel_;
    VideoPlayer player_;
    testsupport::TempFolder folder_;
    int notified_ = 0;
    int frames_ = 0;
    QStringList errors_;
};

TEST_F(VideoPlayerTest, CourseVideoPlaysToItsEndInsideThePanel) {
    ASSERT_EQ(player_.Mode(), playback::mpNotReady);
    OpenAndPlay(CourseVideo("IntroVideo.avi"));
    EXPECT_TRUE(player_.Playing());
    ASSERT_TRUE(WaitFor([&] { return frames_ > 0; }, 10000)) << "no picture shown";
    EXPECT_TRUE(player_.VideoWidget()->isVisible());
    EXPECT_EQ(player_.VideoWidget()->parentWidget(), &panel_);
    EXPECT_EQ(player_.VideoWidget()->geometry(), QRect(0, 0, 320, 240));
    ASSERT_TRUE(WaitFor([&] { return notified_ > 0; }, 60000)) << "the end was never reported";
    EXPECT_EQ(player_.Mode(), playback::mpStopped);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();
    // One notification per arming.
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(notified_, 1);
    player_.Close();
    EXPECT_EQ(player_.Mode(), playback::mpNotReady);
    EXPECT_FALSE(player_.VideoWidget()->isVisible());
}

TEST_F(VideoPlayerTest, StopNotifiesAndTheNextPlayStartsFromTheBeginning) {
    OpenAndPlay(CourseVideo("FinalVideo.avi"));
    ASSERT_TRUE(WaitFor([&] { return player_.Position() > 500; }, 15000));
    player_.Stop();
    EXPECT_EQ(player_.Mode(), playback::mpStopped);
    EXPECT_EQ(notified_, 0) << "the notification is posted, not called inside Stop";
    ASSERT_TRUE(WaitFor([&] { return notified_ == 1; }, 2000));
    EXPECT_LT(player_.Position(), 300);
    player_.SetNotify(true);
    player_.Play();
    ASSERT_TRUE(WaitFor([&] { return player_.Position() > 0; }, 10000));
    EXPECT_LT(player_.Position(), 2000);
    player_.Stop();
    EXPECT_TRUE(WaitFor([&] { return notified_ == 2; }, 2000));
}

TEST_F(VideoPlayerTest, StoppedAtItsFirstPictureAndOpenedAgainItPlaysEveryTimeWithoutAnError) {
    // As a learner who clicks the video button again and again: the media
    // framework may report an error while a stopped video is torn down.
    for (int run = 0; run < 6; ++run) {
        frames_ = 0;
        const int notified = notified_;
        OpenAndPlay(CourseVideo(run % 2 ? "FinalVideo.avi" : "IntroVideo.avi"));
        ASSERT_TRUE(WaitFor([&] { return frames_ > 0; }, 10000)) << "no picture in run " << run;
        player_.Stop();
        ASSERT_TRUE(WaitFor([&] { return notified_ == notified + 1; }, 2000)) << run;
    }
    WaitFor([] { return false; }, 500);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join("; ").toStdString();
}

TEST_F(VideoPlayerTest, DamagedFilesAreRefusedWithAText) {
    QFile good(CourseVideo("IntroVideo.avi"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray whole = good.readAll();
    ASSERT_GT(whole.size(), 4096);

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(OpenFailure("").isEmpty()) << "zero bytes";
    EXPECT_FALSE(OpenFailure("Dies ist kein Video, nur Text.\n").isEmpty()) << "text";
    EXPECT_FALSE(OpenFailure(whole.left(whole.size() / 2).toStdString()).isEmpty())
        << "cut in the middle";
    EXPECT_FALSE(OpenFailure(whole.left(300).toStdString()).isEmpty()) << "cut in the header";
    EXPECT_FALSE(OpenFailure((whole.left(12) + QByteArray(whole.size() - 12, '\0')).toStdString())
                     .isEmpty())
        << "full length, nothing but zeros after the RIFF header";
    EXPECT_LT(clock.elapsed(), 5 * VideoPlayer::kOpenTimeoutMs + 2000);
    EXPECT_EQ(player_.Mode(), playback::mpNotReady);
    EXPECT_THROW(player_.Play(), platform::Exception);

    // The player is still good for a sound file afterwards.
    OpenAndPlay(CourseVideo("IntroVideo.avi"));
    EXPECT_TRUE(WaitFor([&] { return frames_ > 0; }, 10000));
    player_.Stop();
}

TEST_F(VideoPlayerTest, MissingFileIsRefused) {
    player_.SetFileName(folder_.QPath() + "fehlt.avi");
    EXPECT_THROW(player_.Open(), platform::Exception);
    EXPECT_THROW(player_.SetDisplayRect(platform::Rect(0, 0, 10, 10)), platform::Exception);
}

} // namespace
