#pragma once
// TTickBox: a tick box with its text beside it, drawn in the desktop's own
// tick-box look, as a control of the program's windows: the form's tab order
// reaches it, Space or a click ticks and unticks it, and a screen reader
// hears a tick box with its text as name and its state.

#include "platform/ui/components.h"

namespace journal {

class TTickBox : public platform::TControl {
public:
    explicit TTickBox(platform::TComponent* owner);

    bool Checked() const { return checked_; }
    // Sets the tick without firing OnClick.
    void SetChecked(bool checked);
    // Turns the tick over, then fires OnClick.
    void Click() override;
    bool Pressable() const override { return true; }

protected:
    void PaintControl(QPainter& painter) override;

private:
    bool checked_ = false;
};

} // namespace journal
