// The main window's start-up and leaving: when the main window may come, the
// choice of the MIDI output device, the notice about damaged list files, and
// close requests while a dialog holds the window.

#include "app/fbeenden.h"
#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/shellservices.h"
#include "app/startscreen.h"
#include "app/testswitches.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/exceptions.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

namespace app {

using namespace platform;

namespace {
constexpr int kExposeWaitMs = 250;
}

void TForm1::ProgramWindowsCreated() {
    windowsCreated_ = true;
    ShowMainWindowWhenDue();
}

// The main window comes once it is complete: built, with the other windows
// of the program, its device chosen, and the start screen's time over. A
// message box open during construction therefore cannot bring a half-built
// window; whatever finishes last shows it.
void TForm1::ShowMainWindowWhenDue() {
    if (tornDown_ || mainWindowShown_ || !constructed_ || !windowsCreated_ || !startScreenTimeUp_ ||
        !SoundMenu->Chosen)
        return;
    mainWindowShown_ = true;
    Show();
    ReportTestTime("mainwindow");
    StartScreen->Hide();
    StartScreenActive = false;
    // The timer is freed once its own call has returned.
    TTimer* timer = StartScreenTimer;
    StartScreenTimer = nullptr;
    QTimer::singleShot(0, this, [timer] { delete timer; });
}

// Draws a freshly shown window before construction goes on, so that its
// pixels are on the screen at once rather than when the event loop starts.
void PaintAtOnce(TForm* window) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kExposeWaitMs &&
           (window->windowHandle() == nullptr || !window->windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    window->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::sync();
}

// The device is chosen from the event loop, while the start screen shows.
void TForm1::StartSoundDeviceChoice() {
    const QString setting = Places->SettingsFile->ReadString(
        SoundDeviceChoice::kSettingsSection, SoundDeviceChoice::kSettingsKey,
        SoundDeviceChoice::kNoSetting);
    SoundMenu->Start(setting, [this](TObject* sender) { PopupSoundcardItemClick(sender); },
                     [this] { ShowMainWindowWhenDue(); });
}

// A list file that could not be read is kept, and the learner told so.
void TForm1::TellAboutDamagedLists() {
    if (Lists->DamagedFiles().empty()) return;
    QString names;
    for (const std::string& file : Lists->DamagedFiles()) {
        const QString name = FromAnsi(file);
        names += name.mid(name.lastIndexOf('\\') + 1) + "\n";
    }
    AskMessage(MessageText(304), names + MessageText(305), "", CaptionText(1));
}

void TForm1::BringDialogToFront() {
    if (FBeenden != nullptr && FBeenden->Visible()) {
        FBeenden->raise();
        FBeenden->activateWindow();
    } else if (MsgWin != nullptr && MsgWin->Visible()) {
        MsgWin->raise();
        MsgWin->activateWindow();
    }
}

} // namespace app
