#include "content/generator/course_midi.h"

#include "mxmidi/smfwriter.h"

#include <algorithm>
#include <cmath>

namespace content {
namespace {

constexpr int kClickAccent = 76; // high wood block on the first beat of a bar
constexpr int kClick = 77;       // low wood block on the others
constexpr double kStrumGapMs = 9.0;

struct TimedEvent {
    int tick;
    int order; // at the same tick: note offs (0) before everything else (1)
    ::MidiEvent event;
};

::MidiEvent Channel(int status, int data1, int data2) {
    return {0, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1),
            static_cast<std::uint8_t>(data2), 0};
}

// Delta-encodes events (sorted by tick) into a track that ends at `endTick`.
// "All notes off" on `channel` at `endTick` closes the track there.
mxmidi::smf::SmfTrack ToTrack(std::vector<TimedEvent> events, int channel, int endTick) {
    std::stable_sort(events.begin(), events.end(), [](const TimedEvent& a, const TimedEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    mxmidi::smf::SmfTrack track;
    int now = 0;
    for (TimedEvent& e : events) {
        e.event.time = static_cast<std::uint32_t>(e.tick - now);
        now = e.tick;
        track.events.push_back(e.event);
    }
    ::MidiEvent last = Channel(0xB0 | channel, 123, 0);
    last.time = static_cast<std::uint32_t>(endTick - now);
    track.events.push_back(last);
    return track;
}

::MidiEvent TempoEvent(double bpm) {
    const int micros = static_cast<int>(std::lround(60000000.0 / bpm));
    return {0, 0, static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
            static_cast<std::uint8_t>(micros)};
}

// The level's tempo, slowed for every played bar with a fermata.
mxmidi::smf::SmfTrack ConductorTrack(const Exercise& exercise, const ExerciseSettings& s, int endTick) {
    mxmidi::smf::SmfTrack track;
    track.metas.push_back(mxmidi::smf::SmfMeta{0x03, "Tempo"});
    track.metas.push_back(mxmidi::smf::SmfMeta{0x58, std::string{char(s.beatsPerBar), 2, 24, 8}});
    std::vector<std::pair<int, double>> changes = {{0, s.tempo}};
    const int barTicks = s.beatsPerBar * kTicksPerBeat;
    for (std::size_t i = 0; i < exercise.order.size(); ++i) {
        if (!exercise.HasFermata(exercise.order[i])) continue;
        const int start = (s.countInBeats + s.beatsPerBar * static_cast<int>(i)) * kTicksPerBeat;
        if (start >= endTick) break;
        changes.push_back({start, static_cast<double>(s.tempo) / kFermataStretch});
        changes.push_back({std::min(start + barTicks, endTick), s.tempo});
    }
    int now = 0;
    for (const auto& [tick, bpm] : changes) {
        ::MidiEvent tempo = TempoEvent(bpm);
        tempo.time = static_cast<std::uint32_t>(tick - now);
        now = tick;
        track.events.push_back(tempo);
    }
    ::MidiEvent end = TempoEvent(changes.back().second); // the tempo again at the last beat ends the track there
    end.time = static_cast<std::uint32_t>(endTick - now);
    track.events.push_back(end);
    return track;
}

mxmidi::smf::SmfTrack ClickTrack(const Exercise& exercise, const ExerciseSettings& s, int endTick) {
    std::vector<TimedEvent> events;
    const int bar = exercise.eighths ? 2 * s.beatsPerBar : s.beatsPerBar;
    for (int beat = 0; beat < s.countInBeats; ++beat) {
        const int tick = beat * kTicksPerBeat;
        const int note = beat % bar == 0 ? kClickAccent : kClick;
        const int velocity = beat % bar == 0 ? 110 : exercise.eighths && beat % 2 ? 65 : 90;
        events.push_back({tick, 1, Channel(0x90 | kClickChannel, note, velocity)});
        events.push_back({tick + kTicksPerBeat / 4, 0, Channel(0x80 | kClickChannel, note, 0)});
    }
    mxmidi::smf::SmfTrack track = ToTrack(std::move(events), kClickChannel, endTick);
    track.metas.insert(track.metas.begin(), mxmidi::smf::SmfMeta{0x03, "Einzaehler"});
    return track;
}

// A natural velocity: stressed first beat, lighter off-beats and up-strokes,
// the strings of a strum a little softer toward its end.
int Velocity(const PlayedNote& note, int beatsPerBar) {
    const int unitsPerBar = beatsPerBar * kUnitsPerBeat;
    int velocity = 80;
    if (note.start % unitsPerBar == 0) velocity += 14;
    else if (note.start % kUnitsPerBeat != 0) velocity -= 10;
    if (note.upStroke) velocity -= 12;
    velocity -= 2 * note.strumIndex;
    velocity += (note.note * 7 + note.start * 3) % 5 - 2; // a human hand is never exact
    return std::clamp(velocity, 30, 120);
}

mxmidi::smf::SmfTrack GuitarTrack(const Exercise& exercise, const Outline& outline,
                                  const ExerciseSettings& s, int endTick) {
    const int headTick = s.countInBeats * kTicksPerBeat;
    const int ticksPerUnit = kTicksPerBeat / kUnitsPerBeat;
    const int strumGap = static_cast<int>(std::lround(kStrumGapMs * s.tempo * kTicksPerBeat / 60000.0));
    std::vector<TimedEvent> events;
    events.push_back({0, 1, Channel(0xC0 | kGuitarChannel, s.program, 0)});
    events.push_back({0, 1, Channel(0xB0 | kGuitarChannel, 7, 110)});
    for (const PlayedNote& note : PlayedNotes(exercise, outline)) {
        int on = headTick + note.start * ticksPerUnit + note.strumIndex * strumGap;
        int off = std::min(headTick + (note.start + note.length) * ticksPerUnit - 6, endTick);
        if (on >= off) continue;
        events.push_back({on, 1, Channel(0x90 | kGuitarChannel, note.note, Velocity(note, s.beatsPerBar))});
        events.push_back({off, 0, Channel(0x80 | kGuitarChannel, note.note, 0)});
    }
    mxmidi::smf::SmfTrack track = ToTrack(std::move(events), kGuitarChannel, endTick);
    track.metas.insert(track.metas.begin(), mxmidi::smf::SmfMeta{0x03, "Gitarre"});
    return track;
}

} // namespace

std::string ExerciseFile(const Exercise& exercise, const Outline& outline,
                         const ExerciseSettings& settings) {
    const int endTick = (settings.countInBeats + settings.beatCount) * kTicksPerBeat;
    std::vector<mxmidi::smf::SmfTrack> tracks;
    tracks.push_back(ConductorTrack(exercise, settings, endTick));
    tracks.push_back(ClickTrack(exercise, settings, endTick));
    tracks.push_back(GuitarTrack(exercise, outline, settings, endTick));
    return mxmidi::smf::EncodeSmf(kTicksPerBeat, tracks);
}

std::string ExerciseFileName(int lesson, int level) {
    return "Midi/uebung" + std::to_string(lesson) + "_" + std::to_string(level) + ".mid";
}

} // namespace content
