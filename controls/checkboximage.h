#pragma once
// TCheckBoxImage: the picture of one tick box of a skin's tick-box group. A
// TImage under a name of its own, so the group's boxes can be told apart from
// other pictures among a window's components; it adds nothing else.

#include "platform/ui/controls.h"

namespace controls {

class TCheckBoxImage : public platform::TImage {
public:
    explicit TCheckBoxImage(platform::TComponent* owner) : platform::TImage(owner) {}
};

} // namespace controls
