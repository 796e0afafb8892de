#include "platform/core/pathresolver.h"

#include "platform/core/cp1252.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <mutex>
#include <sys/stat.h>
#include <unordered_map>

namespace platform {
namespace {

struct Listing {
    struct timespec modified {};
    QStringList names;
};

class FolderCache {
public:
    // The on-disk spelling of `name` inside `folder`, or an empty string.
    QString Find(const QString& folder, const QString& name) {
        std::lock_guard<std::mutex> lock(mutex_);
        struct stat st {};
        if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            cache_.erase(folder);
            return {};
        }
        auto it = cache_.find(folder);
        bool fresh = it != cache_.end() && SameTime(it->second.modified, st.st_mtim);
        if (fresh) {
            QString hit = Match(it->second.names, name);
            if (!hit.isEmpty()) return hit;
        }
        Listing& listing = cache_[folder];
        listing.modified = st.st_mtim;
        listing.names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
        listing.names.sort();
        return Match(listing.names, name);
    }

private:
    static bool SameTime(const struct timespec& a, const struct timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    }

    static QString Match(const QStringList& names, const QString& name) {
        if (names.contains(name)) return name;
        for (const QString& candidate : names) {
            if (candidate.compare(name, Qt::CaseInsensitive) == 0) return candidate;
        }
        return {};
    }

    std::mutex mutex_;
    std::unordered_map<QString, Listing> cache_;
};

FolderCache& Cache() {
    static FolderCache cache;
    return cache;
}

QString Join(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

} // namespace

QString ResolvePath(const QString& path) {
    QString slashed = path;
    slashed.replace('\\', '/');
    if (slashed.isEmpty() || QFileInfo::exists(slashed)) return slashed;

    const bool absolute = slashed.startsWith('/');
    const QStringList parts = slashed.split('/', Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part == "." || part == "..") {
            resolved = Join(resolved, part);
            continue;
        }
        QString found = Cache().Find(resolved.isEmpty() ? QStringLiteral(".") : resolved, part);
        if (found.isEmpty()) {
            // Not on disk: keep this part and the rest as written.
            resolved = Join(resolved, parts.mid(i).join('/'));
            break;
        }
        resolved = Join(resolved, found);
    }
    if (slashed.endsWith('/') && !resolved.endsWith('/')) resolved += '/';
    return resolved;
}

std::string ResolveAnsiPath(std::string_view ansiPath) {
    return QFile::encodeName(ResolvePath(FromAnsi(ansiPath))).toStdString();
}

bool PathExists(const QString& path) { return QFileInfo::exists(ResolvePath(path)); }

bool AnsiPathExists(std::string_view ansiPath) { return PathExists(FromAnsi(ansiPath)); }

} // namespace platform
