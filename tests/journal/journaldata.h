#pragma once
// Practice made up for the journal's pictures and figures: written straight
// into a journal file (made with its tables first) in one transaction.

#include <QString>

namespace journaltest {

// `days` days of daily practice ending today, as a steady learner does it:
// a session a day, two or three lessons, the level rising over the weeks, a
// quiz now and then and a play-along result for most passes' days.
// Deterministic for a `seed`. Returns false when the file cannot be written.
bool FillDailyPractice(const QString& path, int days, unsigned seed = 1);

// A first month: practice on most of the last 30 days, lessons 0 to 4 one
// after another with their levels rising, their quizzes (one failed), and
// play-along results for the last lessons.
bool FillFirstMonth(const QString& path);

} // namespace journaltest
