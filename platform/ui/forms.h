#pragma once
// Forms: the program's top-level windows. Borderless, with a persistent
// canvas into which OnPaint and any direct drawing go (see components.h),
// positioned on the screen or over the main form, optionally on top of the
// others, shown normally or modally with a result.
//
// Keys: every key pressed in a form (or, with KeyPreview, in any control of
// it) reaches OnKeyDown first with its Windows virtual-key number and the
// shift state; a handler that sets Key to 0 consumes it. A request of the
// desktop to close the window (Alt+F4 under a window manager) reaches
// OnKeyDown as Alt+F4 too; the layer itself never closes a window on it.
//
// Closing: Close() asks OnCloseQuery, then OnClose with the action (hide by
// default); closing the main form ends the application.

#include "platform/ui/components.h"

#include <QEventLoop>
#include <QPointer>
#include <functional>
#include <vector>

namespace platform {

enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
using enum TPosition;
enum class TFormStyle { fsNormal, fsStayOnTop };
using enum TFormStyle;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

// A borderless top-level window. Width/Height equal ClientWidth/ClientHeight.
// Its size is fixed at what SetBounds gives it: the desktop can move and
// minimise it, not resize or maximise it.
class TForm : public TControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // The form's persistent canvas; its font follows the form's font.
    TCanvas* Canvas() { return SurfaceCanvas(); }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    void SetBounds(int left, int top, int width, int height) override;
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }

    // Showing: OnShow runs before the window appears, OnHide after it went.
    void SetVisible(bool visible) override;
    void Show() override;
    void Hide() override { SetVisible(false); }
    // Shows the form modally: the other windows take no input until the
    // form sets ModalResult (or is hidden or closed: mrCancel); then it is
    // hidden and the result returned. A modal result is accepted only when
    // OnCloseQuery allows it.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result);
    bool Modal() const { return modalLoop_ != nullptr; }
    void Close();
    // Frees the form once control is back in the message loop.
    void Release();

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TKeyEvent OnKeyDown;

    // Runs OnKeyDown for `key`; returns true when the handler consumed it.
    bool KeyDown(WORD key, TShiftState shift);

    // Keyboard focus. The active control takes the focus whenever the form
    // shows (and at once when the form already shows); without one the form
    // itself has it. Tab and Shift+Tab walk the tab stops that show and are
    // enabled: first those TabOrder names, in that order, then every other
    // one in the order the controls were given their parents, depth first.
    TControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TControl* control);
    std::function<std::vector<TControl*>()> TabOrder;
    std::vector<TControl*> TabStops() const;

protected:
    bool Windowed() const override { return true; }
    void Paint() override;
    void ApplyVisibility() override {}
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    // A form's caption is its window title.
    void CaptionChanged() override;

private:
    void PlaceOnScreen();
    bool CloseQuery();
    void FocusActiveControl();
    void GiveBackActivation();

    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    bool keyPreview_ = false;
    int modalResult_ = mrNone;
    QEventLoop* modalLoop_ = nullptr;
    QPointer<TControl> activeControl_;
    QPointer<QWidget> activeBefore_; // the window active before this one showed
};

// The Windows virtual-key number of a Qt key (0 for keys without one).
WORD VirtualKeyFromQt(int qtKey);

} // namespace platform
