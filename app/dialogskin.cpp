#include "app/dialogskin.h"

#include "app/mainwindow.h"
#include "layout/screenlayout.h"
#include "platform/ui/controls.h"
#include "platform/ui/region.h"

#include <QCoreApplication>
#include <QEvent>

namespace app {

using namespace platform;

void ShapeDialogWindow(TForm* window) {
    window->SetBounds(window->Left(), window->Top(), kDialogWidth, kDialogHeight);
    SetWindowRgn(
        window, CreateRoundRectRgn(0, 0, kDialogWidth, kDialogHeight, kDialogCorner, kDialogCorner),
        true);
}

void SkinDialogButton(TForm* window, controls::TXFadeButton* button) {
    TBitmap normal, over, down;
    normal.LoadFromResourceName("RBUTTONDIALOG");
    over.LoadFromResourceName("RBUTTONOVERDIALOG");
    down.LoadFromResourceName("RBUTTONDOWNDIALOG");
    button->SetParent(window);
    button->SetTakeImg(true);
    button->SetBounds(button->Left(), window->Height() - normal.Height() - 12, normal.Width(),
                      normal.Height());
    button->SetRadiusH(layout::ButtonCornerEllipse);
    button->SetRadiusV(layout::ButtonCornerEllipse);
    button->SetIsRoundRect(true);
    button->SetBgBmp(&normal);
    button->SetBgOverBmp(&over);
    button->SetBgDownBmp(&down);
    button->Font()->SetName("Arial");
    button->Font()->SetHeight(-kDialogFontHeight);
    button->Font()->SetStyle(fsBold);
    // Dark ink over a light shade, as on the main window's buttons.
    button->Font()->SetColor(kDialogCaptionShade);
    button->MOverFont()->Assign(button->Font());
    button->MDownFont()->Assign(button->Font());
    button->SetTopTextColor(kDialogInk);
    button->SetTopTextClOver(kDialogInk);
    button->SetTopTextClDown(kDialogInk);
    button->SetTShadeDimension(1);
    button->StyleChanged();
}

void ResetButtonLook(controls::TXFadeButton* button) {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
}

void PaintDialogBackdrop(TForm* window) {
    TCanvas* canvas = window->Canvas();
    if (Form1 != nullptr && !Form1->DialogBackdrop.Empty()) {
        canvas->StretchDraw(window->ClientRect(), &Form1->DialogBackdrop);
        return;
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(kBackdropFailureFill);
    canvas->FillRect(window->ClientRect());
}

int CentredLeft(int windowWidth, int width) {
    return windowWidth / 2 - width / 2;
}

void ShowWrappedCentred(TForm* window, TLabel* label, const QString& text) {
    constexpr int kTextMargin = 40;
    label->SetWordWrap(false);
    label->SetAutoSize(true);
    label->SetCaption(text);
    if (label->Width() > window->Width() - kTextMargin) {
        label->SetWidth(window->Width() - kTextMargin);
        label->SetWordWrap(true);
    }
    label->SetLeft(CentredLeft(window->Width(), label->Width()));
}

TLabel* MakeDialogLabel(TForm* window, bool bold) {
    auto* label = new TLabel(window);
    label->SetParent(window);
    label->Font()->SetName("Arial");
    label->Font()->SetHeight(-kDialogFontHeight);
    label->Font()->SetStyle(bold ? TFontStyles(fsBold) : TFontStyles(0));
    label->Font()->SetColor(kDialogInk);
    label->SetTransparent(true);
    label->SetShowAccelChar(false);
    return label;
}

} // namespace app
