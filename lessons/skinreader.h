#pragma once
// Reading a skin file's records: the text side of the skin loader, free of any
// window. The loader asks for one record at a time and builds its element at
// once, so that an error in a later record leaves the earlier elements built.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lessons {

// The one error of skin files, raised out of the reader and the loader alike:
// a value line that is no integer ("'<line>' ist kein gültiger Integerwert")
// or a record cut short by the end of the file ("Der Index der Liste
// überschreitet das Maximum (<line number>)"). `what()` is that message for
// the user, in UTF-8.
class SkinError : public std::runtime_error {
public:
    enum class Kind { NotANumber, CutShort };
    static SkinError NotANumber(const std::string& line);
    static SkinError CutShort(int lineNumber);
    Kind ErrorKind() const { return kind_; }

private:
    SkinError(Kind kind, const std::string& message);
    Kind kind_;
};

// Splits a file's bytes into lines: CR LF, a lone CR and a lone LF each end a
// line; a last line without an end counts; an empty file has no lines.
std::vector<std::string> SplitSkinLines(std::string_view bytes);

// A value line as an integer: optional leading blanks, an optional sign and
// decimal digits that fit in 32 bits; anything else throws
// SkinError::NotANumber with `line` as the offending text.
std::int32_t SkinStrToInt(const std::string& line);

// "$n" in any letter case becomes CR LF.
std::string ExpandLineBreaks(const std::string& text);

// Font height in pixels of a size in points: the negated, rounded size at
// 96 pixels per inch (negative: the character height, not the cell height).
int FontHeightOfSize(std::int32_t points);

// One "$L" record.
struct SkinLabelRecord {
    std::int32_t tag = 0;
    std::int32_t left = 0, top = 0;
    std::string fontName;
    std::int32_t size = 0;
    std::int32_t style = 0;
    std::int32_t colour = 0;
    std::string text; // as written, "$n" not yet expanded
};

// One "$S" record.
struct SkinShapeRecord {
    std::int32_t tag = 0;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::int32_t fillColour = 0, borderColour = 0;
};

// One "$I" record.
struct SkinPictureRecord {
    std::int32_t tag = 0;
    std::int32_t left = 0, top = 0;
    std::string fileName; // "$$" for none
};

// One "$C" record. All `count` position pairs of the file are read (none
// when the count is 0 or less); the first six of them, in box order, are kept.
struct SkinGroupRecord {
    std::int32_t index = 0;
    std::int32_t count = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> boxes;
};

using SkinRecord =
    std::variant<SkinLabelRecord, SkinShapeRecord, SkinPictureRecord, SkinGroupRecord>;

// Walks the records of a file's lines from line 1 on (line 0 is the header).
class SkinReader {
public:
    explicit SkinReader(const std::vector<std::string>& lines) : lines_(lines) {}

    // The record at the cursor, or nothing when reading ends there (end of
    // the file, or a line that is not exactly one of the four keywords).
    // Throws SkinError for a broken record; the records returned before stay
    // valid.
    std::optional<SkinRecord> Next();

private:
    const std::string& ReadLine();
    std::int32_t ReadInt();
    std::int32_t ReadOptionalTag();
    SkinLabelRecord ReadLabel();
    SkinShapeRecord ReadShape();
    SkinPictureRecord ReadPicture();
    SkinGroupRecord ReadGroup();

    const std::vector<std::string>& lines_;
    std::size_t cursor_ = 1;
};

} // namespace lessons
