#include "app/fbeenden.h"

#include "controls/dialogkeys.h"
#include "app/dialogskin.h"
#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "platform/ui/sound.h"

namespace app {

using namespace platform;

TFBeenden* FBeenden = nullptr;

namespace {

constexpr int kLabelTop = 24;
constexpr int kButtonGap = 12;

// The clock text split at its colon: "02:05" gives "02" and "05". A clock
// whose hours have grown to three digits still splits right; a part that is
// no number counts as 0.
void SplitClock(const QString& clock, QString& hoursText, int& hours, int& minutes) {
    const int colon = clock.indexOf(':');
    hoursText = colon < 0 ? clock : clock.left(colon);
    const QString minutesText = colon < 0 ? QString() : clock.mid(colon + 1);
    bool ok = false;
    hours = hoursText.toInt(&ok);
    if (!ok) hours = 0;
    minutes = minutesText.toInt(&ok);
    if (!ok) minutes = 0;
}

} // namespace

QString PracticeTimeSentence(const QString& clock) {
    QString hoursText;
    int hours = 0;
    int minutes = 0;
    SplitClock(clock, hoursText, hours, minutes);

    QString text = MessageText(21);
    if (hours > 1)
        text += hoursText + MessageText(22);
    else if (hours == 1)
        text += MessageText(23);
    if (minutes < 2)
        text += MessageText(25);
    else
        text += QString::number(minutes) + MessageText(24);
    text += "\n\n" + MessageText(26);
    return text;
}

TFBeenden::TFBeenden(TComponent* owner) : TForm(owner) {
    SetName("FBeenden");
    SetPosition(poMainFormCenter);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    ShapeDialogWindow(this);

    BOK = new controls::TXFadeButton(this);
    BCancel = new controls::TXFadeButton(this);
    SkinDialogButton(this, BOK);
    SkinDialogButton(this, BCancel);
    BOK->SetText(CaptionText(3));
    BCancel->SetText(CaptionText(4));
    BOK->SetLeft(Width() / 2 - BOK->Width() - kButtonGap);
    BCancel->SetLeft(Width() / 2 + kButtonGap);

    Label1 = MakeDialogLabel(this, false);
    Label1->SetAlignment(taCenter);
    Label1->SetCaption(CaptionText(25));
    Label1->SetTop(kLabelTop);
    Label1->SetLeft(CentredLeft(Width(), Label1->Width()));

    BOK->OnClick = [this](TObject* sender) { BOKClick(sender); };
    BCancel->OnClick = [this](TObject* sender) { BCancelClick(sender); };
    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnPaint = [this](TObject* sender) { FormPaint(sender); };
    OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
    SetCaption(CaptionText(16));
    SetAccessibleRole(arDialog);
    SetActiveControl(BOK);
}

void TFBeenden::ShowPracticeTime(const QString& clock) {
    // Wrapped like the message box's body, so that the question at the end
    // stays inside the window.
    ShowWrappedCentred(this, Label1, PracticeTimeSentence(clock));
    SetAccessibleDescription(Label1->Caption());
    Label1->Repaint();
}

void TFBeenden::FormShow(TObject*) {
    ResetButtonLook(BOK);
    ResetButtonLook(BCancel);
    ShowPracticeTime(Form1 != nullptr ? Form1->LClock->Caption() : QString("00:00"));
}

void TFBeenden::FormPaint(TObject*) {
    PaintDialogBackdrop(this);
}

void TFBeenden::FormKeyDown(TObject* sender, WORD& key, TShiftState shift) {
    controls::HandleDialogKey(
        key, shift, [&] { BOKClick(sender); }, [&] { BCancelClick(sender); });
}

void TFBeenden::BOKClick(TObject*) {
    PlaySound(nullptr, SND_PURGE);
    if (Form1 != nullptr) Form1->Leaving->SaveAndClose();
}

void TFBeenden::BCancelClick(TObject*) {
    if (Form1 != nullptr) Form1->SetEnabled(true);
    Hide();
}

} // namespace app
