#pragma once
// Clocks and sleeping as the worker threads use them.

#include <cstdint>

namespace platform {

// Milliseconds on a steady clock; wraps after about 49 days like its Windows
// namesake, so callers compare differences, never absolute values.
std::uint32_t timeGetTime();

// Wall-clock time in UTC, split into its fields.
struct SystemTime {
    int wYear;
    int wMonth; // 1..12
    int wDayOfWeek; // 0 = Sunday
    int wDay;
    int wHour;
    int wMinute;
    int wSecond;
    int wMilliseconds;
};
SystemTime GetSystemTime();

// Blocks the calling thread for the given number of milliseconds.
void Sleep(std::uint32_t milliseconds);

} // namespace platform
