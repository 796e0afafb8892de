#include "sequenzor/chase.h"

#include <unordered_map>

namespace sequenzor {

namespace {

constexpr int kKeepAll = -1;

bool KeepsEveryValue(std::uint8_t controller) {
    return controller == 0 || controller == 32 || controller == 6 || controller == 38 ||
           (controller >= 96 && controller <= 101) || controller >= 120;
}

// What the event sets, as a number; kKeepAll when every such event counts.
int SettingOf(const MidiEvent& event) {
    const int channel = event.status & 0x0F;
    switch (event.status & 0xF0) {
    case 0x00:
        return event.status == 0 ? 0x10000 : kKeepAll; // the tempo
    case 0xB0:
        return KeepsEveryValue(event.data1) ? kKeepAll : (channel << 8) | event.data1;
    case 0xC0:
    case 0xD0:
    case 0xE0:
        return ((event.status & 0xF0) << 8) | channel;
    default:
        return kKeepAll;
    }
}

} // namespace

bool IsChased(std::uint8_t status) {
    return status == 0 || (status & 0xB0) == 0xB0 || (status & 0xC0) == 0xC0;
}

std::vector<MidiEvent> ReduceChased(const std::vector<MidiEvent>& chased) {
    std::unordered_map<int, std::size_t> last; // setting -> index of its last event
    for (std::size_t i = 0; i < chased.size(); ++i) {
        const int setting = SettingOf(chased[i]);
        if (setting != kKeepAll) last[setting] = i;
    }
    std::vector<MidiEvent> reduced;
    for (std::size_t i = 0; i < chased.size(); ++i) {
        const int setting = SettingOf(chased[i]);
        if (setting == kKeepAll || last[setting] == i) reduced.push_back(chased[i]);
    }
    return reduced;
}

} // namespace sequenzor
