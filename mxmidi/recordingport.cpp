// The tests' recording ports: listed after all other devices, they keep what
// was sent to them, stamped with the toolkit's clock, until a test takes it.

#include "mxmidi/outport.h"
#include "mxmidi/testing.h"
#include "mxmidi/toolkitclock.h"

#include <mutex>

namespace mxmidi::detail {
namespace {

struct Recorder {
    std::string name;
    std::string key; // unique among the recorders
    std::vector<mxmidi::testing::SentEvent> events;
    std::vector<MidiProgram> prepared;
};

std::mutex recordersMutex;
std::vector<std::shared_ptr<Recorder>> recorders;
int nextKey = 1;

class RecordingPort : public OutPort {
public:
    explicit RecordingPort(std::shared_ptr<Recorder> recorder) : recorder_(std::move(recorder)) {}
    void Send(std::uint64_t, std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
              int) override {
        std::lock_guard lock(recordersMutex);
        recorder_->events.push_back({ClockNow(), status, data1, data2});
    }
    void SendSysEx(std::uint64_t, const std::vector<std::uint8_t>& message) override {
        std::lock_guard lock(recordersMutex);
        std::uint64_t now = ClockNow();
        for (std::uint8_t byte : message)
            recorder_->events.push_back({now, 0xF0, byte, 0});
    }

    void Prepare(const std::vector<MidiProgram>& programs) override {
        std::lock_guard lock(recordersMutex);
        recorder_->prepared.insert(recorder_->prepared.end(), programs.begin(), programs.end());
    }

private:
    std::shared_ptr<Recorder> recorder_;
};

std::shared_ptr<Recorder> FindRecorder(const std::string& key) {
    for (const auto& recorder : recorders)
        if (recorder->key == key) return recorder;
    return nullptr;
}

} // namespace

std::vector<std::pair<std::string, std::string>> ListRecordingPorts() {
    std::lock_guard lock(recordersMutex);
    std::vector<std::pair<std::string, std::string>> ports;
    for (const auto& recorder : recorders)
        ports.emplace_back(recorder->name, recorder->key);
    return ports;
}

std::unique_ptr<OutPort> OpenRecordingPort(const std::string& key) {
    std::lock_guard lock(recordersMutex);
    std::shared_ptr<Recorder> recorder = FindRecorder(key);
    if (!recorder) return nullptr;
    return std::make_unique<RecordingPort>(recorder);
}

} // namespace mxmidi::detail

namespace mxmidi::testing {

using namespace mxmidi::detail;

std::uint16_t AddRecordingPort(const char* name) {
    {
        std::lock_guard lock(recordersMutex);
        auto recorder = std::make_shared<Recorder>();
        recorder->name = name ? name : "";
        recorder->key = std::to_string(nextKey++);
        recorders.push_back(recorder);
    }
    return static_cast<std::uint16_t>(ListDevices().size() - 1);
}

std::vector<SentEvent> TakeRecordedEvents(std::uint16_t id) {
    std::vector<DeviceEntry> devices = ListDevices();
    if (id >= devices.size() || devices[id].kind != PortKind::Recording) return {};
    std::lock_guard lock(recordersMutex);
    std::shared_ptr<Recorder> recorder = FindRecorder(devices[id].fullName);
    if (!recorder) return {};
    std::vector<SentEvent> taken;
    taken.swap(recorder->events);
    return taken;
}

std::vector<MidiProgram> TakePreparedPrograms(std::uint16_t id) {
    std::vector<DeviceEntry> devices = ListDevices();
    if (id >= devices.size() || devices[id].kind != PortKind::Recording) return {};
    std::lock_guard lock(recordersMutex);
    std::shared_ptr<Recorder> recorder = FindRecorder(devices[id].fullName);
    if (!recorder) return {};
    std::vector<MidiProgram> taken;
    taken.swap(recorder->prepared);
    return taken;
}

void RemoveTestPorts() {
    std::lock_guard lock(recordersMutex);
    recorders.clear();
}

} // namespace mxmidi::testing
