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

void CreateProgramWindows() {
    Application->CreateForm(Form1);
    Application->CreateForm(FBeenden);
    Application->CreateForm(lessons::ExtWinA);
    Application->CreateForm(lessons::ExtWinB);
    Application->CreateForm(lessons::ExtWinC);
    Application->CreateForm(lessons::QuizWin);
    Application->CreateForm(MsgWin);
}

int RunZupfari(int argc, char** argv) {
    StartTestTiming();
    QApplication application(argc, argv);
    InstallTestSwitches();
    platform::InstanceLock instance(kInstanceName);
    if (instance.HeldElsewhere()) {
        ShowAlreadyRunning();
        return 0;
    }
    try {
        Application->Initialize();
        Application->SetTitle(kApplicationTitle);
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
