#pragma once
// A video's script laid out in time: every sound of its accompaniment with
// the lamp that lights when it starts, the fretting hand's moves, the
// strumming hand's strokes and the tuner's pitch. The frames and the MIDI
// file are both drawn from this one timeline, at 480 ticks per beat and the
// script's tempo; a sound's lamp lights in the frame that holds its note-on.

#include "content/generator/video_script.h"

#include <string>
#include <vector>

namespace video {

inline constexpr int kTicksPerBeat = 480;
inline constexpr int kFramesPerSecond = 25;
inline constexpr int kFrameMicros = 1000000 / kFramesPerSecond;
// The frames the last stroke's arrow stays lit at the end of a video.
inline constexpr int kLitFrames = 3;

// Where a sound shows: the lamp of a string, at a fret in the fretboard view
// (0: the open string's lamp before the nut); the tuner's own lamp for its
// reference tone.
struct Lamp {
    int string = 0;
    int fret = 0;
    bool reference = false;
    bool operator==(const Lamp&) const = default;
};

struct Sound {
    int tick = 0;    // note-on
    int endTick = 0; // note-off
    int note = 0;    // MIDI key
    int velocity = 80;
    int channel = 0;
    Lamp lamp;
    char picker = 0; // picking view: the finger that plays it
    int step = 0;    // the script step it belongs to
};

// The fretting hand moving from `from` to `to` between two ticks; the fingers
// of `to` press from `endTick` on.
struct HandMove {
    int startTick = 0;
    int endTick = 0;
    std::vector<Placement> from, to;
    bool change = false; // a change of chords (not a finger placed or a melody note)
};

// How a finger gets from one chord to the next.
enum class Passage { Stays, Anchor, Guide, Moves, Arrives, Leaves };
// Anchor: it stays pressed on the same string and fret; Guide: it slides
// along its string to another fret; Moves: it lifts and lands elsewhere;
// Arrives, Leaves: it only comes or only goes. Stays: the hand holds still.
Passage PassageOf(const HandMove& move, int finger);

// One swing of the strumming hand past the strings, at a point of the
// pendulum's grid: down on the even points, up on the odd ones. A stroke
// hits (its strings sound) or misses (the hand swings past).
struct Stroke {
    int tick = 0;
    bool down = true;
    bool hit = false;
    int top = 0, bottom = 5; // the strings it passes (lowest and highest)
    int crossTick = 0;       // when the hand is amid them: halfway through the strum
};

// A stretch during which the palm lies on the strings.
struct Damp {
    int startTick = 0;
    int endTick = 0;
};

// A step's place in time, for the captions.
struct Moment {
    int tick = 0;
    int endTick = 0;
    int step = 0;
};

// The tuner view's pitch of the tuned string: cents off (negative: too low)
// from a tick on, linear up to the next point.
struct PitchPoint {
    int tick = 0;
    int cents = 0;
};

struct Timeline {
    View view = View::Fretboard;
    int tempo = 60;
    int microsPerBeat = 1000000; // as the MIDI file's tempo event holds it
    int endTick = 0;             // the video's end
    bool steel = false;          // steel-string sound (strummed) or nylon
    bool mute = false;
    int tuneString = -1;
    std::vector<Step> steps;
    std::vector<Sound> sounds;        // by note-on
    std::vector<HandMove> moves;      // in order, not overlapping
    std::vector<Stroke> strokes;      // strum view
    std::vector<Damp> damps;
    std::vector<Moment> moments;      // one per step
    std::vector<std::string> chords;  // per step: the chord held or strummed, else the next one ("" none)
    std::vector<PitchPoint> pitch;    // tuner view

    int Frames() const;                 // frames of the video
    double Seconds() const;
    long long MicrosAt(int tick) const; // at the file's tempo
    int TickAtFrame(int frame) const;   // the tick at a frame's start
    int FrameOf(int tick) const;        // the frame that holds the tick
    // The fingers pressing at `tick` (after every move that has ended).
    std::vector<Placement> FingersAt(int tick) const;
    // The move under way at `tick`, or nullptr.
    const HandMove* MoveAt(int tick) const;
    // The step whose time holds `tick` (the last one that has begun).
    int StepAt(int tick) const;
    int CentsAt(int tick) const;
};

// Lays the script out in time. Problems (a chord strummed that the hand does
// not hold, a stroke off the pendulum's grid, an unknown chord …) go to
// `errors`; the timeline is still returned as far as it makes sense.
Timeline BuildTimeline(const Script& script, const Book& book, const content::Outline& outline,
                       std::vector<std::string>& errors);

} // namespace video
