#include "journal/journalreader.h"

#include <QSqlQuery>
#include <algorithm>

namespace journal {

namespace {

constexpr const char* kDayFormat = "yyyy-MM-dd";

void ReadMinutes(QSqlDatabase& db, const QDate& today, JournalSummary& summary) {
    const QDate first = today.addDays(-(kDaysShown - 1));
    summary.MinutesPerDay.assign(kDaysShown, 0.0);
    QSqlQuery query(db);
    query.prepare("SELECT day, SUM(seconds) FROM practice WHERE day >= ? AND day <= ? GROUP BY day");
    query.addBindValue(first.toString(kDayFormat));
    query.addBindValue(today.toString(kDayFormat));
    if (!query.exec()) return;
    while (query.next()) {
        const QDate day = QDate::fromString(query.value(0).toString(), kDayFormat);
        const qint64 index = first.daysTo(day);
        if (index >= 0 && index < kDaysShown)
            summary.MinutesPerDay[static_cast<std::size_t>(index)] = query.value(1).toDouble() / 60.0;
    }
}

void ReadTotals(QSqlDatabase& db, JournalSummary& summary) {
    QSqlQuery query(db);
    if (query.exec("SELECT COALESCE(SUM(seconds), 0), COUNT(DISTINCT day) FROM practice "
                   "WHERE seconds > 0") &&
        query.next()) {
        summary.TotalSeconds = query.value(0).toLongLong();
        summary.DaysPractised = query.value(1).toInt();
    }
}

// The highest level of each day for the lessons practised last, each line
// starting with the level it had when the chart's weeks begin.
void ReadLevels(QSqlDatabase& db, JournalSummary& summary) {
    QSqlQuery recent(db);
    std::vector<int> lessons;
    if (!recent.exec(QString("SELECT lesson FROM practice GROUP BY lesson ORDER BY MAX(day) DESC, "
                             "MAX(id) DESC LIMIT %1")
                         .arg(kLessonsShown)))
        return;
    while (recent.next()) lessons.push_back(recent.value(0).toInt());
    std::sort(lessons.begin(), lessons.end());
    QSqlQuery query(db);
    query.prepare("SELECT day, MAX(level) FROM practice WHERE lesson = ? GROUP BY day ORDER BY day");
    for (int lesson : lessons) {
        query.addBindValue(lesson);
        if (!query.exec()) continue;
        LessonLevels line{lesson, {}};
        while (query.next()) {
            const int level = query.value(1).toInt();
            const QDate day = QDate::fromString(query.value(0).toString(), kDayFormat);
            // Only the days the level changed, and the last day: a step line.
            if (!line.Points.empty() && line.Points.back().Level == level) {
                if (line.Points.size() >= 2 &&
                    line.Points[line.Points.size() - 2].Level == level)
                    line.Points.back().Day = day;
                else
                    line.Points.push_back({day, level});
                continue;
            }
            line.Points.push_back({day, level});
        }
        if (!line.Points.empty()) summary.Levels.push_back(std::move(line));
    }
}

void ReadQuizzes(QSqlDatabase& db, JournalSummary& summary) {
    QSqlQuery query(db);
    if (!query.exec("SELECT lesson, SUM(passed <> 0), SUM(passed = 0) FROM quiz_attempts "
                    "GROUP BY lesson ORDER BY lesson"))
        return;
    while (query.next())
        summary.Quizzes.push_back(
            {query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt()});
}

void ReadLatestScores(QSqlDatabase& db, JournalSummary& summary) {
    QSqlQuery query(db);
    if (!query.exec("SELECT lesson, level, notes_on_time, notes FROM play_along WHERE id IN "
                    "(SELECT MAX(id) FROM play_along GROUP BY lesson) ORDER BY lesson"))
        return;
    while (query.next())
        summary.LatestScores.push_back({query.value(0).toInt(), query.value(1).toInt(),
                                        query.value(2).toInt(), query.value(3).toInt()});
}

} // namespace

JournalSummary ReadSummary(QSqlDatabase& db, const QDate& today) {
    JournalSummary summary;
    summary.Today = today;
    ReadMinutes(db, today, summary);
    ReadTotals(db, summary);
    ReadLevels(db, summary);
    ReadQuizzes(db, summary);
    ReadLatestScores(db, summary);
    return summary;
}

std::vector<PracticeRecord> ReadPracticeRecords(QSqlDatabase& db) {
    std::vector<PracticeRecord> records;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec("SELECT p.day, s.started, p.lesson, p.level, p.seconds, p.passes_started, "
                    "p.passes_completed FROM practice p LEFT JOIN sessions s ON s.id = p.session_id "
                    "ORDER BY p.day, p.session_id, p.id"))
        return records;
    while (query.next())
        records.push_back({query.value(0).toString(), query.value(1).toString(),
                           query.value(2).toInt(), query.value(3).toInt(), query.value(4).toInt(),
                           query.value(5).toInt(), query.value(6).toInt()});
    return records;
}

std::map<std::pair<int, int>, std::vector<PlayAlongScore>> ReadRecentScores(QSqlDatabase& db,
                                                                            int count) {
    std::map<std::pair<int, int>, std::vector<PlayAlongScore>> scores;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec("SELECT lesson, level, notes_on_time, notes FROM play_along ORDER BY id"))
        return scores;
    while (query.next()) {
        PlayAlongScore score{query.value(0).toInt(), query.value(1).toInt(),
                             query.value(2).toInt(), query.value(3).toInt()};
        auto& list = scores[{score.Lesson, score.Level}];
        list.push_back(score);
        if (static_cast<int>(list.size()) > count) list.erase(list.begin());
    }
    return scores;
}

} // namespace journal
