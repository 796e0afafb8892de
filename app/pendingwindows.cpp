#include "app/pendingwindows.h"

#include "controls/dialogkeys.h"
#include "layout/screenlayout.h"

namespace app {

TExtWinA* ExtWinA = nullptr;
TExtWinB* ExtWinB = nullptr;
TExtWinC* ExtWinC = nullptr;
TQuizWin* QuizWin = nullptr;

TCourseWindow::TCourseWindow(platform::TComponent* owner) : TForm(owner) {
    SetPosition(platform::poScreenCenter);
    SetBounds(0, 0, layout::MainWindow.width(), layout::MainWindow.height());
    // Alt+F4 never closes a course window.
    OnKeyDown = [](platform::TObject*, platform::WORD& key, platform::TShiftState shift) {
        controls::HandleDialogKey(key, shift, {}, {});
    };
}

} // namespace app
