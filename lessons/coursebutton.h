#pragma once
// What the slide windows and the quiz share: the caption-style fade button
// with rounded corners on one of the program's button pictures, and the
// wiring of their window events to their handlers.

#include "controls/fadebutton.h"

#include <QString>

namespace lessons {

// A button named `name` on `window` showing caption text `captionNumber`,
// drawn from the resources `look`, `look` + "OVER" and `look` + "DOWN"
// placed after "RBUTTON" (look "" or "LF").
controls::TXFadeButton* MakeCourseButton(platform::TControl* window, const QString& name,
                                         int captionNumber, const QString& look);

// Connects the window's show, hide, paint and key events to its handlers
// FormShow, FormHide, FormPaint and FormKeyDown.
template <class Window> void ConnectCourseWindowEvents(Window* window) {
    using platform::TObject;
    window->OnShow = [window](TObject* sender) { window->FormShow(sender); };
    window->OnHide = [window](TObject* sender) { window->FormHide(sender); };
    window->OnPaint = [window](TObject* sender) { window->FormPaint(sender); };
    window->OnKeyDown = [window](TObject* sender, platform::WORD& key,
                                 platform::TShiftState shift) {
        window->FormKeyDown(sender, key, shift);
    };
}

} // namespace lessons
