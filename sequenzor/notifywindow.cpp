#include "sequenzor/notifywindow.h"

#include "mxmidi/mxmidi.h"

namespace sequenzor {

NotifyWindow::NotifyWindow(const char* title, QObject* parent, Handler handler)
    : QObject(parent), handler_(std::move(handler)) {
    setObjectName(QString::fromLatin1(title));
}

bool NotifyWindow::event(QEvent* event) {
    if (event->type() != MxNotifyEvent::EventType()) return QObject::event(event);
    if (handler_) handler_(static_cast<MxNotifyEvent*>(event)->Message());
    return true;
}

void ReplaceWindow(QPointer<NotifyWindow>& slot, const char* title, QObject* parent,
                   NotifyWindow::Handler handler) {
    DeleteWindow(slot);
    slot = new NotifyWindow(title, parent, std::move(handler));
}

void DeleteWindow(QPointer<NotifyWindow>& slot) {
    delete slot.data();
    slot.clear();
}

} // namespace sequenzor
