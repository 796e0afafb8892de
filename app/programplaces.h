#pragma once
// ProgramPlaces: where the program is and where it keeps the learner's files.
// It finds the program and data folders, opens the settings file, chooses the
// help file and web address by the course's language, and counts the
// program's starts in the start log.

#include "platform/core/inifile.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

namespace app {

// The addresses of the product pages, German and English.
inline constexpr const char* kWebSiteGerman = "https://www.zupfari.de/basis/";
inline constexpr const char* kWebSiteEnglish = "https://www.zupfari.de/en/basis/";

class ProgramPlaces {
public:
    // `programFolder` in the file system's spelling; `languageCode` 0 is German.
    // The data folder is the learner's own, or the program folder when there
    // is none.
    ProgramPlaces(const std::string& programFolder, int languageCode);

    // Reads, counts and saves the start log (only reads it when `writable` is
    // false).
    void CountStart(bool writable);

    std::string ProgramFolder; // Windows-1252, ends in a separator
    std::string DataFolder;    // Windows-1252, ends in a separator
    std::string ProgramDrive;
    std::unique_ptr<platform::IniFile> SettingsFile;
    int LanguageCode = 0;
    QString HelpFileName;
    QString WebSiteAddress;
    QStringList StartLog;
    std::string StartLogPath;
    int StartCount = 0;
};

} // namespace app
