#pragma once
// TQuizWin: the quiz ("Kontrolle") that closes a lesson. Three multiple-choice
// questions come from the lesson's "Kontrolle" skin, each a group of tick
// boxes; "OK" checks the ticks against the lesson's answer key. A right quiz
// takes the lesson out of the practice plan and offers the next lesson; a
// wrong one offers to go through the lesson's slides again.
//
// A quiz without questions (no group in slot 0) ends after its message, not
// passed, and changes nothing; a question whose group is missing counts as
// answered wrongly.
//
// The quiz is raised above the program's other windows when it shows, but
// carries no stay-on-top hint: under a window manager that would keep it
// above the program's own message box, and the learner could not answer.
// Every change of the plan it makes is written to disk at once.

#include "controls/fadebutton.h"
#include "lessons/skinloader.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphics.h"

#include <array>
#include <memory>
#include <vector>

namespace lessons {

// The wrong-answer mask of a quiz skin: bit q − 1 is set for every question
// q (1 to 3) whose right box, `answerKey`[q − 1], is not ticked in group slot
// q − 1, or whose group is missing. 0 means all right.
int CheckAnswers(const SkinLoader& skin, const std::array<int, 3>& answerKey);

// The box ticked in each of the three questions (0 for none or a missing group).
std::vector<int> TickedBoxes(const SkinLoader& skin);

class TQuizWin : public platform::TForm {
public:
    explicit TQuizWin(platform::TComponent* owner);
    ~TQuizWin() override;

    controls::TXFadeButton* BNext;   // "OK"
    controls::TXFadeButton* BCancel; // "Abbrechen"
    controls::TXFadeButton* BHilfe;  // "Hilfe"

    std::unique_ptr<SkinLoader> Skin;
    platform::TBitmap Background;
    bool BackgroundPresent = false;
    platform::TBitmap Backdrop;
    int BackdropLeft = 0, BackdropTop = 0;
    // Bit 0, 1, 2: question 1, 2, 3 answered wrongly. Kept between quizzes.
    int WrongAnswers = 0;
    // Set by the tester key: the quiz counts as passed whatever is ticked.
    bool PassKey = false;
    // The quiz skin's page (always the first).
    int PageIndex = 0;
    // The questions marked as answered wrongly (bits as WrongAnswers): set
    // when an answer fails, until the quiz is shown anew.
    int MarkedWrong = 0;

    // The hidden tester key: Shift + Alt + this letter.
    static constexpr platform::WORD kTesterKey = 'K';

    // Loads and shows the quiz of the current lesson.
    void ShowQuiz();

    void BNextClick(platform::TObject* Sender);
    void BCancelClick(platform::TObject* Sender);
    void BHilfeClick(platform::TObject* Sender);
    void FormKeyDown(platform::TObject* Sender, platform::WORD& Key, platform::TShiftState Shift);
    void FormPaint(platform::TObject* Sender);
    void FormShow(platform::TObject* Sender);
    void FormHide(platform::TObject* Sender);
    void FormClose(platform::TObject* Sender, platform::TCloseAction& Action);

    // The three answer panels (left, top, right, bottom) of a window of
    // `width` × `height`; the fourth quarter, bottom right, holds the buttons.
    static std::array<platform::TRect, 3> AnswerPanels(int width, int height);

    // The tick boxes that show, question by question.
    std::vector<platform::TControl*> AnswerBoxes() const;

private:
    // Each box is called by the answer written beside it and described by
    // its question, for a screen reader.
    void DescribeAnswers();
    void LoadQuiz(int lesson);
    void WireSkin();
    // A click on an answer's text or beside it ticks the answer's box.
    void WireAnswerTexts();
    void DrawWrongMark(const platform::TRect& panel);
    void QuizPassed();
    void QuizFailed();
    void EndWithoutQuestions();
    void GoOnWithPlan();
    void DrawAnswerPanel(const platform::TRect& panel);
    controls::TXFadeButton* MakeButton(const QString& name, int captionNumber);
};

// The quiz window of the program (created by the program entry).
extern TQuizWin* QuizWin;

} // namespace lessons
