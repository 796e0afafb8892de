#include "tests/soak/notebalance.h"

#include <cstdio>
#include <sstream>

namespace soak {

bool NoteBalance::ReadNew(std::string* error) {
    std::FILE* file = std::fopen(path_.c_str(), "r");
    if (file == nullptr) {
        *error = "cannot open " + path_;
        return false;
    }
    std::fseek(file, offset_, SEEK_SET);
    std::string line;
    bool ok = true;
    for (int c = std::fgetc(file); c != EOF && ok; c = std::fgetc(file)) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        ok = Take(line, error);
        line.clear();
        offset_ = std::ftell(file);
    }
    std::fclose(file);
    return ok;
}

bool NoteBalance::Take(const std::string& line, std::string* error) {
    ++lines_;
    std::istringstream in(line);
    unsigned long long micros = 0;
    unsigned status = 0, data1 = 0, data2 = 0;
    if (!(in >> micros >> std::hex >> status >> data1 >> data2)) {
        *error = "not a log line: \"" + line + "\"";
        return false;
    }
    if (status == 0xF0) return true; // system exclusive: bytes, no notes
    const unsigned kind = status & 0xF0, channel = status & 0x0F;
    if (kind != 0x80 && kind != 0x90) return true;
    if (data1 > 127 || data2 > 127) {
        *error = "data byte out of range: \"" + line + "\"";
        return false;
    }
    int& count = sounding_[channel][data1];
    if (kind == 0x90 && data2 > 0) {
        ++count;
        ++notesOn_;
    } else if (count > 0) {
        --count;
    } else {
        ++strayOffs_;
    }
    return true;
}

int NoteBalance::Sounding() const {
    int total = 0;
    for (const auto& keys : sounding_)
        for (int count : keys)
            total += count;
    return total;
}

std::string NoteBalance::FirstSounding() const {
    for (int channel = 0; channel < 16; ++channel)
        for (int key = 0; key < 128; ++key)
            if (sounding_[channel][key] != 0)
                return "channel " + std::to_string(channel) + " key " + std::to_string(key);
    return "";
}

} // namespace soak
