#pragma once
// The four charts of the progress window, made from the journal's summary in
// the course's look (Arial, the course's blues, no chart background of their
// own, so the window's white panels show through): minutes per day (bars),
// the tempo level of the lessons practised last over time (lines), the
// quizzes of each lesson (stacked bars), the latest play-along score of each
// lesson (bars). Each returns nullptr when it has nothing to show.

#include "journal/records.h"

#include <QColor>
#include <QString>

class QChart;

namespace journal {

// The course's colours in the charts.
inline const QColor kChartBlue{74, 127, 193};
inline const QColor kChartGreen{86, 160, 86};
inline const QColor kChartOrange{232, 163, 61};
inline const QColor kChartInk{40, 52, 72};

QChart* MinutesChart(const JournalSummary& summary);
QChart* LevelsChart(const JournalSummary& summary);
QChart* QuizChart(const JournalSummary& summary);
QChart* ScoresChart(const JournalSummary& summary);

// The days of the minutes chart, "9.11. – 6.12.".
QString DaysShown(const JournalSummary& summary);

// The whole minutes and hours of the summary's total, as the window's
// heading says them.
int TotalHours(const JournalSummary& summary);
int TotalMinutesPastHour(const JournalSummary& summary);

} // namespace journal
