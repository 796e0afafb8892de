// The main window's side of the slide windows and the quiz: the way they
// reach the main window (a LessonHost over TForm1), the "Kontrolle" button,
// the slide buttons of the lesson screen, and the taskbar question.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/skinerrors.h"
#include "lessons/quizwin.h"
#include "lessons/slidewindows.h"
#include "plan/liststore.h"
#include "playback/soundcues.h"

namespace app {

using namespace platform;

namespace {

// The main window as the slide windows and the quiz see it.
class MainWindowHost : public lessons::LessonHost {
public:
    explicit MainWindowHost(TForm1& form) : form_(form) {}
    ~MainWindowHost() override {
        if (lessons::Host() == this) lessons::SetLessonHost(nullptr);
    }

    int CurrentLesson() const override { return form_.CurrentLesson; }
    void SetCurrentLesson(int lesson) override { form_.CurrentLesson = lesson; }
    int PreviousLesson() const override { return form_.PreviousLesson; }
    int PlayCount() const override { return form_.PlayCount; }
    bool OpenedFromLessonScreen() const override { return form_.OpenedFromLessonScreen; }
    void SetOpenedFromLessonScreen(bool opened) override { form_.OpenedFromLessonScreen = opened; }
    bool QuizIdle() const override { return form_.QuizIdle; }
    void SetQuizIdle(bool idle) override { form_.QuizIdle = idle; }
    bool QuizFinished() const override { return form_.QuizFinished; }
    void SetQuizFinished(bool finished) override { form_.QuizFinished = finished; }
    bool VideoPlaying() const override { return form_.VideoPlaying; }
    bool ExplorerMode() const override { return form_.ExplorerMode; }
    std::string ProgramFolder() const override { return form_.ProgramFolder; }
    int LanguageCode() const override { return form_.LanguageCode; }

    plan::ListStore& Lists() override { return *form_.Lists; }
    bool SaveListsNow() override { return form_.SaveListsNow(); }
    void PlayClick() override { form_.Cues->PlayClick(true, false); }
    void PlayNamedCue(const std::string& path) override {
        form_.Cues->PlayNamedCue(path, true, false);
    }

    void OpenLesson() override { form_.OpenLesson(); }
    void ClearLessonScreen() override { form_.ClearLessonScreen(); }
    void ShowNoLessonScreen() override { form_.ShowNoLessonScreen(); }
    void RefreshPlanPanel() override { form_.RefreshPlanPanel(); }
    void ShowRestartButton() override { form_.BVonVorn->Show(); }

    bool LoadJpegBitmap(TBitmap* bitmap, const std::string& fileName) override {
        return form_.LoadJpegBitmap(bitmap, fileName);
    }
    void LoadPictureInto(TImage* picture, const std::string& fileName) override {
        form_.LoadPictureInto(picture, fileName);
    }
    bool MediaPlayerPlaying() const override { return form_.MediaPlayerPlaying(); }
    void StopMediaPlayer() override { form_.StopMediaPlayer(); }
    void PlayVideo(const std::string& videoFile, const std::string& midiFile, TRect display,
                   int top, int left, TPanel* panel) override {
        form_.PlayVideo(videoFile, midiFile, display, top, left, panel);
    }
    int AskMessage(const QString& title, const QString& body, const QString& cancelCaption,
                   const QString& okCaption) override {
        return app::AskMessage(title, body, cancelCaption, okCaption);
    }
    void HelpButtonClick() override { form_.BHilfeClick(form_.BHilfe); }
    void AskTaskbarQuestion() override { form_.AskTaskbarQuestion(); }
    void ReportPictureError(const std::string& fileName) override { ShowPictureError(fileName); }
    void QuizEvaluated(int lesson, bool passed, const std::vector<int>& answers) override {
        if (form_.Journal) form_.Journal->QuizEvaluated(lesson, passed, answers);
    }

private:
    TForm1& form_;
};

} // namespace

void TForm1::ConnectCourseWindows() {
    CourseHost = std::make_unique<MainWindowHost>(*this);
    lessons::SetLessonHost(CourseHost.get());
}

// ============================================================ the slides

void TForm1::OpenSlidesA() {
    if (lessons::ExtWinA != nullptr) lessons::ExtWinA->OpenSlidesA();
}

void TForm1::OpenSlidesB() {
    if (lessons::ExtWinB != nullptr) lessons::ExtWinB->OpenSlidesB();
}

void TForm1::OpenSlidesC() {
    if (lessons::ExtWinC != nullptr) lessons::ExtWinC->OpenSlidesC();
}

// The lesson screen's slide pictures: 0 opens window A, 1 B, 2 C.
void TForm1::OpenSlides(int window) {
    if (window == lessons::kSlideA) OpenSlidesA();
    if (window == lessons::kSlideB) OpenSlidesB();
    if (window == lessons::kSlideC) OpenSlidesC();
}

// ============================================================== the quiz

void TForm1::ShowQuiz() {
    if (lessons::QuizWin != nullptr) lessons::QuizWin->ShowQuiz();
}

// "Kontrolle": the quiz opens once the exercise was played through three
// times at the fastest level.
void TForm1::BKontrolleClick(TObject*) {
    if (ExplorerMode || VideoPlaying || CurrentLesson < 0) return;
    if (PlayCount >= 3) {
        Cues->PlayClick(true, false);
        Lists->ClearIntroMode();
        ShowQuiz();
        return;
    }
    CourseHost->PlayNamedCue(ProgramFolder + "ClickSounds\\oh.wav");
    AskMessage(MessageText(9), MessageText(10), "", CaptionText(1));
}

// ================================================================= the rest

void TForm1::AskTaskbarQuestion() {
    ShowTaskbar(AskMessage(MessageText(1), MessageText(30), CaptionText(4), CaptionText(3)) ==
                mrOk);
}

bool TForm1::SaveListsNow() {
    return Lists->SaveNow();
}

} // namespace app
