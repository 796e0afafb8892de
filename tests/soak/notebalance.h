#pragma once
// NoteBalance: reads the lines "MIDI Log" appends to its file and keeps, per
// channel and key, how many notes are sounding (note on minus note off), so
// that a test can ask whether any note was left hanging.

#include <array>
#include <cstdint>
#include <string>

namespace soak {

class NoteBalance {
public:
    explicit NoteBalance(std::string path) : path_(std::move(path)) {}
    // Reads what was appended since the last call. False, with `error` set,
    // when a line is not of the log's form.
    bool ReadNew(std::string* error);
    // Notes sounding now.
    int Sounding() const;
    // "channel c key k" of the first note sounding, or "" when none is.
    std::string FirstSounding() const;
    // A note off for a key that was not sounding.
    int StrayOffs() const { return strayOffs_; }
    std::uint64_t NotesOn() const { return notesOn_; }
    std::uint64_t Lines() const { return lines_; }

private:
    bool Take(const std::string& line, std::string* error);

    std::string path_;
    long offset_ = 0;
    std::array<std::array<int, 128>, 16> sounding_{};
    int strayOffs_ = 0;
    std::uint64_t notesOn_ = 0;
    std::uint64_t lines_ = 0;
};

} // namespace soak
