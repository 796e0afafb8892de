#pragma once
// Windows-1252 text at the program's boundaries: content files, list files and
// the language library speak Windows-1252; inside, text is QString.

#include <QString>
#include <string>
#include <string_view>

namespace platform {

// Decodes Windows-1252 bytes. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same
// value, so every byte round-trips.
QString FromAnsi(std::string_view bytes);

// Encodes to Windows-1252. A character the code page cannot hold becomes '?'.
std::string ToAnsi(const QString& text);

} // namespace platform
