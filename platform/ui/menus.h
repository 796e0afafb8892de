#pragma once
// TPopupMenu: a list of entries with captions, popped up at a screen
// position. Choosing an entry calls its OnClick with the entry as Sender;
// entries may share one handler and tell themselves apart by MenuIndex().

#include "platform/ui/components.h"

#include <QString>
#include <vector>

namespace platform {

class TPopupMenu;

// One entry of a popup menu; owned by its menu.
class TMenuItem : public TComponent {
public:
    TMenuItem(TPopupMenu* menu, const QString& caption);
    ~TMenuItem() override;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    // The entry's position in its menu, from 0.
    int MenuIndex() const;
    // Acts as if the entry had been chosen.
    void Click();

    TNotifyEvent OnClick;

private:
    TPopupMenu* menu_;
    QString caption_;
    bool enabled_ = true;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override { Clear(); }

    // Appends an entry and returns it.
    TMenuItem* Add(const QString& caption, TNotifyEvent onClick = nullptr);
    int Count() const { return int(items_.size()); }
    // Raises Exception outside 0 .. Count() - 1.
    TMenuItem* Items(int index) const;
    void Clear();
    // Shows the menu with its top-left corner at the screen point (x, y) and
    // waits until it closes; the chosen entry's OnClick then runs.
    void Popup(int x, int y);

private:
    friend class TMenuItem;
    std::vector<TMenuItem*> items_;
};

} // namespace platform
