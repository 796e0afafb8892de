#pragma once
// Opening a file or a web address with the desktop's default application
// (the help file, the product web site).

#include <QString>

namespace platform {

// Something that opens documents. The desktop does it for real; tests install
// a recorder so that nothing is ever launched.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // `target` is a local file path or an address with a scheme ("https://...").
    virtual bool Open(const QString& target) = 0;
};

// Opens `target` through the installed opener. Returns false when nothing
// could be opened.
bool ShellOpen(const QString& target);

// Installs `opener` (not owned) in place of the desktop; nullptr puts the
// desktop back. Returns the one that was installed before.
DesktopOpener* SetDesktopOpener(DesktopOpener* opener);

} // namespace platform
