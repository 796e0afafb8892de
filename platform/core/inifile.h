#pragma once
// Settings files in the Windows private-profile format: "[Section]" lines,
// "key=value" lines, CR LF line ends, Windows-1252 text.

#include <QString>
#include <string>
#include <vector>

namespace platform {

// An INI file read and written through its path, like TIniFile: every
// WriteString goes to disk at once. Sections and keys are found without
// regard to letter case; values keep their case and lose surrounding blanks.
class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string& FileName() const { return path_; }

    // The value of key in section, or `fallback` when either is absent or the
    // file cannot be read.
    QString ReadString(const QString& section, const QString& key, const QString& fallback) const;

    // Sets key in section (both created when missing) and rewrites the file:
    // a complete new file replaces the old one, so a failed write leaves the
    // previous settings intact. Returns false when the file could not be written.
    bool WriteString(const QString& section, const QString& key, const QString& value);

private:
    std::vector<QString> ReadLines() const;

    std::string path_;
};

} // namespace platform
