#include "platform/core/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {

std::uint32_t timeGetTime() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

SystemTime GetSystemTime() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    return SystemTime{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_wday, utc.tm_mday,
                      utc.tm_hour,        utc.tm_min,     utc.tm_sec,  static_cast<int>(ms)};
}

void Sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace platform
