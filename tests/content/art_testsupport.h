#pragma once
// Helpers of the content art tests: reading generated files, skins and RIFF chunks.

#include <QImage>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace arttest {

// The program folder with its generated content, ending in '/'.
std::string ProgramFolder();

// The bytes of a file in the program folder ("" when missing); with the
// English edition on, its overlay folder's file where it has one.
std::string ProgramFile(const std::string& relative);
void ReadEnglishEdition(bool on);

// The file decoded as a picture (null when missing or undecodable).
QImage ProgramPicture(const std::string& relative);

// One element of a skin file as the skin format defines it.
struct SkinRecord {
    QString keyword;      // "$L", "$S", "$I" or "$C"
    int tag = 0;
    bool hasTagLine = false;
    QStringList fields;   // the record's lines after keyword and tag line
};

struct Skin {
    QString header;
    std::vector<SkinRecord> records;
    QString error;        // empty when every record is whole and well-formed
    bool endedEarly = false; // a line that is no keyword stopped the reading
};

// Parses skin bytes (Windows-1252, CR LF) strictly by the format.
Skin ParseSkin(const std::string& bytes);

// A RIFF chunk found in a file: its id (or list type for LIST/RIFF), offset of
// its data and data size.
struct Chunk {
    std::string id;
    std::string listType; // for RIFF and LIST
    size_t data = 0;
    size_t size = 0;
};

// The direct children of a RIFF/LIST chunk whose data starts at `from` (after
// the list type) and ends at `to`; `ok` turns false when a size runs past `to`.
std::vector<Chunk> Children(const std::string& bytes, size_t from, size_t to, bool& ok);

unsigned Le32(const std::string& bytes, size_t at);
unsigned Le16(const std::string& bytes, size_t at);

} // namespace arttest
