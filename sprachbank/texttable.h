#pragma once
// The table of all texts of the language library, kept in one place.

#include <span>

namespace sprachbank {

enum class Kind { Caption, Message, Error };

// One numbered text in both languages, written as UTF-8 in the source.
struct TextRow {
    Kind kind;
    int number;
    const char* german;
    const char* english;
};

std::span<const TextRow> TextTable();

} // namespace sprachbank
