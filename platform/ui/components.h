#pragma once
// Components and controls: the layer's owner/parent model over Qt widgets.
//
// A component has an owner, which keeps its components in creation order
// (`Components(i)`, `ComponentIndex()`) and frees them when it is freed
// (newest first); freeing a component removes it from its owner's list.
// A control is also a widget with a parent (`SetParent`), the container it
// shows in. Owner and parent are independent: a dialog may own controls that
// show on another window.
//
// Stacking: non-windowed controls (labels, shapes, images, graphic
// controls) stay below windowed ones (panels, custom controls) of the same
// parent, and among themselves the one parented later lies on top, so a
// file's order is its stacking order.
//
// Painting: controls with a canvas (forms, custom and graphic controls) keep
// a persistent 24-bit surface. Invalidate/Repaint ask for Paint(), which draws
// into it; drawing on the canvas at any other time shows on screen at once
// (the touched area is repainted immediately), also while the user-interface
// thread is busy inside a handler. Qt's own repaints (a child moved, a window
// uncovered) only show the surface and do not call Paint().
//
// Every event handler runs through GuardedCall (exceptions.h).

#include "platform/ui/exceptions.h"
#include "platform/ui/graphics.h"
#include "platform/ui/types.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

class TControlList;

// How a control shows itself to assistive technology (accessible.h). arAuto
// lets the control's kind decide; arHidden leaves it out of the tree.
enum class TAccessRole {
    arAuto,
    arButton,
    arCheckBox,
    arRadioButton,
    arSlider,
    arList,
    arListItem,
    arText,
    arPicture,
    arLink,
    arGroup,
    arWindow,
    arDialog,
    arAlert,
    arHidden
};
using enum TAccessRole;

// Something with an owner, a tag and a name, kept in its owner's list.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    // Frees the owned components, newest first, and leaves the owner's list.
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return int(components_.size()); }
    // The component at `index` in creation order; raises Exception outside
    // 0 .. ComponentCount() - 1.
    TComponent* Components(int index) const;
    // This component's index in its owner's list (-1 without owner).
    int ComponentIndex() const;
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    QString Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    // The owned component with this name (case-blind), or nullptr.
    TComponent* FindComponent(const QString& name) const;

protected:
    // Frees every owned component, newest first.
    void DestroyComponents();

private:
    void Remove(TComponent* component);

    TComponent* owner_;
    std::vector<TComponent*> components_;
    int tag_ = 0;
    QString name_;
};

// A visible element: position and size relative to its parent, visibility,
// enabled state, cursor, hint, font, caption, colour and mouse events.
class TControl : public QWidget, public TComponent, private TCanvasTarget {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TControl* Parent() const { return parent_; }
    // Shows the control inside `parent` (nullptr takes it out). The control
    // goes on top of the non-windowed or windowed controls already there.
    virtual void SetParent(TControl* parent);

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    virtual void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    virtual void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    virtual void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    virtual void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    virtual void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }
    void SetClientWidth(int width) { SetWidth(width); }
    void SetClientHeight(int height) { SetHeight(height); }
    TRect BoundsRect() const { return Bounds(Left(), Top(), Width(), Height()); }
    TRect ClientRect() const { return Rect(0, 0, Width(), Height()); }
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;

    // The Visible property: whether the control is meant to show. It shows
    // on screen when it also has a parent that shows.
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    virtual void Show() { SetVisible(true); }
    virtual void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // The control's font. Until it is changed it follows the parent's font.
    TFont* Font() { return &font_; }
    // The background colour; until it is set, the parent's colour.
    TColor Color() const;
    void SetColor(TColor color);
    void BringToFront();
    void SendToBack();

    // Ask for Paint() at the next chance / at once; Update() carries out a
    // pending one now.
    void Invalidate();
    void Repaint();
    void Refresh() { Repaint(); }
    void Update();

    // Performs a click (fires OnClick).
    virtual void Click();

    // ---- Accessibility and keyboard (accessible.h) ----------------------
    // What a screen reader calls the control; empty: its caption.
    QString AccessibleName() const { return accessibleName(); }
    void SetAccessibleName(const QString& name);
    QString AccessibleDescription() const { return accessibleDescription(); }
    void SetAccessibleDescription(const QString& description);
    TAccessRole AccessibleRole() const { return accessRole_; }
    void SetAccessibleRole(TAccessRole role) { accessRole_ = role; }
    // The key that does the same as pressing the control ("F5"), for the
    // screen reader to tell.
    QString AccessibleShortcut() const { return accessShortcut_; }
    void SetAccessibleShortcut(const QString& keys) { accessShortcut_ = keys; }
    // A tick box's or toggle's state: unset for controls that cannot be
    // ticked. A change is announced.
    std::optional<bool> AccessibleChecked() const { return accessChecked_; }
    void SetAccessibleChecked(std::optional<bool> checked);
    // The name as presented: the accessible name, else the caption text.
    virtual QString PresentedName() const;
    // True when the control can be pressed: it has a click handler.
    virtual bool Pressable() const { return bool(OnClick); }
    // Pressing from the keyboard or by assistive technology: a click, when
    // the control is enabled and shows.
    virtual void Press();
    // A tab stop takes the keyboard focus with Tab. Unless set, every
    // pressable control is one.
    bool TabStop() const;
    void SetTabStop(bool stop) { tabStop_ = stop; }
    // The arrow-key list the control belongs to (nullptr for none).
    TControlList* ArrowList() const { return arrowList_; }
    // A control with a value (a slider) fills `range` and answers true;
    // SetAccessibleValue sets the value as the user would.
    struct TAccessibleRange {
        int Value = 0, Minimum = 0, Maximum = 0, Step = 1;
        QString Text; // the value in words ("level 3, 80 beats per minute")
    };
    virtual bool AccessibleRange(TAccessibleRange& range) const {
        (void)range;
        return false;
    }
    virtual void SetAccessibleValue(int value) { (void)value; }

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    // Whole notches of the wheel over the control. Without a handler the
    // turn goes on to the parent.
    TMouseWheelEvent OnMouseWheel;
    // The control got or lost the keyboard focus.
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    // True for windowed controls (panels, custom controls, forms).
    virtual bool Windowed() const { return false; }
    // The mouse as the control sees it; the default fires the events.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // The wheel turned by whole notches (positive: up); true when the
    // control used the turn. The default fires OnMouseWheel when set.
    virtual bool MouseWheel(TShiftState shift, int steps);
    // After the font, caption or size changed.
    virtual void FontChanged();
    virtual void CaptionChanged() { update(); }
    virtual void Resized() {}

    // Gives the control a persistent canvas surface (see the file comment).
    void EnableSurface();
    bool HasSurface() const { return surfaceCanvas_ != nullptr; }
    TCanvas* SurfaceCanvas() { return surfaceCanvas_.get(); }
    // Draws the whole control onto its canvas (controls with a surface).
    virtual void Paint() {}
    // Draws the control straight onto the widget (controls without surface).
    virtual void PaintControl(QPainter& painter) { (void)painter; }
    // Drawn over the shown surface at the screen's own resolution, every
    // time it is shown: what should stay sharp on a scaled screen (captions).
    virtual void PaintOver(QPainter& painter) { (void)painter; }
    // True on a screen with more device pixels than logical ones (a scale
    // factor above 1): the surface is enlarged there, text is better drawn
    // in PaintOver.
    bool SharpScreen() const { return devicePixelRatioF() > 1.0; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A key pressed while the control has the focus (after the form's key
    // preview): true when the control used it. Space and Enter press,
    // arrows move through the control's arrow list.
    virtual bool HandleKey(WORD key, TShiftState shift);
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Tells assistive technology that the presented name changed (when no
    // accessible name was set, the caption is the name).
    void AnnounceNameChange();

    // Puts the Qt widget's visibility in line with Visible and the parent.
    virtual void ApplyVisibility();

private:
    QImage& CanvasImage() override { return surface_; }
    void CanvasChanged(const TRect& area) override;
    void BeginChanges() override;
    void EndChanges() override;
    void ParentFontChanged();
    void PlaceInStack();

    TControl* parent_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    TCursor cursor_ = crDefault;
    QString hint_;
    QString caption_;
    TFont font_;
    bool parentFont_ = true;
    bool applyingParentFont_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    bool clicked_ = false;
    int wheelRest_ = 0; // eighths of a degree not yet a whole notch
    TAccessRole accessRole_ = arAuto;
    QString accessShortcut_;
    std::optional<bool> accessChecked_;
    std::optional<bool> tabStop_;
    TControlList* arrowList_ = nullptr; // cleared by the list when it goes

    QImage surface_;
    std::unique_ptr<TCanvas> surfaceCanvas_;
    bool paintPending_ = true;
    bool inPaint_ = false;
    int changeBatches_ = 0; // open ChangeBatch scopes on the surface
    QRegion batchedChanges_;

    friend class TForm;
    friend class TControlList;
};

// A non-windowed control with its own canvas: derive and draw in Paint()
// (the skinned track bar).
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    TCanvas* Canvas() { return SurfaceCanvas(); }
};

// A windowed control with its own canvas: derive and draw in Paint(); the
// mouse arrives through the virtual MouseDown/MouseUp/MouseMove/MouseEnter/
// MouseLeave. It can have a window region (region.h). The skinned buttons
// derive from it.
class TCustomControl : public TControl {
public:
    explicit TCustomControl(TComponent* owner);
    TCanvas* Canvas() { return SurfaceCanvas(); }

protected:
    bool Windowed() const override { return true; }
};

// Called after every change of a control's caption, for measurements and
// tests that read what the learner sees from outside the program; none is
// set in normal use.
using TCaptionWatcher = std::function<void(const TControl& control, const QString& caption)>;
void SetCaptionWatcher(TCaptionWatcher watcher);

// The state of the modifier keys and mouse buttons of a Qt event.
TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

} // namespace platform
