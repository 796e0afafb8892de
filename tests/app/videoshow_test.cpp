// The main window's video playing without the window: a host that records
// what it is asked, a fake engine for the accompaniment, and the real media
// player on the course's own videos.
#include "app/videoshow.h"

#include "app/msgwin.h"
#include "platform/core/cp1252.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace platform;

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class RecordingHost : public app::VideoShowHost {
public:
    QStringList calls;
    void LockControls(bool restore) override { calls << (restore ? "Unlock" : "Lock"); }
    void StopExercise() override { calls << "StopExercise"; }
    void ShowVideoButton(bool stop) override { calls << (stop ? "StopPicture" : "PlayPicture"); }
    void EnableVideoButton(bool enabled) override {
        calls << (enabled ? "ButtonOn" : "ButtonOff");
    }
    int AskMessage(const QString& title, const QString&, const QString&, const QString&) override {
        calls << "Ask " + title;
        return 1;
    }
    void VideoEnded() override { calls << "Ended"; }
};

class AccompanimentEngine : public playback::ExerciseEngine {
public:
    QStringList calls;
    int NumDevs() override { return 0; }
    bool InitWin(QObject*) override { return true; }
    bool DeviceName(unsigned short, std::string&) override { return false; }
    bool Technology(unsigned short, unsigned short&) override { return false; }
    bool SetDeviceByID(unsigned short) override { return false; }
    bool SetDeviceByName(const std::string&) override { return false; }
    int LoadFile(const std::string& path) override {
        calls << "Load " + QString::fromStdString(path).section('/', -1);
        return 1;
    }
    int Start(int start) override {
        calls << "Start " + QString::number(start);
        return 1;
    }
    int Pause() override { return 0; }
    int Stop() override {
        calls << "Stop";
        return 1;
    }
    bool IsRunning() override { return false; }
    int Status() override { return 2; }
    int Beats() override { return 0; }
};

class VideoShowTest : public ::testing::Test {
protected:
    VideoShowTest() : show_(host_, engine_, nullptr) {
        panel_ = new TPanel(&form_);
        panel_->SetParent(&form_);
        panel_->Hide(); // as a video panel stands until a video plays
        form_.Show();
    }
    ~VideoShowTest() override {
        if (show_.PlayerPlaying()) show_.Stop();
        WaitFor([&] { return !show_.Playing; }, 5000);
    }
    void Play(const std::string& file, const std::string& midi) {
        show_.Play(ToAnsi(QString::fromStdString(file)), ToAnsi(QString::fromStdString(midi)),
                   Rect(0, 0, 192, 144), 10, 20, panel_);
    }
    static std::string Intro() { return testsupport::BinFolder() + "lektionX/IntroVideo.avi"; }

    testsupport::TempFolder folder_;
    TForm form_{nullptr};
    TPanel* panel_;
    RecordingHost host_;
    AccompanimentEngine engine_;
    app::VideoShow show_;
};

TEST_F(VideoShowTest, MissingOrDamagedFilesLockNothingAndADamagedOneIsTold) {
    Play(folder_.Path() + "missing.avi", app::VideoShow::kNoAccompaniment);
    EXPECT_EQ(host_.calls, (QStringList{"ButtonOff", "ButtonOn"}));
    EXPECT_FALSE(panel_->Visible());

    host_.calls.clear();
    const std::string damaged = folder_.Write("damaged.avi", std::string(4096, 'x'));
    Play(damaged, folder_.Write("song.mid", "MThd"));
    EXPECT_FALSE(show_.Playing);
    EXPECT_FALSE(show_.PlayerPlaying());
    EXPECT_FALSE(panel_->Visible());
    EXPECT_TRUE(engine_.calls.isEmpty()) << "no accompaniment without its video";
    EXPECT_FALSE(host_.calls.contains("Lock"));
    EXPECT_TRUE(host_.calls.contains("Ask " + app::ErrorText(3)));
    EXPECT_EQ(host_.calls.last(), "ButtonOn");
}

TEST_F(VideoShowTest, AVideoLocksTheControlsAndPlaysItsAccompanimentUntilItIsStopped) {
    Play(Intro(), folder_.Write("song.mid", "MThd"));
    ASSERT_TRUE(show_.Playing);
    EXPECT_TRUE(panel_->Visible());
    EXPECT_EQ(panel_->Left(), 20);
    EXPECT_EQ(panel_->Top(), 10);
    EXPECT_EQ(engine_.calls, (QStringList{"Load song.mid", "Start 0"}));
    EXPECT_EQ(host_.calls, (QStringList{"ButtonOff", "Lock", "StopPicture", "ButtonOn"}));
    ASSERT_TRUE(WaitFor([&] { return show_.Player().Position() > 0; }, 10000));

    host_.calls.clear();
    show_.Stop();
    ASSERT_TRUE(WaitFor([&] { return !show_.Playing; }, 10000));
    EXPECT_FALSE(panel_->Visible());
    EXPECT_EQ(engine_.calls.last(), "Stop") << "the accompaniment ends with its video";
    EXPECT_EQ(host_.calls, (QStringList{"PlayPicture", "Unlock", "ButtonOn", "Ended"}));
}

TEST_F(VideoShowTest, ASecondVideoEndsTheFirstOnceAndKeepsTheControlsLockedForItself) {
    Play(Intro(), app::VideoShow::kNoAccompaniment);
    ASSERT_TRUE(show_.Playing);
    ASSERT_TRUE(WaitFor([&] { return show_.Player().Position() > 0; }, 10000));
    host_.calls.clear();
    Play(Intro(), app::VideoShow::kNoAccompaniment);
    ASSERT_TRUE(show_.Playing);
    // The first one's controls come back before the second locks them
    // afresh, so that their saved states are those from before any video.
    EXPECT_EQ(host_.calls, (QStringList{"ButtonOff", "StopExercise", "Unlock", "Lock",
                                        "StopPicture", "ButtonOn"}));
    // The first video's late notification does not end the second.
    EXPECT_FALSE(WaitFor([&] { return !show_.Playing; }, 500));
    EXPECT_FALSE(host_.calls.contains("Ended"));
}

} // namespace
