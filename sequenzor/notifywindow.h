#pragma once
// NotifyWindow: the hidden "window" that receives the toolkit's notifications.

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>

namespace sequenzor {

// A hidden notification window: a child object of the window given to
// MidiInitWin, named after its window title, that hands every MxNotifyEvent
// posted to it to its owner's handler on the thread it lives on.
class NotifyWindow : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(std::uint32_t message)>;
    NotifyWindow(const char* title, QObject* parent, Handler handler);

protected:
    bool event(QEvent* event) override;

private:
    Handler handler_;
};

// Makes a window for `title` under `parent`; any earlier one held in `slot`
// is deleted first.
void ReplaceWindow(QPointer<NotifyWindow>& slot, const char* title, QObject* parent,
                   NotifyWindow::Handler handler);
// Deletes the window held in `slot`, if it still exists.
void DeleteWindow(QPointer<NotifyWindow>& slot);

} // namespace sequenzor
