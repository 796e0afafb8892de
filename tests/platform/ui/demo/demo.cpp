// A small window that puts every piece of the platform user-interface layer
// to use: a form painted in FormPaint, direct drawing that saves and restores
// what lies beneath, labels, shapes, an image built with AND/OR sprites, a
// rounded panel, a custom-drawn button, a timer, a worker thread with
// Synchronize, a popup menu, keys and a modal dialog.
//
//   platform_ui_demo                      run it
//   platform_ui_demo --screenshot out.png take pictures of the screen after a
//                                         moment (out-before-dialog.png, and
//                                         out.png with the dialog open) and end
#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/menus.h"
#include "platform/ui/region.h"
#include "platform/ui/threads.h"
#include "platform/ui/timer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <atomic>

using namespace platform;

namespace {

// A button that draws itself: a horizontal colour fade per look and a
// caption with a shade, in a rounded region.
class DemoButton : public TCustomControl {
public:
    DemoButton(TComponent* owner, TControl* parent, const QString& caption, int left, int top)
        : TCustomControl(owner) {
        SetParent(parent);
        SetBounds(left, top, 96, 26);
        SetCaption(caption);
        SetCursor(crHandPoint);
        Font()->SetName("Arial");
        Font()->SetHeight(-13);
        Font()->SetStyle(fsBold);
        SetWindowRgn(this, CreateRoundRectRgn(0, 0, Width() + 1, Height() + 1, 12, 12), true);
    }

protected:
    void Paint() override {
        TColor from = look_ == 3   ? RGB(40, 60, 110)
                      : look_ == 2 ? RGB(90, 130, 210)
                                   : RGB(60, 90, 160);
        TColor to = RGB(200, 215, 240);
        for (int x = 0; x < Width(); ++x) {
            Canvas()->Pen()->SetColor(
                RGB(GetRValue(from) + (GetRValue(to) - GetRValue(from)) * x / Width(),
                    GetGValue(from) + (GetGValue(to) - GetGValue(from)) * x / Width(),
                    GetBValue(from) + (GetBValue(to) - GetBValue(from)) * x / Width()));
            Canvas()->MoveTo(x, 0);
            Canvas()->LineTo(x, Height());
        }
        Canvas()->Font()->Assign(Font());
        Canvas()->Brush()->SetStyle(bsClear);
        int x = Width() / 2 - Canvas()->TextWidth(Caption()) / 2;
        int y = Height() / 2 - Canvas()->TextHeight(Caption()) / 2 - 1;
        Canvas()->Font()->SetColor(RGB(30, 30, 60));
        Canvas()->TextOut(x + 1, y + 1, Caption());
        Canvas()->Font()->SetColor(clWhite);
        Canvas()->TextOut(x, y, Caption());
    }
    void MouseEnter() override {
        TCustomControl::MouseEnter();
        SetLook(2);
    }
    void MouseLeave() override {
        TCustomControl::MouseLeave();
        SetLook(1);
    }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        TCustomControl::MouseDown(button, shift, x, y);
        SetLook(3);
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
        TCustomControl::MouseUp(button, shift, x, y);
        SetLook(ClientRect().Contains(x, y) ? 2 : 1);
    }

private:
    void SetLook(int look) {
        look_ = look;
        Repaint();
    }
    int look_ = 1;
};

// A small rounded dialog with a question, OK and Cancel; Esc and Enter answer.
class DemoDialog : public TForm {
public:
    explicit DemoDialog(TComponent* owner) : TForm(owner) {
        SetBounds(0, 0, 248, 174);
        SetPosition(poMainFormCenter);
        SetFormStyle(fsStayOnTop);
        SetWindowRgn(this, CreateRoundRectRgn(0, 0, Width() + 1, Height() + 1, 40, 40), true);
        auto* text = new TLabel(this);
        text->SetParent(this);
        text->SetTransparent(true);
        text->Font()->SetHeight(-13);
        text->Font()->SetColor(clWhite);
        text->SetAlignment(taCenter);
        text->SetCaption("Möchten Sie wirklich\r\nweiterüben?");
        text->SetLeft(Width() / 2 - text->Width() / 2);
        text->SetTop(40);
        auto* ok = new DemoButton(this, this, "Ja", 22, 174 - 26 - 12);
        auto* cancel = new DemoButton(this, this, "Nein", 130, 174 - 26 - 12);
        ok->OnClick = [this](TObject*) { SetModalResult(mrOk); };
        cancel->OnClick = [this](TObject*) { SetModalResult(mrCancel); };
        OnPaint = [this](TObject*) {
            Canvas()->Brush()->SetColor(RGB(50, 70, 120));
            Canvas()->FillRect(ClientRect());
            Canvas()->Brush()->SetColor(RGB(220, 190, 80));
            Canvas()->FrameRect(Rect(6, 6, Width() - 6, Height() - 6));
        };
        OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) {
            if (key == VK_ESCAPE) SetModalResult(mrCancel);
            if (key == VK_RETURN) SetModalResult(mrOk);
            if (key == VK_ESCAPE || key == VK_RETURN || (key == VK_F4 && shift.Contains(ssAlt)))
                key = 0;
        };
    }
};

std::atomic<int> gSeconds{0};

// Counts seconds and hands the caption change to the UI thread.
class ClockThread : public TThread {
public:
    explicit ClockThread(TLabel* label) : TThread(true), label_(label) { SetFreeOnTerminate(true); }

protected:
    void Execute() override {
        for (;;) {
            Sleep(1000);
            int seconds = ++gSeconds;
            Synchronize([this, seconds] {
                label_->SetCaption(QString("Übungszeit %1:%2")
                                       .arg(seconds / 60, 2, 10, QChar('0'))
                                       .arg(seconds % 60, 2, 10, QChar('0')));
            });
        }
    }

private:
    TLabel* label_;
};

class DemoForm : public TForm {
public:
    explicit DemoForm(TComponent* owner) : TForm(owner) {
        SetBounds(0, 0, 800, 500);
        SetPosition(poScreenCenter);
        SetKeyPreview(true);
        Font()->SetName("Arial");
        Font()->SetHeight(-13);
        BuildBackground();
        BuildControls();
        OnPaint = [this](TObject*) { FormPaint(); };
        OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) { FormKeyDown(key, shift); };
        OnShow = [this](TObject*) { clock_->Resume(); };
        dialog_ = new DemoDialog(this);
    }

    DemoDialog* Dialog() { return dialog_; }

private:
    // A vertical fade written straight into the scan lines.
    void BuildBackground() {
        background_.SetSize(4, 256);
        for (int y = 0; y < 256; ++y) {
            std::uint8_t* row = background_.ScanLine(y);
            for (int x = 0; x < 4; ++x) {
                row[3 * x + 0] = std::uint8_t(90 + y / 3); // blue
                row[3 * x + 1] = std::uint8_t(50 + y / 5); // green
                row[3 * x + 2] = std::uint8_t(30 + y / 8); // red
            }
        }
    }

    TLabel* NewLabel(TControl* parent, int left, int top, const QString& caption, int height,
                     TColor color, TFontStyles style = 0) {
        auto* label = new TLabel(this);
        label->SetParent(parent);
        label->SetTransparent(true);
        label->Font()->SetHeight(height);
        label->Font()->SetColor(color);
        label->Font()->SetStyle(style);
        label->SetBounds(left, top, label->Width(), label->Height());
        label->SetCaption(caption);
        return label;
    }

    void BuildControls() {
        NewLabel(this, 24, 16, "Zupfari Basis – Plattform-Demo", -22, clWhite, fsBold);
        NewLabel(this, 24, 52, "Zeile 1 (CR LF)\r\nZeile 2: Formen, Bilder, Regionen", -13,
                 RGB(230, 230, 255));
        auto* wrapped = NewLabel(this, 24, 96, "", -13, RGB(255, 240, 200), fsItalic);
        wrapped->SetWordWrap(true);
        wrapped->SetWidth(230);
        wrapped->SetCaption("Ein Etikett mit Zeilenumbruch bei fester Breite: der Text fließt "
                            "in mehrere Zeilen, nur die Höhe folgt ihm.");

        // Two overlapping rectangles: the later one lies on top.
        auto* back = new TShape(this);
        back->SetParent(this);
        back->SetBounds(24, 180, 140, 70);
        back->Brush()->SetColor(RGB(250, 200, 60));
        back->Pen()->SetColor(clBlack);
        auto* front = new TShape(this);
        front->SetParent(this);
        front->SetBounds(84, 210, 140, 70);
        front->Brush()->SetColor(RGB(60, 170, 110));
        front->Pen()->SetColor(clWhite);
        front->Pen()->SetWidth(3);
        NewLabel(this, 96, 236, "über beiden", -13, clWhite, fsBold | fsUnderline);

        BuildSpriteImage();
        BuildPanel();

        auto* question = new DemoButton(this, this, "Dialog …", 24, 300);
        question->OnClick = [this](TObject*) {
            int result = dialog_->ShowModal();
            status_->SetCaption(result == mrOk ? "Dialog: Ja (1)" : "Dialog: Nein (2)");
        };
        auto* fail = new DemoButton(this, this, "Fehler", 130, 300);
        fail->OnClick = [](TObject*) { throw Exception("Beispiel eines Fehlers im Handler"); };

        device_ = NewLabel(this, 24, 346, "Gerät: Zupfari Synth  (rechte Maustaste)", -13,
                           RGB(200, 255, 200));
        device_->SetCursor(crHandPoint);
        device_->SetHint("Ausgabegerät wählen");
        menu_ = new TPopupMenu(this);
        TNotifyEvent choose = [this](TObject* sender) {
            device_->SetCaption(
                "Gerät: " + dynamic_cast<TMenuItem*>(sender)->Caption() +
                QString("  (Eintrag %1)").arg(dynamic_cast<TMenuItem*>(sender)->MenuIndex()));
        };
        for (const char* name : {"Zupfari Synth", "MIDI Log", "MIDI MAPPER"})
            menu_->Add(name, choose);
        device_->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
            if (button != mbRight) return;
            TPoint at = device_->ClientToScreen(Point(x, y));
            menu_->Popup(at.X, at.Y);
        };

        clockLabel_ = NewLabel(this, 24, 380, "Übungszeit 00:00", -16, clWhite, fsBold);
        status_ = NewLabel(this, 24, 460, "Esc beendet, F1 Hilfe, Alt+F4 wird abgefangen", -13,
                           RGB(200, 200, 220));
        clock_ = new ClockThread(clockLabel_);

        ledTimer_ = new TTimer(this);
        ledTimer_->SetInterval(120);
        ledTimer_->OnTimer = [this](TObject*) { StepLeds(); };
    }

    // A picture drawn with canvas calls, then a transparent sprite put on it
    // with an AND mask and an OR image.
    void BuildSpriteImage() {
        auto* image = new TImage(this);
        image->SetParent(this);
        image->SetBounds(290, 60, 200, 150);
        image->SetAutoSize(true);
        TBitmap* picture = image->Picture();
        picture->SetSize(200, 150);
        TCanvas* canvas = picture->Canvas();
        canvas->Brush()->SetColor(RGB(245, 240, 225));
        canvas->FillRect(Rect(0, 0, 200, 150));
        canvas->Pen()->SetColor(RGB(60, 60, 60));
        for (int line = 0; line < 5; ++line) { // a staff
            canvas->MoveTo(10, 40 + 10 * line);
            canvas->LineTo(190, 40 + 10 * line);
        }
        canvas->Pen()->SetColor(clBlack);
        canvas->Brush()->SetColor(clBlack);
        for (int note = 0; note < 5; ++note)
            canvas->Ellipse(30 + 30 * note, 62 - 5 * note, 40 + 30 * note, 70 - 5 * note);

        TBitmap mask(24, 24), sprite(24, 24);
        mask.Canvas()->Brush()->SetColor(clWhite);
        mask.Canvas()->FillRect(Rect(0, 0, 24, 24));
        mask.Canvas()->Brush()->SetColor(clBlack);
        mask.Canvas()->Pen()->SetColor(clBlack);
        mask.Canvas()->Ellipse(0, 0, 24, 24);
        sprite.Canvas()->Brush()->SetColor(clBlack);
        sprite.Canvas()->FillRect(Rect(0, 0, 24, 24));
        sprite.Canvas()->Brush()->SetColor(RGB(230, 40, 40));
        sprite.Canvas()->Pen()->SetColor(RGB(230, 40, 40));
        sprite.Canvas()->Ellipse(0, 0, 24, 24);
        for (int i = 0; i < 3; ++i) {
            BitBlt(canvas, 40 + 50 * i, 100, 24, 24, mask.Canvas(), 0, 0, SRCAND);
            BitBlt(canvas, 40 + 50 * i, 100, 24, 24, sprite.Canvas(), 0, 0, SRCPAINT);
        }
        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->SetHeight(-12);
        canvas->TextOut(10, 8, "TImage: Linien, Ellipsen, Sprites");
    }

    // A rounded panel with hover labels, as the tool panels use them.
    void BuildPanel() {
        auto* panel = new TPanel(this);
        panel->SetParent(this);
        panel->SetBounds(530, 60, 240, 230);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(RGB(40, 40, 55));
        SetWindowRgn(
            panel, CreateRoundRectRgn(0, 0, panel->Width() + 1, panel->Height() + 1, 40, 40), true);
        NewLabel(panel, 24, 18, "Stimmgerät (TPanel)", -15, RGB(255, 220, 120), fsBold);
        const char* strings[] = {"E (tief)", "A", "D", "G", "H", "e (hoch)"};
        for (int i = 0; i < 6; ++i) {
            TLabel* label = NewLabel(panel, 40, 52 + 26 * i, strings[i], -14, clWhite);
            label->SetCursor(crHandPoint);
            label->SetTag(i);
            label->OnMouseEnter = [label](TObject*) { label->Font()->SetColor(RGB(255, 200, 60)); };
            label->OnMouseLeave = [label](TObject*) { label->Font()->SetColor(clWhite); };
            label->OnClick = [this, label](TObject*) {
                status_->SetCaption(
                    QString("Saite %1 gewählt (Tag %2)").arg(label->Caption()).arg(label->Tag()));
            };
        }
    }

    void FormPaint() {
        Canvas()->StretchDraw(ClientRect(), &background_);
        Canvas()->Brush()->SetColor(RGB(20, 20, 30));
        Canvas()->FillRect(Rect(ledLeft_ - 4, ledTop_ - 4, ledLeft_ + 24, ledTop_ + 10 * 12 + 2));
        ledsSaved_ = false;
    }

    // The LED column is drawn straight onto the form, between paints; what
    // lies beneath is saved first and put back when the column restarts.
    void StepLeds() {
        TCanvas* canvas = Canvas();
        if (!ledsSaved_) {
            saved_.SetSize(20, 10 * 12);
            saved_.Canvas()->CopyRect(Rect(0, 0, 20, 120), canvas,
                                      Bounds(ledLeft_, ledTop_, 20, 120));
            ledsSaved_ = true;
        }
        if (ledStep_ == 0) canvas->Draw(ledLeft_, ledTop_, &saved_);
        canvas->Brush()->SetColor(ledStep_ < 3 ? RGB(255, 80, 60) : RGB(80, 230, 90));
        canvas->Pen()->SetColor(clBlack);
        int segment = 9 - ledStep_;
        canvas->Rectangle(ledLeft_, ledTop_ + 12 * segment, ledLeft_ + 20,
                          ledTop_ + 12 * segment + 10);
        ledStep_ = (ledStep_ + 1) % 10;
    }

    void FormKeyDown(WORD& key, TShiftState shift) {
        if (key == VK_ESCAPE) {
            key = 0;
            Close();
        } else if (key == VK_F1) {
            key = 0;
            Application->MessageBox("Hilfe zur Demo: alles ist echt gezeichnet.", "",
                                    MB_OK | MB_ICONINFORMATION);
        } else if (key == VK_F4 && shift.Contains(ssAlt)) {
            key = 0;
            status_->SetCaption("Alt+F4 abgefangen: das Fenster bleibt offen");
        }
    }

    TBitmap background_;
    TBitmap saved_;
    bool ledsSaved_ = false;
    int ledStep_ = 0;
    const int ledLeft_ = 500;
    const int ledTop_ = 330;
    TLabel* status_ = nullptr;
    TLabel* device_ = nullptr;
    TLabel* clockLabel_ = nullptr;
    TPopupMenu* menu_ = nullptr;
    TTimer* ledTimer_ = nullptr;
    ClockThread* clock_ = nullptr;
    DemoDialog* dialog_ = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Application->Initialize();
    Application->SetTitle("Zupfari Basis Demo");
    DemoForm* form = nullptr;
    Application->CreateForm(form);
    if (argc > 2 && QString(argv[1]) == "--screenshot") {
        QString path = argv[2];
        QTimer::singleShot(1200, [path] {
            QString before = path;
            before.replace(".png", "-before-dialog.png");
            QGuiApplication::primaryScreen()->grabWindow(0).save(before);
        });
        QTimer::singleShot(1300, [form] { form->Dialog()->Show(); });
        QTimer::singleShot(2500, [path] {
            QGuiApplication::primaryScreen()->grabWindow(0).save(path);
            Application->Terminate();
        });
    }
    Application->Run();
    return 0;
}
