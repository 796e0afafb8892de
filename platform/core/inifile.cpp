#include "platform/core/inifile.h"

#include "platform/core/cp1252.h"
#include "platform/core/files.h"


namespace platform {
namespace {

bool IsSectionLine(const QString& line) {
    QString t = line.trimmed();
    return t.startsWith('[') && t.endsWith(']');
}

QString SectionName(const QString& line) {
    QString t = line.trimmed();
    return t.mid(1, t.size() - 2).trimmed();
}

bool KeyMatches(const QString& line, const QString& key, QString* value) {
    qsizetype eq = line.indexOf('=');
    if (eq < 0) return false;
    if (line.left(eq).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) != 0) return false;
    if (value != nullptr) *value = line.mid(eq + 1).trimmed();
    return true;
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::vector<QString> IniFile::ReadLines() const {
    std::vector<QString> lines;
    for (const std::string& line : ReadTextLines(path_)) lines.push_back(FromAnsi(line));
    return lines;
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& fallback) const {
    bool inSection = false;
    for (const QString& line : ReadLines()) {
        if (IsSectionLine(line)) {
            inSection = SameName(SectionName(line), section);
            continue;
        }
        QString value;
        if (inSection && KeyMatches(line, key, &value)) return value;
    }
    return fallback;
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    std::vector<QString> lines = ReadLines();
    const QString entry = key.trimmed() + "=" + value;
    qsizetype sectionStart = -1;
    qsizetype insertAt = -1;
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        if (IsSectionLine(lines[i])) {
            if (sectionStart >= 0) break;
            if (SameName(SectionName(lines[i]), section)) {
                sectionStart = static_cast<qsizetype>(i);
                insertAt = sectionStart + 1;
            }
            continue;
        }
        if (sectionStart < 0) continue;
        if (KeyMatches(lines[i], key, nullptr)) {
            lines[i] = entry;
            written = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            insertAt = static_cast<qsizetype>(i) + 1;
        }
    }
    if (!written && sectionStart >= 0) {
        lines.insert(lines.begin() + insertAt, entry);
    } else if (!written) {
        if (!lines.empty() && !lines.back().trimmed().isEmpty()) lines.emplace_back();
        lines.push_back("[" + section.trimmed() + "]");
        lines.push_back(entry);
    }
    std::string bytes;
    for (const QString& line : lines) bytes += ToAnsi(line) + "\r\n";
    return WriteFileAtomically(path_, bytes);
}

} // namespace platform
