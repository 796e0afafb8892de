#pragma once
// The buttons of the slide windows and the quiz: the caption-style fade
// button with rounded corners on one of the program's button pictures.

#include "controls/fadebutton.h"

#include <QString>

namespace lessons {

// A button named `name` on `window` showing caption text `captionNumber`,
// drawn from the resources `look`, `look` + "OVER" and `look` + "DOWN"
// placed after "RBUTTON" (look "" or "LF").
controls::TXFadeButton* MakeCourseButton(platform::TControl* window, const QString& name,
                                         int captionNumber, const QString& look);

} // namespace lessons
