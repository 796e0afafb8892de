#pragma once
// TLabelFX: a label with the program's own name for hover handling. Entering
// fires OnMouseEnter, leaving fires OnMouseLeave (the label as sender), each
// before the label's own handling; without handlers it is a plain TLabel.

#include "platform/ui/controls.h"

namespace controls {

class TLabelFX : public platform::TLabel {
public:
    explicit TLabelFX(platform::TComponent* owner) : platform::TLabel(owner) {}
    // OnMouseEnter and OnMouseLeave are the control's own events; TControl
    // fires them on entering and leaving, once each.
};

} // namespace controls
