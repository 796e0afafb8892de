#include "platform/ui/accessible.h"

#include "platform/ui/controls.h"
#include "platform/ui/forms.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace platform {

namespace {

const QString kFocusRingName = QStringLiteral("zupfari-focus-ring");

// ---- The focus ring ------------------------------------------------------------

TColor gRingOuter = RGB(0xD9, 0x62, 0x2B);
TColor gRingInner = RGB(0xFB, 0xF6, 0xEA);

// Drawn around the focused control, outside it, on top of its siblings; the
// mouse goes through it. One ring for the whole program: only one control
// has the focus.
class FocusRing : public QWidget {
public:
    static constexpr int kOutset = 4;

    FocusRing() {
        setObjectName(kFocusRingName);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

    void Follow(TControl* control) {
        target_ = control;
        QWidget* parent = control->parentWidget();
        if (parent == nullptr || control->isWindow()) {
            hide();
            return;
        }
        if (parentWidget() != parent) setParent(parent);
        setGeometry(control->geometry().adjusted(-kOutset, -kOutset, kOutset, kOutset));
        raise();
        show();
    }
    void Leave(TControl* control) {
        if (target_ == control) {
            target_ = nullptr;
            hide();
        }
    }
    bool Follows(const TControl* control) const { return target_ == control; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ToQColor(gRingOuter), 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
        painter.setPen(QPen(ToQColor(gRingInner), 1));
        painter.drawRoundedRect(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
    }

private:
    QPointer<TControl> target_;
};

FocusRing* Ring() {
    static QPointer<FocusRing> ring;
    if (ring == nullptr) ring = new FocusRing;
    return ring;
}

// ---- Roles -----------------------------------------------------------------------

bool HasPresentedChild(const QWidget* widget) {
    for (QObject* object : widget->children()) {
        auto* control = dynamic_cast<TControl*>(object);
        if (control != nullptr && !control->isWindow() && PresentedToAssistiveTechnology(control))
            return true;
    }
    return false;
}

QAccessible::Role QtRole(TAccessRole role, bool named) {
    switch (role) {
    case arButton:
        return QAccessible::Button;
    case arCheckBox:
        return QAccessible::CheckBox;
    case arRadioButton:
        return QAccessible::RadioButton;
    case arSlider:
        return QAccessible::Slider;
    case arList:
        return QAccessible::List;
    case arListItem:
        return QAccessible::ListItem;
    case arText:
        return QAccessible::StaticText;
    case arPicture:
        return QAccessible::Graphic;
    case arLink:
        return QAccessible::Link;
    case arGroup:
        return named ? QAccessible::Grouping : QAccessible::Pane;
    case arWindow:
        return QAccessible::Window;
    case arDialog:
        return QAccessible::Dialog;
    case arAlert:
        return QAccessible::AlertMessage;
    default:
        return QAccessible::NoRole;
    }
}

// ---- The list of a TControlList ----------------------------------------------------

class TAccessibleList : public QAccessibleObject {
public:
    explicit TAccessibleList(TControlList* list) : QAccessibleObject(list), list_(list) {}

    bool isValid() const override { return list_ != nullptr && list_->ParentControl() != nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(list_->ParentControl());
    }
    int childCount() const override { return int(Shown().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<TControl*> shown = Shown();
        if (index < 0 || index >= int(shown.size())) return nullptr;
        return QAccessible::queryAccessibleInterface(shown[std::size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<TControl*> shown = Shown();
        auto at = std::find(shown.begin(), shown.end(), child ? child->object() : nullptr);
        return at == shown.end() ? -1 : int(at - shown.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (TControl* member : Shown()) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(member);
            if (face != nullptr && face->rect().contains(x, y)) return face;
        }
        return nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? list_->Name() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::List; }
    QAccessible::State state() const override {
        QAccessible::State state;
        bool anyShown = false;
        for (TControl* member : list_->Members())
            anyShown = anyShown || member->isVisible();
        state.invisible = !anyShown;
        return state;
    }
    QRect rect() const override {
        QRect area;
        for (TControl* member : Shown())
            area = area.united(QRect(member->mapToGlobal(QPoint(0, 0)), member->size()));
        return area;
    }
    QWindow* window() const override {
        QAccessibleInterface* up = parent();
        return up != nullptr ? up->window() : nullptr;
    }

private:
    std::vector<TControl*> Shown() const {
        std::vector<TControl*> shown;
        for (TControl* member : list_->Members())
            if (PresentedToAssistiveTechnology(member)) shown.push_back(member);
        return shown;
    }
    QPointer<TControlList> list_;
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* list = dynamic_cast<TControlList*>(object)) return new TAccessibleList(list);
    if (auto* control = dynamic_cast<TControl*>(object)) return new TAccessibleControl(control);
    return nullptr;
}

bool InPresentedList(const TControl* control) {
    return control->ArrowList() != nullptr && control->ArrowList()->PresentAsList();
}

} // namespace

// ---- Free functions ----------------------------------------------------------------

void InstallAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(Factory);
}

void SetFocusRingColours(TColor outer, TColor inner) {
    gRingOuter = outer;
    gRingInner = inner;
}

QString CaptionAsName(const QString& caption, bool accelerators) {
    QString name = caption;
    if (accelerators) {
        QString plain;
        for (int i = 0; i < name.size(); ++i) {
            if (name[i] == '&' && i + 1 < name.size()) ++i;
            plain += name[i];
        }
        name = plain;
    }
    name.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ');
    return name.simplified();
}

TAccessRole PresentedRole(TControl* control) {
    if (control->AccessibleRole() != arAuto) return control->AccessibleRole();
    const bool named = !control->PresentedName().isEmpty();
    if (dynamic_cast<TForm*>(control) != nullptr) return arWindow;
    if (control->Pressable()) return InPresentedList(control) ? arListItem : arButton;
    if (dynamic_cast<TLabel*>(control) != nullptr) return named ? arText : arHidden;
    if (dynamic_cast<TPanel*>(control) != nullptr)
        return named || HasPresentedChild(control) ? arGroup : arHidden;
    if (dynamic_cast<TImage*>(control) != nullptr) return named ? arPicture : arHidden;
    return named ? arText : arHidden;
}

bool PresentedToAssistiveTechnology(TControl* control) {
    return PresentedRole(control) != arHidden;
}

bool TakesEnter(TControl* control) {
    if (!control->Pressable()) return false;
    const TAccessRole role = PresentedRole(control);
    return role == arButton || role == arLink || role == arListItem;
}

// ---- TControlList --------------------------------------------------------------------

TControlList::TControlList(TControl* parent, bool presentAsList)
    : QObject(parent), parent_(parent), presentAsList_(presentAsList) {
    InstallAccessibility();
}

TControlList::~TControlList() {
    for (const QPointer<TControl>& member : members_)
        if (member != nullptr && member->arrowList_ == this) member->arrowList_ = nullptr;
}

void TControlList::Add(TControl* member) {
    members_.emplace_back(member);
    member->arrowList_ = this;
}

std::vector<TControl*> TControlList::Members() const {
    std::vector<TControl*> members;
    for (const QPointer<TControl>& member : members_)
        if (member != nullptr) members.push_back(member);
    return members;
}

void TControlList::SetName(const QString& name) {
    if (name == name_) return;
    name_ = name;
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

bool TControlList::MoveFocus(TControl* from, int step) {
    const std::vector<TControl*> members = Members();
    auto at = std::find(members.begin(), members.end(), from);
    if (at == members.end() || step == 0) return false;
    const int direction = step > 0 ? 1 : -1;
    int index = int(at - members.begin());
    for (int moved = 0; moved != step;) {
        index += direction;
        if (index < 0 || index >= int(members.size())) {
            return OnPastEnd && OnPastEnd(direction);
        }
        TControl* member = members[std::size_t(index)];
        if (member->isVisible() && member->isEnabled()) {
            moved += direction;
            if (moved == step) {
                member->setFocus(Qt::OtherFocusReason);
                return true;
            }
        }
    }
    return true;
}

// ---- TControl's accessibility and keys --------------------------------------------------

void TControl::SetAccessibleName(const QString& name) {
    if (name != accessibleName()) setAccessibleName(name);
}

void TControl::SetAccessibleDescription(const QString& description) {
    if (description != accessibleDescription()) setAccessibleDescription(description);
}

void TControl::SetAccessibleChecked(std::optional<bool> checked) {
    if (checked == accessChecked_) return;
    accessChecked_ = checked;
    if (!QAccessible::isActive()) return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

QString TControl::PresentedName() const {
    if (!accessibleName().isEmpty()) return accessibleName();
    return CaptionAsName(Caption(), false);
}

void TControl::AnnounceNameChange() {
    if (!accessibleName().isEmpty() || !QAccessible::isActive()) return;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void TControl::Press() {
    if (!isEnabled() || !isVisible()) return;
    Click();
}

bool TControl::TabStop() const {
    return tabStop_.value_or(Pressable() && !isWindow());
}

bool TControl::HandleKey(WORD key, TShiftState) {
    switch (key) {
    case VK_SPACE:
        if (!Pressable()) return false;
        Press();
        return true;
    case VK_RETURN:
        if (!TakesEnter(this)) return false;
        Press();
        return true;
    case VK_UP:
    case VK_LEFT:
        return arrowList_ != nullptr && arrowList_->MoveFocus(this, -1);
    case VK_DOWN:
    case VK_RIGHT:
        return arrowList_ != nullptr && arrowList_->MoveFocus(this, 1);
    default:
        return false;
    }
}

void TControl::keyPressEvent(QKeyEvent* event) {
    const WORD key = VirtualKeyFromQt(event->key());
    bool used = false;
    if (key != 0) {
        GuardedCall(this, [&] { used = HandleKey(key, ShiftFromQt(event->modifiers(), Qt::NoButton)); });
    }
    event->setAccepted(used);
}

void TControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (!isWindow()) Ring()->Follow(this);
    Fire(this, OnEnter, this);
}

void TControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    Ring()->Leave(this);
    Fire(this, OnExit, this);
}

void TControl::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (hasFocus() && Ring()->Follows(this)) Ring()->Follow(this);
}

// ---- TAccessibleControl --------------------------------------------------------------

TAccessibleControl::TAccessibleControl(TControl* control) : QAccessibleWidget(control) {}

TControl* TAccessibleControl::Control() const {
    return static_cast<TControl*>(widget());
}

QAccessible::Role TAccessibleControl::role() const {
    TControl* control = Control();
    return QtRole(PresentedRole(control), !control->PresentedName().isEmpty());
}

QAccessible::State TAccessibleControl::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    TControl* control = Control();
    state.focusable = control->TabStop();
    if (control->AccessibleChecked()) {
        state.checkable = true;
        state.checked = *control->AccessibleChecked();
    }
    if (InPresentedList(control)) state.selectable = true;
    if (auto* form = dynamic_cast<TForm*>(control)) state.modal = form->Modal();
    return state;
}

QString TAccessibleControl::text(QAccessible::Text t) const {
    TControl* control = Control();
    switch (t) {
    case QAccessible::Name:
        return control->PresentedName();
    case QAccessible::Accelerator:
        return control->AccessibleShortcut();
    case QAccessible::Value: {
        TControl::TAccessibleRange range;
        return control->AccessibleRange(range) ? range.Text : QString();
    }
    case QAccessible::Description:
        if (!control->AccessibleDescription().isEmpty()) return control->AccessibleDescription();
        return control->Hint();
    default:
        return QAccessibleWidget::text(t);
    }
}

std::vector<QObject*> TAccessibleControl::Children() const {
    std::vector<QObject*> children;
    for (QObject* object : widget()->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow() || child->objectName() == kFocusRingName) continue;
        auto* control = dynamic_cast<TControl*>(child);
        if (control == nullptr) {
            children.push_back(child);
        } else if (InPresentedList(control)) {
            QObject* list = control->ArrowList();
            if (std::find(children.begin(), children.end(), list) == children.end())
                children.push_back(list);
        } else if (PresentedToAssistiveTechnology(control)) {
            children.push_back(control);
        }
    }
    return children;
}

int TAccessibleControl::childCount() const {
    return int(Children().size());
}

QAccessibleInterface* TAccessibleControl::child(int index) const {
    const std::vector<QObject*> children = Children();
    if (index < 0 || index >= int(children.size())) return nullptr;
    return QAccessible::queryAccessibleInterface(children[std::size_t(index)]);
}

int TAccessibleControl::indexOfChild(const QAccessibleInterface* child) const {
    if (child == nullptr) return -1;
    const std::vector<QObject*> children = Children();
    auto at = std::find(children.begin(), children.end(), child->object());
    return at == children.end() ? -1 : int(at - children.begin());
}

QAccessibleInterface* TAccessibleControl::parent() const {
    TControl* control = Control();
    if (InPresentedList(control)) return QAccessible::queryAccessibleInterface(control->ArrowList());
    return QAccessibleWidget::parent();
}

QStringList TAccessibleControl::actionNames() const {
    QStringList names;
    TControl* control = Control();
    if (control->Pressable()) names << pressAction();
    TControl::TAccessibleRange range;
    if (control->AccessibleRange(range)) names << increaseAction() << decreaseAction();
    if (control->TabStop()) names << setFocusAction();
    return names;
}

void TAccessibleControl::doAction(const QString& actionName) {
    QPointer<TControl> control = Control();
    if (actionName == setFocusAction()) {
        control->setFocus(Qt::OtherFocusReason);
        return;
    }
    int step = 0;
    if (actionName == increaseAction()) step = 1;
    if (actionName == decreaseAction()) step = -1;
    if (actionName != pressAction() && step == 0) return;
    // After the request has been answered: a press may open a modal window.
    QMetaObject::invokeMethod(
        control,
        [control, step] {
            if (control == nullptr) return;
            TControl::TAccessibleRange range;
            if (step == 0)
                control->Press();
            else if (control->isEnabled() && control->AccessibleRange(range))
                control->SetAccessibleValue(range.Value + step * std::max(1, range.Step));
        },
        Qt::QueuedConnection);
}

QStringList TAccessibleControl::keyBindingsForAction(const QString& actionName) const {
    TControl* control = Control();
    if (actionName == pressAction() && !control->AccessibleShortcut().isEmpty())
        return {control->AccessibleShortcut()};
    return {};
}

void* TAccessibleControl::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) {
        TControl::TAccessibleRange range;
        return Control()->AccessibleRange(range) ? static_cast<QAccessibleValueInterface*>(this)
                                                 : nullptr;
    }
    return QAccessibleWidget::interface_cast(type);
}

QVariant TAccessibleControl::currentValue() const {
    TControl::TAccessibleRange range;
    return Control()->AccessibleRange(range) ? QVariant(range.Value) : QVariant();
}

void TAccessibleControl::setCurrentValue(const QVariant& value) {
    QPointer<TControl> control = Control();
    const int wanted = value.toInt();
    QMetaObject::invokeMethod(
        control,
        [control, wanted] {
            if (control != nullptr && control->isEnabled()) control->SetAccessibleValue(wanted);
        },
        Qt::QueuedConnection);
}

QVariant TAccessibleControl::maximumValue() const {
    TControl::TAccessibleRange range;
    return Control()->AccessibleRange(range) ? QVariant(range.Maximum) : QVariant();
}

QVariant TAccessibleControl::minimumValue() const {
    TControl::TAccessibleRange range;
    return Control()->AccessibleRange(range) ? QVariant(range.Minimum) : QVariant();
}

QVariant TAccessibleControl::minimumStepSize() const {
    TControl::TAccessibleRange range;
    return Control()->AccessibleRange(range) ? QVariant(range.Step) : QVariant();
}

} // namespace platform
