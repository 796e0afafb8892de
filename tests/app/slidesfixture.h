#pragma once
// A bench for the slide windows and the quiz: the four real windows over a
// pretend main window that records every call, in a program folder of its
// own into which each test writes the skins and files it needs.

#include "lessons/lessonhost.h"
#include "lessons/quizwin.h"
#include "lessons/slidewindows.h"
#include "plan/liststore.h"
#include "tests/support/testsupport.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace slidestest {

struct AskedBox {
    QString title, body, cancel, ok;
};

// The main window as far as the course windows see it. Every action is
// noted in `calls` ("OpenLesson 4", "ShowNoLessonScreen", "Save", …).
class FakeHost : public lessons::LessonHost {
public:
    int currentLesson = -1;
    int previousLesson = -1;
    int playCount = 0;
    bool openedFromLessonScreen = false;
    bool quizIdle = true;
    bool quizFinished = false;
    bool videoPlaying = false;
    bool explorerMode = false;
    bool mediaPlaying = false;
    bool stopFails = false;
    std::string programFolder;
    plan::ListStore lists;
    QStringList calls;
    std::vector<std::string> cues;     // full paths; "click" for the click
    std::vector<std::string> pictures; // files shown in picture controls
    std::vector<AskedBox> asked;
    std::deque<int> answers; // then cancel (2)
    // The plan and waiting list at each save.
    std::vector<plan::ListStore> saved;

    int CurrentLesson() const override { return currentLesson; }
    void SetCurrentLesson(int lesson) override { currentLesson = lesson; }
    int PreviousLesson() const override { return previousLesson; }
    int PlayCount() const override { return playCount; }
    bool OpenedFromLessonScreen() const override { return openedFromLessonScreen; }
    void SetOpenedFromLessonScreen(bool opened) override { openedFromLessonScreen = opened; }
    bool QuizIdle() const override { return quizIdle; }
    void SetQuizIdle(bool idle) override { quizIdle = idle; }
    bool QuizFinished() const override { return quizFinished; }
    void SetQuizFinished(bool finished) override { quizFinished = finished; }
    bool VideoPlaying() const override { return videoPlaying; }
    bool ExplorerMode() const override { return explorerMode; }
    std::string ProgramFolder() const override { return programFolder; }
    int LanguageCode() const override { return 0; }
    plan::ListStore& Lists() override { return lists; }
    bool SaveListsNow() override;
    void PlayClick() override { cues.push_back("click"); }
    void PlayNamedCue(const std::string& path) override { cues.push_back(path); }
    void OpenLesson() override;
    void ClearLessonScreen() override { calls << "ClearLessonScreen"; }
    void ShowNoLessonScreen() override { calls << "ShowNoLessonScreen"; }
    void RefreshPlanPanel() override { calls << "RefreshPlanPanel"; }
    void ShowRestartButton() override { calls << "ShowRestartButton"; }
    bool LoadJpegBitmap(platform::TBitmap*, const std::string&) override { return false; }
    void LoadPictureInto(platform::TImage*, const std::string& fileName) override {
        pictures.push_back(fileName);
    }
    bool MediaPlayerPlaying() const override { return mediaPlaying; }
    void StopMediaPlayer() override;
    void PlayVideo(const std::string& videoFile, const std::string& midiFile,
                   const platform::TRect& display, int top, int left,
                   platform::TPanel* panel) override;
    int AskMessage(const QString& title, const QString& body, const QString& cancelCaption,
                   const QString& okCaption) override;
    void HelpButtonClick() override { calls << "Help"; }
    void AskTaskbarQuestion() override { calls << "Taskbar"; }
    void ReportPictureError(const std::string& fileName) override {
        calls << "PictureError " + QString::fromStdString(fileName);
    }
    // The quizzes handed on for the practice journal ("1 passed 4 3 4").
    QStringList quizzes;
    void QuizEvaluated(int lesson, bool passed, const std::vector<int>& answers) override {
        QString text = QString("%1 %2").arg(lesson).arg(passed ? "passed" : "failed");
        for (int answer : answers) text += " " + QString::number(answer);
        quizzes << text;
    }
};

class SlidesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a skin file (relative name with '/') of a header line and the
    // given lines, CR LF after each.
    void WriteSkin(const std::string& name, const std::string& header,
                   const std::vector<std::string>& lines);
    // Writes an (empty) content file.
    void Touch(const std::string& name);
    // The skin of a slide window with a picture frame (tag 110) at 100, 80
    // and the extra records in `lines`.
    void WriteSlideSkin(int lesson, char window, const std::vector<std::string>& lines = {});
    // A quiz skin with three groups of six boxes; with `answerTexts` a text
    // "Frage Q Antwort B" right of each box.
    void WriteQuizSkin(int lesson, int groups = 3, bool answerTexts = false);
    // Ticks box `box` of question `question` (1 to 3) by clicking it.
    void Tick(int question, int box);
    // A plan and waiting list of a fresh start.
    void FreshLists();
    // Which slide windows show ("A", "BC", …; "Q" for the quiz).
    std::string Showing() const;

    testsupport::TempFolder folder_;
    FakeHost host_;
};

} // namespace slidestest
