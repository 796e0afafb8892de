// The transport's keys and tempo bar without the main window: the window's
// controls made on a plain form.
#include "app/msgwin.h"
#include "app/transportkeys.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using namespace platform;
using playback::TransportControl;
using playback::TransportState;

struct Look : app::MainWindowLook {};

class TransportKeysTest : public ::testing::Test {
protected:
    TransportKeysTest() {
        look_.CreateControls(&form_);
        keys_ = std::make_unique<app::TransportKeys>(look_, &form_, app::TransportKeys::Hooks{
            [this] { ++mediaStops_; },
            [this](const QString& title, const QString& body, const QString&, const QString&) {
                asked_ << title + "|" + body;
                return 1;
            }});
    }

    // Whether each control of kControls is on, in that order.
    std::vector<bool> States() const {
        return {look_.BPlay->Enabled(),    look_.BPause->Enabled(),   look_.BStop->Enabled(),
                look_.BLoop->Enabled(),    look_.BForward->Enabled(), look_.BRewind->Enabled(),
                look_.BLocator->Enabled(), look_.TrBarTempo->Enabled(), look_.BExplorer->Enabled(),
                look_.BKontrolle->Enabled(), keys_->Poll->Enabled()};
    }
    static constexpr TransportControl kControls[] = {
        TransportControl::Play,     TransportControl::Pause,    TransportControl::Stop,
        TransportControl::Loop,     TransportControl::Forward,  TransportControl::Rewind,
        TransportControl::Locator,  TransportControl::TempoBar, TransportControl::Explorer,
        TransportControl::Kontrolle, TransportControl::Poll};

    TForm form_{nullptr};
    Look look_;
    std::unique_ptr<app::TransportKeys> keys_;
    int mediaStops_ = 0;
    QStringList asked_;
};

// Switching one control leaves every other as it was.
TEST_F(TransportKeysTest, EachControlTheTransportNamesIsSwitchedAndNoOther) {
    for (TransportControl control : kControls) keys_->EnableControl(control, true);
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        keys_->EnableControl(kControls[i], false);
        const std::vector<bool> states = States();
        for (std::size_t j = 0; j < states.size(); ++j)
            EXPECT_EQ(states[j], j != i) << "switching " << i << " off, looking at " << j;
        keys_->EnableControl(kControls[i], true);
    }
}

TEST_F(TransportKeysTest, PlayAndPauseShowTheStateByTheirPressedLook) {
    keys_->ShowTransportState(TransportState::Playing);
    EXPECT_TRUE(look_.BPlay->Latched());
    EXPECT_FALSE(look_.BPause->Latched());
    keys_->ShowTransportState(TransportState::Paused);
    EXPECT_FALSE(look_.BPlay->Latched());
    EXPECT_TRUE(look_.BPause->Latched());
    keys_->ShowTransportState(TransportState::Ready);
    EXPECT_FALSE(look_.BPlay->Latched());
    EXPECT_FALSE(look_.BPause->Latched());
    EXPECT_EQ(keys_->Poll->Interval(), 100u);
}

TEST_F(TransportKeysTest, TheLevelBoxFollowsTheBarAndStaysCentredOverItsPicture) {
    look_.ImgLevel->SetBounds(200, 10, 40, 40);
    keys_->SetLevel(7);
    EXPECT_EQ(look_.TrBarTempo->Position(), 7);
    EXPECT_EQ(keys_->Level(), 7);
    EXPECT_EQ(look_.LLevel->Caption(), "7");
    EXPECT_EQ(look_.LLevel->Left(), 200 + (40 - look_.LLevel->Width()) / 2);

    look_.TrBarTempo->SetEnabled(false);
    keys_->StepLevel(1);
    EXPECT_EQ(keys_->Level(), 7) << "a bar that is off does not move";
    look_.TrBarTempo->SetEnabled(true);
    keys_->StepLevel(1);
    EXPECT_EQ(keys_->Level(), 8);
    keys_->StepLevel(5);
    EXPECT_EQ(keys_->Level(), 10) << "no level above the last";

    keys_->Reset();
    EXPECT_EQ(keys_->Level(), 1);
    EXPECT_EQ(look_.LLevel->Caption(), "1");
    EXPECT_FALSE(look_.TrBarTempo->Enabled());
}

TEST_F(TransportKeysTest, OnlyTheLessonsBetweenTheFirstAndTheLastOfferTheTempoBar) {
    EXPECT_FALSE(app::TransportKeys::LessonHasTempo(-1));
    EXPECT_FALSE(app::TransportKeys::LessonHasTempo(0));
    EXPECT_TRUE(app::TransportKeys::LessonHasTempo(1));
    EXPECT_TRUE(app::TransportKeys::LessonHasTempo(28));
    EXPECT_FALSE(app::TransportKeys::LessonHasTempo(29));
}

TEST_F(TransportKeysTest, FailuresAreToldAndPlayStopsTheMediaPlayer) {
    keys_->TellLoadFailed();
    keys_->TellStartFailed();
    EXPECT_EQ(asked_, (QStringList{app::ErrorText(11) + "|" + app::ErrorText(12),
                                   app::ErrorText(100) + "|" + app::ErrorText(101)}));
    keys_->StopOtherSounds();
    EXPECT_EQ(mediaStops_, 1);
}

} // namespace
