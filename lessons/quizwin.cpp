#include "lessons/quizwin.h"

#include "layout/screenlayout.h"
#include "lessons/coursebutton.h"
#include "lessons/lessonhost.h"
#include "lessons/registrydata.h"
#include "lessons/slidewindows.h"
#include "plan/liststore.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/controls.h"

#include <QDir>
#include <algorithm>

namespace lessons {

using namespace platform;

TQuizWin* QuizWin = nullptr;

namespace {

constexpr int kBackdropTag = 200;
constexpr int kTintTagFirst = 201;
constexpr int kTintTagLast = 299;
constexpr int kButtonsLeft = layout::QuizButtonsLeft;
constexpr int kButtonsBottom = layout::QuizButtonsBottom;
constexpr int kButtonGap = layout::QuizButtonGap;
constexpr int kPanelMargin = 30;
constexpr TColor kPanelFrame = 7512020;  // red 212, green 159, blue 114
constexpr TColor kPanelShade = 6129341;  // red 189, green 134, blue 93
constexpr TColor kPanelLight = 10993114; // red 218, green 189, blue 167
constexpr TColor kPanelPaper = 16777215; // white
// An answer's text lies right of its box, at most this far away.
constexpr int kAnswerGap = 40;
constexpr int kPanelInset = 8;
constexpr TColor kWrongMark = RGB(0xD9, 0x62, 0x2B); // the course's accent
constexpr int kWrongFrame = 3;
constexpr int kWrongLabelHeight = 17;

void PlayCue(LessonHost& host, const char* relativeName) {
    host.PlayNamedCue(host.ProgramFolder() + relativeName);
}

} // namespace

int CheckAnswers(const SkinLoader& skin, const std::array<int, 3>& answerKey) {
    int wrong = 0;
    for (int question = 0; question < 3; ++question) {
        const CheckGroup* group = skin.Group(question);
        const int box = answerKey[question];
        const bool right =
            group != nullptr && box >= 1 && box <= CheckGroup::kBoxes && group->Ticked(box) != 0;
        if (!right) wrong |= 1 << question;
    }
    return wrong;
}

std::vector<int> TickedBoxes(const SkinLoader& skin) {
    std::vector<int> ticked;
    for (int question = 0; question < 3; ++question) {
        const CheckGroup* group = skin.Group(question);
        ticked.push_back(group != nullptr ? group->Selected() : 0);
    }
    return ticked;
}

TQuizWin::TQuizWin(TComponent* owner) : TForm(owner) {
    SetName("QuizWin");
    SetPosition(poMainFormCenter);
    SetKeyPreview(true);
    // 1., 2. The window paints its whole area itself; size; empty backdrop.
    SetBounds(0, 0, layout::MainWindow.width(), layout::MainWindow.height());
    Backdrop.SetSize(0, 0);
    // 3. Buttons.
    BNext = MakeButton("BNext", 1);
    BCancel = MakeButton("BCancel", 2);
    BHilfe = MakeButton("BHilfe", 15);
    // 4. Layout: OK at the bottom, "Abbrechen" and "Hilfe" above it.
    BNext->SetLeft(kButtonsLeft);
    BNext->SetTop(kButtonsBottom - BNext->Height());
    BCancel->SetLeft(kButtonsLeft);
    BCancel->SetTop(BNext->Top() - BNext->Height() - kButtonGap);
    BHilfe->SetLeft(kButtonsLeft);
    BHilfe->SetTop(BCancel->Top() - BCancel->Height() - kButtonGap);
    BNext->OnClick = [this](TObject* sender) { BNextClick(sender); };
    BCancel->OnClick = [this](TObject* sender) { BCancelClick(sender); };
    BHilfe->OnClick = [this](TObject* sender) { BHilfeClick(sender); };
    // 5. The skin loader.
    Skin = MakeSkinLoader(this);

    ConnectCourseWindowEvents(this);
    OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
    // The keyboard goes through the answers first, then the buttons.
    TabOrder = [this] {
        std::vector<TControl*> order = AnswerBoxes();
        order.insert(order.end(), {BNext, BCancel, BHilfe});
        return order;
    };
}

TQuizWin::~TQuizWin() {
    Skin.reset();
}

controls::TXFadeButton* TQuizWin::MakeButton(const QString& name, int captionNumber) {
    return MakeCourseButton(this, name, captionNumber, "");
}

// ================================================================ showing

void TQuizWin::ShowQuiz() {
    LessonHost* host = Host();
    if (host == nullptr) return;
    Backdrop.SetSize(0, 0);
    LoadQuiz(host->CurrentLesson());
    WireSkin();
    host->SetQuizIdle(false);
    PassKey = false;
    MarkedWrong = 0;
    SetCaption(CaptionText(10) + " – " + LessonNumberText(host->CurrentLesson()));
    DescribeAnswers();
    const std::vector<TControl*> boxes = AnswerBoxes();
    SetActiveControl(boxes.empty() ? static_cast<TControl*>(BNext) : boxes.front());
    Invalidate();
    Show();
}

std::vector<TControl*> TQuizWin::AnswerBoxes() const {
    std::vector<TControl*> boxes;
    for (int slot = 0; Skin && slot < SkinLoader::kGroupSlots; ++slot) {
        const CheckGroup* group = Skin->Group(slot);
        for (int number = 1; group != nullptr && number <= CheckGroup::kBoxes; ++number)
            if (group->Box(number) != nullptr && group->Box(number)->Visible())
                boxes.push_back(group->Box(number));
    }
    return boxes;
}

namespace {

// The skin's text written to the right of `box`, on its line.
TLabel* AnswerBeside(TForm& window, const TControl* box) {
    constexpr int kReach = 40;
    TLabel* best = nullptr;
    for (int i = 0; i < window.ComponentCount(); ++i) {
        auto* label = dynamic_cast<TLabel*>(window.Components(i));
        if (label == nullptr || !label->Visible() || label->Tag() != 0) continue;
        const int gap = label->Left() - (box->Left() + box->Width());
        const int middle = box->Top() + box->Height() / 2;
        if (gap < 0 || gap > kReach || middle < label->Top() - 4 ||
            middle > label->Top() + label->Height())
            continue;
        if (best == nullptr || label->Left() < best->Left()) best = label;
    }
    return best;
}

// The skin's text nearest above `box` that lies over it: the question.
TLabel* QuestionAbove(TForm& window, const TControl* box) {
    TLabel* best = nullptr;
    for (int i = 0; i < window.ComponentCount(); ++i) {
        auto* label = dynamic_cast<TLabel*>(window.Components(i));
        if (label == nullptr || !label->Visible() || label->Tag() != 0) continue;
        const bool above = label->Top() + label->Height() <= box->Top() + 2;
        const bool over = label->Left() <= box->Left() + box->Width() + 24 &&
                          label->Left() + label->Width() >= box->Left();
        if (above && over && (best == nullptr || label->Top() > best->Top())) best = label;
    }
    return best;
}

} // namespace

void TQuizWin::DescribeAnswers() {
    for (int slot = 0; Skin && slot < SkinLoader::kGroupSlots; ++slot) {
        const CheckGroup* group = Skin->Group(slot);
        if (group == nullptr) continue;
        const TLabel* question = QuestionAbove(*this, group->Box(1));
        for (int number = 1; number <= CheckGroup::kBoxes; ++number) {
            TControl* box = group->Box(number);
            if (box == nullptr) continue;
            const TLabel* answer = AnswerBeside(*this, box);
            box->SetAccessibleName(answer != nullptr ? answer->PresentedName()
                                                     : CaptionText(520).arg(number));
            box->SetAccessibleDescription(question != nullptr ? question->PresentedName()
                                                              : QString());
        }
    }
}

// The lesson's quiz entry: the first page, the "Kontrolle" skin, the window.
void TQuizWin::LoadQuiz(int lesson) {
    LessonHost* host = Host();
    PageIndex = 0;
    if (!Skin) Skin = MakeSkinLoader(this);
    QDir::setCurrent(QString::fromStdString(ResolveAnsiPath(host->ProgramFolder())));
    if (IsLesson(lesson))
        Skin->LoadSkin(QString::fromStdString(QuizFile(lesson)), kQuizHeader);
    else
        Skin->ClearElements();
    Show();
}

void TQuizWin::WireSkin() {
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(Components(i));
        if (control == nullptr) continue;
        const int tag = control->Tag();
        if (auto* picture = dynamic_cast<TImage*>(control); picture && tag == kBackdropTag) {
            BackdropTint(this, picture);
            Backdrop.Assign(picture->Picture());
            BackdropLeft = picture->Left();
            BackdropTop = picture->Top();
            picture->Hide();
            picture->Picture()->SetSize(0, 0);
        } else if (dynamic_cast<TShape*>(control) != nullptr && tag >= kTintTagFirst &&
                   tag <= kTintTagLast) {
            control->Hide();
        }
    }
    WireAnswerTexts();
}

// Each box's answer is the text just right of it at its height; the text
// takes the rest of its question's panel, so that a click anywhere on the
// answer's row ticks it.
void TQuizWin::WireAnswerTexts() {
    if (!Skin) return;
    const std::array<TRect, 3> panels = AnswerPanels(Width(), Height());
    for (int slot = 0; slot < SkinLoader::kGroupSlots; ++slot) {
        CheckGroup* group = Skin->Group(slot);
        if (group == nullptr) continue;
        for (int number = 1; number <= std::min(group->Count(), CheckGroup::kBoxes); ++number) {
            const TControl* box = group->Box(number);
            const int boxRight = box->Left() + box->Width();
            const int boxMiddle = box->Top() + box->Height() / 2;
            TLabel* answer = nullptr;
            for (const auto& text : Skin->Texts()) {
                TLabel* label = text->Label();
                const int gap = label->Left() - boxRight;
                const bool beside = gap >= 0 && gap <= kAnswerGap && boxMiddle >= label->Top() &&
                                    boxMiddle < label->Top() + label->Height();
                if (beside && (answer == nullptr || label->Left() < answer->Left())) answer = label;
            }
            if (answer == nullptr) continue;
            const int right = panels[std::size_t(slot)].Right - kPanelInset;
            if (answer->Left() + answer->Width() < right) {
                answer->SetAutoSize(false);
                answer->SetWidth(right - answer->Left());
            }
            answer->SetCursor(crHandPoint);
            answer->OnClick = [group, number](TObject*) { group->BoxClick(number); };
        }
    }
}

// ============================================================= evaluation

void TQuizWin::BNextClick(TObject*) {
    LessonHost* host = Host();
    if (host == nullptr) return;
    if (!Skin || Skin->Group(0) == nullptr) {
        EndWithoutQuestions();
        return;
    }
    const int lesson = host->CurrentLesson();
    WrongAnswers = CheckAnswers(*Skin, IsLesson(lesson) ? LessonValuesOf(lesson).AnswerKey
                                                        : std::array<int, 3>{0, 0, 0});
    host->SetQuizIdle(true);
    host->QuizEvaluated(lesson, WrongAnswers == 0 || PassKey, TickedBoxes(*Skin));
    if (WrongAnswers == 0 || PassKey)
        QuizPassed();
    else
        QuizFailed();
}

// A quiz without questions can be neither passed nor failed: it ends, and
// the plan stays as it is.
void TQuizWin::EndWithoutQuestions() {
    LessonHost* host = Host();
    host->AskMessage(MessageText(13), MessageText(14), "", "OK");
    host->SetQuizIdle(true);
    Hide();
}

// The lesson leaves the plan (saved at once); the next waiting lesson is
// offered, or the course goes on with the plan.
void TQuizWin::QuizPassed() {
    LessonHost* host = Host();
    plan::ListStore& lists = host->Lists();
    host->ClearLessonScreen();
    lists.RemoveFromPlan(lists.CurrentEntry);
    host->SaveListsNow();
    host->RefreshPlanPanel();
    const int next = lists.FirstWaiting();
    host->SetCurrentLesson(next);
    const bool planEmpty = lists.Plan[0].Lesson < 0;
    if (next == -1 && planEmpty) {
        Hide();
        host->ShowNoLessonScreen();
        PlayCue(*host, "ClickSounds\\allesrichtig.wav");
        host->AskMessage(MessageText(11), MessageText(8), "", CaptionText(1));
        return;
    }
    if (next == -1) {
        PlayCue(*host, "ClickSounds\\allesrichtig.wav");
        host->AskMessage(MessageText(11), " ", "", CaptionText(1));
        host->SetQuizIdle(true);
        Hide();
        host->SetCurrentLesson(lists.Plan[0].Lesson);
        lists.CurrentEntry = 0;
        host->OpenLesson();
        return;
    }
    PlayCue(*host, "ClickSounds\\allesrichtig.wav");
    if (host->AskMessage(MessageText(11), MessageText(12), CaptionText(6), CaptionText(5)) ==
        mrOk) {
        host->SetQuizIdle(true);
        host->SetOpenedFromLessonScreen(false);
        Hide();
        lists.SetIntroMode();
        host->SetQuizFinished(true);
        if (ExtWinA != nullptr) ExtWinA->OpenSlidesA();
        return;
    }
    host->SetQuizIdle(true);
    Hide();
    lists.CurrentEntry = 0;
    GoOnWithPlan();
}

void TQuizWin::GoOnWithPlan() {
    LessonHost* host = Host();
    plan::ListStore& lists = host->Lists();
    if (lists.Plan[0].Lesson >= 0) {
        host->SetCurrentLesson(lists.Plan[0].Lesson);
        host->OpenLesson();
    } else {
        host->ShowNoLessonScreen();
    }
}

// The questions answered wrongly are marked at once; "Ja" goes through the
// lesson's slides again, and the quiz comes back after them; "Nein" leaves
// the quiz open with its ticks and its marks.
void TQuizWin::QuizFailed() {
    LessonHost* host = Host();
    MarkedWrong = WrongAnswers;
    Repaint();
    PlayCue(*host, "ClickSounds\\nichtrichtig.wav");
    if (host->AskMessage(MessageText(13), MessageText(14), CaptionText(4), CaptionText(3)) != mrOk)
        return;
    host->SetQuizIdle(false);
    Hide();
    if (ExtWinA != nullptr) ExtWinA->OpenSlidesA();
}

void TQuizWin::BCancelClick(TObject*) {
    if (LessonHost* host = Host()) host->SetQuizIdle(true);
    Hide();
}

void TQuizWin::BHilfeClick(TObject*) {
    if (LessonHost* host = Host()) host->HelpButtonClick();
}

// ================================================================== keys

void TQuizWin::FormKeyDown(TObject*, WORD& key, TShiftState shift) {
    const bool testerShift =
        shift.Contains(ssShift) && shift.Contains(ssAlt) && !shift.Contains(ssCtrl);
    if (key == VK_ESCAPE) {
        key = 0;
        BCancel->Click();
    } else if (key == VK_RETURN) {
        key = 0;
        BNext->Click();
    } else if (key == VK_F1) {
        BHilfeClick(this);
    } else if (key == kTesterKey && testerShift) {
        PassKey = true;
        BNext->Click();
    } else if (key == 'T') {
        if (LessonHost* host = Host()) host->AskTaskbarQuestion();
    } else if (key == VK_F4 && shift.Contains(ssAlt)) {
        key = 0;
    }
}

// =============================================================== painting

void TQuizWin::FormShow(TObject*) {
    LessonHost* host = Host();
    BackgroundPresent = false;
    if (host == nullptr) return;
    QDir::setCurrent(QString::fromStdString(ResolveAnsiPath(host->ProgramFolder())));
    BackgroundPresent = host->LoadJpegBitmap(&Background, "Bilder\\hintergrundQ.jpg");
}

void TQuizWin::FormHide(TObject*) {
    BackgroundPresent = false;
    Background.SetSize(0, 0);
}

std::array<TRect, 3> TQuizWin::AnswerPanels(int width, int height) {
    const int w = int((width - 69) * 0.5);
    const int h = int((height - 69) * 0.5);
    const int m = kPanelMargin;
    return {Rect(m, m, w + m, h + m), Rect(w + 39, m, width - m, h + m),
            Rect(m, h + 39, w + m, height - m)};
}

void TQuizWin::FormPaint(TObject*) {
    TCanvas* canvas = Canvas();
    if (BackgroundPresent) {
        canvas->StretchDraw(ClientRect(), &Background);
    } else {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(ClientRect());
    }
    const std::array<TRect, 3> panels = AnswerPanels(Width(), Height());
    for (const TRect& panel : panels)
        DrawAnswerPanel(panel);
    for (int question = 0; question < 3; ++question)
        if (MarkedWrong & (1 << question)) DrawWrongMark(panels[std::size_t(question)]);
    if (!Backdrop.Empty()) canvas->Draw(BackdropLeft, BackdropTop, &Backdrop);
}

// A question answered wrongly: its panel framed in the accent colour, and a
// note on the frame's top edge at the right.
void TQuizWin::DrawWrongMark(const TRect& panel) {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(kWrongMark);
    for (int i = 0; i < kWrongFrame; ++i)
        canvas->FrameRect(Rect(panel.Left - i, panel.Top - i, panel.Right + i, panel.Bottom + i));
    const QString note = CaptionText(614);
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetHeight(-11);
    canvas->Font()->SetStyle(fsBold);
    canvas->Font()->SetColor(clWhite);
    const int width = canvas->TextWidth(note) + 12;
    const TRect label = Rect(panel.Right - 12 - width, panel.Top - kWrongLabelHeight / 2,
                             panel.Right - 12, panel.Top + kWrongLabelHeight - kWrongLabelHeight / 2);
    canvas->FillRect(label);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(label.Left + 6, label.Top + (kWrongLabelHeight - canvas->TextHeight(note)) / 2,
                    note);
}

// A white panel with a one-pixel frame, a shaded inner edge at top and left
// and a light one at bottom and right.
void TQuizWin::DrawAnswerPanel(const TRect& panel) {
    TCanvas* canvas = Canvas();
    const int x1 = panel.Left, y1 = panel.Top, x2 = panel.Right, y2 = panel.Bottom;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(kPanelFrame);
    canvas->FrameRect(panel);
    canvas->Brush()->SetColor(kPanelPaper);
    canvas->Pen()->SetColor(kPanelShade);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Rectangle(x1 + 1, y1 + 1, x2 - 1, y2 - 1);
    canvas->MoveTo(x1 + 1, y1 + 2);
    canvas->LineTo(x2 - 1, y1 + 2);
    canvas->MoveTo(x1 + 2, y1 + 1);
    canvas->LineTo(x1 + 2, y2 - 1);
    canvas->Pen()->SetColor(kPanelLight);
    canvas->MoveTo(x1 + 3, y2 - 2);
    canvas->LineTo(x2 - 2, y2 - 2);
    canvas->MoveTo(x2 - 2, y1 + 3);
    canvas->LineTo(x2 - 2, y2 - 2);
}

void TQuizWin::FormClose(TObject*, TCloseAction&) {
    Skin.reset();
}

} // namespace lessons
