#include "app/zupfariapp.h"

#include "app/fbeenden.h"
#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/startscreen.h"
#include "app/testswitches.h"
#include "lessons/quizwin.h"
#include "lessons/slidewindows.h"
#include "platform/core/cp1252.h"
#include "platform/core/instancelock.h"
#include "platform/ui/application.h"
#include "sprachbank/sprachbank.h"

#include <QApplication>
#include <QGuiApplication>
#include <exception>

namespace app {

using namespace platform;

namespace {

constexpr const char* kInstanceName = "ZupfariBS";
constexpr const char* kApplicationTitle = "Zupfari Basis";

void ShowAlreadyRunning() {
    platform::MessageBox(FromAnsi(DLL_GetErrStr(15)), kApplicationTitle, MB_OK);
}

} // namespace

void CreateProgramWindows(ShellServices services) {
    Application->CreateForm(Form1, std::move(services));
    Application->CreateForm(FBeenden);
    Application->CreateForm(lessons::ExtWinA);
    Application->CreateForm(lessons::ExtWinB);
    Application->CreateForm(lessons::ExtWinC);
    Application->CreateForm(lessons::QuizWin);
    Application->CreateForm(MsgWin);
    Form1->ProgramWindowsCreated();
}

int RunZupfari(int argc, char** argv) {
    StartTestTiming();
    // Videos through GStreamer (read when the first media object is made):
    // the FFmpeg backend crashes on machines without a sound server.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication application(argc, argv);
    // Lets Wayland desktops match the window to the installed menu entry.
    QGuiApplication::setDesktopFileName("de.zupfari.Basis");
    InstallTestSwitches();
    platform::InstanceLock instance(kInstanceName);
    if (instance.HeldElsewhere()) {
        ShowAlreadyRunning();
        return 0;
    }
    try {
        Application->Initialize();
        Application->SetTitle(kApplicationTitle);
        // Every window of the program carries the program's name.
        QGuiApplication::setApplicationDisplayName(kApplicationTitle);
        CreateProgramWindows();
        Application->SetShowMainForm(false);
        Application->Run();
    } catch (const std::exception& error) {
        Application->HandleException(nullptr, &error);
    }
    instance.Release();
    return 0;
}

} // namespace app
