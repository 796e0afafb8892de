#pragma once
// The output ports behind the toolkit's device ids: the built-in synthesizer,
// the system's MIDI ports, the "MIDI Log" file and the tests' recording
// ports. A port only sends; queueing and timing are the output's business.

#include "mxmidi/mxmidi.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace mxmidi::detail {

// One opened port. Send and SendSysEx are called with the toolkit's lock held,
// from the client's thread or a timer thread, never at the same time, at the
// message's due time or as soon after it as the thread got there. `due` is
// that time on the toolkit's clock (the time of its tick, or now for a
// message sent at once): a port that renders sound places the message there;
// the others send at once.
class OutPort {
public:
    virtual ~OutPort() = default;
    // A channel or system message; `length` is its byte count on the wire
    // (1 to 3), data bytes beyond it are 0.
    virtual void Send(std::uint64_t due, std::uint8_t status, std::uint8_t data1,
                      std::uint8_t data2, int length) = 0;
    // A whole system-exclusive message from F0 to F7.
    virtual void SendSysEx(std::uint64_t due, const std::vector<std::uint8_t>& message) = 0;
    // Microseconds from a message's due time to the moment it is heard.
    virtual std::uint32_t LatencyMicroseconds() const { return 0; }
    // A piece selecting these instruments is about to play (PrepareMidiOut).
    virtual void Prepare(const std::vector<MidiProgram>&) {}
};

// A port that sends nothing: the device of an output opened on
// MXMIDI_NO_DEVICE, and of one whose device failed to open.
class SilentPort : public OutPort {
public:
    void Send(std::uint64_t, std::uint8_t, std::uint8_t, std::uint8_t, int) override {}
    void SendSysEx(std::uint64_t, const std::vector<std::uint8_t>&) override {}
};

enum class PortKind { Synth, System, Log, Recording };

// One entry of the device list.
struct DeviceEntry {
    PortKind kind;
    std::string name;     // as listed: at most 31 characters
    std::string fullName; // the system port's own name, used to find it when opening
    std::uint16_t technology;
};

inline constexpr std::size_t kMaxDeviceName = 31;
inline constexpr const char* kSynthName = "Zupfari Synth";
inline constexpr const char* kLogName = "MIDI Log";
inline constexpr const char* kMapperName = "MIDI Mapper";

// The devices in id order: synthesizer, system ports, log, recording ports.
std::vector<DeviceEntry> ListDevices();
std::string CutDeviceName(const std::string& name);
std::string ToAnsiName(const std::string& utf8);
// nullptr when the device cannot be opened.
std::unique_ptr<OutPort> OpenPort(const DeviceEntry& device);

// Per kind (defined in the port sources).
std::vector<std::string> ListSystemPorts();
std::unique_ptr<OutPort> OpenSystemPort(const std::string& fullName);
std::unique_ptr<OutPort> OpenSynthPort();
std::unique_ptr<OutPort> OpenLogPort(const std::string& path);
// Recording ports as (listed name, key to open it by).
std::vector<std::pair<std::string, std::string>> ListRecordingPorts();
std::unique_ptr<OutPort> OpenRecordingPort(const std::string& key);

// Bytes on the wire of a message with this status byte (0 for a data byte).
int MessageLength(std::uint8_t status);

} // namespace mxmidi::detail
