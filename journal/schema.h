#pragma once
// The journal's tables and how a journal file of any earlier version is
// brought up to date. The file's schema version lives in SQLite's
// user_version; version 0 is a new, empty file. Every version's step is kept
// for ever, so a file of the first version still reaches the newest, and a
// new file goes the same way.
//
// Tables (newest version):
//   sessions(id, started, ended, last_active)      one per program run; id is
//       the start in ms since the epoch; ended stays empty for a run that was
//       killed, whose last_active tells how far it got
//   practice(id, session_id, day, lesson, level, seconds, passes_started,
//            passes_completed)                    one per session, day, lesson
//       and level, added to while the learner plays
//   quiz_attempts(id, session_id, at, lesson, passed, answers)
//       answers: the ticked box of each question ("4,3,4"; 0 for none)
//   play_along(id, session_id, at, lesson, level, notes_on_time, notes)

#include <QSqlDatabase>
#include <QStringList>
#include <vector>

namespace journal {

inline constexpr int kSchemaVersion = 2;

// The statements that take a file from version `n` to `n` + 1 (index n).
const std::vector<QStringList>& MigrationSteps();

// The file's schema version, or -1 when it cannot be read.
int SchemaVersion(QSqlDatabase& db);

// Brings the file up to kSchemaVersion, each step in a transaction of its
// own. False (the file keeps the version it reached) when a step fails; the
// failing query's error is in `error`.
bool Migrate(QSqlDatabase& db, QSqlError* error);

// Takes a file up to `version` only (tests make files of earlier versions).
bool MigrateTo(QSqlDatabase& db, int version, QSqlError* error);

} // namespace journal
