#include "platform/core/contentpaths.h"

#include "platform/core/cp1252.h"
#include "platform/core/folders.h"
#include "platform/core/pathresolver.h"

#include <QString>

namespace platform {

ContentPaths::ContentPaths() : folder_(ToAnsi(QString::fromStdString(ProgramFolder()))) {}

ContentPaths::ContentPaths(std::string programFolder) : folder_(std::move(programFolder)) {}

std::string ContentPaths::Full(std::string_view name) const {
    const bool absolute = !name.empty() && (name.front() == '/' || name.front() == '\\');
    if (absolute || name.substr(0, folder_.size()) == folder_) return std::string(name);
    return folder_ + std::string(name);
}

std::string ContentPaths::File(std::string_view name) const {
    return ResolveAnsiPath(Full(name));
}

bool ContentPaths::Exists(std::string_view name) const {
    return AnsiPathExists(Full(name));
}

} // namespace platform
