#pragma once
// JournalDb: one connection to a journal file on the thread that made it
// (Qt SQL connections belong to their thread). It opens the file, tells a
// damaged file from one that is only busy, full or unwritable, brings the
// schema up to date, and writes a record's statements in one transaction.

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariantList>
#include <vector>

namespace journal {

// How an attempt to open or to write went.
enum class Outcome {
    Done,
    Busy,        // locked by another process: try again later
    Full,        // the disk (or the file's size limit) is full: try again later
    Unwritable,  // the file or its folder cannot be written or opened
    Damaged,     // not a journal SQLite can read, or failing its check
    NewerSchema, // written by a newer program: left as it is
};

// One SQL statement with its bound values (in order of the placeholders).
struct Statement {
    QString Sql;
    QVariantList Values;
};

// What the program asks to be written at one moment, written whole or not at all.
using Record = std::vector<Statement>;

// The outcome a failed query's error stands for.
Outcome Classify(const QSqlError& error);

class JournalDb {
public:
    // `readOnly`: for exports and reading, never written, never migrated.
    JournalDb(QString path, bool readOnly = false);
    ~JournalDb();
    JournalDb(const JournalDb&) = delete;
    JournalDb& operator=(const JournalDb&) = delete;

    // Opens the file (made when missing), checks it and brings its schema up
    // to date. Anything but Done leaves the connection closed.
    Outcome Open();
    bool IsOpen() const { return open_; }
    void Close();

    // Runs the record's statements in one transaction; on failure nothing of
    // it stays.
    Outcome Write(const Record& record);

    QSqlDatabase& Database() { return db_; }
    const QString& Path() const { return path_; }
    // The last failure's text, for tests and the command line.
    const QString& LastError() const { return lastError_; }

    // Renames a damaged file (and its write-ahead log) to a free name beside
    // it: path + ".bak", ".bak2", ...; returns the new name, empty when it
    // could not be moved.
    static QString KeepAside(const QString& path);

private:
    Outcome Fail(const QSqlError& error);
    Outcome Check();

    QString path_;
    bool readOnly_;
    QString connection_;
    QSqlDatabase db_;
    bool open_ = false;
    QString lastError_;
};

} // namespace journal
