#include "controls/dialogkeys.h"

namespace controls {

using namespace platform;

void HandleDialogKey(WORD& key, TShiftState shift, const std::function<void()>& confirm,
                     const std::function<void()>& cancel) {
    if (key == VK_F4 && shift.Contains(ssAlt)) {
        key = 0;
    } else if (key == VK_RETURN && confirm) {
        key = 0;
        confirm();
    } else if (key == VK_ESCAPE && cancel) {
        key = 0;
        cancel();
    }
}

} // namespace controls
