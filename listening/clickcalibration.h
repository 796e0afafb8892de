#pragma once
// Click calibration: how late the microphone's frames are stamped against
// the moment a sound is heard. The program plays eight clicks through the
// synthesizer, the same way an exercise is heard, and records the
// microphone meanwhile; where each click turns up in the recording against
// the moment it was heard is the microphone's delay, the number the
// play-along check takes off every frame. When the microphone does not hear
// the speakers well enough (headphones, a quiet room, a directional
// microphone), the learner plays a string on each click instead and the
// strikes are found the same way, with more room for a human hand.
//
// Times are microseconds of the click file (0 = its start, when the file's
// first tick is heard).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace listening {

inline constexpr int kCalibrationClicks = 8;
// Clicks found in the recording needed for a measurement.
inline constexpr int kCalibrationClicksNeeded = 6;
inline constexpr std::int64_t kClickSpacingMicros = 600000; // 100 beats a minute
inline constexpr int kClickNote = 76;                       // the percussion channel's high wood block

// The file times of the eight clicks: one beat of lead, then one a beat.
std::vector<std::int64_t> CalibrationClickTimes();
// The eight clicks as a standard MIDI file (format 0), for the engine.
std::string CalibrationClickFile();
// How long after its start the click file has finished sounding.
std::int64_t CalibrationLengthMicros();

enum class ClickSource {
    Speakers, // the clicks themselves through the microphone: sharp, exact
    Played    // the learner's strikes on the clicks: a hand's scatter around them
};

struct CalibrationResult {
    int found = 0;                 // clicks with a sound at a consistent place
    std::int64_t delayMicros = 0;  // the microphone's delay (meaningful when Usable)
    bool Usable() const { return found >= kCalibrationClicksNeeded; }
};

// Finds the clicks in a mono recording at `rate` whose first frame lies at
// file time `recordingStartMicros` (negative when it began before the
// file).
CalibrationResult FindClicks(const std::vector<float>& recording, int rate, std::int64_t recordingStartMicros,
                             ClickSource source);

// How long after a sound reaches the microphone its frame is stamped, when
// nothing better is known: Qt Multimedia's capture with the sound server's
// default fragments delivers blocks of about 20 ms, and the frame clock
// places each block at its arrival less its length, so what remains is the
// server's own fragment, typically one more block.
inline constexpr std::int64_t kDefaultMicrophoneDelayMicros = 20000;

// The delay assumed before any calibration: what the input stream reports
// of its own latency (a fragment), within reason, else the default
// above. The synthesizer's output latency is not part of it: the moment a
// note is heard already includes it.
std::int64_t DefaultMicrophoneDelay(std::int64_t reportedInputLatencyMicros);

} // namespace listening
