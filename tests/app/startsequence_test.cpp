// The program's start without the main window: a plain form stands in for
// it, a start screen from an empty program folder for the real one.
#include "app/startsequence.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace {

using namespace platform;

class StartSequenceTest : public ::testing::Test {
protected:
    StartSequenceTest()
        : sequence_(&owner_, [this] { return deviceChosen_; }, [this] { ++shown_; }) {}

    app::TStartScreen* NewScreen() {
        return new app::TStartScreen(&owner_, folder_.path().toStdString() + "/", "https://example.org/",
                                     [this](TImage*, const std::string& file) { pictures_.push_back(file); });
    }
    // One step of the four the main window waits for.
    void Step(app::StartSequence& sequence, int step) {
        switch (step) {
        case 0: sequence.WindowBuilt(); break;
        case 1: sequence.WindowsCreated(); break;
        case 2: sequence.TimeUp(); break;
        case 3: deviceChosen_ = true; sequence.DeviceChosen(); break;
        }
    }

    QTemporaryDir folder_;
    TForm owner_{nullptr};
    bool deviceChosen_ = false;
    int shown_ = 0;
    std::vector<std::string> pictures_;
    app::StartSequence sequence_;
};

TEST_F(StartSequenceTest, TheStartScreenShowsAndItsThreeSecondsRunFromThen) {
    ASSERT_NE(sequence_.Timer, nullptr);
    EXPECT_FALSE(sequence_.Timer->Enabled()) << "nothing runs before the screen shows";
    sequence_.ShowStartScreen(NewScreen());
    ASSERT_NE(sequence_.Screen, nullptr);
    EXPECT_TRUE(sequence_.Screen->isVisible());
    EXPECT_TRUE(sequence_.Active);
    EXPECT_EQ(pictures_.size(), 1u) << "the picture is asked for although it is missing";
    EXPECT_TRUE(sequence_.Timer->Enabled());
    EXPECT_EQ(sequence_.Timer->Interval(), 3000u);
}

// Whatever finishes last brings the main window, once; before that nothing
// of the four alone or together with fewer does.
TEST_F(StartSequenceTest, TheMainWindowComesWithTheLastOfTheFourStepsInAnyOrder) {
    std::array<int, 4> order{0, 1, 2, 3};
    do {
        deviceChosen_ = false;
        shown_ = 0;
        app::StartSequence sequence(&owner_, [this] { return deviceChosen_; }, [this] { ++shown_; });
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(shown_, 0) << "after " << i << " steps, order " << order[0] << order[1] << order[2] << order[3];
            Step(sequence, order[std::size_t(i)]);
        }
        EXPECT_EQ(shown_, 1);
        EXPECT_TRUE(sequence.MainWindowShown());
        sequence.TimeUp();
        sequence.WindowsCreated();
        EXPECT_EQ(shown_, 1) << "a late step brings no second showing";
    } while (std::next_permutation(order.begin(), order.end()));
}

// A device that has not been chosen holds the window back even when its
// announcement came (the choice is asked, not taken on trust).
TEST_F(StartSequenceTest, AnAnnouncedButUnchosenDeviceHoldsTheWindowBack) {
    sequence_.WindowBuilt();
    sequence_.WindowsCreated();
    sequence_.TimeUp();
    sequence_.DeviceChosen();
    EXPECT_EQ(shown_, 0);
    deviceChosen_ = true;
    sequence_.DeviceChosen();
    EXPECT_EQ(shown_, 1);
}

TEST_F(StartSequenceTest, TheMainWindowReplacesTheStartScreenAndItsTimerGoes) {
    sequence_.ShowStartScreen(NewScreen());
    for (int step = 0; step < 4; ++step) Step(sequence_, step);
    ASSERT_EQ(shown_, 1);
    EXPECT_FALSE(sequence_.Screen->isVisible());
    EXPECT_FALSE(sequence_.Active);
    EXPECT_EQ(sequence_.Timer, nullptr);
    QCoreApplication::processEvents(); // frees the timer
    // The logo shows it again, with no timer to start.
    sequence_.ShowStartScreenAgain();
    EXPECT_TRUE(sequence_.Screen->isVisible());
    EXPECT_EQ(sequence_.Timer, nullptr);
    EXPECT_EQ(shown_, 1);
}

TEST_F(StartSequenceTest, AfterLeavingNothingComesAndTheStartScreenIsGone) {
    sequence_.ShowStartScreen(NewScreen());
    sequence_.Cancel();
    EXPECT_EQ(sequence_.Screen, nullptr);
    EXPECT_FALSE(sequence_.Active);
    for (int step = 0; step < 4; ++step) Step(sequence_, step);
    EXPECT_EQ(shown_, 0);
    sequence_.ShowStartScreenAgain(); // no screen: nothing happens
}

} // namespace
