#include "app/zupfariapp.h"

#include "app/fbeenden.h"
#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/startscreen.h"
#include "app/testswitches.h"
#include "lessons/quizwin.h"
#include "lessons/slidewindows.h"
#include "journal/csvexport.h"
#include "journal/journal.h"
#include "platform/core/cp1252.h"
#include "platform/core/folders.h"
#include "platform/core/instancelock.h"
#include "platform/ui/application.h"
#include "sprachbank/sprachbank.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

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

// "--export-journal FILE.csv": writes the learner's practice journal as CSV
// and ends, without a window (the course may be running meanwhile: the
// journal is only read). Returns the exit code, or nothing without the option.
std::optional<int> ExportJournalOption(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) != "--export-journal") return std::nullopt;
    if (argc != 3) {
        std::fprintf(stderr, "usage: ZupfariBasis --export-journal FILE.csv\n");
        return 2;
    }
    QCoreApplication application(argc, argv);
    std::string folder;
    if (!platform::FindDataFolder(folder)) folder = platform::ProgramFolder();
    const QString journalFile =
        QDir(QFile::decodeName(QByteArray::fromStdString(folder))).filePath(journal::kJournalFileName);
    const QString csvFile = QString::fromLocal8Bit(argv[2]);
    QString error;
    if (!journal::ExportJournal(journalFile, csvFile, &error)) {
        std::fprintf(stderr, "Zupfari Basis: %s\n", qPrintable(error));
        return 1;
    }
    if (QFile::exists(journalFile))
        std::printf("Zupfari Basis: the practice journal (%s) was written to %s\n",
                    qPrintable(journalFile), qPrintable(csvFile));
    else
        std::printf("Zupfari Basis: no practice journal yet (%s); %s holds the header alone\n",
                    qPrintable(journalFile), qPrintable(csvFile));
    return 0;
}

int RunZupfari(int argc, char** argv) {
    if (const std::optional<int> exported = ExportJournalOption(argc, argv)) return *exported;
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
