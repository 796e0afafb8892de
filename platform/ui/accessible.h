#pragma once
// What assistive technology (a screen reader, a braille display, anything on
// the desktop's accessibility bus) sees of the program's windows and
// controls, and how the keyboard reaches them.
//
// One factory, installed with the first control, gives every control its
// interface (TControl::CreateAccessible; skinned controls answer with their
// own). A control's role follows from its kind unless set: a form is a
// window, a control with a click handler a push button, a label static text,
// a picture a graphic, a panel a pane. Its name is the accessible name when
// one was set, else its caption (line breaks as spaces, '&' marks dropped); a
// form's name is its title (Caption). Pictures and rectangles that nobody can
// press and nobody named are decoration and stay out of the tree, and so do
// empty unnamed panels.
//
// A pressable control offers the action "Press"; it runs on the user-interface
// thread once the request has returned, so that a window it opens modally
// cannot hold the caller up. Changes of names, descriptions, values and
// ticks are announced as they happen.
//
// Keyboard: Tab and Shift+Tab move through a form's tab stops in its tab
// order (TForm::SetTabOrder), the focused control wears the focus ring, Space
// presses it and so does Enter when it is a button or list entry (on tick
// boxes and sliders Enter stays the window's key). A TControlList joins
// controls for the arrow keys and, as a list, for the screen reader.

#include "platform/ui/components.h"

#include <QAccessibleWidget>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

namespace platform {

// Controls that the arrow keys walk through (Up/Left back, Down/Right on),
// such as the rows of a list or the boxes of one question. Owned by the
// members' parent. Presented as a list, it appears to assistive technology as
// one list holding its members as list entries.
class TControlList : public QObject {
public:
    TControlList(TControl* parent, bool presentAsList);
    ~TControlList() override;

    void Add(TControl* member);
    // The members that are still there, in the order they were added.
    std::vector<TControl*> Members() const;
    bool PresentAsList() const { return presentAsList_; }
    TControl* ParentControl() const { return parent_; }
    QString Name() const { return name_; }
    void SetName(const QString& name);

    // Moves the focus `step` members on (negative: back) from `from`,
    // skipping members that do not show or are disabled. When there is no
    // member that far, OnPastEnd(step sign) may scroll the list and answer
    // true; the focus then stays. True when the key was used.
    bool MoveFocus(TControl* from, int step);
    std::function<bool(int direction)> OnPastEnd;

private:
    TControl* parent_;
    bool presentAsList_;
    QString name_;
    std::vector<QPointer<TControl>> members_;
};

// The interface of a control for assistive technology. It asks the control
// at every call, so a control's kind decides whatever it was when asked.
class TAccessibleControl : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TAccessibleControl(TControl* control);

    TControl* Control() const;

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* parent() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;
    // The value of a slider.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

protected:
    // The objects shown as this control's children, in order.
    std::vector<QObject*> Children() const;
};

// The role a control shows (its own or the one its kind gives).
TAccessRole PresentedRole(TControl* control);
// True when assistive technology sees the control at all.
bool PresentedToAssistiveTechnology(TControl* control);
// True when Enter presses the control (buttons, links and list entries).
bool TakesEnter(TControl* control);
// A caption as a name: '&' marks dropped, line breaks as spaces, trimmed.
QString CaptionAsName(const QString& caption, bool accelerators);

// Installs the factory (done by the first control; safe to call again).
void InstallAccessibility();

// The colours of the focus ring: a two-pixel outer line and a one-pixel line
// inside it, so that it shows on light and dark faces alike.
void SetFocusRingColours(TColor outer, TColor inner);

} // namespace platform
