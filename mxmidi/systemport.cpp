// The system's MIDI output ports through RtMidi. Without an ALSA sequencer
// RtMidi's constructor throws: then there are no system ports, and the
// sequencer is not asked again. Ports are opened by name, since their
// numbers change while the program runs.

#include "mxmidi/outport.h"

#include <rtmidi/RtMidi.h>

#include <atomic>

namespace mxmidi::detail {
namespace {

std::atomic<bool> noSequencer{false};

std::unique_ptr<RtMidiOut> CreateClient() {
    if (noSequencer.load()) return nullptr;
    try {
        return std::make_unique<RtMidiOut>(RtMidi::UNSPECIFIED, "Zupfari MxMidi");
    } catch (const RtMidiError&) {
        noSequencer.store(true);
        return nullptr;
    }
}

// An opened RtMidi port.
class SystemPort : public OutPort {
public:
    explicit SystemPort(std::unique_ptr<RtMidiOut> client) : client_(std::move(client)) {}
    ~SystemPort() override {
        try {
            client_->closePort();
        } catch (const RtMidiError&) {
        }
    }
    void Send(std::uint64_t, std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
              int length) override {
        const std::uint8_t bytes[3] = {status, data1, data2};
        SendBytes(bytes, static_cast<std::size_t>(length));
    }
    void SendSysEx(std::uint64_t, const std::vector<std::uint8_t>& message) override {
        SendBytes(message.data(), message.size());
    }

private:
    void SendBytes(const std::uint8_t* bytes, std::size_t count) {
        try {
            client_->sendMessage(bytes, count);
        } catch (const RtMidiError&) {
            // A port that went away: the event is lost, playback goes on.
        }
    }
    std::unique_ptr<RtMidiOut> client_;
};

} // namespace

std::vector<std::string> ListSystemPorts() {
    std::vector<std::string> names;
    std::unique_ptr<RtMidiOut> client = CreateClient();
    if (!client) return names;
    try {
        unsigned int count = client->getPortCount();
        for (unsigned int i = 0; i < count; ++i)
            names.push_back(client->getPortName(i));
    } catch (const RtMidiError&) {
    }
    return names;
}

std::unique_ptr<OutPort> OpenSystemPort(const std::string& fullName) {
    std::unique_ptr<RtMidiOut> client = CreateClient();
    if (!client) return nullptr;
    try {
        unsigned int count = client->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            if (client->getPortName(i) == fullName) {
                client->openPort(i, "Zupfari Out");
                return std::make_unique<SystemPort>(std::move(client));
            }
        }
    } catch (const RtMidiError&) {
    }
    return nullptr;
}

} // namespace mxmidi::detail
