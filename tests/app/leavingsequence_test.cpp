// The way out without the main window: a plain form stands for it, the
// hooks write down what the sequence asks for.
#include "app/leavingsequence.h"
#include "app/msgwin.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using namespace platform;

class LeavingSequenceTest : public ::testing::Test {
protected:
    LeavingSequenceTest() {
        leaving_ = std::make_unique<app::LeavingSequence>(form_, app::LeavingSequence::Hooks{
            [this] { steps_ << "stop"; },
            [this] { steps_ << (form_.Enabled() ? "click, window free" : "click, window held"); },
            [this](const QString& title, const QString&, const QString&, const QString&) {
                steps_ << "ask " + title;
                return answer_;
            },
            [this] { steps_ << (form_.Enabled() ? "web site, window free" : "web site, window held"); },
            [this](bool shown) { steps_ << (shown ? "dialog shown" : "dialog hidden"); },
            [this] { steps_ << "save"; }});
        form_.OnCloseQuery = [this](TObject*, bool& canClose) {
            steps_ << "close";
            canClose = true;
        };
    }

    TForm form_{nullptr};
    QStringList steps_;
    int answer_ = mrCancel;
    std::unique_ptr<app::LeavingSequence> leaving_;
};

TEST_F(LeavingSequenceTest, LeavingStopsWhatPlaysHoldsTheWindowAndAsksBeforeTheDialog) {
    leaving_->Leave();
    EXPECT_EQ(steps_, QStringList({"stop", "click, window held", "ask " + app::MessageText(5),
                                   "dialog shown"}));
    EXPECT_FALSE(form_.Enabled()) << "the exit dialog holds the window";
    EXPECT_FALSE(leaving_->WebQuestionAnswered);
}

TEST_F(LeavingSequenceTest, YesToTheWebSiteKeepsTheProgramOpenAndIsNotAskedAgain) {
    answer_ = mrOk;
    leaving_->Leave();
    EXPECT_EQ(steps_.last(), "web site, window free");
    EXPECT_FALSE(steps_.contains("dialog shown"));
    EXPECT_TRUE(leaving_->WebQuestionAnswered);

    steps_.clear();
    leaving_->Leave();
    EXPECT_EQ(steps_, QStringList({"stop", "click, window held", "dialog shown"}));

    leaving_->Reset(); // a new session asks again
    steps_.clear();
    leaving_->Leave();
    EXPECT_TRUE(steps_.contains("ask " + app::MessageText(5)));
    EXPECT_TRUE(leaving_->WebQuestionPending);
}

TEST_F(LeavingSequenceTest, TheDialogsYesSavesBeforeTheWindowCloses) {
    leaving_->SaveAndClose();
    EXPECT_EQ(steps_, QStringList({"dialog hidden", "save", "close"}));
}

TEST_F(LeavingSequenceTest, TheStartQuestionOpensTheWebSiteOnlyOnYes) {
    leaving_->AskWebQuestionAtStart();
    EXPECT_EQ(steps_, QStringList({"ask " + app::MessageText(4)}));
    answer_ = mrOk;
    leaving_->AskWebQuestionAtStart();
    EXPECT_EQ(steps_.last(), "web site, window free");
}

} // namespace
