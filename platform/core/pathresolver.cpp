#include "platform/core/pathresolver.h"

#include "platform/core/cp1252.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <set>
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

// The overlay: the program folder as given and as the file system spells it
// (the current folder is always the latter), and the overlay folder.
class Overlay {
public:
    void Set(const QString& programFolder, const QString& overlayFolder) {
        std::lock_guard<std::mutex> lock(mutex_);
        bases_.clear();
        folder_.clear();
        reported_.clear();
        if (overlayFolder.isEmpty() || programFolder.isEmpty()) return;
        const QString given = QDir::cleanPath(QFileInfo(programFolder).absoluteFilePath());
        const QString real = QFileInfo(given).canonicalFilePath();
        bases_ << given;
        if (!real.isEmpty() && real != given) bases_ << real;
        folder_ = QDir::cleanPath(QFileInfo(overlayFolder).absoluteFilePath());
        trace_ = std::getenv("ZUPFARI_TRACE_FILES") != nullptr;
    }
    QString Folder() {
        std::lock_guard<std::mutex> lock(mutex_);
        return folder_;
    }
    // The path inside the program folder that `slashed` names, if any.
    std::optional<QString> Relative(const QString& slashed, QString& overlayFolder) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (folder_.isEmpty()) return std::nullopt;
        const QString absolute = QDir::cleanPath(QFileInfo(slashed).absoluteFilePath());
        for (const QString& base : bases_) {
            const QString prefix = base.endsWith('/') ? base : base + '/';
            if (absolute.startsWith(prefix, Qt::CaseInsensitive) && absolute.size() > prefix.size()) {
                overlayFolder = folder_;
                return absolute.mid(prefix.size());
            }
        }
        return std::nullopt;
    }
    void Report(const QString& served) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!trace_ || !reported_.insert(served).second) return;
        std::fprintf(stderr, "ZUPFARI-OVERLAY %s\n", served.toUtf8().constData());
        std::fflush(stderr);
    }

private:
    std::mutex mutex_;
    QStringList bases_;
    QString folder_;
    bool trace_ = false;
    std::set<QString> reported_;
};

Overlay& TheOverlay() {
    static Overlay overlay;
    return overlay;
}

QString ResolveOnDisk(const QString& slashed);

// The overlay's file for `slashed`, when the overlay is on and holds one.
std::optional<QString> FromOverlay(const QString& slashed) {
    QString folder;
    const std::optional<QString> relative = TheOverlay().Relative(slashed, folder);
    if (!relative || relative->startsWith(QStringLiteral("../"))) return std::nullopt;
    const QString candidate = ResolveOnDisk(Join(folder, *relative));
    if (!QFileInfo(candidate).isFile()) return std::nullopt;
    TheOverlay().Report(candidate);
    return candidate;
}

QString ResolveOnDisk(const QString& slashed) {
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

} // namespace

void SetContentOverlay(const QString& programFolder, const QString& overlayFolder) {
    TheOverlay().Set(programFolder, overlayFolder);
}

QString ContentOverlay() { return TheOverlay().Folder(); }

QString ResolvePath(const QString& path) {
    QString slashed = path;
    slashed.replace('\\', '/');
    if (slashed.isEmpty()) return slashed;
    if (std::optional<QString> overlaid = FromOverlay(slashed)) return *overlaid;
    return ResolveOnDisk(slashed);
}

std::string ResolveAnsiPath(std::string_view ansiPath) {
    return QFile::encodeName(ResolvePath(FromAnsi(ansiPath))).toStdString();
}

bool PathExists(const QString& path) { return QFileInfo::exists(ResolvePath(path)); }

bool AnsiPathExists(std::string_view ansiPath) { return PathExists(FromAnsi(ansiPath)); }

} // namespace platform
