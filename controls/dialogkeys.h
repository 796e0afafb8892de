#pragma once
// The keys every dialog of the program answers alike: Enter confirms, Esc
// cancels, and Alt+F4 never closes the window. One place for the message
// box, the exit dialog, the slide windows and the quiz.

#include "platform/ui/forms.h"

#include <functional>

namespace controls {

// Consumes Enter (running `confirm`) and Esc (running `cancel`) where the
// action is given, and Alt+F4 always; other keys pass untouched.
void HandleDialogKey(platform::WORD& key, platform::TShiftState shift,
                     const std::function<void()>& confirm, const std::function<void()>& cancel);

} // namespace controls
