#include "tests/journal/journaldata.h"

#include "journal/journal.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <random>

namespace journaltest {

namespace {

// The journal's file with its tables, then `fill` inside one transaction.
template <class Fill> bool WithNewJournal(const QString& path, Fill fill) {
    { journal::Journal(path).Flush(5000); }
    const QString name = QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        if (db.open() && db.transaction()) {
            QSqlQuery query(db);
            ok = fill(query) && db.commit();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QString Day(const QDate& day) {
    return day.toString("yyyy-MM-dd");
}

struct Writer {
    QSqlQuery& query;
    bool Session(qint64 id, const QDate& day, int hour, int minutes) {
        const QDateTime begin = day.startOfDay().addSecs(hour * 3600 + 300);
        const QString start = journal::JournalTime(begin);
        const QString end = journal::JournalTime(begin.addSecs(minutes * 60 + 120));
        query.prepare("INSERT INTO sessions (id, started, ended, last_active) VALUES (?, ?, ?, ?)");
        query.addBindValue(id);
        query.addBindValue(start);
        query.addBindValue(end);
        query.addBindValue(end);
        return query.exec();
    }
    bool Practice(qint64 session, const QDate& day, int lesson, int level, int seconds, int passes) {
        query.prepare("INSERT INTO practice (session_id, day, lesson, level, seconds, passes_started,"
                      " passes_completed) VALUES (?, ?, ?, ?, ?, ?, ?)");
        for (const QVariant& v : {QVariant(session), QVariant(Day(day)), QVariant(lesson), QVariant(level),
                                  QVariant(seconds), QVariant(passes + 1), QVariant(passes)})
            query.addBindValue(v);
        return query.exec();
    }
    bool Quiz(qint64 session, const QDate& day, int lesson, bool passed) {
        query.prepare("INSERT INTO quiz_attempts (session_id, at, lesson, passed, answers)"
                      " VALUES (?, ?, ?, ?, ?)");
        for (const QVariant& v : {QVariant(session), QVariant(Day(day) + " 19:00:00"), QVariant(lesson),
                                  QVariant(passed ? 1 : 0), QVariant(passed ? "4,3,4" : "4,2,4")})
            query.addBindValue(v);
        return query.exec();
    }
    bool PlayAlong(qint64 session, const QDate& day, int lesson, int level, int onTime, int notes) {
        query.prepare("INSERT INTO play_along (session_id, at, lesson, level, notes_on_time, notes)"
                      " VALUES (?, ?, ?, ?, ?, ?)");
        for (const QVariant& v : {QVariant(session), QVariant(Day(day) + " 19:10:00"), QVariant(lesson),
                                  QVariant(level), QVariant(onTime), QVariant(notes)})
            query.addBindValue(v);
        return query.exec();
    }
};

} // namespace

bool FillDailyPractice(const QString& path, int days, unsigned seed) {
    return WithNewJournal(path, [&](QSqlQuery& query) {
        Writer write{query};
        std::mt19937 random(seed);
        const QDate today = QDate::currentDate();
        int lesson = 0, level = 1;
        for (int d = days - 1; d >= 0; --d) {
            const QDate day = today.addDays(-d);
            const qint64 session = day.startOfDay().toMSecsSinceEpoch() + 18 * 3600 * 1000LL;
            const int minutes = 15 + static_cast<int>(random() % 40);
            if (!write.Session(session, day, 18, minutes)) return false;
            // The lesson in hand at its level, and the one before it at the top.
            if (!write.Practice(session, day, lesson, level, minutes * 40, 6)) return false;
            if (lesson > 0 && !write.Practice(session, day, lesson - 1, 10, minutes * 20, 3))
                return false;
            if (!write.PlayAlong(session, day, lesson, level, 24 + static_cast<int>(random() % 7), 30))
                return false;
            if (d % 4 == 0 && ++level > 10) {
                if (!write.Quiz(session, day, lesson, random() % 3 != 0)) return false;
                level = 1;
                lesson = (lesson + 1) % 30;
            }
        }
        return true;
    });
}

bool FillFirstMonth(const QString& path) {
    return WithNewJournal(path, [&](QSqlQuery& query) {
        Writer write{query};
        const QDate today = QDate::currentDate();
        // Days off: the learner skipped a few.
        const QList<int> daysOff{27, 23, 22, 16, 9, 8, 2};
        const int minutes[] = {12, 20, 25, 18, 30, 35, 22, 40, 28, 33, 15, 45, 38, 26, 31};
        int lesson = 0, level = 1, step = 0;
        for (int d = 29; d >= 0; --d) {
            if (daysOff.contains(d)) continue;
            const QDate day = today.addDays(-d);
            const qint64 session = day.startOfDay().toMSecsSinceEpoch() + 17 * 3600 * 1000LL;
            const int m = minutes[step++ % 15];
            if (!write.Session(session, day, 17, m)) return false;
            if (!write.Practice(session, day, lesson, level, m * 60, m / 2)) return false;
            if (lesson >= 2 && !write.PlayAlong(session, day, lesson, level, 18 + (level * 11) / 10, 30))
                return false;
            level += lesson == 0 ? 3 : 2;
            if (level > 10) {
                if (lesson == 2 && !write.Quiz(session, day, lesson, false)) return false;
                if (!write.Quiz(session, day, lesson, true)) return false;
                level = 1;
                ++lesson;
            }
        }
        return true;
    });
}

} // namespace journaltest
