#include "journal/tempoladder.h"

#include <algorithm>

namespace journal {

bool OnTimeEnough(int notesOnTime, int notes) {
    if (notes <= 0 || notesOnTime < 0) return false;
    // In integers: 100 * onTime >= 90 * notes.
    return static_cast<long long>(notesOnTime) * 100 >= static_cast<long long>(notes) * kLadderPercent;
}

bool NextLevelDue(const std::vector<PlayAlongScore>& results, int level) {
    if (level < 1 || level >= kHighestLevel) return false;
    if (static_cast<int>(results.size()) < kLadderPasses) return false;
    return std::all_of(results.end() - kLadderPasses, results.end(), [level](const PlayAlongScore& r) {
        return r.Level == level && OnTimeEnough(r.NotesOnTime, r.Notes);
    });
}

} // namespace journal
