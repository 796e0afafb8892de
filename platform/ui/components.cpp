#include "platform/ui/components.h"

#include "platform/ui/accessible.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QWheelEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QThread>
#include <algorithm>
#include <utility>

namespace platform {

// ---- TComponent ------------------------------------------------------------------

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_ != nullptr) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_ != nullptr) owner_->Remove(this);
}

void TComponent::DestroyComponents() {
    // Freeing one component may free others (a panel takes its child widgets
    // along), so take them one at a time from the end.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
}

void TComponent::Remove(TComponent* component) {
    auto found = std::find(components_.begin(), components_.end(), component);
    if (found != components_.end()) components_.erase(found);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) {
        throw Exception(QString("List index out of bounds (%1)").arg(index));
    }
    return components_[std::size_t(index)];
}

int TComponent::ComponentIndex() const {
    if (owner_ == nullptr) return -1;
    const auto& list = owner_->components_;
    auto found = std::find(list.begin(), list.end(), this);
    return found == list.end() ? -1 : int(found - list.begin());
}

TComponent* TComponent::FindComponent(const QString& name) const {
    if (name.isEmpty()) return nullptr;
    for (TComponent* component : components_) {
        if (component->name_.compare(name, Qt::CaseInsensitive) == 0) return component;
    }
    return nullptr;
}

// ---- TControl --------------------------------------------------------------------

TShiftState ShiftFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    unsigned bits = 0;
    if (modifiers & Qt::ShiftModifier) bits |= ssShift;
    if (modifiers & Qt::AltModifier) bits |= ssAlt;
    if (modifiers & Qt::ControlModifier) bits |= ssCtrl;
    if (buttons & Qt::LeftButton) bits |= ssLeft;
    if (buttons & Qt::RightButton) bits |= ssRight;
    if (buttons & Qt::MiddleButton) bits |= ssMiddle;
    return TShiftState{bits};
}

namespace {

bool ButtonFromQt(Qt::MouseButton qt, TMouseButton& button) {
    switch (qt) {
    case Qt::LeftButton:
        button = mbLeft;
        return true;
    case Qt::RightButton:
        button = mbRight;
        return true;
    case Qt::MiddleButton:
        button = mbMiddle;
        return true;
    default:
        return false;
    }
}

bool OnUiThread() {
    return QCoreApplication::instance() == nullptr ||
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

TControl::TControl(TComponent* owner) : QWidget(nullptr), TComponent(owner) {
    InstallAccessibility();
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    font_.OnChange = [this] {
        if (!applyingParentFont_) parentFont_ = false;
        FontChanged();
    };
    QWidget::setFont(font_.ToQFont());
}

TControl::~TControl() {
    // Owned components go first, while this widget is still whole.
    DestroyComponents();
    font_.OnChange = nullptr;
}

void TControl::SetParent(TControl* parent) {
    if (parent == parent_) return;
    parent_ = parent;
    QWidget::setParent(parent);
    if (parent_ != nullptr) {
        PlaceInStack();
        if (parentFont_) ParentFontChanged();
    }
    ApplyVisibility();
}

// Non-windowed controls go just below the lowest windowed sibling, so they
// lie above the earlier non-windowed ones and below every windowed one.
void TControl::PlaceInStack() {
    raise();
    if (Windowed()) return;
    for (QObject* object : parent_->children()) {
        auto* sibling = dynamic_cast<TControl*>(object);
        if (sibling != nullptr && sibling != this && sibling->Windowed()) {
            stackUnder(sibling);
            return;
        }
    }
}

void TControl::ParentFontChanged() {
    if (parent_ == nullptr) return;
    applyingParentFont_ = true;
    font_.Assign(parent_->Font());
    applyingParentFont_ = false;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (left != x() || top != y()) move(left, top);
    if (width != this->width() || height != this->height()) resize(width, height);
}

TPoint TControl::ClientToScreen(TPoint point) const {
    QPoint global = mapToGlobal(QPoint(point.X, point.Y));
    return Point(global.x(), global.y());
}

TPoint TControl::ScreenToClient(TPoint point) const {
    QPoint local = mapFromGlobal(QPoint(point.X, point.Y));
    return Point(local.x(), local.y());
}

void TControl::SetVisible(bool visible) {
    visible_ = visible;
    ApplyVisibility();
}

void TControl::ApplyVisibility() {
    QWidget::setVisible(visible_ && parent_ != nullptr);
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    QWidget::setEnabled(enabled);
    update();
}

void TControl::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    switch (cursor) {
    case crHandPoint:
        setCursor(Qt::PointingHandCursor);
        break;
    case crHourGlass:
        setCursor(Qt::WaitCursor);
        break;
    case crArrow:
        setCursor(Qt::ArrowCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

void TControl::SetHint(const QString& hint) {
    hint_ = hint;
    setToolTip(hint);
}

namespace {
TCaptionWatcher& CaptionWatcher() {
    static TCaptionWatcher watcher;
    return watcher;
}
} // namespace

void SetCaptionWatcher(TCaptionWatcher watcher) {
    CaptionWatcher() = std::move(watcher);
}

void TControl::SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    CaptionChanged();
    if (CaptionWatcher()) CaptionWatcher()(*this, caption_);
    AnnounceNameChange();
}

TColor TControl::Color() const {
    if (parentColor_ && parent_ != nullptr) return parent_->Color();
    return color_;
}

void TControl::SetColor(TColor color) {
    color_ = color;
    parentColor_ = false;
    update();
}

void TControl::FontChanged() {
    QWidget::setFont(font_.ToQFont());
    // The canvas writes in the control's font until told otherwise.
    if (surfaceCanvas_) surfaceCanvas_->Font()->Assign(&font_);
    for (QObject* object : children()) {
        auto* child = dynamic_cast<TControl*>(object);
        if (child != nullptr && child->parentFont_) child->ParentFontChanged();
    }
    Invalidate();
}

void TControl::BringToFront() {
    if (parent_ != nullptr)
        PlaceInStack();
    else
        raise();
}

void TControl::SendToBack() {
    lower();
}

// ---- Painting -------------------------------------------------------------------

void TControl::EnableSurface() {
    if (surfaceCanvas_) return;
    surface_ = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_BGR888);
    surface_.fill(ToQColor(Color()));
    surfaceCanvas_.reset(new TCanvas(this));
    surfaceCanvas_->Font()->Assign(&font_);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TControl::Invalidate() {
    paintPending_ = true;
    update();
}

void TControl::Repaint() {
    paintPending_ = true;
    if (isVisible()) repaint();
}

void TControl::Update() {
    if (paintPending_ && isVisible()) repaint();
}

void TControl::CanvasChanged(const TRect& area) {
    if (inPaint_) return; // shown when the paint event ends
    QRect rect(area.Left, area.Top, area.Width(), area.Height());
    if (!OnUiThread()) {
        QPointer<QWidget> self(this);
        QMetaObject::invokeMethod(
            this,
            [self, rect] {
                if (self) self->update(rect);
            },
            Qt::QueuedConnection);
        return;
    }
    if (changeBatches_ > 0) {
        batchedChanges_ += rect;
        return;
    }
    if (isVisible()) repaint(rect);
}

void TControl::BeginChanges() {
    ++changeBatches_;
}

void TControl::EndChanges() {
    if (changeBatches_ == 0 || --changeBatches_ > 0) return;
    const QRegion changed = std::exchange(batchedChanges_, QRegion());
    if (!changed.isEmpty() && isVisible()) repaint(changed);
}

namespace {

// Qt's raster engine hands an image blend of more than about a hundred
// lines to its thread pool in slices and waits for them. For a small area,
// such as the LED column or the point, the slices cost more in thread
// wake-ups than they save, and every beat's paint would wait on other
// threads. Small areas are drawn in bands short enough to stay on this
// thread; large ones keep the pool.
constexpr int kBandLines = 64;
constexpr int kLargeAreaPixels = 128 * 1024;

void DrawSurfaceRect(QPainter& painter, const QImage& surface, const QRect& rect) {
    if (rect.width() * rect.height() >= kLargeAreaPixels || rect.height() <= kBandLines) {
        painter.drawImage(rect, surface, rect);
        return;
    }
    for (int top = rect.top(); top <= rect.bottom(); top += kBandLines) {
        const QRect band(rect.left(), top, rect.width(), std::min(kBandLines, rect.bottom() + 1 - top));
        painter.drawImage(band, surface, band);
    }
}

} // namespace

void TControl::paintEvent(QPaintEvent* event) {
    if (!HasSurface()) {
        QPainter painter(this);
        PaintControl(painter);
        return;
    }
    if (paintPending_) {
        paintPending_ = false;
        inPaint_ = true;
        GuardedCall(this, [this] { Paint(); });
        inPaint_ = false;
    }
    QPainter painter(this);
    for (const QRect& rect : event->region()) DrawSurfaceRect(painter, surface_, rect);
    GuardedCall(this, [&] { PaintOver(painter); });
}

void TControl::resizeEvent(QResizeEvent* event) {
    if (HasSurface() && (surface_.width() != width() || surface_.height() != height())) {
        QImage resized(std::max(1, width()), std::max(1, height()), QImage::Format_BGR888);
        resized.fill(ToQColor(Color()));
        QPainter painter(&resized);
        painter.drawImage(0, 0, surface_);
        painter.end();
        surface_ = resized;
        paintPending_ = true;
    }
    QWidget::resizeEvent(event);
    GuardedCall(this, [this] { Resized(); });
}

// ---- Mouse ------------------------------------------------------------------------

void TControl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    TMouseButton button;
    if (!ButtonFromQt(event->button(), button)) return;
    if (button == mbLeft) clicked_ = true;
    QPoint at = event->position().toPoint();
    GuardedCall(this, [&] {
        MouseDown(button, ShiftFromQt(event->modifiers(), event->buttons()), at.x(), at.y());
    });
}

// Left button: the click comes first (when the button goes up inside the
// control), then the mouse-up.
void TControl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    TMouseButton button;
    if (!ButtonFromQt(event->button(), button)) return;
    QPoint at = event->position().toPoint();
    TShiftState shift = ShiftFromQt(event->modifiers(), event->buttons());
    QPointer<QWidget> alive(this);
    if (button == mbLeft && clicked_) {
        clicked_ = false;
        if (rect().contains(at)) GuardedCall(this, [this] { Click(); });
    }
    if (!alive) return; // freed by its own click handler
    GuardedCall(this, [&] { MouseUp(button, shift, at.x(), at.y()); });
}

void TControl::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click counts as a second press; no control tells the two apart.
    mousePressEvent(event);
}

void TControl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    QPoint at = event->position().toPoint();
    GuardedCall(this, [&] {
        MouseMove(ShiftFromQt(event->modifiers(), event->buttons()), at.x(), at.y());
    });
}

void TControl::enterEvent(QEnterEvent*) {
    GuardedCall(this, [this] { MouseEnter(); });
}

void TControl::leaveEvent(QEvent*) {
    GuardedCall(this, [this] { MouseLeave(); });
}

// Touchpads send parts of a notch (120 eighths of a degree); they add up.
void TControl::wheelEvent(QWheelEvent* event) {
    constexpr int kNotch = 120;
    wheelRest_ += event->angleDelta().y();
    const int steps = wheelRest_ / kNotch;
    wheelRest_ -= steps * kNotch;
    bool used = steps == 0 && OnMouseWheel != nullptr;
    if (steps != 0) {
        const TShiftState shift = ShiftFromQt(event->modifiers(), event->buttons());
        GuardedCall(this, [&] { used = MouseWheel(shift, steps); });
    }
    event->setAccepted(used);
}

bool TControl::MouseWheel(TShiftState shift, int steps) {
    if (!OnMouseWheel) return false;
    Fire(this, OnMouseWheel, this, shift, steps);
    return true;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Fire(this, OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Fire(this, OnMouseUp, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    Fire(this, OnMouseMove, this, shift, x, y);
}

void TControl::MouseEnter() {
    Fire(this, OnMouseEnter, this);
}

void TControl::MouseLeave() {
    Fire(this, OnMouseLeave, this);
}

void TControl::Click() {
    Fire(this, OnClick, this);
}

// ---- Graphic and custom controls ------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {
    EnableSurface();
}

TCustomControl::TCustomControl(TComponent* owner) : TControl(owner) {
    EnableSurface();
}

} // namespace platform
