#include "platform/ui/menus.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <algorithm>

namespace platform {

TMenuItem::TMenuItem(TPopupMenu* menu, const QString& caption)
    : TComponent(menu), menu_(menu), caption_(caption) {}

TMenuItem::~TMenuItem() {
    auto& items = menu_->items_;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
}

int TMenuItem::MenuIndex() const {
    const auto& items = menu_->items_;
    auto found = std::find(items.begin(), items.end(), this);
    return found == items.end() ? -1 : int(found - items.begin());
}

void TMenuItem::Click() {
    Fire(this, OnClick, this);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TMenuItem* TPopupMenu::Add(const QString& caption, TNotifyEvent onClick) {
    auto* item = new TMenuItem(this, caption);
    item->OnClick = std::move(onClick);
    items_.push_back(item);
    return item;
}

TMenuItem* TPopupMenu::Items(int index) const {
    if (index < 0 || index >= Count()) {
        throw Exception(QString("Menu index out of range (%1)").arg(index));
    }
    return items_[std::size_t(index)];
}

void TPopupMenu::Clear() {
    std::vector<TMenuItem*> items;
    items.swap(items_);
    for (TMenuItem* item : items)
        delete item;
}

void TPopupMenu::Popup(int x, int y) {
    QMenu menu;
    std::vector<QAction*> actions;
    for (TMenuItem* item : items_) {
        QAction* action = menu.addAction(item->Caption());
        action->setEnabled(item->Enabled());
        actions.push_back(action);
    }
    QAction* chosen = menu.exec(QPoint(x, y));
    auto found = std::find(actions.begin(), actions.end(), chosen);
    if (chosen == nullptr || found == actions.end()) return;
    std::size_t index = std::size_t(found - actions.begin());
    if (index < items_.size()) items_[index]->Click();
}

} // namespace platform
