// The main window's side of the slide windows and the quiz: the slide
// buttons of the lesson screen, the "Kontrolle" button, and what the course
// session hands to the window.

#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/skinerrors.h"
#include "lessons/quizwin.h"
#include "lessons/slidewindows.h"

namespace app {

using namespace platform;

// ============================================================ the slides

void TForm1::OpenSlidesA() {
    lessons::OpenSlideWindow(lessons::kSlideA);
}

// ============================================================== the quiz

// "Kontrolle": the quiz opens once the exercise was played through three
// times at the fastest level.
void TForm1::BKontrolleClick(TObject*) {
    if (Course->ExplorerMode() || Video->Playing || Course->CurrentLesson() < 0) return;
    if (Course->QuizOpens()) {
        Cues->PlayClick(true, false);
        Lists->ClearIntroMode();
        if (lessons::QuizWin != nullptr) lessons::QuizWin->ShowQuiz();
        return;
    }
    Course->PlayNamedCue(Places->ProgramFolder + "ClickSounds\\oh.wav");
    AskMessage(MessageText(9), MessageText(10), "", CaptionText(1));
}

// ============================================== what the course asks of it

void TForm1::ShowRestartButton() {
    BVonVorn->Show();
}

void TForm1::StopTransport() {
    BStopClick(BStop);
}

int TForm1::AskMessage(const QString& title, const QString& body, const QString& cancel,
                       const QString& ok) {
    return app::AskMessage(title, body, cancel, ok);
}

// From a slide window or the quiz: the help on them.
void TForm1::HelpButtonClick() {
    ShowHelp(BHilfe, "lektionen.html");
}

void TForm1::ReportPictureError(const std::string& fileName) {
    ShowPictureError(fileName);
}

} // namespace app
