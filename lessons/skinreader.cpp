#include "lessons/skinreader.h"

#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace lessons {
namespace {

// The framework's two error texts, in the learner's language and in
// Windows-1252 like the skin files ("ü" is 0xFC): "'…' ist kein gültiger
// Integerwert" and "Der Index der Liste überschreitet das Maximum (%1)".
std::string ConversionText() { return DLL_GetErrStr(311); }

std::string ListErrorText(int lineNumber) {
    std::string text = DLL_GetErrStr(310);
    const std::size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(lineNumber));
    return text;
}

bool IsKeyword(const std::string& line) {
    return line == "$L" || line == "$S" || line == "$I" || line == "$C";
}

} // namespace

SkinError::SkinError(Kind kind, const std::string& message)
    : std::runtime_error(platform::FromAnsi(message).toUtf8().toStdString()), kind_(kind) {}

SkinError SkinError::NotANumber(const std::string& line) {
    return SkinError(Kind::NotANumber, "'" + line + ConversionText());
}

SkinError SkinError::CutShort(int lineNumber) {
    return SkinError(Kind::CutShort, ListErrorText(lineNumber));
}

std::vector<std::string> SplitSkinLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return lines;
}

std::int32_t SkinStrToInt(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
    if (i == line.size()) throw SkinError::NotANumber(line);
    std::int64_t value = 0;
    for (; i < line.size(); ++i) {
        auto c = static_cast<unsigned char>(line[i]);
        if (!std::isdigit(c)) throw SkinError::NotANumber(line);
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            throw SkinError::NotANumber(line);
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) throw SkinError::NotANumber(line);
    return static_cast<std::int32_t>(value);
}

std::string ExpandLineBreaks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '$' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'N')) {
            result += "\r\n";
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

int FontHeightOfSize(std::int32_t points) {
    long double pixels = static_cast<long double>(std::int64_t{points} * 96) / 72 + 0.5L;
    long double height = std::trunc(-pixels);
    // Sizes so large that the height leaves the integer range are held at its ends.
    if (height < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (height > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(height);
}

std::optional<SkinRecord> SkinReader::Next() {
    if (cursor_ >= lines_.size()) return std::nullopt;
    const std::string& keyword = lines_[cursor_];
    if (!IsKeyword(keyword)) return std::nullopt;
    ++cursor_;
    switch (keyword[1]) {
    case 'L':
        return ReadLabel();
    case 'S':
        return ReadShape();
    case 'I':
        return ReadPicture();
    default:
        return ReadGroup();
    }
}

const std::string& SkinReader::ReadLine() {
    if (cursor_ >= lines_.size()) throw SkinError::CutShort(static_cast<int>(cursor_));
    return lines_[cursor_++];
}

std::int32_t SkinReader::ReadInt() { return SkinStrToInt(ReadLine()); }

std::int32_t SkinReader::ReadOptionalTag() {
    if (cursor_ >= lines_.size()) throw SkinError::CutShort(static_cast<int>(cursor_));
    const std::string& line = lines_[cursor_];
    if (line.compare(0, 3, "TAG") != 0) return 0;
    ++cursor_;
    return SkinStrToInt(line.substr(3));
}

SkinLabelRecord SkinReader::ReadLabel() {
    SkinLabelRecord record;
    record.tag = ReadOptionalTag();
    record.left = ReadInt();
    record.top = ReadInt();
    record.fontName = ReadLine();
    record.size = ReadInt();
    record.style = ReadInt();
    record.colour = ReadInt();
    record.text = ReadLine();
    return record;
}

SkinShapeRecord SkinReader::ReadShape() {
    SkinShapeRecord record;
    record.tag = ReadOptionalTag();
    record.left = ReadInt();
    record.top = ReadInt();
    record.width = ReadInt();
    record.height = ReadInt();
    record.fillColour = ReadInt();
    record.borderColour = ReadInt();
    return record;
}

SkinPictureRecord SkinReader::ReadPicture() {
    SkinPictureRecord record;
    record.tag = ReadOptionalTag();
    record.left = ReadInt();
    record.top = ReadInt();
    record.fileName = ReadLine();
    return record;
}

SkinGroupRecord SkinReader::ReadGroup() {
    SkinGroupRecord record;
    record.index = ReadInt();
    record.count = ReadInt();
    // Every pair the file announces is read, so the record's lines are
    // consumed as written; the loader decides how many it can use.
    for (std::int32_t box = 0; box < record.count; ++box) {
        std::int32_t left = ReadInt();
        std::int32_t top = ReadInt();
        if (record.boxes.size() < 6) record.boxes.emplace_back(left, top);
    }
    return record;
}

} // namespace lessons
