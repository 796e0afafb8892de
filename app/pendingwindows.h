#pragma once
// The slide windows A, B and C and the quiz window, as far as the program
// entry needs them: borderless 800 x 600 forms created in their place in the
// order of windows. Their contents come with the lesson windows themselves.

#include "platform/ui/forms.h"

namespace app {

// An empty course window of 800 x 600 pixels, centred on the screen.
class TCourseWindow : public platform::TForm {
public:
    explicit TCourseWindow(platform::TComponent* owner);
};

class TExtWinA : public TCourseWindow {
public:
    using TCourseWindow::TCourseWindow;
};
class TExtWinB : public TCourseWindow {
public:
    using TCourseWindow::TCourseWindow;
};
class TExtWinC : public TCourseWindow {
public:
    using TCourseWindow::TCourseWindow;
};
class TQuizWin : public TCourseWindow {
public:
    using TCourseWindow::TCourseWindow;
};

extern TExtWinA* ExtWinA;
extern TExtWinB* ExtWinB;
extern TExtWinC* ExtWinC;
extern TQuizWin* QuizWin;

} // namespace app
