#include "app/msgwin.h"

#include "controls/dialogkeys.h"
#include "app/dialogskin.h"
#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"

namespace app {

using namespace platform;

TMsgWin* MsgWin = nullptr;

namespace {

constexpr int kLabel1Top = 28;
constexpr int kLabel2Top = 68;
constexpr int kButtonGap = 8;
constexpr int kStandardCaptionCount = 8;

TMsgWin::Answerer& InstalledAnswerer() {
    static TMsgWin::Answerer answerer;
    return answerer;
}

} // namespace

QString CaptionText(int number) {
    return FromAnsi(DLL_GetCaption(number));
}
QString MessageText(int number) {
    return FromAnsi(DLL_GetMessage(number));
}
QString ErrorText(int number) {
    return FromAnsi(DLL_GetErrStr(number));
}

TMsgWin::TMsgWin(TComponent* owner) : TForm(owner) {
    SetName("MsgWin");
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    for (int i = 1; i <= kStandardCaptionCount; ++i)
        StandardCaptions << CaptionText(i);
    ShapeDialogWindow(this);

    Label1 = MakeDialogLabel(this, true);
    Label1->SetAlignment(taCenter);
    Label1->SetTop(kLabel1Top);
    Label2 = MakeDialogLabel(this, false);
    Label2->SetTop(kLabel2Top);

    BOK = new controls::TXFadeButton(this);
    BCancel = new controls::TXFadeButton(this);
    SkinDialogButton(this, BOK);
    SkinDialogButton(this, BCancel);
    BOK->SetText(StandardCaptions[0]);
    BCancel->SetText(StandardCaptions[1]);
    BOK->OnClick = [this](TObject* sender) { BOKClick(sender); };
    BCancel->OnClick = [this](TObject* sender) { BCancelClick(sender); };
    OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
    OnPaint = [this](TObject* sender) { FormPaint(sender); };
    SetActiveControl(BOK);
}

void TMsgWin::SetMessage(const QString& title, const QString& body, const QString& cancelCaption,
                         const QString& okCaption) {
    Label1->SetCaption(title);
    Label1->SetLeft(CentredLeft(Width(), Label1->Width()));

    ShowWrappedCentred(this, Label2, body);

    BCancel->SetText(cancelCaption);
    BOK->SetText(okCaption);
    if (cancelCaption.isEmpty()) {
        BCancel->Hide();
        BOK->SetLeft(CentredLeft(Width(), BOK->Width()));
    } else {
        BCancel->Show();
        BOK->SetLeft(Width() / 2 - BOK->Width() - kButtonGap);
        BCancel->SetLeft(Width() / 2 + kButtonGap);
    }
    ResetButtonLook(BOK);
    ResetButtonLook(BCancel);
    // A screen reader hears the title as the window's name and the body as
    // its description; a box with OK alone is a notice.
    SetCaption(title);
    SetAccessibleDescription(body);
    SetAccessibleRole(cancelCaption.isEmpty() ? arAlert : arDialog);
}

int TMsgWin::ShowModal() {
    if (InstalledAnswerer()) return InstalledAnswerer()(*this);
    return TForm::ShowModal();
}

TMsgWin::Answerer TMsgWin::SetAnswerer(Answerer answerer) {
    Answerer before = InstalledAnswerer();
    InstalledAnswerer() = std::move(answerer);
    return before;
}

void TMsgWin::BOKClick(TObject*) {
    SetModalResult(mrOk);
}

void TMsgWin::BCancelClick(TObject*) {
    SetModalResult(mrCancel);
}

void TMsgWin::FormKeyDown(TObject* sender, WORD& key, TShiftState shift) {
    controls::HandleDialogKey(
        key, shift, [&] { BOKClick(sender); }, [&] { BCancelClick(sender); });
}

void TMsgWin::FormPaint(TObject*) {
    PaintDialogBackdrop(this);
}

int AskMessage(const QString& title, const QString& body, const QString& cancelCaption,
               const QString& okCaption) {
    MsgWin->SetMessage(title, body, cancelCaption, okCaption);
    return MsgWin->ShowModal();
}

} // namespace app
