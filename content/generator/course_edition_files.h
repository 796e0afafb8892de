#pragma once
// Writing a content file of one edition into the program folder. The German
// edition's files go to their own place; the English edition's go to the
// overlay folder, and only when their bytes differ from the German file at
// the same place (which is therefore written first), so that the overlay
// holds exactly the files that differ.

#include "content/generator/course_outline.h"

#include <filesystem>
#include <string>

namespace content {

// `relative` uses '/' and is relative to the program folder `out`. Prints
// why and returns false when the file cannot be written.
bool WriteEditionFile(const std::filesystem::path& out, Edition edition, const std::string& relative,
                      const std::string& bytes);

} // namespace content
