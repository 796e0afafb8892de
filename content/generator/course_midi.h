#pragma once
// The exercise files of a lesson: a format-1 Standard MIDI File per tempo
// level with a conductor track (tempo, time signature), the count-in clicks on
// the percussion channel and the exercise on a guitar, strummed like a guitar.

#include "content/generator/course_outline.h"

#include <string>

namespace content {

inline constexpr int kTicksPerBeat = 480;
inline constexpr int kClickChannel = 9;   // the General MIDI percussion channel
inline constexpr int kGuitarChannel = 0;
inline constexpr int kNylonGuitar = 24;   // General MIDI programs (0-based)
inline constexpr int kSteelGuitar = 25;

struct ExerciseSettings {
    int tempo = 60;        // beats per minute
    int countInBeats = 4;
    int beatCount = 16;    // exercise beats after the count-in; the file ends there
    int beatsPerBar = 4;
    int program = kNylonGuitar;
};

// A bar with a fermata is held this many times as long as written: the
// conductor track slows to the tempo divided by it for the bar.
inline constexpr int kFermataStretch = 2;

// The bytes of the exercise file. Notes beyond `beatCount` beats are cut off
// there, so that every note is closed by the end of the file. When the
// exercise counts in eighths, the count-in accents every eighth beat (the
// one of a 4/4 bar) and its off-beats are softer.
std::string ExerciseFile(const Exercise& exercise, const Outline& outline,
                         const ExerciseSettings& settings);

// "Midi/uebung<lesson>_<level>.mid", relative to the program folder.
std::string ExerciseFileName(int lesson, int level);

} // namespace content
