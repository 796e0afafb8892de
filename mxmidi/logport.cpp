// "MIDI Log": a port that appends one text line per message it sends to the
// file named by MXMIDI_LOG. A line holds the microseconds since the port was
// opened and the message bytes as two-digit upper-case hexadecimal, separated
// by single spaces: always status, data1 and data2 for channel and system
// messages (data bytes the message lacks are 00), and every byte from F0 to
// F7 for a system-exclusive message, all on one line.

#include "mxmidi/outport.h"
#include "mxmidi/toolkitclock.h"

#include <cinttypes>
#include <cstdio>

namespace mxmidi::detail {
namespace {

class LogPort : public OutPort {
public:
    explicit LogPort(std::FILE* file) : file_(file), openedAt_(ClockNow()) {}
    ~LogPort() override { std::fclose(file_); }
    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, int) override {
        std::fprintf(file_, "%" PRIu64 " %02X %02X %02X\n", Elapsed(), status, data1, data2);
        std::fflush(file_);
    }
    void SendSysEx(const std::vector<std::uint8_t>& message) override {
        std::fprintf(file_, "%" PRIu64, Elapsed());
        for (std::uint8_t byte : message)
            std::fprintf(file_, " %02X", byte);
        std::fputc('\n', file_);
        std::fflush(file_);
    }

private:
    std::uint64_t Elapsed() const {
        std::uint64_t now = ClockNow();
        return now > openedAt_ ? now - openedAt_ : 0;
    }
    std::FILE* file_;
    std::uint64_t openedAt_;
};

} // namespace

std::unique_ptr<OutPort> OpenLogPort(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (!file) return nullptr;
    return std::make_unique<LogPort>(file);
}

} // namespace mxmidi::detail
