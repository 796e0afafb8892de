#include "app/programplaces.h"

#include "app/startcount.h"
#include "plan/liststore.h"
#include "platform/core/cp1252.h"
#include "platform/core/folders.h"
#include "platform/core/pathresolver.h"

namespace app {

using namespace platform;

ProgramPlaces::ProgramPlaces(const std::string& programFolder, int languageCode)
    : ProgramFolder(ToAnsi(QString::fromStdString(programFolder))),
      ProgramDrive(ToAnsi(QString::fromStdString(DriveOf(programFolder)))),
      LanguageCode(languageCode) {
    std::string folder;
    DataFolder = plan::ListStore::FindDataFolder(folder) ? folder : ProgramFolder;
    SettingsFile = std::make_unique<IniFile>(ResolveAnsiPath(DataFolder + "zupfaripref.ini"));
    const bool german = LanguageCode == 0;
    HelpFileName = german ? "Hilfe.chm" : "Help.chm";
    WebSiteAddress = german ? kWebSiteGerman : kWebSiteEnglish;
}

// The start log counts the program's starts in its first line.
void ProgramPlaces::CountStart(bool writable) {
    StartLogPath = ResolveAnsiPath(DataFolder + "session.log");
    StartCounter counter(StartLogPath, writable);
    StartCount = counter.CountStart();
    StartLog = counter.Lines();
}

} // namespace app
