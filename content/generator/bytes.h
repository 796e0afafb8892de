#pragma once
// Little-endian numbers appended to a byte string, as RIFF (WAV, AVI) and BMP
// files store them.

#include <cstdint>
#include <string>

namespace content {

inline void PutLe16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline void PutLe32(std::string& out, std::uint32_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

} // namespace content
