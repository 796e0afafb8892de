#pragma once
// The tempo ladder: when the learner has played a level well enough, the
// program offers the next one ("Nächste Stufe?"); the learner decides, and
// the tempo bar and the stored level behave as for any other change.
//
// The rule: the last three play-along results at the lesson's level, each
// from a pass played to its end, have at least 90 % of their notes on time,
// and the level is not the highest. Results that came before the last offer
// (taken or not) do not count again, so a "no" is asked again only after
// three more such passes.

#include "journal/records.h"

#include <vector>

namespace journal {

inline constexpr int kLadderPasses = 3;
inline constexpr int kLadderPercent = 90;
inline constexpr int kHighestLevel = 10;

// True when `notesOnTime` of `notes` reach the ladder's share (no notes: never).
bool OnTimeEnough(int notesOnTime, int notes);

// `results`: the results at `level`, oldest first, since the last offer.
bool NextLevelDue(const std::vector<PlayAlongScore>& results, int level);

} // namespace journal
