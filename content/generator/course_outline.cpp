#include "content/generator/course_outline.h"

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

int StringNote(int string, int fret) {
    return kOpenStrings.at(static_cast<std::size_t>(string)) + fret;
}

std::vector<PlayedNote> PlayedNotes(const Exercise& exercise, const Outline& outline) {
    std::vector<PlayedNote> notes;
    int start = 0;
    for (int b : exercise.order) {
        if (b < 0 || b >= static_cast<int>(exercise.bars.size())) continue;
        for (const ScoreEvent& event : exercise.bars[static_cast<std::size_t>(b)].events) {
            if (event.kind == ScoreEvent::Kind::Notes) {
                for (const auto& [string, fret] : event.notes)
                    notes.push_back({start, event.units, StringNote(string, fret), false, 0});
            } else if (event.kind == ScoreEvent::Kind::Chord) {
                auto shape = outline.chords.find(event.chord);
                if (shape != outline.chords.end()) {
                    int index = 0;
                    for (int i = 0; i < 6; ++i) {
                        int string = event.upStroke ? 5 - i : i;
                        int fret = shape->second.frets[static_cast<std::size_t>(string)];
                        if (fret < 0) continue;
                        notes.push_back({start, event.units, StringNote(string, fret),
                                         event.upStroke, index++});
                    }
                }
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
