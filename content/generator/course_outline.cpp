#include "content/generator/course_outline.h"

#include <algorithm>

namespace content {

namespace {

constexpr std::array<int, 6> kOpenStrings = {40, 45, 50, 55, 59, 64};

} // namespace

int Bar::units() const {
    int total = 0;
    for (const ScoreEvent& e : events)
        total += e.units;
    return total;
}

int Exercise::PlayedBeats(int beatsPerBar) const {
    return static_cast<int>(order.size()) * beatsPerBar;
}

bool Exercise::HasFermata(int bar) const {
    return std::find(fermataBars.begin(), fermataBars.end(), bar) != fermataBars.end();
}

int StringNote(int string, int fret) {
    return kOpenStrings.at(static_cast<std::size_t>(string)) + fret;
}

std::vector<int> StruckStrings(const ScoreEvent& event, const ChordShape& shape) {
    std::vector<int> strings;
    for (int s = 0; s < 6; ++s)
        if (shape.frets[static_cast<std::size_t>(s)] >= 0) strings.push_back(s);
    const std::size_t keep = static_cast<std::size_t>(std::max(1, event.strings));
    if (strings.size() > keep) strings.erase(strings.begin(), strings.end() - static_cast<long>(keep));
    return strings;
}

double FastestStrokesPerSecond(const Exercise& exercise, int tempo) {
    int shortest = 0, last = -1, start = 0;
    for (int b : exercise.order) {
        if (b < 0 || b >= static_cast<int>(exercise.bars.size())) continue;
        for (const ScoreEvent& event : exercise.bars[static_cast<std::size_t>(b)].events) {
            if (event.Sounds()) {
                if (last >= 0 && (shortest == 0 || start - last < shortest)) shortest = start - last;
                last = start;
            }
            start += event.units;
        }
    }
    if (shortest <= 0) return 0.0;
    return tempo / 60.0 * kUnitsPerBeat / shortest;
}

std::vector<PlayedNote> PlayedNotes(const Exercise& exercise, const Outline& outline) {
    std::vector<PlayedNote> notes;
    int start = 0;
    std::size_t previous = 0; // the first note of the last sounding stroke
    for (int b : exercise.order) {
        if (b < 0 || b >= static_cast<int>(exercise.bars.size())) continue;
        for (const ScoreEvent& event : exercise.bars[static_cast<std::size_t>(b)].events) {
            if (event.Sounds()) previous = notes.size();
            if (event.kind == ScoreEvent::Kind::Notes) {
                for (const auto& [string, fret] : event.notes)
                    notes.push_back({start, event.units, StringNote(string, fret), false, 0});
            } else if (event.kind == ScoreEvent::Kind::Chord) {
                auto shape = outline.chords.find(event.chord);
                if (shape != outline.chords.end()) {
                    std::vector<int> strings = StruckStrings(event, shape->second);
                    if (event.upStroke) std::reverse(strings.begin(), strings.end());
                    int index = 0;
                    for (int string : strings)
                        notes.push_back({start, event.units,
                                         StringNote(string, shape->second.frets[static_cast<std::size_t>(string)]),
                                         event.upStroke, index++});
                }
            } else if (event.kind == ScoreEvent::Kind::Ghost) {
                // The strings ring on while the hand swings past them.
                for (std::size_t i = previous; i < notes.size(); ++i)
                    if (notes[i].start + notes[i].length == start) notes[i].length += event.units;
            } else {
                previous = notes.size(); // a rest damps the strings
            }
            start += event.units;
        }
    }
    return notes;
}

std::vector<RepeatedRun> RepeatedRuns(const Exercise& exercise) {
    std::vector<RepeatedRun> runs;
    for (const auto& [first, last] : exercise.ranges) {
        if (!runs.empty() && runs.back().first == first && runs.back().last == last)
            ++runs.back().times;
        else
            runs.push_back({first, last, 1});
    }
    for (std::size_t k = 1; k < runs.size(); ++k)
        if (runs[k].first <= runs[k - 1].last) return {};
    return runs;
}

} // namespace content
