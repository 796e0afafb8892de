#pragma once
// Reading the journal: the summary the progress window shows, the practice
// records for the export, and the latest play-along results the tempo ladder
// looks at. Each reads an open connection and gives empty results for a file
// without tables yet.

#include "journal/records.h"

#include <QDate>
#include <QSqlDatabase>
#include <map>
#include <utility>
#include <vector>

namespace journal {

// Days shown in the minutes-per-day chart (today the last).
inline constexpr int kDaysShown = 28;
// Lessons shown in the tempo chart: those practised most recently.
inline constexpr int kLessonsShown = 5;

JournalSummary ReadSummary(QSqlDatabase& db, const QDate& today);

// Every practice record, oldest first.
std::vector<PracticeRecord> ReadPracticeRecords(QSqlDatabase& db);

// The latest `count` results of each lesson and level, oldest first.
std::map<std::pair<int, int>, std::vector<PlayAlongScore>> ReadRecentScores(QSqlDatabase& db,
                                                                            int count);

} // namespace journal
