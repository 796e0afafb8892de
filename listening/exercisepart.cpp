#include "listening/exercisepart.h"

#include "mxmidi/smfreader.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <set>

namespace listening {

namespace {

constexpr int kPercussionChannel = 9;
constexpr int kFirstGuitarProgram = 24;
constexpr int kLastGuitarProgram = 31;
constexpr int kDefaultMicrosPerBeat = 500000; // 120 beats per minute
constexpr std::uint8_t kTimeSignature = 0x58;

struct TimedNote {
    std::int64_t tick = 0;
    int channel = 0;
    int note = 0;
};

struct TrackNotes {
    std::vector<TimedNote> notes; // note-ons with their absolute ticks
    bool guitar = false;          // a guitar program is chosen in it
};

TrackNotes NotesOf(const mxmidi::smf::SmfTrack& track) {
    TrackNotes result;
    std::int64_t tick = 0;
    for (const MidiEvent& event : track.events) {
        tick += event.time;
        const int type = event.status & 0xF0;
        const int channel = event.status & 0x0F;
        if (type == 0x90 && event.data2 > 0) result.notes.push_back({tick, channel, event.data1});
        if (type == 0xC0 && channel != kPercussionChannel && event.data1 >= kFirstGuitarProgram &&
            event.data1 <= kLastGuitarProgram)
            result.guitar = true;
    }
    return result;
}

bool Melodic(const TrackNotes& track) {
    return std::any_of(track.notes.begin(), track.notes.end(),
                       [](const TimedNote& n) { return n.channel != kPercussionChannel; });
}

// The learner's track: the first with a guitar and notes, else the first
// with notes outside the percussion channel; -1 for none.
int LearnerTrack(const std::vector<TrackNotes>& tracks) {
    for (std::size_t i = 0; i < tracks.size(); ++i)
        if (tracks[i].guitar && Melodic(tracks[i])) return int(i);
    for (std::size_t i = 0; i < tracks.size(); ++i)
        if (Melodic(tracks[i])) return int(i);
    return -1;
}

// Every tempo event of every track (a format-1 file's tempo applies to all).
std::vector<ExercisePart::TempoStep> TempoMap(const mxmidi::smf::SmfContent& content) {
    std::vector<std::pair<std::int64_t, int>> changes;
    for (const mxmidi::smf::SmfTrack& track : content.tracks) {
        std::int64_t tick = 0;
        for (const MidiEvent& event : track.events) {
            tick += event.time;
            if (event.status != 0) continue;
            const int micros = (event.data1 << 16) | (event.data2 << 8) | event.data3;
            if (micros > 0) changes.emplace_back(tick, micros);
        }
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ExercisePart::TempoStep> steps{{0, 0, kDefaultMicrosPerBeat}};
    for (const auto& [tick, micros] : changes) {
        ExercisePart::TempoStep& last = steps.back();
        const std::int64_t at = last.micros + (tick - last.tick) * last.microsPerBeat / content.resolution;
        if (tick == last.tick) {
            last.microsPerBeat = micros;
        } else {
            steps.push_back({tick, at, micros});
        }
    }
    return steps;
}

std::int64_t MicrosAtTick(const std::vector<ExercisePart::TempoStep>& tempo, int resolution, double tick) {
    auto step = tempo.begin();
    for (auto it = tempo.begin(); it != tempo.end() && double(it->tick) <= tick; ++it) step = it;
    return step->micros + std::int64_t(std::llround((tick - double(step->tick)) * step->microsPerBeat / resolution));
}

int CountInBeats(const std::vector<TrackNotes>& tracks, std::int64_t firstNoteTick, int resolution) {
    std::set<std::int64_t> beats;
    for (const TrackNotes& track : tracks)
        for (const TimedNote& note : track.notes)
            if (note.channel == kPercussionChannel && note.tick < firstNoteTick)
                beats.insert(note.tick / resolution);
    return int(beats.size());
}

std::int64_t LastTick(const mxmidi::smf::SmfContent& content) {
    std::int64_t last = 0;
    for (const mxmidi::smf::SmfTrack& track : content.tracks) {
        std::int64_t tick = 0;
        for (const MidiEvent& event : track.events) tick += event.time;
        last = std::max(last, tick);
    }
    return last;
}

} // namespace

std::int64_t ExercisePart::MicrosAtFileBeat(double fileBeat) const {
    return MicrosAtTick(tempo, resolution, fileBeat * resolution);
}

double ExercisePart::FileBeatAt(std::int64_t micros) const {
    auto step = tempo.begin();
    for (auto it = tempo.begin(); it != tempo.end() && it->micros <= micros; ++it) step = it;
    const double tick = double(step->tick) + double(micros - step->micros) * resolution / step->microsPerBeat;
    return tick / resolution;
}

bool ParseExercisePart(std::string_view bytes, ExercisePart& part, std::string& error) {
    const auto content =
        mxmidi::smf::ParseSmf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!content) {
        error = "not a MIDI file";
        return false;
    }
    std::vector<TrackNotes> tracks;
    for (const mxmidi::smf::SmfTrack& track : content->tracks) tracks.push_back(NotesOf(track));
    part = ExercisePart{};
    part.resolution = content->resolution;
    part.learnerTrack = LearnerTrack(tracks);
    if (part.learnerTrack < 0) {
        error = "no notes to play along with";
        return false;
    }
    part.tempo = TempoMap(*content);
    for (const mxmidi::smf::SmfTrack& track : content->tracks)
        if (const mxmidi::smf::SmfMeta* signature = track.FindMeta(kTimeSignature);
            signature != nullptr && !signature->data.empty() && signature->data[0] > 0) {
            part.beatsPerBar = std::uint8_t(signature->data[0]);
            break;
        }

    std::vector<TimedNote> notes;
    for (const TimedNote& note : tracks[std::size_t(part.learnerTrack)].notes)
        if (note.channel != kPercussionChannel) notes.push_back(note);
    std::stable_sort(notes.begin(), notes.end(),
                     [](const TimedNote& a, const TimedNote& b) { return a.tick < b.tick; });
    part.countInBeats = CountInBeats(tracks, notes.front().tick, part.resolution);
    part.endMicros = MicrosAtTick(part.tempo, part.resolution, double(LastTick(*content)));

    // Notes struck within a strum's spread of a first one are one strike.
    for (const TimedNote& note : notes) {
        const std::int64_t micros = MicrosAtTick(part.tempo, part.resolution, double(note.tick));
        if (part.strikes.empty() || micros - part.strikes.back().micros > kStrumSpreadMicros) {
            ExpectedStrike strike;
            strike.micros = micros;
            strike.beat = double(note.tick) / part.resolution - part.countInBeats;
            const double inExercise = std::max(0.0, strike.beat);
            strike.bar = int(inExercise / part.beatsPerBar) + 1;
            strike.beatInBar = inExercise - double(strike.bar - 1) * part.beatsPerBar + 1;
            part.strikes.push_back(strike);
        }
        std::vector<int>& chord = part.strikes.back().notes;
        if (std::find(chord.begin(), chord.end(), note.note) == chord.end()) chord.push_back(note.note);
    }
    for (ExpectedStrike& strike : part.strikes) std::sort(strike.notes.begin(), strike.notes.end());
    return true;
}

bool ReadExercisePart(const std::string& path, ExercisePart& part, std::string& error) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    if (std::size_t(file.tellg()) > mxmidi::smf::kMaxFileBytes) {
        error = "not a MIDI file (too large)";
        return false;
    }
    file.seekg(0);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return ParseExercisePart(bytes, part, error);
}

} // namespace listening
