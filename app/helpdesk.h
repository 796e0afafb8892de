#pragma once
// HelpDesk: opens the course's help at a page. A help window that is open
// already turns to the page and comes to the front; else the help pages
// beside the program open in the program's own help window; without them the
// compiled help file opens where the desktop has a viewer for it.

#include <QString>
#include <string>

namespace app {

class THelpWindow;

class HelpDesk {
public:
    // `programFolder` (Windows-1252, ending in a separator) holds the compiled
    // help file `helpFileName` ("Hilfe.chm", "Help.chm") and, in the folder
    // of the same name without ".chm", the help pages.
    HelpDesk(std::string programFolder, QString helpFileName);
    ~HelpDesk();
    HelpDesk(const HelpDesk&) = delete;
    HelpDesk& operator=(const HelpDesk&) = delete;

    // Shows the page `topic` ("tuner.html"); false when there is no help.
    bool Show(const QString& topic);

private:
    bool TurnOpenWindow(const QString& topic);
    bool OpenPages(const QString& topic);
    bool OpenCompiledFile();

    const std::string programFolder_;
    const QString helpFileName_;
    THelpWindow* window_ = nullptr;
};

} // namespace app
