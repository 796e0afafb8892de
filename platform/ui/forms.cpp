#include "platform/ui/forms.h"

#include "platform/ui/accessible.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <algorithm>

namespace platform {

// ---- Keys ----------------------------------------------------------------------------------

WORD VirtualKeyFromQt(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return WORD('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return WORD('0' + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return WORD(VK_F1 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Tab:
        return VK_TAB;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Plus:
        return VK_ADD;
    case Qt::Key_Minus:
        return VK_SUBTRACT;
    default:
        return 0;
    }
}

namespace {

// The key event that a form has already seen through KeyPreview, so that it
// is not handled a second time when it travels on to the form.
const QKeyEvent* gPreviewed = nullptr;

// With KeyPreview, a form sees the keys meant for any widget inside it first.
class KeyPreviewFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) gPreviewed = nullptr;
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key == gPreviewed || widget == nullptr || dynamic_cast<TForm*>(widget) != nullptr) {
            return false;
        }
        auto* form = dynamic_cast<TForm*>(widget->window());
        if (form == nullptr || !form->KeyPreview()) return false;
        WORD code = VirtualKeyFromQt(key->key());
        if (code == 0) return false;
        // Enter on a focused button presses that button, not the form's
        // default.
        auto* focused = dynamic_cast<TControl*>(widget);
        if (code == VK_RETURN && focused != nullptr && focused->hasFocus() && TakesEnter(focused))
            return false;
        gPreviewed = key;
        return form->KeyDown(code, ShiftFromQt(key->modifiers(), Qt::NoButton));
    }
};

// The filter belongs to the application object and goes with it; a later
// application object gets a filter of its own.
void InstallKeyPreview() {
    static QPointer<KeyPreviewFilter> installed;
    QCoreApplication* application = QCoreApplication::instance();
    if (installed != nullptr || application == nullptr) return;
    installed = new KeyPreviewFilter(application);
    application->installEventFilter(installed);
}

QRect ScreenArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 800, 600);
}

} // namespace

// ---- TForm ------------------------------------------------------------------------------

TForm::TForm(TComponent* owner) : TControl(owner) {
    visible_ = false;
    // The desktop may move, minimise and close the window, but neither
    // maximise nor resize it: its controls and pictures have their places.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(320, 240);
    EnableSurface();
    InstallKeyPreview();
}

TForm::~TForm() {
    if (modalLoop_ != nullptr) modalLoop_->exit();
    DestroyComponents();
}

void TForm::Paint() {
    Fire(this, OnPaint, this);
}

// The size given here is the only one: the window's size hints say so to the
// window manager.
void TForm::SetBounds(int left, int top, int width, int height) {
    setFixedSize(std::max(0, width), std::max(0, height));
    TControl::SetBounds(left, top, width, height);
}

void TForm::SetFormStyle(TFormStyle style) {
    formStyle_ = style;
    bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, style == fsStayOnTop);
    if (shown) QWidget::setVisible(true); // changing the flags hid the window
}

void TForm::PlaceOnScreen() {
    QRect area;
    TForm* over = nullptr;
    if (position_ == poMainFormCenter) over = Application->MainForm();
    if (position_ == poOwnerFormCenter) over = dynamic_cast<TForm*>(Owner());
    if (over != nullptr && over != this && over->isVisible()) {
        area = over->geometry();
    } else if (position_ != poDesigned) {
        area = ScreenArea();
    } else {
        return;
    }
    move(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2);
}

void TForm::SetVisible(bool visible) {
    if (visible) {
        if (visible_ && isVisible()) return;
        Fire(this, OnShow, this);
        visible_ = true;
        QWidget* before = QApplication::activeWindow();
        if (before != this) activeBefore_ = before;
        PlaceOnScreen();
        paintPending_ = true;
        QWidget::setVisible(true);
        raise();
        activateWindow();
        FocusActiveControl();
        return;
    }
    if (!visible_ && !isVisible()) return;
    visible_ = false;
    // Also when the window that was active is gone already and the
    // desktop has not yet told this one that it is active again.
    const QWidget* active = QApplication::activeWindow();
    const bool wasActive = active == nullptr || active == this || !active->isVisible();
    QWidget::setVisible(false);
    if (wasActive) GiveBackActivation();
    if (modalLoop_ != nullptr && modalResult_ == mrNone) {
        modalResult_ = mrCancel;
        modalLoop_->exit();
    }
    Fire(this, OnHide, this);
}

// The keyboard goes back to the window that was active before this one
// showed, else to the main form, so that it never lands nowhere (a desktop
// without a window manager gives it to nobody by itself).
void TForm::GiveBackActivation() {
    QWidget* next = activeBefore_;
    if (next == nullptr || !next->isVisible()) next = Application->MainForm();
    if (next != nullptr && next != this && next->isVisible()) next->activateWindow();
}

void TForm::Show() {
    SetVisible(true);
    raise();
    activateWindow();
}

bool TForm::CloseQuery() {
    bool canClose = true;
    bool handled = GuardedCall(this, [&] {
        if (OnCloseQuery) OnCloseQuery(this, canClose);
    });
    return handled && canClose;
}

int TForm::ShowModal() {
    if (modalLoop_ != nullptr || isVisible()) {
        throw Exception("Cannot make a visible window modal");
    }
    QPointer<QWidget> alive(this);
    modalResult_ = mrNone;
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    modalLoop_ = &loop;
    SetVisible(true);
    TCloseAction action = caHide;
    for (;;) {
        if (modalResult_ == mrNone && !Application->Terminated() && isVisible()) {
            loop.exec(QEventLoop::DialogExec);
        }
        if (!alive) return mrCancel; // freed while modal
        if (Application->Terminated() || !isVisible()) {
            if (modalResult_ == mrNone) modalResult_ = mrCancel;
            break;
        }
        if (modalResult_ == mrNone) continue;
        action = caHide;
        if (CloseQuery()) {
            Fire(this, OnClose, this, action);
            if (action != caNone) break;
        }
        modalResult_ = mrNone;
    }
    int result = modalResult_;
    modalLoop_ = nullptr;
    SetVisible(false);
    setWindowModality(Qt::NonModal);
    if (action == caFree) Release();
    return result;
}

void TForm::SetModalResult(int result) {
    modalResult_ = result;
    if (modalLoop_ != nullptr && result != mrNone) modalLoop_->exit();
}

void TForm::Close() {
    if (modalLoop_ != nullptr) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    Fire(this, OnClose, this, action);
    if (action == caNone) return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    if (action == caFree)
        Release();
    else
        Hide();
}

void TForm::Release() {
    Hide();
    deleteLater();
}

bool TForm::KeyDown(WORD key, TShiftState shift) {
    WORD code = key;
    Fire(this, OnKeyDown, this, code, shift);
    return code == 0;
}

void TForm::keyPressEvent(QKeyEvent* event) {
    WORD code = VirtualKeyFromQt(event->key());
    if (code == 0 || event == gPreviewed) {
        gPreviewed = nullptr;
        event->ignore();
        return;
    }
    event->setAccepted(KeyDown(code, ShiftFromQt(event->modifiers(), Qt::NoButton)));
}

// The desktop asks to close the window (Alt+F4 under a window manager, or its
// close button): the form hears it as Alt+F4 and stays open.
void TForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    KeyDown(VK_F4, TShiftState{ssAlt});
}

void TForm::SetActiveControl(TControl* control) {
    activeControl_ = control;
    if (isVisible()) FocusActiveControl();
}

void TForm::FocusActiveControl() {
    TControl* control = activeControl_;
    if (control != nullptr && control->window() == this && control->isVisible() &&
        control->isEnabled()) {
        control->setFocus(Qt::OtherFocusReason);
        return;
    }
    setFocus();
}

namespace {

void CollectTabStops(const QWidget* parent, std::vector<TControl*>& stops) {
    for (QObject* object : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget == nullptr || widget->isWindow()) continue;
        auto* control = dynamic_cast<TControl*>(widget);
        if (control != nullptr && control->TabStop()) stops.push_back(control);
        CollectTabStops(widget, stops);
    }
}

bool Reachable(const TControl* control) {
    return control->isVisible() && control->isEnabled();
}

} // namespace

std::vector<TControl*> TForm::TabStops() const {
    std::vector<TControl*> all;
    CollectTabStops(this, all);
    std::vector<TControl*> stops;
    std::vector<TControl*> first;
    if (TabOrder) GuardedCall(const_cast<TForm*>(this), [&] { first = TabOrder(); });
    for (TControl* control : first) {
        if (control == nullptr || control->window() != this || !control->TabStop()) continue;
        if (Reachable(control) && std::find(stops.begin(), stops.end(), control) == stops.end())
            stops.push_back(control);
    }
    for (TControl* control : all)
        if (Reachable(control) && std::find(stops.begin(), stops.end(), control) == stops.end())
            stops.push_back(control);
    return stops;
}

// Tab and Shift+Tab: the next or previous tab stop, round the end.
bool TForm::focusNextPrevChild(bool next) {
    const std::vector<TControl*> stops = TabStops();
    if (stops.empty()) return true;
    auto* current = dynamic_cast<TControl*>(focusWidget());
    auto at = std::find(stops.begin(), stops.end(), current);
    std::size_t index = 0;
    if (at == stops.end())
        index = next ? 0 : stops.size() - 1;
    else if (next)
        index = (std::size_t(at - stops.begin()) + 1) % stops.size();
    else
        index = (std::size_t(at - stops.begin()) + stops.size() - 1) % stops.size();
    stops[index]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void TForm::CaptionChanged() {
    setWindowTitle(Caption());
}

bool TForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Fire(this, OnActivate, this);
    if (event->type() == QEvent::WindowDeactivate) Fire(this, OnDeactivate, this);
    return TControl::event(event);
}

} // namespace platform
