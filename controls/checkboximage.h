#pragma once
// TCheckBoxImage: the picture of one tick box of a skin's tick-box group. A
// TImage under a name of its own, so the group's boxes can be told apart from
// other pictures among a window's components, and so that a screen reader
// sees a radio button.

#include "platform/ui/controls.h"

namespace controls {

class TCheckBoxImage : public platform::TImage {
public:
    // A screen reader sees a box of a single-choice group: a radio button,
    // not ticked.
    explicit TCheckBoxImage(platform::TComponent* owner) : platform::TImage(owner) {
        SetAccessibleRole(platform::arRadioButton);
        SetAccessibleChecked(false);
    }
};

} // namespace controls
