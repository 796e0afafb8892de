#include "journal/journaldb.h"

#include "journal/schema.h"

#include <QAtomicInteger>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace journal {

namespace {

// SQLite's primary result codes (the low byte of an extended code).
constexpr int kSqliteError = 1;
constexpr int kSqlitePerm = 3;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoErr = 10;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADb = 26;

// A writer waits this long for another process's lock before it gives up
// for the moment (it runs on its own thread, never on the window's).
constexpr int kBusyTimeoutMs = 250;

QString NewConnectionName() {
    static QAtomicInteger<int> counter;
    return QString("journal-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

Outcome Classify(const QSqlError& error) {
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xFF;
    if (!numeric) {
        // A failed commit comes without SQLite's code, with its words.
        const QString words = error.databaseText() + " " + error.driverText();
        if (words.contains("disk is full")) return Outcome::Full;
        if (words.contains("locked") || words.contains("busy")) return Outcome::Busy;
        return Outcome::Unwritable;
    }
    switch (code) {
    case kSqliteBusy:
    case kSqliteLocked:
        return Outcome::Busy;
    case kSqliteFull:
        return Outcome::Full;
    case kSqliteReadOnly:
    case kSqliteCantOpen:
    case kSqlitePerm:
    case kSqliteIoErr:
        return Outcome::Unwritable;
    case kSqliteCorrupt:
    case kSqliteNotADb:
        return Outcome::Damaged;
    case kSqliteError:
    default:
        // A file whose tables are not what its version says.
        return Outcome::Damaged;
    }
}

JournalDb::JournalDb(QString path, bool readOnly)
    : path_(std::move(path)), readOnly_(readOnly), connection_(NewConnectionName()) {
    db_ = QSqlDatabase::addDatabase("QSQLITE", connection_);
}

JournalDb::~JournalDb() {
    Close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

void JournalDb::Close() {
    if (db_.isOpen()) db_.close();
    open_ = false;
}

Outcome JournalDb::Fail(const QSqlError& error) {
    lastError_ = error.text();
    return Classify(error);
}

Outcome JournalDb::Open() {
    Close();
    const QFileInfo file(path_);
    if (file.exists() && !file.isFile()) {
        lastError_ = "not a file";
        return Outcome::Unwritable;
    }
    if (readOnly_ && !file.exists()) {
        lastError_ = "no journal yet";
        return Outcome::Unwritable;
    }
    db_.setDatabaseName(path_);
    db_.setConnectOptions(readOnly_ ? "QSQLITE_OPEN_READONLY"
                                    : QString("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db_.open()) {
        lastError_ = db_.lastError().text();
        return Outcome::Unwritable;
    }
    const Outcome checked = Check();
    if (checked != Outcome::Done) {
        Close();
        return checked;
    }
    open_ = true;
    return Outcome::Done;
}

// The file is a journal SQLite can read, of a version this program knows,
// brought up to date.
Outcome JournalDb::Check() {
    QSqlQuery query(db_);
    if (!query.exec("PRAGMA quick_check")) return Fail(query.lastError());
    if (!query.next() || query.value(0).toString() != "ok") {
        lastError_ = "failed its check";
        return Outcome::Damaged;
    }
    query.finish();
    const int version = SchemaVersion(db_);
    if (version < 0) return Fail(db_.lastError());
    if (version > kSchemaVersion) {
        lastError_ = QString("schema version %1").arg(version);
        return Outcome::NewerSchema;
    }
    // Read as it is: every version keeps the columns the readers ask for.
    if (readOnly_) return Outcome::Done;
    // Killing the program loses nothing that was committed; a crash of the
    // whole machine at most the last moments.
    if (!query.exec("PRAGMA journal_mode = WAL")) return Fail(query.lastError());
    if (!query.exec("PRAGMA synchronous = NORMAL")) return Fail(query.lastError());
    QSqlError error;
    if (!Migrate(db_, &error)) return Fail(error);
    return Outcome::Done;
}

Outcome JournalDb::Write(const Record& record) {
    if (!open_) return Outcome::Unwritable;
    if (!db_.transaction()) return Fail(db_.lastError());
    QSqlQuery query(db_);
    for (const Statement& statement : record) {
        bool ok = query.prepare(statement.Sql);
        for (int i = 0; ok && i < statement.Values.size(); ++i)
            query.bindValue(i, statement.Values[i]);
        if (!ok || !query.exec()) {
            const QSqlError error = query.lastError();
            db_.rollback();
            return Fail(error);
        }
    }
    if (!db_.commit()) {
        const QSqlError error = db_.lastError();
        db_.rollback();
        return Fail(error);
    }
    return Outcome::Done;
}

QString JournalDb::KeepAside(const QString& path) {
    for (int n = 1; n < 1000; ++n) {
        const QString target = path + (n == 1 ? QString(".bak") : QString(".bak%1").arg(n));
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) continue;
        if (!QFile::rename(path, target)) return {};
        // The write-ahead log belongs to the damaged file; the shared-memory
        // index is rebuilt from it.
        QFile::rename(path + "-wal", target + "-wal");
        QFile::remove(path + "-shm");
        return target;
    }
    return {};
}

} // namespace journal
