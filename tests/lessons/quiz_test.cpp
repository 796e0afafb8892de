// The registry's per-lesson operations: their order of effects, their
// tables of 30, and the quiz's wrong-answer mask.

#include "lessons/lessonregistry.h"
#include "lessons/skinloader.h"
#include "platform/core/cp1252.h"
#include "platform/ui/forms.h"
#include "tests/support/testsupport.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using lessons::LessonRegistry;

class RecordingScreen : public lessons::MainScreenHost {
public:
    explicit RecordingScreen(lessons::SkinLoader* skin) : skin_(skin) {}
    QStringList calls;
    void SetCountInBeats(int beats) override { calls << QString("countin %1").arg(beats); }
    void SetLoopRecordFifth(int value) override { calls << QString("fifth %1").arg(value); }
    void SetBeatDisplayOffset(int offset) override { calls << QString("offset %1").arg(offset); }
    void SetPlayCount(int count) override { calls << QString("playcount %1").arg(count); }
    void SetHoldRange(int lesson, const lessons::HoldRange& hold) override {
        calls << QString("hold %1: %2 %3").arg(lesson).arg(hold.From).arg(hold.To);
    }
    void SetCursorActive(bool active) override { calls << QString("cursor %1").arg(active); }
    lessons::SkinLoader* MainScreenSkin() override {
        calls << "skin";
        return skin_;
    }

private:
    lessons::SkinLoader* skin_;
};

class RecordingQuiz : public lessons::QuizHost {
public:
    explicit RecordingQuiz(lessons::SkinLoader* skin) : skin_(skin) {}
    QStringList calls;
    int mask = -1;
    void ResetPageIndex() override { calls << "page 0"; }
    lessons::SkinLoader* QuizSkin() override {
        calls << "skin";
        return skin_;
    }
    void ShowQuiz() override { calls << "show"; }
    void SetWrongAnswers(int m) override { mask = m; }

private:
    lessons::SkinLoader* skin_;
};

// Skin files of a few lessons in a folder the skin loader takes for the
// program folder.
class RegistryOperations : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<platform::TForm>(nullptr);
        skin_ = std::make_unique<lessons::SkinLoader>(window_.get());
        skin_->SetContent(platform::ContentPaths(platform::ToAnsi(temp_.QPath())));
    }
    void TearDown() override {
        skin_.reset();
        window_.reset();
    }
    // A skin whose header line is `header` and that holds one rectangle.
    void WriteSkin(const std::string& name, const std::string& header) {
        temp_.Write(name, header + "\r\n$S\r\n0\r\n0\r\n5\r\n5\r\n0\r\n0\r\n");
    }
    // A quiz with three groups of `boxes` tick boxes.
    void WriteQuiz(int lesson, int groups, int boxes) {
        std::string text = "0\r\n";
        for (int g = 0; g < groups; ++g) {
            text += "$C\r\n" + std::to_string(g) + "\r\n" + std::to_string(boxes) + "\r\n";
            for (int b = 0; b < boxes; ++b)
                text += std::to_string(20 + 30 * b) + "\r\n" + std::to_string(50 + 40 * g) + "\r\n";
        }
        temp_.Write("lektion" + std::to_string(lesson) + "/Kontrolle.zs1", text);
    }
    void Tick(int group, int box) { skin_->Group(group)->BoxClick(box); }

    testsupport::TempFolder temp_;
    std::unique_ptr<platform::TForm> window_;
    std::unique_ptr<lessons::SkinLoader> skin_;
};

TEST_F(RegistryOperations, LoadMainScreenSetsTheValuesInOrderThenLoadsTheSkin) {
    WriteSkin("lektion19/MainWin.zs1", "0");
    WriteSkin("lektion1/MainWin.zs1", "1");
    RecordingScreen screen(skin_.get());
    LessonRegistry::LoadMainScreen(screen, 19);
    EXPECT_EQ(screen.calls, (QStringList{"countin 4", "fifth 0", "offset 20", "hold 19: 32 35",
                                         "cursor 1", "skin"}));
    EXPECT_EQ(skin_->Shapes().size(), 1u);
    screen.calls.clear();
    LessonRegistry::LoadMainScreen(screen, 29);
    EXPECT_EQ(screen.calls, (QStringList{"countin 4", "fifth 0", "playcount 3", "cursor 0", "skin"}));
    EXPECT_TRUE(skin_->Shapes().empty()); // lektion29 has no skin here
    LessonRegistry::LoadMainScreen(screen, 1);
    EXPECT_EQ(skin_->Header(), "1");
}

TEST_F(RegistryOperations, AMainScreenWithTheWrongHeaderIsNotLoaded) {
    WriteSkin("lektion2/MainWin.zs1", "3");
    RecordingScreen screen(skin_.get());
    LessonRegistry::LoadMainScreen(screen, 2);
    EXPECT_TRUE(skin_->Shapes().empty());
}

TEST_F(RegistryOperations, EveryOwnerHasThirtyEntriesAndNoneBeyond) {
    RecordingScreen screen(skin_.get());
    RecordingQuiz quiz(skin_.get());
    for (const LessonRegistry::Table& table :
         {LessonRegistry::MainScreenTable(screen), LessonRegistry::SlideTable(*skin_, 0),
          LessonRegistry::QuizTable(quiz), LessonRegistry::CheckAnswersTable(quiz)}) {
        for (const LessonRegistry::Entry& entry : table)
            EXPECT_TRUE(bool(entry));
        EXPECT_FALSE(LessonRegistry::Run(table, 30));
        EXPECT_FALSE(LessonRegistry::Run(table, -1));
    }
    EXPECT_TRUE(screen.calls.isEmpty());
    EXPECT_TRUE(quiz.calls.isEmpty());
}

TEST_F(RegistryOperations, SlideEntriesLoadTheirWindowsFileWithTheLessonsHeader) {
    WriteSkin("lektion1/WinB.zs1", "1");
    WriteSkin("lektion1/WinC.zs1", "1");
    WriteSkin("lektion5/WinB.zs1", "x");
    EXPECT_TRUE(LessonRegistry::Run(LessonRegistry::SlideTable(*skin_, 1), 1));
    EXPECT_EQ(skin_->Shapes().size(), 1u);
    LessonRegistry::Run(LessonRegistry::SlideTable(*skin_, 1), 5); // header "0" takes any
    EXPECT_EQ(skin_->Header(), "x");
    LessonRegistry::Run(LessonRegistry::SlideTable(*skin_, 0), 1); // no WinA: empty
    EXPECT_TRUE(skin_->Shapes().empty());
}

TEST_F(RegistryOperations, LoadQuizResetsThePageLoadsAndShows) {
    WriteQuiz(7, 3, 4);
    RecordingQuiz quiz(skin_.get());
    EXPECT_TRUE(LessonRegistry::Run(LessonRegistry::QuizTable(quiz), 7));
    EXPECT_EQ(quiz.calls, (QStringList{"page 0", "skin", "show"}));
    EXPECT_NE(skin_->Group(2), nullptr);
}

TEST_F(RegistryOperations, TheAnswerMaskMarksEachWrongQuestion) {
    WriteQuiz(0, 3, 4);
    RecordingQuiz quiz(skin_.get());
    LessonRegistry::LoadQuiz(quiz, 0);
    const LessonRegistry::Table check = LessonRegistry::CheckAnswersTable(quiz);
    LessonRegistry::Run(check, 0);
    EXPECT_EQ(quiz.mask, 7); // nothing ticked
    Tick(0, 2);
    Tick(1, 4);
    Tick(2, 2);
    LessonRegistry::Run(check, 0);
    EXPECT_EQ(quiz.mask, 0);
    Tick(0, 1);
    LessonRegistry::Run(check, 0);
    EXPECT_EQ(quiz.mask, 1);
    Tick(0, 2);
    Tick(2, 3);
    EXPECT_EQ(LessonRegistry::CheckAnswers(*skin_, 0), 4);
    // The same ticks against lesson 29's key (1, 1, 1).
    EXPECT_EQ(LessonRegistry::CheckAnswers(*skin_, 29), 7);
}

TEST_F(RegistryOperations, AQuizWithoutAGroupCountsThatQuestionWrong) {
    WriteQuiz(12, 2, 6);
    RecordingQuiz quiz(skin_.get());
    LessonRegistry::LoadQuiz(quiz, 12);
    Tick(0, 6);
    Tick(1, 2);
    EXPECT_EQ(LessonRegistry::CheckAnswers(*skin_, 12), 4);
}

} // namespace
