// MIDI input (never opened by the course) and the toolkit's version word.

#include "mxmidi/mxmidi.h"

bool GetMidiIn(HMIN, MidiEvent*) {
    return false;
}
void StopMidiIn(HMIN) {}
void CloseMidiIn(HMIN) {}

std::uint16_t GetMaxMidiVersion() {
    return 0x0100;
} // 1.0: high byte major, low byte minor
