// The journal's file: a new file and the migration from the first schema
// version, and every way the file can be in the way (damaged, from a newer
// program, not writable, locked by another process, the disk full), where
// the course's calls go on and no record that could wait is lost.
#include "journal/journal.h"
#include "journal/journaldb.h"
#include "journal/schema.h"
#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"
#include "tests/journal/journalfixture.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <gtest/gtest.h>

using journal::Journal;
using journal::JournalDb;
using journal::Outcome;
using journaltest::Bytes;
using journaltest::Rows;
using journaltest::Value;
using testsupport::TempFolder;

namespace {

QString JournalIn(const TempFolder& folder) {
    return folder.QPath() + "journal.sqlite";
}

int Count(const QString& path, const QString& table) {
    return Value(path, "SELECT COUNT(*) FROM " + table).toInt();
}

// A journal of the first schema version with one row in every table.
void MakeFirstVersionFile(const QString& path) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "first-version");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(journal::MigrateTo(db, 1, nullptr));
        QSqlQuery query(db);
        for (const char* sql : {
                 "INSERT INTO sessions VALUES (1000, '2026-11-02 18:00:00', '2026-11-02 18:40:00')",
                 "INSERT INTO sessions VALUES (2000, '2026-11-03 09:00:00', NULL)",
                 "INSERT INTO practice (session_id, day, lesson, level, seconds, passes_started,"
                 " passes_completed) VALUES (1000, '2026-11-02', 1, 4, 310, 5, 4)",
                 "INSERT INTO quiz_attempts (session_id, at, lesson, passed, answers)"
                 " VALUES (1000, '2026-11-02 18:30:00', 1, 0, '4,2,4')",
                 "INSERT INTO play_along (session_id, at, lesson, level, notes_on_time, notes)"
                 " VALUES (2000, '2026-11-03 09:10:00', 1, 4, 27, 30)"})
            ASSERT_TRUE(query.exec(sql)) << sql;
        db.close();
    }
    QSqlDatabase::removeDatabase("first-version");
}

TEST(JournalFileTest, ANewFileGetsEveryTableAtTheNewestVersion) {
    TempFolder folder;
    JournalDb db(JournalIn(folder));
    ASSERT_EQ(db.Open(), Outcome::Done) << db.LastError().toStdString();
    db.Close();
    EXPECT_EQ(Value(JournalIn(folder), "PRAGMA user_version").toInt(), journal::kSchemaVersion);
    for (const char* table : {"sessions", "practice", "quiz_attempts", "play_along"})
        EXPECT_EQ(Count(JournalIn(folder), table), 0) << table;
}

TEST(JournalFileTest, AFileOfTheFirstVersionKeepsEveryRowWhenMigrated) {
    TempFolder folder;
    const QString path = JournalIn(folder);
    MakeFirstVersionFile(path);
    ASSERT_EQ(Value(path, "PRAGMA user_version").toInt(), 1);

    JournalDb db(path);
    ASSERT_EQ(db.Open(), Outcome::Done) << db.LastError().toStdString();
    db.Close();
    EXPECT_EQ(Value(path, "PRAGMA user_version").toInt(), journal::kSchemaVersion);
    const auto sessions = Rows(path, "SELECT id, started, ended, last_active FROM sessions ORDER BY id");
    ASSERT_EQ(sessions.size(), 2u);
    // A finished session is last seen at its end, a killed one at its start.
    EXPECT_EQ(sessions[0][3].toString(), "2026-11-02 18:40:00");
    EXPECT_EQ(sessions[1][3].toString(), "2026-11-03 09:00:00");
    EXPECT_EQ(Rows(path, "SELECT day, lesson, level, seconds, passes_started, passes_completed"
                         " FROM practice")
                  .at(0),
              (QVariantList{"2026-11-02", 1, 4, 310, 5, 4}));
    EXPECT_EQ(Value(path, "SELECT answers FROM quiz_attempts").toString(), "4,2,4");
    EXPECT_EQ(Rows(path, "SELECT lesson, level, notes_on_time, notes FROM play_along").at(0),
              (QVariantList{1, 4, 27, 30}));

    // And the migrated file takes the program's records.
    {
        Journal journal(path);
        journal.StartSession();
        journal.QuizEvaluated(2, true, {1, 1, 3});
        journal.EndSession();
    }
    EXPECT_EQ(Count(path, "quiz_attempts"), 2);
    EXPECT_EQ(Count(path, "sessions"), 3);
}

TEST(JournalFileTest, ADamagedFileIsKeptAsideAndANewOneBegins) {
    TempFolder folder;
    const QString path = JournalIn(folder);
    // SQLite's header, then rubbish: damaged, not merely empty.
    QByteArray damaged("SQLite format 3");
    damaged.append('\0');
    damaged.append(QByteArray(4080, '\x5a'));
    folder.Write("journal.sqlite", damaged.toStdString());
    {
        Journal journal(path);
        journal.StartSession();
        journal.PassStarted(1, 3);
        journal.PassEnded(true);
        journal.EndSession();
        EXPECT_TRUE(journal.Writing());
        const auto notice = journal.TakeNotice();
        ASSERT_TRUE(notice.has_value());
        EXPECT_TRUE(notice->Body.contains(path + ".bak")) << notice->Body.toStdString();
        EXPECT_FALSE(journal.TakeNotice().has_value()); // told once
    }
    EXPECT_EQ(Bytes(path + ".bak"), damaged);
    EXPECT_EQ(Rows(path, "SELECT lesson, level, passes_started, passes_completed FROM practice"),
              (std::vector<QVariantList>{{1, 3, 1, 1}}));

    // Damaged again: the first copy stays, the second goes beside it.
    folder.Write("journal.sqlite", "not a database at all, only words");
    { Journal(path).StartSession(); }
    EXPECT_EQ(Bytes(path + ".bak"), damaged);
    EXPECT_EQ(Bytes(path + ".bak2"), QByteArray("not a database at all, only words"));
}

TEST(JournalFileTest, AFileOfANewerProgramIsLeftAsItIs) {
    TempFolder folder;
    const QString path = JournalIn(folder);
    ASSERT_TRUE(journaltest::Exec(path, {"CREATE TABLE future (x)", "PRAGMA user_version = 99"}));
    const QByteArray before = Bytes(path);
    {
        Journal journal(path);
        journal.StartSession();
        journal.PassStarted(4, 2);
        journal.PassEnded(true);
        journal.EndSession();
        EXPECT_FALSE(journal.Writing());
        ASSERT_TRUE(journal.TakeNotice().has_value());
        EXPECT_TRUE(journal.Summary().Empty());
    }
    EXPECT_EQ(Bytes(path), before);
    EXPECT_FALSE(QFileInfo::exists(path + ".bak"));
}

TEST(JournalFileTest, AJournalThatCannotBeOpenedChangesNothingForTheCaller) {
    TempFolder folder;
    const QString path = JournalIn(folder);
    ASSERT_TRUE(QDir().mkpath(path)); // a folder where the file belongs
    Journal journal(path);
    journal.StartSession();
    journal.PassStarted(1, 10);
    journal.PracticePaused();
    journal.PracticeResumed();
    journal.PassEnded(false);
    journal.QuizEvaluated(1, false, {0, 0, 0});
    journal.PlayAlongChecked(1, 10, 3, 30);
    EXPECT_TRUE(journal.Flush(2000));
    EXPECT_FALSE(journal.Writing());
    const auto notice = journal.TakeNotice();
    ASSERT_TRUE(notice.has_value());
    EXPECT_TRUE(notice->Body.contains(path));
    EXPECT_FALSE(journal.TakeNotice().has_value());
    EXPECT_TRUE(journal.Summary().Empty());
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(JournalFileTest, RecordsWaitWhileAnotherProcessHoldsTheFileAndArriveInOrderAfterwards) {
    TempFolder folder;
    const QString path = JournalIn(folder);
    Journal journal(path);
    journal.StartSession();
    ASSERT_TRUE(journal.Flush(2000));
    ASSERT_TRUE(journal.Writing());

    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-process");
    other.setDatabaseName(path);
    ASSERT_TRUE(other.open());
    QSqlQuery lock(other);
    ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));

    QElapsedTimer calls;
    calls.start();
    for (int lesson = 0; lesson < 5; ++lesson) journal.QuizEvaluated(lesson, lesson % 2 == 0, {lesson, 1, 1});
    EXPECT_LT(calls.elapsed(), 100); // handed over, not waited for
    EXPECT_TRUE(journal.Flush(5000));
    EXPECT_FALSE(journal.Writing());
    const auto notice = journal.TakeNotice();
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->Body, platform::FromAnsi(DLL_GetMessage(403))); // busy: it waits

    ASSERT_TRUE(lock.exec("ROLLBACK"));
    lock.finish();
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase("other-process");
    journal.QuizEvaluated(5, true, {5, 1, 1}); // the next record brings the waiting ones
    journal.EndSession(3000);
    EXPECT_TRUE(journal.Writing());
    EXPECT_EQ(Rows(path, "SELECT lesson, passed, answers FROM quiz_attempts ORDER BY id"),
              (std::vector<QVariantList>{{0, 1, "0,1,1"},
                                         {1, 0, "1,1,1"},
                                         {2, 1, "2,1,1"},
                                         {3, 0, "3,1,1"},
                                         {4, 1, "4,1,1"},
                                         {5, 1, "5,1,1"}}));
}

// A full disk, made with a small file system of its own (needs the right to
// mount one; skipped elsewhere).
TEST(JournalFileTest, RecordsWaitWhileTheDiskIsFullAndArriveWhenThereIsRoomAgain) {
    TempFolder folder;
    const std::string mount = folder.Path() + "disk";
    QDir().mkpath(QString::fromStdString(mount));
    if (testsupport::RunShell("mount -t tmpfs -o size=4m tmpfs '" + mount + "' 2>/dev/null") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    struct Unmount {
        std::string path;
        ~Unmount() { testsupport::RunShell("umount '" + path + "'"); }
    } unmount{mount};
    const QString path = QString::fromStdString(mount) + "/journal.sqlite";
    Journal journal(path);
    journal.StartSession();
    ASSERT_TRUE(journal.Flush(2000));
    // Fill the disk.
    testsupport::RunShell("dd if=/dev/zero of='" + mount + "/filler' bs=4k 2>/dev/null");
    for (int i = 0; i < 200; ++i) journal.PlayAlongChecked(i % 30, 1 + i % 10, i % 31, 30);
    EXPECT_TRUE(journal.Flush(10000));
    EXPECT_FALSE(journal.Writing());
    const auto notice = journal.TakeNotice();
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->Body, platform::FromAnsi(DLL_GetMessage(404))); // full: it waits

    QFile::remove(QString::fromStdString(mount) + "/filler");
    journal.EndSession(10000);
    EXPECT_TRUE(journal.Writing());
    EXPECT_EQ(Count(path, "play_along"), 200);
    EXPECT_EQ(Value(path, "SELECT SUM(notes_on_time) FROM play_along").toInt(),
              [] { int sum = 0; for (int i = 0; i < 200; ++i) sum += i % 31; return sum; }());
}

} // namespace
