// The video button's side of the videos without the main window: the
// window's controls made on a plain form, a program folder of its own.
#include "app/videodesk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace platform;

struct Look : app::MainWindowLook {};

class VideoDeskTest : public ::testing::Test {
protected:
    VideoDeskTest() {
        look_.CreateControls(&form_);
        desk_ = std::make_unique<app::VideoDesk>(look_, &form_, folder_.path().toStdString() + "/",
                                                 app::VideoDesk::Hooks{[this] { ++stops_; }, nullptr,
                                                                       [this] { ++greetings_; }});
        desk_->SetPlanButtons(&restart_, &next_);
    }
    void WriteVideo(const char* name) {
        QDir(folder_.path()).mkpath("lektionX");
        QFile file(folder_.filePath(QString("lektionX/") + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
    }

    QTemporaryDir folder_;
    TForm form_{nullptr};
    TPanel restart_{&form_}, next_{&form_};
    Look look_;
    std::unique_ptr<app::VideoDesk> desk_;
    int stops_ = 0, greetings_ = 0;
};

TEST_F(VideoDeskTest, TheButtonPlaysTheIntroWhileTheCourseGoesOnAndTheFinalVideoAfter) {
    desk_->ChooseVideo(true);
    EXPECT_EQ(desk_->Path, folder_.path().toStdString() + "/lektionX\\IntroVideo.avi");
    EXPECT_FALSE(desk_->VideoThere());
    WriteVideo("IntroVideo.avi");
    EXPECT_TRUE(desk_->VideoThere());
    desk_->ChooseVideo(false);
    EXPECT_EQ(desk_->Path, folder_.path().toStdString() + "/lektionX\\FinalVideo.avi");
    EXPECT_FALSE(desk_->VideoThere());
}

// Locking keeps each control's state; restoring brings back exactly that,
// whichever were off before.
TEST_F(VideoDeskTest, LockingSavesEachControlsStateAndRestoringBringsItBack) {
    look_.BPlay->SetEnabled(false);
    next_.SetEnabled(false);
    look_.BHilfe->SetEnabled(true);
    restart_.SetEnabled(true);
    desk_->LockControls(false);
    for (TControl* control : {static_cast<TControl*>(look_.BHilfe), static_cast<TControl*>(look_.TrBarTempo),
                              static_cast<TControl*>(&restart_), static_cast<TControl*>(look_.BLogo)})
        EXPECT_FALSE(control->Enabled()) << control->Name().toStdString();
    desk_->LockControls(true);
    EXPECT_TRUE(look_.BHilfe->Enabled());
    EXPECT_TRUE(restart_.Enabled());
    EXPECT_TRUE(look_.BLogo->Enabled());
    EXPECT_FALSE(look_.BPlay->Enabled());
    EXPECT_FALSE(next_.Enabled());
}

// Only on a first start with the intro there, and only for the wait, does
// the intro's end lead to the greeting, and then once.
TEST_F(VideoDeskTest, TheIntrosEndLeadsToTheGreetingOnlyWhilePending) {
    desk_->ChooseVideo(true);
    desk_->WaitAfterFirstStart();
    EXPECT_FALSE(desk_->Pending) << "no intro, no wait";
    WriteVideo("IntroVideo.avi");
    desk_->WaitAfterFirstStart();
    EXPECT_TRUE(desk_->Pending);
    EXPECT_TRUE(desk_->Delay->Enabled());
    EXPECT_EQ(desk_->Delay->Interval(), 500u);
    desk_->VideoEnded();
    desk_->VideoEnded();
    EXPECT_EQ(greetings_, 1);

    desk_->WaitAfterFirstStart();
    desk_->WaitOver();
    EXPECT_FALSE(desk_->Pending);
    EXPECT_FALSE(desk_->Delay->Enabled());
    desk_->VideoEnded();
    EXPECT_EQ(greetings_, 1);
    desk_->StopExercise();
    EXPECT_EQ(stops_, 1);
}

} // namespace
