#include "platform/ui/shell.h"

#include "platform/core/pathresolver.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>
#include <atomic>

namespace platform {
namespace {

class Desktop final : public DesktopOpener {
public:
    bool Open(const QString& target) override {
        QUrl url = QUrl(target, QUrl::StrictMode);
        if (url.scheme().size() <= 1) { // a path, also one like "C:..." written by old data
            url = QUrl::fromLocalFile(QFileInfo(ResolvePath(target)).absoluteFilePath());
        }
        return QDesktopServices::openUrl(url);
    }
};

Desktop gDesktop;
std::atomic<DesktopOpener*> gOpener{&gDesktop};

} // namespace

bool ShellOpen(const QString& target) {
    if (target.trimmed().isEmpty()) return false;
    return gOpener.load()->Open(target);
}

DesktopOpener* SetDesktopOpener(DesktopOpener* opener) {
    return gOpener.exchange(opener != nullptr ? opener : &gDesktop);
}

} // namespace platform
