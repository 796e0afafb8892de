// Laying a video's script out in time: sounds and lamps, hand moves, strokes.
#include "content/generator/video_timeline.h"

#include <algorithm>
#include <cmath>

namespace video {

namespace {

constexpr int kTicksPerUnit = kTicksPerBeat / kUnitsPerBeat;
constexpr double kLeadInSeconds = 0.8; // the first pose, before anything moves
constexpr double kTailSeconds = 1.2;   // the last sound rings out
constexpr double kStrumGapMs = 12.0;   // between the strings of a strum
constexpr double kFingerLeadMs = 200.0; // a finger travels this long before it presses
constexpr int kNoteGapTicks = 6;       // a note ends this much before its step does

int TicksFor(double seconds, int microsPerBeat) {
    return static_cast<int>(std::ceil(seconds * 1e6 * kTicksPerBeat / microsPerBeat));
}

// The picking hand's finger for a string: p the three bass strings, i the g,
// m the h and a the high e string.
char OwnFinger(int string) {
    return string <= 2 ? 'p' : "ima"[string - 3];
}

std::string StepName(const Step& step) {
    if (step.kind == Step::Kind::Strum || step.kind == Step::Kind::Change) return step.chord;
    return "a step";
}

class Builder {
public:
    Builder(const Script& script, const Book& book, const content::Outline& outline, std::vector<std::string>& errors)
        : script_(script), book_(book), outline_(outline), errors_(errors) {}

    Timeline Build();

private:
    void Fail(const Step& step, const std::string& message) const {
        errors_.push_back("line " + std::to_string(step.line) + ": " + message);
    }
    int StartTick(int units) const { return lead_ + units * kTicksPerUnit; }
    const content::ChordShape* Shape(const Step& step) const;
    const Fingering* FingeringOf(const Step& step) const;
    void AddSound(int step, int tick, int endTick, int string, int fret, char picker, int velocity);
    void Pluck(int index, const Step& step, int start, int end);
    void Place(int index, const Step& step, int start, int end);
    void Strum(int index, const Step& step, int start, int end);
    void Change(const Step& step, int start, int end);
    void MoveHand(int startTick, int endTick, std::vector<Placement> to, bool change = false);
    void LayOutStrokes(int totalUnits);
    void LayOutTuner();
    void CutAt(int tick);
    void Finish(int lastTick);

    const Script& script_;
    const Book& book_;
    const content::Outline& outline_;
    std::vector<std::string>& errors_;
    Timeline t_;
    int lead_ = 0;
    std::vector<Placement> fingers_;   // the fretting hand now
    std::vector<Placement> temporary_; // melody fingers that leave again
    std::vector<int> hitUnits_;        // strum view: step starts that sound
    std::string chord_;                // the chord held or last strummed
};

const content::ChordShape* Builder::Shape(const Step& step) const {
    const auto shape = outline_.chords.find(step.chord);
    if (shape != outline_.chords.end()) return &shape->second;
    Fail(step, "unknown chord " + step.chord);
    return nullptr;
}

const Fingering* Builder::FingeringOf(const Step& step) const {
    const auto fingering = book_.fingerings.find(step.chord);
    if (fingering != book_.fingerings.end()) return &fingering->second;
    Fail(step, "no fingering: line for " + step.chord);
    return nullptr;
}

void Builder::AddSound(int step, int tick, int endTick, int string, int fret, char picker, int velocity) {
    Sound sound;
    sound.tick = tick;
    sound.endTick = std::max(tick + kNoteGapTicks, endTick);
    sound.note = content::StringNote(string, fret);
    sound.velocity = std::clamp(velocity, 30, 120);
    sound.lamp = {string, t_.view == View::Fretboard ? fret : 0, false};
    sound.picker = picker;
    sound.step = step;
    if (script_.mute) {
        sound.endTick = std::min(sound.endTick, tick + kTicksPerBeat / 5);
        sound.velocity -= 15;
    }
    t_.sounds.push_back(sound);
}

int Accent(int start, int lead) {
    return (start - lead) % kTicksPerBeat == 0 ? 8 : 0;
}

void Builder::Pluck(int index, const Step& step, int start, int end) {
    if (t_.view == View::Fretboard) {
        // A fretted melody note: its finger (one finger per fret) comes and presses.
        for (const auto& [string, fret] : step.notes) {
            auto at = [&](const Placement& p) { return p.string == string && p.fret == fret; };
            std::vector<Placement> to, kept;
            for (const Placement& p : fingers_) {
                const bool melody = std::find(temporary_.begin(), temporary_.end(), p) != temporary_.end();
                if (melody && !at(p)) continue; // the melody's last finger leaves
                to.push_back(p);
                if (melody) kept.push_back(p);
            }
            if (std::any_of(to.begin(), to.end(), [&](const Placement& p) { return p.string == string && p.fret > fret; }))
                Fail(step, "the string is pressed higher up: the open or lower note cannot sound");
            if (fret > 0 && std::none_of(to.begin(), to.end(), at)) {
                const Placement finger{std::min(fret, 4), string, fret};
                std::erase_if(to, [&](const Placement& p) { return p.finger == finger.finger; });
                to.push_back(finger);
                kept.push_back(finger);
            }
            temporary_ = kept;
            if (to != fingers_) MoveHand(start - TicksFor(kFingerLeadMs / 1000.0, t_.microsPerBeat), start, to);
        }
    }
    const int velocity = 80 + Accent(start, lead_) - (step.up ? 8 : 0);
    for (const auto& [string, fret] : step.notes) {
        char picker = 0;
        if (t_.view == View::Picking) picker = step.picker ? step.picker : OwnFinger(string);
        AddSound(index, start, end - kNoteGapTicks, string, fret, picker, velocity + (picker == 'p' ? 4 : 0));
    }
}

void Builder::Place(int index, const Step& step, int start, int end) {
    if (t_.view != View::Fretboard) {
        Fail(step, "a fretting finger is shown in the fretboard view only");
        return;
    }
    const Placement finger{step.finger, step.notes[0].first, step.notes[0].second};
    std::vector<Placement> to;
    for (const Placement& p : fingers_) {
        if (p.finger == finger.finger) continue;
        if (p.string == finger.string && p.fret == finger.fret) Fail(step, "another finger presses there");
        to.push_back(p);
    }
    to.push_back(finger);
    temporary_.clear();
    MoveHand(start - TicksFor(kFingerLeadMs / 1000.0, t_.microsPerBeat), start, to);
    AddSound(index, start, end - kNoteGapTicks, finger.string, finger.fret, 0, 84 + Accent(start, lead_));
}

void Builder::Strum(int index, const Step& step, int start, int end) {
    const content::ChordShape* shape = Shape(step);
    if (shape == nullptr) return;
    chord_ = step.chord;
    if (t_.view == View::Fretboard) {
        const Fingering* fingering = FingeringOf(step);
        if (fingering == nullptr) return;
        std::vector<Placement> want = fingering->fingers, have = fingers_;
        auto order = [](const Placement& a, const Placement& b) { return a.finger < b.finger; };
        std::sort(want.begin(), want.end(), order);
        std::sort(have.begin(), have.end(), order);
        if (want != have) Fail(step, "strums " + step.chord + " but the hand does not hold its fingering");
    }
    std::vector<int> strings;
    for (int s = 0; s < 6; ++s)
        if (shape->frets[static_cast<std::size_t>(s)] >= 0) strings.push_back(s);
    if (t_.view == View::Picking) {
        std::erase_if(strings, [](int s) { return s < 3; }); // i, m and a brush the high strings
    } else if (step.up) {
        if (strings.size() > 4) strings.erase(strings.begin(), strings.end() - 4);
        std::reverse(strings.begin(), strings.end());
    }
    if (strings.empty()) {
        Fail(step, step.chord + " has no string to strike here");
        return;
    }
    const int gap = static_cast<int>(std::lround(kStrumGapMs * 1000.0 * kTicksPerBeat / t_.microsPerBeat));
    const int velocity = 86 + Accent(start, lead_) - (step.up ? 12 : 0) - (t_.view == View::Picking ? 10 : 0);
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const int string = strings[i];
        const char picker = t_.view == View::Picking ? OwnFinger(string) : 0;
        AddSound(index, start + static_cast<int>(i) * gap, end - kNoteGapTicks, string,
                 shape->frets[static_cast<std::size_t>(string)], picker, velocity - 2 * static_cast<int>(i));
    }
}

void Builder::Change(const Step& step, int start, int end) {
    if (step.chord == "-") {
        chord_.clear();
        if (t_.view == View::Fretboard) MoveHand(start, std::max(end, start + 1), {});
        return;
    }
    if (t_.view != View::Fretboard) {
        if (Shape(step) != nullptr) chord_ = step.chord;
        return;
    }
    const Fingering* fingering = FingeringOf(step);
    if (fingering == nullptr) return;
    chord_ = step.chord;
    temporary_.clear();
    if (end <= start) Fail(step, "a change in the fretboard view needs time, e.g. '>" + step.chord + ":1/2'");
    MoveHand(start, std::max(end, start + 1), fingering->fingers, true);
}

void Builder::MoveHand(int startTick, int endTick, std::vector<Placement> to, bool change) {
    if (!t_.moves.empty()) startTick = std::max(startTick, t_.moves.back().endTick);
    startTick = std::min(startTick, endTick);
    t_.moves.push_back({startTick, endTick, fingers_, to, change});
    fingers_ = std::move(to);
}

void Builder::CutAt(int tick) {
    for (Sound& sound : t_.sounds)
        if (sound.tick < tick && sound.endTick > tick) sound.endTick = std::max(sound.tick + kNoteGapTicks, tick);
}

// The strumming hand swings on every point of the pulse grid: down on the
// even points, up on the odd ones; a point where a step sounds is a hit,
// any other a miss, except while the palm damps the strings.
void Builder::LayOutStrokes(int totalUnits) {
    int hitIndex = 0;
    int top = 0, bottom = 5;
    for (int units = 0; units < totalUnits; units += script_.pulse) {
        const int tick = StartTick(units);
        const bool damped = std::any_of(t_.damps.begin(), t_.damps.end(),
                                        [&](const Damp& d) { return tick >= d.startTick && tick < d.endTick; });
        if (damped) continue;
        Stroke stroke;
        stroke.tick = tick;
        stroke.down = (units / script_.pulse) % 2 == 0;
        while (hitIndex < static_cast<int>(hitUnits_.size()) && hitUnits_[static_cast<std::size_t>(hitIndex)] < units) ++hitIndex;
        stroke.hit = hitIndex < static_cast<int>(hitUnits_.size()) && hitUnits_[static_cast<std::size_t>(hitIndex)] == units;
        stroke.crossTick = tick;
        if (stroke.hit) {
            top = 5;
            bottom = 0;
            int last = tick;
            for (const Sound& sound : t_.sounds)
                if (sound.tick >= tick && sound.tick < tick + kTicksPerBeat / 8) {
                    top = std::min(top, sound.lamp.string);
                    bottom = std::max(bottom, sound.lamp.string);
                    last = std::max(last, sound.tick);
                }
            stroke.crossTick = (tick + last) / 2;
        }
        stroke.top = top;
        stroke.bottom = bottom;
        t_.strokes.push_back(stroke);
    }
}

void Builder::LayOutTuner() {
    if (script_.tuneString < 0) {
        errors_.push_back("the tuner view needs 'string:'");
        return;
    }
    if (!script_.steps.empty()) errors_.push_back("the tuner view plays its own script: no 'play:' lines");
    const int s = script_.tuneString;
    const int beat = kTicksPerBeat;
    auto sound = [&](int from, int to, int channel, bool reference, int step) {
        Sound tone;
        tone.tick = lead_ + from;
        tone.endTick = lead_ + to;
        tone.note = content::StringNote(s, 0);
        tone.velocity = 88;
        tone.channel = channel;
        tone.lamp = {s, 0, reference};
        tone.step = step;
        t_.sounds.push_back(tone);
    };
    // The tuner's tone, the string too low, the peg turned up to the tone,
    // the string in tune, and both together.
    sound(0, 2 * beat, 1, true, 0);
    sound(5 * beat / 2, 13 * beat / 2 - kNoteGapTicks, 0, false, 1);
    sound(13 * beat / 2, 8 * beat - kNoteGapTicks, 0, false, 3);
    sound(8 * beat, 11 * beat, 1, true, 4);
    sound(8 * beat, 11 * beat, 0, false, 4);
    t_.pitch = {{0, -45}, {lead_ + 4 * beat, -45}, {lead_ + 13 * beat / 2, 0}};
    const int phases[] = {0, 5 * beat / 2, 4 * beat, 13 * beat / 2, 8 * beat, 11 * beat};
    for (int phase = 0; phase < 5; ++phase) {
        t_.moments.push_back({lead_ + phases[phase], lead_ + phases[phase + 1], phase});
        t_.chords.push_back("");
    }
    Finish(lead_ + 11 * beat);
}

void Builder::Finish(int lastTick) {
    std::stable_sort(t_.sounds.begin(), t_.sounds.end(),
                     [](const Sound& a, const Sound& b) { return a.tick < b.tick; });
    // A string sounds one note at a time: a new one ends the one before.
    for (std::size_t i = 0; i < t_.sounds.size(); ++i)
        for (std::size_t j = i + 1; j < t_.sounds.size(); ++j)
            if (t_.sounds[j].channel == t_.sounds[i].channel && t_.sounds[j].lamp.string == t_.sounds[i].lamp.string &&
                !t_.sounds[i].lamp.reference && t_.sounds[j].tick > t_.sounds[i].tick) {
                t_.sounds[i].endTick = std::min(t_.sounds[i].endTick, t_.sounds[j].tick - 1);
                break;
            }
    t_.endTick = lastTick + TicksFor(kTailSeconds, t_.microsPerBeat);
}

Timeline Builder::Build() {
    t_.view = script_.view;
    t_.tempo = script_.tempo > 0 ? script_.tempo : 60;
    if (script_.tempo <= 0) errors_.push_back("no 'tempo:'");
    t_.microsPerBeat = static_cast<int>(std::lround(60000000.0 / t_.tempo));
    t_.mute = script_.mute;
    t_.tuneString = script_.tuneString;
    t_.steps = script_.steps;
    const int leadBeats = static_cast<int>(std::ceil(kLeadInSeconds * t_.tempo / 60.0));
    lead_ = leadBeats * kTicksPerBeat;
    if (t_.view == View::Tuner) {
        LayOutTuner();
        return t_;
    }
    if (script_.steps.empty()) errors_.push_back("no 'play:' steps");
    int units = 0;
    for (std::size_t i = 0; i < script_.steps.size(); ++i) {
        const Step& step = script_.steps[i];
        const int index = static_cast<int>(i);
        const int start = StartTick(units), end = StartTick(units + step.units);
        const bool sounds = step.kind == Step::Kind::Notes || step.kind == Step::Kind::Place || step.kind == Step::Kind::Strum;
        if (t_.view == View::Strum && sounds) {
            if (units % script_.pulse != 0) Fail(step, StepName(step) + " falls between the pendulum's strokes");
            else if (((units / script_.pulse) % 2 == 1) != step.up)
                Fail(step, std::string(step.up ? "an up-stroke on a down" : "a down-stroke on an up") +
                               "-swing of the pendulum (mark up-strokes with '^')");
            hitUnits_.push_back(units);
        } else if (step.up && step.kind == Step::Kind::Notes) {
            Fail(step, "'^' marks a pick's up-stroke in the strum view only");
        }
        switch (step.kind) {
        case Step::Kind::Rest: break;
        case Step::Kind::Damp:
            CutAt(start);
            t_.damps.push_back({start, end});
            break;
        case Step::Kind::Notes: Pluck(index, step, start, end); break;
        case Step::Kind::Place: Place(index, step, start, end); break;
        case Step::Kind::Strum: Strum(index, step, start, end); break;
        case Step::Kind::Change: Change(step, start, end); break;
        }
        t_.moments.push_back({start, end, index});
        t_.chords.push_back(chord_);
        units += step.units;
    }
    // Before its first chord a video names the chord it is about to build or play.
    const auto first = std::find_if(t_.chords.begin(), t_.chords.end(), [](const std::string& c) { return !c.empty(); });
    if (first != t_.chords.end()) std::fill(t_.chords.begin(), first, *first);
    t_.steel = std::any_of(script_.steps.begin(), script_.steps.end(),
                           [](const Step& s) { return s.kind == Step::Kind::Strum; }) && t_.view != View::Picking;
    if (t_.view == View::Strum) LayOutStrokes(units);
    Finish(StartTick(units));
    return t_;
}

} // namespace

Passage PassageOf(const HandMove& move, int finger) {
    auto find = [finger](const std::vector<Placement>& hand) -> const Placement* {
        for (const Placement& p : hand)
            if (p.finger == finger) return &p;
        return nullptr;
    };
    const Placement* from = find(move.from);
    const Placement* to = find(move.to);
    if (from && to) {
        if (*from == *to) return Passage::Anchor;
        return from->string == to->string ? Passage::Guide : Passage::Moves;
    }
    if (to) return Passage::Arrives;
    if (from) return Passage::Leaves;
    return Passage::Stays;
}

int Timeline::Frames() const {
    return static_cast<int>((MicrosAt(endTick) + kFrameMicros - 1) / kFrameMicros);
}

double Timeline::Seconds() const {
    return Frames() / static_cast<double>(kFramesPerSecond);
}

long long Timeline::MicrosAt(int tick) const {
    return static_cast<long long>(tick) * microsPerBeat / kTicksPerBeat;
}

int Timeline::TickAtFrame(int frame) const {
    return static_cast<int>(static_cast<long long>(frame) * kFrameMicros * kTicksPerBeat / microsPerBeat);
}

int Timeline::FrameOf(int tick) const {
    return static_cast<int>(MicrosAt(tick) / kFrameMicros);
}

std::vector<Placement> Timeline::FingersAt(int tick) const {
    std::vector<Placement> fingers;
    for (const HandMove& move : moves) {
        if (move.startTick > tick) break;
        fingers = tick >= move.endTick ? move.to : move.from;
    }
    return fingers;
}

const HandMove* Timeline::MoveAt(int tick) const {
    for (const HandMove& move : moves)
        if (tick >= move.startTick && tick < move.endTick) return &move;
    return nullptr;
}

int Timeline::StepAt(int tick) const {
    int step = -1;
    for (const Moment& moment : moments)
        if (moment.tick <= tick) step = moment.step;
    return step;
}

int Timeline::CentsAt(int tick) const {
    if (pitch.empty()) return 0;
    for (std::size_t i = 1; i < pitch.size(); ++i) {
        if (tick >= pitch[i].tick) continue;
        const PitchPoint& a = pitch[i - 1];
        const PitchPoint& b = pitch[i];
        if (tick <= a.tick) return a.cents;
        return a.cents + static_cast<int>(std::lround(double(b.cents - a.cents) * (tick - a.tick) / (b.tick - a.tick)));
    }
    return pitch.back().cents;
}

Timeline BuildTimeline(const Script& script, const Book& book, const content::Outline& outline,
                       std::vector<std::string>& errors) {
    return Builder(script, book, outline, errors).Build();
}

} // namespace video
