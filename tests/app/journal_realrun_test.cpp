// The practice journal in the real program on a private X display, lesson 1
// at tempo level 10 through the device "MIDI Log": a pass and a quiz leave
// their rows (read back with plain SQL), a program killed during a pass
// loses only that pass's open record, and a damaged, unwritable or locked
// journal leaves the course working and the plan files as they would be.

#include "tests/app/transportrun.h"

#include "layout/screenlayout.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QUuid>
#include <csignal>
#include <gtest/gtest.h>

namespace {

using testsupport::WaitFor;
using testsupport::XvfbServer;
using transportrun::LessonOneRun;

const QPoint kKontrolle =
    layout::BKontrolle + QPoint(layout::Button.width() / 2, layout::Button.height() / 2);

std::vector<QVariantList> Rows(const QString& path, const QString& sql) {
    std::vector<QVariantList> rows;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        QSqlQuery query(db);
        if (db.open() && query.exec(sql))
            while (query.next()) {
                QVariantList row;
                for (int i = 0; i < query.record().count(); ++i) row << query.value(i);
                rows.push_back(row);
            }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

class JournalRealRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!xvfb_.Start()) GTEST_SKIP() << "no Xvfb on this machine";
        run_ = std::make_unique<LessonOneRun>(xvfb_.Display(), "MIDI Log");
        if (!run_->Pointer().Ready()) GTEST_SKIP() << "no XTest on this display";
    }
    QString Journal() const { return run_->Program().DataFolder() + "journal.sqlite"; }
    // Lesson 1 at level 10 with `played` passes counted already.
    void PlanWithPasses(int played) {
        ASSERT_TRUE(run_->Program().WriteListLines(
            "ListeUeplan.ztl", {"3", "1", "10", QString::number(played), "-1", "1", "0", "-1", "1", "0"}));
    }
    // F5, and the engine started: a pass under way.
    void StartAPass() {
        const int started = run_->Count("engine-start");
        ASSERT_TRUE(run_->Key("F5"));
        ASSERT_TRUE(run_->WaitForCount("engine-start", started + 1, 10000));
    }
    std::string Stderr() { return run_->Program().Stderr().toStdString(); }

    XvfbServer xvfb_;
    std::unique_ptr<LessonOneRun> run_;
};

TEST_F(JournalRealRun, APassAndAQuizOfLessonOneLeaveTheirRows) {
    PlanWithPasses(2);
    ASSERT_TRUE(run_->Start()) << run_->Failure().toStdString();
    QElapsedTimer pass;
    pass.start();
    ASSERT_TRUE(run_->PlayOnePass()) << Stderr();
    const int passSeconds = static_cast<int>(pass.elapsed() / 1000);

    // The third pass opens the quiz; OK with nothing ticked fails it (the
    // question "look again?" is answered no) and Esc leaves it.
    run_->Click(kKontrolle);
    QThread::msleep(800);
    const int boxes = run_->Program().Stderr().count("ZUPFARI-BOX");
    ASSERT_TRUE(run_->Key("Return"));
    ASSERT_TRUE(WaitFor([&] { return run_->Program().Stderr().count("ZUPFARI-BOX") > boxes; }, 5000))
        << Stderr();
    QThread::msleep(500);
    ASSERT_TRUE(run_->Key("Escape"));
    QThread::msleep(300);
    run_->Program().EndWith(SIGTERM);

    const auto practice = Rows(Journal(), "SELECT lesson, level, seconds, passes_started,"
                                          " passes_completed FROM practice");
    ASSERT_EQ(practice.size(), 1u) << Stderr();
    EXPECT_EQ(practice[0][0].toInt(), 1);
    EXPECT_EQ(practice[0][1].toInt(), 10);
    EXPECT_GE(practice[0][2].toInt(), passSeconds - 3);
    EXPECT_LE(practice[0][2].toInt(), passSeconds + 1);
    EXPECT_EQ(practice[0].mid(3), (QVariantList{1, 1}));
    EXPECT_EQ(Rows(Journal(), "SELECT lesson, passed, answers FROM quiz_attempts"),
              (std::vector<QVariantList>{{1, 0, "0,0,0"}}));
    const auto sessions = Rows(Journal(), "SELECT started, ended FROM sessions");
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_FALSE(sessions[0][1].toString().isEmpty()); // ended on SIGTERM
    // The plan counted the pass as always.
    EXPECT_EQ(run_->Program().ListLines("ListeUeplan.ztl").mid(1, 3), (QStringList{"1", "10", "3"}));

    // The program's export: the header and the one practice record.
    QProcess exporter;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", run_->Program().DataFolder().chopped(QString("ZupfariDemo/").size()));
    exporter.setProcessEnvironment(env);
    const QString csv = run_->Program().DataFolder() + "export.csv";
    exporter.start(QString::fromStdString(testsupport::BinFolder()) + "ZupfariBasis",
                   {"--export-journal", csv});
    ASSERT_TRUE(exporter.waitForFinished(10000));
    EXPECT_EQ(exporter.exitCode(), 0);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("day,session_started,lesson,level,seconds"));
    EXPECT_TRUE(lines[1].contains(QString(",1,10,%1,").arg(practice[0][2].toInt()))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(",1,1")) << lines[1].toStdString();
}

TEST_F(JournalRealRun, KilledDuringAPassLosesOnlyThatPassesOpenRecord) {
    PlanWithPasses(0);
    ASSERT_TRUE(run_->Start()) << run_->Failure().toStdString();
    StartAPass();
    QElapsedTimer playing;
    playing.start();
    QThread::msleep(4200);
    const int seconds = static_cast<int>(playing.elapsed() / 1000);
    run_->Program().EndWith(SIGKILL);

    const auto practice = Rows(Journal(), "SELECT seconds, passes_started, passes_completed FROM practice");
    ASSERT_EQ(practice.size(), 1u);
    // The count-in before the engine started counts too; the second in
    // progress may be lost.
    EXPECT_GE(practice[0][0].toInt(), seconds - 1);
    EXPECT_EQ(practice[0].mid(1), (QVariantList{1, 0}));
    const auto sessions = Rows(Journal(), "SELECT ended, last_active FROM sessions");
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_TRUE(sessions[0][0].isNull());
    EXPECT_FALSE(sessions[0][1].toString().isEmpty());
}

// The course with a journal in the way: started, a pass begun at the top
// level, ended with SIGTERM before it was played through: the plan keeps its
// level and the passes played whole (the one begun never counted).
class JournalInTheWay : public JournalRealRun {
protected:
    void PlayAndEnd() {
        PlanWithPasses(1);
        run_->SetStartBoxes(2); // the start question, then the journal's notice
        ASSERT_TRUE(run_->Start()) << run_->Failure().toStdString();
        StartAPass();
        QThread::msleep(1500);
        run_->Program().EndWith(SIGTERM);
        EXPECT_EQ(run_->Program().ListLines("ListeUeplan.ztl").mid(0, 5),
                  (QStringList{"3", "1", "10", "1", "-1"}));
        EXPECT_EQ(run_->Program().ListLines("ListeWarten.ztl").size(), 92);
    }
};

TEST_F(JournalInTheWay, ADamagedJournalIsKeptAsideAndTheCourseGoesOn) {
    QDir().mkpath(run_->Program().DataFolder());
    QFile damaged(Journal());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("SQLite format 3") + QByteArray(2000, '\x07'));
    damaged.close();
    PlayAndEnd();
    EXPECT_TRUE(run_->Program().Stderr().contains(QString::fromUtf8("ZUPFARI-BOX Übungstagebuch")))
        << Stderr();
    EXPECT_TRUE(QFile::exists(Journal() + ".bak"));
    EXPECT_EQ(Rows(Journal(), "SELECT passes_started FROM practice"),
              (std::vector<QVariantList>{{1}}));
}

TEST_F(JournalInTheWay, AJournalThatCannotBeWrittenLeavesTheCourseWorking) {
    ASSERT_TRUE(QDir().mkpath(Journal())); // a folder in the journal's place
    PlayAndEnd();
    EXPECT_TRUE(run_->Program().Stderr().contains(QString::fromUtf8("ZUPFARI-BOX Übungstagebuch")))
        << Stderr();
}

TEST_F(JournalInTheWay, ALockedJournalGetsItsRecordsOnceItIsFree) {
    // Another process's lock for the whole run.
    QDir().mkpath(run_->Program().DataFolder());
    QProcess holder;
    holder.start("python3", {"-c",
                             "import sqlite3,sys,time\n"
                             "c=sqlite3.connect(sys.argv[1],isolation_level=None)\n"
                             "c.execute('PRAGMA journal_mode=WAL')\n"
                             "c.execute('BEGIN EXCLUSIVE')\n"
                             "print('locked',flush=True)\n"
                             "sys.stdin.readline()\n",
                             Journal()});
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    PlanWithPasses(1);
    run_->SetStartBoxes(2);
    ASSERT_TRUE(run_->Start()) << run_->Failure().toStdString();
    StartAPass();
    QThread::msleep(1500);
    EXPECT_TRUE(run_->Program().Stderr().contains(QString::fromUtf8("ZUPFARI-BOX Übungstagebuch")))
        << Stderr();
    holder.write("\n");
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));
    // The journal tries again every few seconds.
    ASSERT_TRUE(WaitFor([&] { return !Rows(Journal(), "SELECT 1 FROM practice").empty(); }, 8000));
    run_->Program().EndWith(SIGTERM);
    EXPECT_EQ(run_->Program().ListLines("ListeUeplan.ztl").mid(1, 3), (QStringList{"1", "10", "1"})); // the pass was never played through
    EXPECT_EQ(Rows(Journal(), "SELECT passes_started, passes_completed FROM practice"),
              (std::vector<QVariantList>{{1, 0}}));
}

} // namespace
