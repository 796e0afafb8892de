#pragma once
// The application object (`Application`): title, the message loop and
// ProcessMessages, termination, the main form, the standard exception display
// and the platform's plain message box.

#include "platform/ui/types.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <exception>
#include <functional>
#include <utility>
#include <vector>

namespace platform {

class TForm;

// Buttons and icons of MessageBox, and its answers (Windows values).
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows the platform's plain modal message box and returns the button
// chosen. `caption` is the box's title as given (also when empty).
int MessageBox(const QString& text, const QString& caption, unsigned flags);

// Replaces the real box by `hook` (tests record what would be shown and
// answer for the user); an empty hook puts the real box back. Returns the
// hook installed before.
using TMessageBoxHook =
    std::function<int(const QString& text, const QString& caption, unsigned flags)>;
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);

// After a large load (the window's pictures, a lesson's screens) the heap
// keeps the pages its temporary buffers used; a second after the last call
// they go back to the system. Calls in between are one.
void ReturnFreedMemorySoon();

// The one application of the process.
class TApplication : public TObject {
public:
    QString Title() const { return title_; }
    void SetTitle(const QString& title);

    // Nothing to prepare; kept for the order of the program entry.
    void Initialize() {}
    // Creates a form of type T (owner: none, then `args`) and remembers it;
    // the first form created this way becomes the main form.
    template <class T, class... Args> void CreateForm(T*& reference, Args&&... args) {
        reference = new T(nullptr, std::forward<Args>(args)...);
        AddForm(reference);
    }
    TForm* MainForm() const;
    void SetMainForm(TForm* form);
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool show) { showMainForm_ = show; }

    // Shows the main form (unless ShowMainForm is off) and runs the message
    // loop until Terminate; then frees the forms made by CreateForm, newest
    // first.
    void Run();
    // Handles every event that is waiting, then returns.
    void ProcessMessages();
    // Ends the message loop (and every modal loop) as soon as control gets
    // back to it.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The standard exception display: OnException if assigned, else a
    // message box with the exception's text and the application title.
    void HandleException(TObject* sender, const std::exception* error);
    void ShowException(const QString& message);
    std::function<void(TObject* Sender, const QString& Message)> OnException;

    // MessageBox with the application title when `caption` is empty.
    int MessageBox(const QString& text, const QString& caption, unsigned flags);

private:
    void AddForm(TForm* form);

    QString title_;
    QPointer<QWidget> mainForm_;
    std::vector<QPointer<QWidget>> createdForms_;
    bool showMainForm_ = true;
    bool terminated_ = false;
    bool showingException_ = false;
};

// The application object.
extern TApplication* const Application;

} // namespace platform
