#pragma once
// CourseSession: the learner's course as the main window leads it. It keeps
// the lesson that is open and the one before, the practice plan's entry
// being practised with its tempo level and play count, the quiz's flags, the
// explorer mode, the lesson values the registry sets when a lesson opens, and
// the course's cursor and tempo tables for the learner's language.
//
// The slide windows and the quiz (LessonHost) and the panels of the left
// column (PanelHost) talk to it; what needs the main window (its screens,
// media player, pictures, message box, help) it hands on through
// CourseWindow. As an observer of the transport it keeps the tempo level of
// every pass in tutorial mode and counts the passes played through at the
// top level; both are written to the list files at once.

#include "journal/journal.h"
#include "lessons/lessonhost.h"
#include "lessons/lessonregistry.h"
#include "plan/liststore.h"
#include "plan/panelhost.h"
#include "playback/soundcues.h"
#include "playback/transport.h"

#include <optional>
#include <string>
#include <vector>

namespace lessons {

// What only the main window can do for the course.
class CourseWindow {
public:
    virtual ~CourseWindow() = default;

    // ---- Its screens -----------------------------------------------------------
    virtual void OpenLesson() = 0;
    virtual void OpenSlidesA() = 0;
    virtual void ClearLessonScreen() = 0;
    virtual void ShowNoLessonScreen() = 0;
    virtual void RefreshPlanPanel() = 0;
    // Shows the practice plan's restart button ("Von Vorn").
    virtual void ShowRestartButton() = 0;
    // The course was started again: the window's part (intro video, plan,
    // the no-lesson screen).
    virtual void CourseWasReset() = 0;
    // The skin loader of the lesson main screen.
    virtual SkinLoader* MainScreenSkin() = 0;
    // The open lesson's passes toward the quiz changed: one was played
    // through, or the lesson set them.
    virtual void PassProgressChanged() = 0;

    // ---- Media ---------------------------------------------------------------------
    virtual bool IsVideoPlaying() const = 0;
    virtual bool MediaPlayerPlaying() const = 0;
    virtual void StopMediaPlayer() = 0;
    // The action of the transport's stop button.
    virtual void StopTransport() = 0;
    virtual void PlayVideo(const std::string& video, const std::string& midiFile,
                           const platform::TRect& rect, int top, int left,
                           platform::TPanel* panel) = 0;

    // ---- Services ------------------------------------------------------------------
    virtual int AskMessage(const QString& title, const QString& body, const QString& cancel,
                           const QString& ok) = 0;
    virtual bool LoadJpegBitmap(platform::TBitmap* bitmap, const std::string& fileName) = 0;
    virtual void LoadPictureInto(platform::TImage* picture, const std::string& fileName) = 0;
    virtual void HelpButtonClick() = 0;
    virtual void AskTaskbarQuestion() = 0;
    virtual void ReportPictureError(const std::string& fileName) = 0;
};

class CourseSession : public LessonHost,
                      public plan::PanelHost,
                      public MainScreenHost,
                      public playback::TransportObserver {
public:
    // Passes played through at the top level before the quiz opens.
    static constexpr int kQuizPasses = plan::ListStore::kQuizPasses;

    // `programFolder` is Windows-1252 and ends in a separator. Becomes the
    // lesson host of the program until it goes.
    CourseSession(plan::ListStore& lists, playback::SoundCues& cues, CourseWindow& window,
                  std::string programFolder, int languageCode);
    ~CourseSession() override;
    CourseSession(const CourseSession&) = delete;
    CourseSession& operator=(const CourseSession&) = delete;

    // ---- Opening a lesson ---------------------------------------------------------
    // The tempo level a lesson opens at: 1 in explorer mode, else the plan
    // entry's level when it lies in 1..10, else 1.
    int OpeningLevel() const;
    // The lesson is opening: its play count comes from the plan entry.
    void LessonOpening();
    // The registry's main-screen values and skin for `lesson`; false when
    // the lesson has no entry.
    bool LoadMainScreen(int lesson);
    // The lesson as the transport plays it.
    playback::TransportLesson TransportLessonOf(int lesson) const;
    // The cursor geometry and tempo rows of every lesson for the language.
    const CourseTables& Tables() const { return tables_; }
    // Entering explorer mode remembers the plan entry whose lesson is open.
    void SetExplorerMode(bool on);
    // The plan entry to open again when explorer mode ends: the one whose
    // lesson was open when it began, while it still holds that lesson; -1
    // when there is none.
    int TutorialEntryToReopen() const;
    bool QuizOpens() const { return playCount_ >= kQuizPasses; }

    // ---- Values LoadMainScreen sets (MainScreenHost) -------------------------------
    void SetCountInBeats(int beats) override { countInBeats_ = beats; }
    void SetLoopRecordFifth(int value) override { loopRecordFifth_ = value; }
    void SetBeatDisplayOffset(int offset) override { beatDisplayOffset_ = offset; }
    void SetPlayCount(int count) override;
    void SetHoldRange(int lesson, const HoldRange& hold) override;
    void SetCursorActive(bool active) override { cursorActive_ = active; }
    SkinLoader* MainScreenSkin() override { return window_.MainScreenSkin(); }
    int CountInBeats() const { return countInBeats_; }
    int BeatDisplayOffset() const { return beatDisplayOffset_; }
    bool CursorActive() const { return cursorActive_; }

    // ---- The passes (TransportObserver) ---------------------------------------------
    void PassStarted(const playback::PassInfo& pass) override;
    void PassPlayedThrough(const playback::PassInfo& pass) override;

    // ---- The course (LessonHost and PanelHost) -------------------------------------
    int CurrentLesson() const override { return currentLesson_; }
    void SetCurrentLesson(int lesson) override { currentLesson_ = lesson; }
    int PreviousLesson() const override { return previousLesson_; }
    void SetPreviousLesson(int lesson) override { previousLesson_ = lesson; }
    int PlayCount() const override { return playCount_; }
    bool OpenedFromLessonScreen() const override { return openedFromLessonScreen_; }
    void SetOpenedFromLessonScreen(bool opened) override { openedFromLessonScreen_ = opened; }
    bool QuizIdle() const override { return quizIdle_; }
    void SetQuizIdle(bool idle) override { quizIdle_ = idle; }
    bool QuizFinished() const override { return quizFinished_; }
    void SetQuizFinished(bool finished) override { quizFinished_ = finished; }
    bool ExplorerMode() const override { return explorerMode_; }
    bool VideoPlaying() const override { return window_.IsVideoPlaying(); }
    std::string ProgramFolder() const override { return programFolder_; }
    int LanguageCode() const override { return languageCode_; }
    plan::ListStore& Lists() override { return lists_; }
    bool SaveListsNow() override { return lists_.SaveNow(); }
    void PlayClick() override { cues_.PlayClick(true, false); }
    void PlayNamedCue(const std::string& path) override { cues_.PlayNamedCue(path, true, false); }
    // Starts the course again: both lists back to their first state and
    // written at once, no lesson open.
    void ResetCourse() override;

    // ---- Handed to the main window -------------------------------------------------
    void OpenLesson() override { window_.OpenLesson(); }
    void OpenSlidesA() override { window_.OpenSlidesA(); }
    void ClearLessonScreen() override { window_.ClearLessonScreen(); }
    void ShowNoLessonScreen() override { window_.ShowNoLessonScreen(); }
    void RefreshPlanPanel() override { window_.RefreshPlanPanel(); }
    void ShowRestartButton() override { window_.ShowRestartButton(); }
    void ShowPlanEntryButton() override { window_.ShowRestartButton(); }
    bool MediaPlayerPlaying() const override { return window_.MediaPlayerPlaying(); }
    void StopMediaPlayer() override { window_.StopMediaPlayer(); }
    void StopTransport() override { window_.StopTransport(); }
    void PlayVideo(const std::string& video, const std::string& midiFile,
                   const platform::TRect& rect, int top, int left,
                   platform::TPanel* panel) override {
        window_.PlayVideo(video, midiFile, rect, top, left, panel);
    }
    int AskMessage(const QString& title, const QString& body, const QString& cancel,
                   const QString& ok) override {
        return window_.AskMessage(title, body, cancel, ok);
    }
    bool LoadJpegBitmap(platform::TBitmap* bitmap, const std::string& fileName) override {
        return window_.LoadJpegBitmap(bitmap, fileName);
    }
    void LoadPictureInto(platform::TImage* picture, const std::string& fileName) override {
        window_.LoadPictureInto(picture, fileName);
    }
    void HelpButtonClick() override { window_.HelpButtonClick(); }
    void AskTaskbarQuestion() override { window_.AskTaskbarQuestion(); }
    void ReportPictureError(const std::string& fileName) override {
        window_.ReportPictureError(fileName);
    }

    // ---- The practice journal ------------------------------------------------------
    // The journal the quizzes are recorded in; nullptr records nothing.
    void SetJournal(journal::Journal* journal) { journal_ = journal; }
    void QuizEvaluated(int lesson, bool passed, const std::vector<int>& answers) override {
        if (journal_ != nullptr) journal_->QuizEvaluated(lesson, passed, answers);
    }

private:
    // The plan entry being practised, or nullptr outside the plan's slots.
    plan::ListEntry* CurrentEntry() const;
    void StoreInCurrentEntry(std::optional<int> level, std::optional<int> playCount);

    plan::ListStore& lists_;
    playback::SoundCues& cues_;
    CourseWindow& window_;
    const std::string programFolder_;
    const int languageCode_;
    CourseTables tables_;
    LessonRegistry::Table mainScreens_;

    int currentLesson_ = -1;
    int previousLesson_ = -1;
    int playCount_ = 0;
    bool openedFromLessonScreen_ = false;
    bool quizIdle_ = true;
    bool quizFinished_ = false;
    bool explorerMode_ = false;
    int tutorialEntry_ = -1;  // the plan entry open when explorer mode began
    int tutorialLesson_ = -1; // and its lesson
    int countInBeats_ = 4;
    bool cursorActive_ = false;
    int beatDisplayOffset_ = 20;
    int loopRecordFifth_ = 0;
    journal::Journal* journal_ = nullptr;
};

} // namespace lessons
