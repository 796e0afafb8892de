#include "lessons/lessonwindow.h"

#include "layout/screenlayout.h"
#include "lessons/coursebutton.h"
#include "lessons/lessonhost.h"

namespace lessons {

using namespace platform;

namespace {

constexpr int kBackdropTag = 200;
constexpr int kTintTagFirst = 201;
constexpr int kTintTagLast = 299;

} // namespace

TLessonWindow::TLessonWindow(TComponent* owner, const QString& name, std::string background,
                             const QString& buttonLook)
    : TForm(owner), background_(std::move(background)), buttonLook_(buttonLook) {
    SetName(name);
    SetPosition(poMainFormCenter);
    SetKeyPreview(true);
    // The window paints its whole area itself; it starts without a backdrop.
    SetBounds(0, 0, layout::MainWindow.width(), layout::MainWindow.height());
    Backdrop.SetSize(0, 0);
    Skin = MakeSkinLoader(this);
    ConnectCourseWindowEvents(this);
}

void TLessonWindow::CreateButtons(int nextCaption) {
    BNext = MakeButton("BNext", nextCaption);
    BCancel = MakeButton("BCancel", 2);
    BHilfe = MakeButton("BHilfe", 15);
    BNext->OnClick = [this](TObject* sender) { BNextClick(sender); };
    BCancel->OnClick = [this](TObject* sender) { BCancelClick(sender); };
    BHilfe->OnClick = [this](TObject* sender) { BHilfeClick(sender); };
}

TLessonWindow::~TLessonWindow() {
    // The skin's elements are components of this window: free them first.
    Skin.reset();
}

controls::TXFadeButton* TLessonWindow::MakeButton(const QString& name, int captionNumber) {
    return MakeCourseButton(this, name, captionNumber, buttonLook_);
}

void TLessonWindow::BHilfeClick(TObject*) {
    if (LessonHost* host = Host()) host->HelpButtonClick();
}

bool TLessonWindow::WindowKey(WORD&, TShiftState) {
    return false;
}

void TLessonWindow::FormKeyDown(TObject*, WORD& key, TShiftState shift) {
    if (WindowKey(key, shift)) return;
    if (key == VK_ESCAPE) {
        key = 0;
        BCancel->Click();
    } else if (key == VK_RETURN) {
        key = 0;
        BNext->Click();
    } else if (key == VK_F1) {
        BHilfeClick(this);
    } else if (key == 'T') {
        if (LessonHost* host = Host()) host->AskTaskbarQuestion();
    } else if (key == VK_F4 && shift.Contains(ssAlt)) {
        key = 0;
    }
}

void TLessonWindow::FormShow(TObject*) {
    LessonHost* host = Host();
    BackgroundPresent = false;
    if (host == nullptr) return;
    BackgroundPresent = host->LoadJpegBitmap(&Background, background_);
}

void TLessonWindow::FormHide(TObject*) {
    BackgroundPresent = false;
    Background.SetSize(0, 0);
}

void TLessonWindow::FormPaint(TObject*) {
    TCanvas* canvas = Canvas();
    if (BackgroundPresent) canvas->StretchDraw(ClientRect(), &Background);
    PaintUnderBackdrop();
    if (!Backdrop.Empty()) canvas->Draw(BackdropLeft, BackdropTop, &Backdrop);
}

bool TLessonWindow::TakeBackdrop(TControl* control) {
    const int tag = control->Tag();
    if (auto* picture = dynamic_cast<TImage*>(control); picture && tag == kBackdropTag) {
        BackdropTint(this, picture);
        Backdrop.Assign(picture->Picture());
        BackdropLeft = picture->Left();
        BackdropTop = picture->Top();
        picture->Hide();
        picture->Picture()->SetSize(0, 0);
        return true;
    }
    if (dynamic_cast<TShape*>(control) != nullptr && tag >= kTintTagFirst && tag <= kTintTagLast) {
        control->Hide();
        return true;
    }
    return false;
}

} // namespace lessons
