#pragma once
// Whole-file reading and safe replacement of the files the program writes.

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// The file's lines without their CR LF or LF ends; empty when unreadable.
// A last line without an end counts; an empty file has no lines.
std::vector<std::string> ReadTextLines(const std::string& path);

// Writes `bytes` to `path` through a temporary file in the same folder that
// replaces the old file only once it is complete and flushed to disk, so a
// failed write (disk full, crash, power loss) leaves the old file as it was.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

} // namespace platform
