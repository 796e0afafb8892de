#include "app/helpdesk.h"

#include "app/helpwindow.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/shell.h"

#include <QApplication>
#include <QWidget>

namespace app {

using namespace platform;

HelpDesk::HelpDesk(std::string programFolder, QString helpFileName)
    : programFolder_(std::move(programFolder)), helpFileName_(std::move(helpFileName)) {}

HelpDesk::~HelpDesk() {
    delete window_;
}

bool HelpDesk::Show(const QString& topic) {
    return TurnOpenWindow(topic) || OpenPages(topic) || OpenCompiledFile();
}

// Any help window of the program, also one another part opened.
bool HelpDesk::TurnOpenWindow(const QString& topic) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() != THelpWindow::Title()) continue;
        if (auto* help = dynamic_cast<THelpWindow*>(window)) help->ShowTopic(topic);
        window->showNormal();
        window->raise();
        return true;
    }
    return false;
}

bool HelpDesk::OpenPages(const QString& topic) {
    QString folder = helpFileName_;
    folder.chop(4); // ".chm"
    const QString pages =
        QString::fromStdString(ResolveAnsiPath(programFolder_ + ToAnsi(folder)));
    if (!THelpWindow::PagesPresent(pages)) return false;
    if (window_ == nullptr) window_ = new THelpWindow(pages);
    window_->ShowTopic(topic);
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
    return true;
}

bool HelpDesk::OpenCompiledFile() {
    const std::string helpFile = programFolder_ + ToAnsi(helpFileName_);
    return AnsiPathExists(helpFile) &&
           ShellOpen(QString::fromStdString(ResolveAnsiPath(helpFile)));
}

} // namespace app
