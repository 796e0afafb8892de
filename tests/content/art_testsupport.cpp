#include "tests/content/art_testsupport.h"

#include "platform/core/cp1252.h"
#include "platform/core/files.h"
#include "tests/support/testsupport.h"

#include <map>

namespace arttest {

// The program folder: from the test environment, else the build's own
// (the list-valued test environment does not always reach the test).
static std::string Folder() {
    const std::string folder = testsupport::BinFolder();
    return folder.empty() ? std::string(ZUPFARI_PROGRAM_FOLDER) + "/" : folder;
}

std::string ProgramFolder() { return Folder(); }

static bool englishEdition = false;

void ReadEnglishEdition(bool on) {
    englishEdition = on;
}

std::string ProgramFile(const std::string& relative) {
    if (englishEdition)
        if (auto english = platform::ReadFileBytes(Folder() + "English/" + relative)) return *english;
    return platform::ReadFileBytes(Folder() + relative).value_or(std::string());
}

QImage ProgramPicture(const std::string& relative) {
    const std::string bytes = ProgramFile(relative);
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
}

static bool IsInteger(const QString& text) {
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

Skin ParseSkin(const std::string& bytes) {
    Skin skin;
    QStringList lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            skin.error = QStringLiteral("last line without CR LF");
            end = bytes.size();
        }
        const std::string line = bytes.substr(start, end - start);
        if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos)
            skin.error = QStringLiteral("a line ended by a lone CR or LF");
        lines << platform::FromAnsi(line);
        start = end + 2;
    }
    if (lines.isEmpty()) {
        skin.error = QStringLiteral("empty file");
        return skin;
    }
    skin.header = lines[0];
    const std::map<QString, int> sizes = {{"$L", 7}, {"$S", 6}, {"$I", 3}};
    int at = 1;
    while (at < lines.size()) {
        SkinRecord record;
        record.keyword = lines[at++];
        if (record.keyword == QStringLiteral("$C")) {
            if (at + 1 >= lines.size()) {
                skin.error = QStringLiteral("group cut short");
                return skin;
            }
            const int count = lines[at + 1].toInt();
            const int length = 2 + 2 * count;
            if (count < 1 || count > 6 || at + length > lines.size()) {
                skin.error = QStringLiteral("bad group");
                return skin;
            }
            record.fields = lines.mid(at, length);
            at += length;
        } else if (sizes.count(record.keyword)) {
            if (at < lines.size() && lines[at].startsWith(QStringLiteral("TAG"))) {
                record.hasTagLine = true;
                record.tag = lines[at].mid(3).toInt();
                if (!IsInteger(lines[at].mid(3))) skin.error = QStringLiteral("bad tag line ") + lines[at];
                ++at;
            }
            const int length = sizes.at(record.keyword);
            if (at + length > lines.size()) {
                skin.error = QStringLiteral("record cut short");
                return skin;
            }
            record.fields = lines.mid(at, length);
            at += length;
        } else {
            skin.endedEarly = true;
            return skin;
        }
        skin.records.push_back(record);
    }
    return skin;
}

unsigned Le16(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

unsigned Le32(const std::string& bytes, size_t at) { return Le16(bytes, at) | (Le16(bytes, at + 2) << 16); }

std::vector<Chunk> Children(const std::string& bytes, size_t from, size_t to, bool& ok) {
    std::vector<Chunk> chunks;
    size_t at = from;
    while (at + 8 <= to) {
        Chunk chunk;
        chunk.id = bytes.substr(at, 4);
        chunk.size = Le32(bytes, at + 4);
        chunk.data = at + 8;
        if (chunk.data + chunk.size > to) {
            ok = false;
            return chunks;
        }
        if (chunk.id == "LIST" || chunk.id == "RIFF") chunk.listType = bytes.substr(chunk.data, 4);
        chunks.push_back(chunk);
        at = chunk.data + chunk.size + (chunk.size % 2);
    }
    if (at != to && at != to + 1) ok = false;
    return chunks;
}

} // namespace arttest
