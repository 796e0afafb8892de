#pragma once
// ExercisePart: what the learner is to play along with an exercise file, read
// from the very file the transport plays. The learner's part is the track
// that plays a guitar (General MIDI programs 24-31), or else the first track
// with notes outside the percussion channel; its notes are grouped into what
// the learner strikes at once: a single note, or a chord whose strings the
// file spreads over a few milliseconds like a real strum. The count-in is
// the clicks on the percussion channel before the first note; the beats per
// bar come from the time signature. Times are microseconds from the file's
// time 0 (the first count-in click), through the file's tempo map.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace listening {

// One note or chord the learner is to strike.
struct ExpectedStrike {
    std::int64_t micros = 0; // from the file's time 0 (the first string of a strum)
    double beat = 0;         // exercise beat from 0 (the first beat after the count-in)
    int bar = 1;             // 1-based bar of the exercise as it is played
    double beatInBar = 1;    // 1-based beat within the bar (fractional for off-beats)
    std::vector<int> notes;  // MIDI note numbers, lowest first
    bool Chord() const { return notes.size() > 1; }
};

struct ExercisePart {
    int resolution = 480;    // ticks per beat
    int countInBeats = 0;
    int beatsPerBar = 4;
    int learnerTrack = -1;   // the file's track (chunk) index of the learner's part
    std::int64_t endMicros = 0; // the file's last event: the end of the exercise
    std::vector<ExpectedStrike> strikes;

    // The time of a beat of the file (count-in included; fractional allowed).
    std::int64_t MicrosAtFileBeat(double fileBeat) const;
    // The exercise beat (fractional) of a time of the file.
    double FileBeatAt(std::int64_t micros) const;

    // The tempo map: from each tick on, microseconds per beat.
    struct TempoStep {
        std::int64_t tick = 0;
        std::int64_t micros = 0; // the time of `tick`
        int microsPerBeat = 500000;
    };
    std::vector<TempoStep> tempo;
};

// Notes of one strum lie at most this far from its first string.
inline constexpr std::int64_t kStrumSpreadMicros = 70000;

// Parses the bytes of an exercise file. False with a short English reason in
// `error` when they are not a MIDI file or hold no part to play along with.
bool ParseExercisePart(std::string_view bytes, ExercisePart& part, std::string& error);
// Reads an exercise file (a file-system path).
bool ReadExercisePart(const std::string& path, ExercisePart& part, std::string& error);

} // namespace listening
