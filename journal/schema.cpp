#include "journal/schema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace journal {

const std::vector<QStringList>& MigrationSteps() {
    static const std::vector<QStringList> steps = {
        // 0 -> 1: the first journal.
        {
            "CREATE TABLE sessions (id INTEGER PRIMARY KEY, started TEXT NOT NULL, ended TEXT)",
            "CREATE TABLE practice (id INTEGER PRIMARY KEY, session_id INTEGER NOT NULL,"
            " day TEXT NOT NULL, lesson INTEGER NOT NULL, level INTEGER NOT NULL,"
            " seconds INTEGER NOT NULL DEFAULT 0, passes_started INTEGER NOT NULL DEFAULT 0,"
            " passes_completed INTEGER NOT NULL DEFAULT 0,"
            " UNIQUE (session_id, day, lesson, level))",
            "CREATE TABLE quiz_attempts (id INTEGER PRIMARY KEY, session_id INTEGER NOT NULL,"
            " at TEXT NOT NULL, lesson INTEGER NOT NULL, passed INTEGER NOT NULL,"
            " answers TEXT NOT NULL)",
            "CREATE TABLE play_along (id INTEGER PRIMARY KEY, session_id INTEGER NOT NULL,"
            " at TEXT NOT NULL, lesson INTEGER NOT NULL, level INTEGER NOT NULL,"
            " notes_on_time INTEGER NOT NULL, notes INTEGER NOT NULL)",
        },
        // 1 -> 2: a killed run's session keeps the time it was last seen
        // practising; the progress window's look-ups by day and by lesson get
        // their indexes.
        {
            "ALTER TABLE sessions ADD COLUMN last_active TEXT",
            "UPDATE sessions SET last_active = COALESCE(ended, started)",
            "CREATE INDEX practice_by_day ON practice (day)",
            "CREATE INDEX practice_by_lesson ON practice (lesson, day)",
            "CREATE INDEX play_along_by_lesson ON play_along (lesson, level, id)",
        },
    };
    return steps;
}

int SchemaVersion(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec("PRAGMA user_version") || !query.next()) return -1;
    return query.value(0).toInt();
}

bool MigrateTo(QSqlDatabase& db, int version, QSqlError* error) {
    const auto& steps = MigrationSteps();
    for (int from = SchemaVersion(db); from >= 0 && from < version; ++from) {
        if (!db.transaction()) {
            if (error != nullptr) *error = db.lastError();
            return false;
        }
        QSqlQuery query(db);
        bool ok = true;
        for (const QString& statement : steps[static_cast<std::size_t>(from)]) {
            if (!query.exec(statement)) {
                ok = false;
                break;
            }
        }
        ok = ok && query.exec(QString("PRAGMA user_version = %1").arg(from + 1));
        if (!ok || !db.commit()) {
            if (error != nullptr) *error = ok ? db.lastError() : query.lastError();
            db.rollback();
            return false;
        }
    }
    return SchemaVersion(db) >= version;
}

bool Migrate(QSqlDatabase& db, QSqlError* error) {
    return MigrateTo(db, kSchemaVersion, error);
}

} // namespace journal
