#pragma once
// The settings a start in the middle of a piece must catch up on.

#include "mxmidi/mxmidi.h"

#include <vector>

namespace sequenzor {

// True for the events whose state outlasts them: tempo (status 0),
// controllers, program changes, channel pressure, pitch bend and system
// events. Notes and polyphonic pressure are not caught up on.
bool IsChased(std::uint8_t status);

// Reduces the chased events lying before a start point, in their merged
// order, to what sets the state at that point: of each controller, program,
// channel pressure and pitch bend per channel, and of the tempo, only the
// last event is kept. Events whose meaning depends on what came before them
// stay, all of them, in place: bank select (0, 32), parameter numbers and
// data entry (6, 38, 96 to 101), channel mode messages (120 to 127) and
// system events. What stays keeps its order.
std::vector<MidiEvent> ReduceChased(const std::vector<MidiEvent>& chased);

} // namespace sequenzor
