// "MIDI Log": a port that appends one text line per message it sends to the
// file named by MXMIDI_LOG. A line holds the microseconds since the port was
// opened and the message bytes as two-digit upper-case hexadecimal, separated
// by single spaces: always status, data1 and data2 for channel and system
// messages (data bytes the message lacks are 00), and every byte from F0 to
// F7 for a system-exclusive message, all on one line.
//
// The time is taken when the message is sent. On the steady clock a writer
// thread of the port puts the lines into the file every 10 ms, so that a slow
// disk never holds up the timer (and the timer never has to wake the writer);
// all lines are there once the port is closed. Under the manual clock every
// line is written at once.

#include "mxmidi/outport.h"
#include "mxmidi/pimutex.h"
#include "mxmidi/toolkitclock.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <mutex>
#include <thread>

namespace mxmidi::detail {
namespace {

constexpr std::chrono::milliseconds kWritePeriod{10};
constexpr std::size_t kBufferBytes = 256 * 1024;

class LogPort : public OutPort {
public:
    explicit LogPort(std::FILE* file) : file_(file), openedAt_(ClockNow()) {
        if (!ClockIsManual()) {
            pending_.reserve(kBufferBytes);
            writing_.reserve(kBufferBytes);
            writer_ = std::thread([this] { WriteLoop(); });
        }
    }
    ~LogPort() override {
        if (writer_.joinable()) {
            {
                std::lock_guard lock(mutex_);
                stop_ = true;
            }
            wake_.notify_all();
            writer_.join();
        }
        std::fclose(file_);
    }
    void Send(std::uint64_t, std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
              int) override {
        char line[64];
        std::snprintf(line, sizeof line, "%" PRIu64 " %02X %02X %02X\n", Elapsed(), status, data1,
                      data2);
        Append(line);
    }
    void SendSysEx(std::uint64_t, const std::vector<std::uint8_t>& message) override {
        std::string line = std::to_string(Elapsed());
        char hex[4];
        for (std::uint8_t byte : message) {
            std::snprintf(hex, sizeof hex, " %02X", byte);
            line += hex;
        }
        line += '\n';
        Append(line);
    }

private:
    std::uint64_t Elapsed() const {
        std::uint64_t now = ClockNow();
        return now > openedAt_ ? now - openedAt_ : 0;
    }

    void Append(const std::string& line) {
        if (!writer_.joinable()) {
            Write(line);
            return;
        }
        std::lock_guard lock(mutex_);
        pending_ += line;
    }

    void Write(const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), file_);
        std::fflush(file_);
    }

    void WriteLoop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            bool stopping = stop_;
            if (!stopping) wake_.wait_until(lock, std::chrono::steady_clock::now() + kWritePeriod);
            // The two buffers trade places and keep their capacity, so the
            // timer's thread appends without allocating.
            writing_.swap(pending_);
            lock.unlock();
            if (!writing_.empty()) Write(writing_);
            writing_.clear();
            lock.lock();
            if (stopping && pending_.empty()) return;
        }
    }

    std::FILE* file_;
    std::uint64_t openedAt_;
    std::thread writer_;
    PiMutex mutex_;
    PiCondition wake_;
    std::string pending_; // lines sent, not yet written
    std::string writing_; // lines being written
    bool stop_ = false;
};

} // namespace

std::unique_ptr<OutPort> OpenLogPort(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (!file) return nullptr;
    return std::make_unique<LogPort>(file);
}

} // namespace mxmidi::detail
