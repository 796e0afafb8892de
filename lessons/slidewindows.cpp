#include "lessons/slidewindows.h"

#include "layout/screenlayout.h"
#include "lessons/lessonhost.h"
#include "lessons/quizwin.h"
#include "lessons/registrydata.h"
#include "plan/liststore.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/application.h"
#include "sprachbank/sprachbank.h"

#include <algorithm>
#include <string>

namespace lessons {

using namespace platform;

TExtWinA* ExtWinA = nullptr;
TExtWinB* ExtWinB = nullptr;
TExtWinC* ExtWinC = nullptr;

namespace {

constexpr int kFrameTag = 110;
constexpr int kNextPictureTag = 120;
constexpr int kPictureTagFirst = 121;
constexpr int kPictureTagLast = 124;
constexpr int kVideoTagFirst = 131;
constexpr int kVideoTagLast = 133;
constexpr int kChordTagFirst = 141;
constexpr int kChordTagLast = 143;
constexpr int kSlidePictures = 4;

constexpr int kButtonsLeft = layout::SlideButtonsLeft;
constexpr int kButtonsBottom = layout::SlideButtonsBottom;
constexpr int kNumberLeftGerman = 714;
constexpr int kNumberLeftOther = 710;
constexpr int kPlateMargin = 2; // the side labels end at least this far inside the plate
constexpr int kNumberTop = 88;
constexpr int kHeadingTop = 66;
constexpr TColor kInk = RGB(0x3B, 0x2A, 0x1E);

const char* const kPictureLetters[] = {"\\DiaA", "\\DiaB", "\\DiaC"};
const char* const kWindowNames[] = {"ExtWinA", "ExtWinB", "ExtWinC"};

std::string LessonPath(LessonHost& host, int lesson) {
    return host.ProgramFolder() + "lektion" + std::to_string(lesson);
}

bool IsCourseLesson(int lesson) {
    return IsLesson(lesson);
}

void PlayCue(LessonHost& host, const char* relativeName) {
    host.PlayNamedCue(host.ProgramFolder() + relativeName);
}

} // namespace

QString LessonNumberText(int lesson) {
    if (lesson == 0) return CaptionText(21);
    if (lesson == kLessonCount - 1) return CaptionText(22);
    return CaptionText(20) + " " + QString::number(lesson);
}

// ================================================================ TExtWin

TExtWin::TExtWin(TComponent* owner, int window)
    : TLessonWindow(owner, kWindowNames[window], "Bilder\\hintergrundA.jpg", "LF"),
      window_(window) {
    // The form's controls; LUeNummer is component 0.
    LUeNummer = new TLabel(this);
    LUeNummer->SetParent(this);
    LUeNummer->SetTransparent(true);
    LUeNummer->SetShowAccelChar(false);
    LUeNummer->Font()->SetName("Arial");
    LUeNummer->Font()->SetHeight(-13);
    LUeNummer->Font()->SetStyle(fsBold);
    LUeNummer->Font()->SetColor(kInk);
    Label1 = new TLabel(this);
    Label1->SetParent(this);
    Label1->SetTransparent(true);
    Label1->SetShowAccelChar(false);
    Label1->Font()->SetName("Arial");
    Label1->Font()->SetHeight(-11);
    Label1->Font()->SetColor(kInk);
    // The buttons (each window places them).
    CreateButtons(7);
    // The lesson number and the heading.
    LUeNummer->SetTop(kNumberTop);
    Label1->SetTop(kHeadingTop);
    Label1->SetCaption(CaptionText(23));
    PlaceSideLabels();
    // Skip flags and slide pictures.
    for (int lesson = 0; lesson < kLessonCount; ++lesson)
        SkipWindow[lesson] = SkipsSlideWindow(lesson, window);
    SlidePictures = TSlidePictures{};
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    // The keyboard starts on "Weiter", goes on to "Zurück", "Abbrechen" and
    // "Hilfe", and then through the slide's pictures and links.
    SetActiveControl(BNext);
    TabOrder = [this] { return std::vector<TControl*>{BNext, BackButton(), BCancel, BHilfe}; };
}

TControl* TExtWin::BackButton() const {
    return nullptr;
}

TExtWin::~TExtWin() = default;

void TExtWin::PlaceButtons(std::initializer_list<controls::TXFadeButton*> upper) {
    BNext->SetLeft(kButtonsLeft);
    BNext->SetTop(kButtonsBottom - BNext->Height());
    controls::TXFadeButton* below = BNext;
    auto stack = [&below](controls::TXFadeButton* button) {
        button->SetLeft(below->Left());
        button->SetTop(below->Top() - below->Height() - 1);
        below = button;
    };
    stack(BCancel);
    for (controls::TXFadeButton* button : upper)
        stack(button);
}

void TExtWin::LoadAndShow() {
    LessonHost* host = Host();
    if (host == nullptr) return;
    const int lesson = host->CurrentLesson();
    if (!IsLesson(lesson)) return;
    SlidePictures.BasePath = LessonPath(*host, lesson) + kPictureLetters[window_];
    SlidePictures.Number = 1;
    SlidePictures.FrameIndex = 0;
    Backdrop.SetSize(0, 0);
    if (!Skin) Skin = MakeSkinLoader(this);
    Skin->SetContent(ContentPaths(host->ProgramFolder()));
    Skin->LoadSkin(QString::fromStdString(SlideFile(lesson, window_)),
                   QString::fromLatin1(LessonValuesOf(lesson).Header));
    SlidePictures.Shown = 1; // the skin's frame shows the first picture
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(Components(i))) WireControl(control);
    MarkPictureNumber();
    LUeNummer->SetCaption(LessonNumberText(lesson));
    PlaceSideLabels();
    SetCaption(CaptionText(23) + " " + QChar('A' + window_) + " – " + LessonNumberText(lesson));
    Invalidate();
    Show();
}

// The lesson's name and "Lernfenster" stand at their designed left on the
// side plate, moved left together where the longer one would run past it.
void TExtWin::PlaceSideLabels() {
    const int designed = DLL_GetLanguage() != 0 ? kNumberLeftOther : kNumberLeftGerman;
    const int widest = std::max(LUeNummer->Width(), Label1->Width());
    const int left = std::min(designed, layout::SlideSidebarPlate.right() - kPlateMargin - widest);
    LUeNummer->SetLeft(left);
    Label1->SetLeft(left);
}

bool TExtWin::WireControl(TControl* control) {
    if (TakeBackdrop(control)) return true;
    const int tag = control->Tag();
    const bool picture = dynamic_cast<TImage*>(control) != nullptr;
    const bool label = dynamic_cast<TLabel*>(control) != nullptr;
    if (picture && tag == kFrameTag) {
        SlidePictures.FrameIndex = control->ComponentIndex();
    } else if ((picture || label) && tag == kNextPictureTag) {
        control->SetCursor(crHandPoint);
        control->SetAccessibleName(CaptionText(518));
        control->OnClick = [this](TObject* sender) { NextSlidePicture(sender); };
    } else if (label && tag >= kPictureTagFirst && tag <= kPictureTagLast) {
        const int number = tag - kNextPictureTag;
        numberColour_ = static_cast<TLabel*>(control)->Font()->Color();
        control->SetCursor(crHandPoint);
        control->SetAccessibleName(CaptionText(517).arg(number));
        control->OnClick = [this, number](TObject* sender) { ShowSlidePicture(sender, number); };
    } else {
        return false;
    }
    return true;
}

TImage* TExtWin::Frame() const {
    const int index = SlidePictures.FrameIndex;
    if (index < 0 || index >= ComponentCount()) return nullptr;
    return dynamic_cast<TImage*>(Components(index));
}

void TExtWin::NextSlidePicture(TObject*) {
    LessonHost* host = Host();
    if (host == nullptr || (window_ == kSlideA && host->VideoPlaying())) return;
    PlayPhotoCue();
    if (Frame() == nullptr) return;
    for (int tries = 0; tries < kSlidePictures; ++tries) {
        SlidePictures.Number = SlidePictures.Number % kSlidePictures + 1;
        if (ShowInFrame(SlidePictures.Number)) return;
    }
}

void TExtWin::ShowSlidePicture(TObject* sender, int number) {
    LessonHost* host = Host();
    if (host == nullptr || (window_ == kSlideA && host->VideoPlaying())) return;
    PlayPhotoCue();
    if (dynamic_cast<TLabel*>(sender) == nullptr) return;
    SlidePictures.Number = number;
    ShowInFrame(number);
}

// Slide picture `number` in the frame, when both are there; its number is
// marked.
bool TExtWin::ShowInFrame(int number) {
    LessonHost* host = Host();
    TImage* frame = Frame();
    const std::string file = SlidePictures.BasePath + std::to_string(number) + ".jpg";
    if (host == nullptr || frame == nullptr || !AnsiPathExists(file)) return false;
    host->LoadPictureInto(frame, file);
    SlidePictures.Shown = number;
    MarkPictureNumber();
    return true;
}

void TExtWin::MarkPictureNumber() {
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* label = dynamic_cast<TLabel*>(Components(i));
        if (label == nullptr || label->Tag() < kPictureTagFirst || label->Tag() > kPictureTagLast)
            continue;
        const bool shown = label->Tag() - kNextPictureTag == SlidePictures.Shown;
        TFont* font = label->Font();
        font->SetStyle(shown ? font->Style() | fsUnderline : font->Style() & ~TFontStyles(fsUnderline));
        font->SetColor(shown ? kInk : numberColour_);
    }
}

void TExtWin::PlayClick() {
    if (LessonHost* host = Host()) host->PlayClick();
}

void TExtWin::PlayPhotoCue() {
    if (LessonHost* host = Host()) PlayCue(*host, "ClickSounds\\foto.wav");
}

// "Abbrechen": a lesson being introduced is abandoned; after a passed quiz
// the main window opens the first lesson of the plan, or the no-lesson screen.
void TExtWin::LeaveSlides() {
    LessonHost* host = Host();
    if (host == nullptr) return;
    PlayClick();
    if (host->Lists().IntroMode() && !host->OpenedFromLessonScreen())
        host->SetCurrentLesson(host->PreviousLesson());
    Hide();
    if (!host->QuizFinished()) return;
    plan::ListStore& lists = host->Lists();
    if (lists.Plan[0].Lesson < 0) {
        host->ShowNoLessonScreen();
        return;
    }
    host->SetCurrentLesson(lists.Plan[0].Lesson);
    // The lesson of slot 0 opens with its own level and play count.
    lists.CurrentEntry = 0;
    host->OpenLesson();
}

void TExtWin::FormCloseQuery(TObject*, bool& canClose) {
    Skin.reset();
    SlidePictures = TSlidePictures{};
    canClose = true;
}

// =============================================================== window A

TExtWinA::TExtWinA(TComponent* owner) : TExtWin(owner, kSlideA) {
    VideoPanel = new TPanel(this);
    VideoPanel->SetName("VideoPanel");
    VideoPanel->SetParent(this);
    VideoPanel->SetColor(clBlack);
    VideoPanel->SetBevelOuter(bvNone);
    VideoPanel->SetBounds(0, 0, kVideoRect.Width(), kVideoRect.Height());
    VideoPanel->Hide();
    PlaceButtons({BHilfe});
}

void TExtWinA::OpenSlidesA() {
    LessonHost* host = Host();
    if (host == nullptr || !IsCourseLesson(host->CurrentLesson())) return;
    if (SkipWindow[host->CurrentLesson()]) {
        if (ExtWinB != nullptr) ExtWinB->OpenSlidesB();
        return;
    }
    LoadAndShow();
}

bool TExtWinA::WireControl(TControl* control) {
    const int tag = control->Tag();
    const bool picture = dynamic_cast<TImage*>(control) != nullptr;
    const bool label = dynamic_cast<TLabel*>(control) != nullptr;
    if (picture && tag == kFrameTag) {
        SlidePictures.FrameIndex = control->ComponentIndex();
        VideoPanel->SetLeft(control->Left());
        VideoPanel->SetTop(control->Top());
        return true;
    }
    if (TExtWin::WireControl(control)) return true;
    if (picture && tag >= kChordTagFirst && tag <= kChordTagLast) {
        const int number = tag - kChordTagFirst + 1;
        control->SetAccessibleName(CaptionText(519).arg(number));
        control->OnClick = [this, number](TObject* sender) { ChordSample(sender, number); };
    } else if (label && tag >= kVideoTagFirst && tag <= kVideoTagLast) {
        const int number = tag - kVideoTagFirst + 1;
        control->OnClick = [this, number](TObject* sender) { PlayLessonVideo(sender, number); };
    } else {
        return false;
    }
    control->SetCursor(crHandPoint);
    return true;
}

void TExtWinA::ChordSample(TObject*, int number) {
    LessonHost* host = Host();
    if (host == nullptr || host->VideoPlaying()) return;
    const std::string file =
        LessonPath(*host, host->CurrentLesson()) + "\\Akkord" + std::to_string(number) + ".wav";
    if (!AnsiPathExists(file)) return;
    try {
        if (host->MediaPlayerPlaying()) host->StopMediaPlayer();
    } catch (const Exception& error) {
        host->AskMessage(ErrorText(6), error.Message(), "", "OK");
    }
    try {
        host->PlayNamedCue(file);
    } catch (const Exception& error) {
        host->AskMessage(ErrorText(7), error.Message(), "", "OK");
    }
}

void TExtWinA::PlayLessonVideo(TObject*, int number) {
    LessonHost* host = Host();
    if (host == nullptr || host->VideoPlaying()) return;
    PlayPhotoCue();
    const std::string base =
        LessonPath(*host, host->CurrentLesson()) + "\\Video" + std::to_string(number);
    const std::string video = base + ".avi";
    if (!AnsiPathExists(video)) return;
    host->PlayVideo(video, base + ".mid", kVideoRect, VideoPanel->Top(), VideoPanel->Left(),
                    VideoPanel);
}

void TExtWinA::BNextClick(TObject*) {
    LessonHost* host = Host();
    if (host == nullptr || host->VideoPlaying()) return;
    PlayClick();
    Hide();
    if (ExtWinB != nullptr) ExtWinB->OpenSlidesB();
}

void TExtWinA::BCancelClick(TObject*) {
    LessonHost* host = Host();
    if (host == nullptr) return;
    if (host->VideoPlaying()) {
        host->StopMediaPlayer();
        return;
    }
    LeaveSlides();
}

// =============================================================== window B

TExtWinB::TExtWinB(TComponent* owner) : TExtWin(owner, kSlideB) {
    BBack = MakeButton("BBack", 8);
    BBack->OnClick = [this](TObject* sender) { BBackClick(sender); };
    PlaceButtons({BBack, BHilfe});
}

TControl* TExtWinB::BackButton() const {
    return BBack;
}

void TExtWinB::OpenSlidesB() {
    LessonHost* host = Host();
    if (host == nullptr || !IsCourseLesson(host->CurrentLesson())) return;
    const int lesson = host->CurrentLesson();
    if (SkipWindow[lesson]) {
        try {
            BNextClick(this);
        } catch (const std::exception& error) {
            platform::MessageBox(QString::fromUtf8(error.what()) + " ", Application->Title(),
                                 MB_OK);
        }
        return;
    }
    BBack->SetVisible(!SkipsSlideWindow(lesson, kSlideA));
    LoadAndShow();
}

void TExtWinB::BNextClick(TObject*) {
    PlayClick();
    Hide();
    if (ExtWinC != nullptr) ExtWinC->OpenSlidesC();
}

void TExtWinB::BBackClick(TObject*) {
    LessonHost* host = Host();
    if (host == nullptr) return;
    PlayClick();
    if (SkipsSlideWindow(host->CurrentLesson(), kSlideA)) return;
    Hide();
    if (ExtWinA != nullptr) ExtWinA->OpenSlidesA();
}

void TExtWinB::BCancelClick(TObject*) {
    LeaveSlides();
}

// =============================================================== window C

TExtWinC::TExtWinC(TComponent* owner) : TExtWin(owner, kSlideC) {
    BBack = MakeButton("BBack", 8);
    BBack->OnClick = [this](TObject* sender) { BBackClick(sender); };
    PlaceButtons({BBack, BHilfe});
}

TControl* TExtWinC::BackButton() const {
    return BBack;
}

void TExtWinC::OpenSlidesC() {
    LessonHost* host = Host();
    if (host == nullptr || !IsCourseLesson(host->CurrentLesson())) return;
    const int lesson = host->CurrentLesson();
    if (SkipWindow[lesson]) {
        BNextClick(this);
        return;
    }
    BBack->SetVisible(!(SkipsSlideWindow(lesson, kSlideA) && SkipsSlideWindow(lesson, kSlideB)));
    LoadAndShow();
}

void TExtWinC::BBackClick(TObject*) {
    LessonHost* host = Host();
    if (host == nullptr) return;
    PlayClick();
    const int lesson = host->CurrentLesson();
    if (SkipsSlideWindow(lesson, kSlideB)) {
        if (SkipsSlideWindow(lesson, kSlideA)) return;
        Hide();
        if (ExtWinA != nullptr) ExtWinA->OpenSlidesA();
        return;
    }
    Hide();
    if (ExtWinB != nullptr) ExtWinB->OpenSlidesB();
}

void TExtWinC::BCancelClick(TObject*) {
    LeaveSlides();
}

// The end of the slides: back to the lesson screen after a review, on to the
// quiz after a failed one, or the new lesson enters the plan and opens.
void TExtWinC::BNextClick(TObject*) {
    LessonHost* host = Host();
    if (host == nullptr) return;
    PlayClick();
    Hide();
    if (host->OpenedFromLessonScreen() && host->QuizIdle()) return;
    if (!host->Lists().IntroMode()) {
        if (QuizWin != nullptr) QuizWin->ShowQuiz();
        return;
    }
    AddLessonToPlan();
}

void TExtWinC::AddLessonToPlan() {
    LessonHost* host = Host();
    plan::ListStore& lists = host->Lists();
    const int lesson = host->CurrentLesson();
    const int slot = lists.AddToPlan(lesson);
    // A full plan takes no lesson: nothing changes, the main window keeps
    // what it shows.
    if (slot >= plan::ListStore::kPlanSlots) return;
    lists.CurrentEntry = slot;
    lists.Waiting[lesson].Lesson = 0;
    host->SaveListsNow();
    host->RefreshPlanPanel();
    host->ShowRestartButton();
    host->OpenLesson();
}

void OpenSlideWindow(int window) {
    if (window == kSlideA && ExtWinA != nullptr) ExtWinA->OpenSlidesA();
    if (window == kSlideB && ExtWinB != nullptr) ExtWinB->OpenSlidesB();
    if (window == kSlideC && ExtWinC != nullptr) ExtWinC->OpenSlidesC();
}

} // namespace lessons
