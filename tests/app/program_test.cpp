// The real program, started as a learner starts it: one copy at a time, and
// the end it takes when list files are missing.

#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

using testsupport::BinFolder;
using testsupport::TempFolder;

class ProgramTest : public ::testing::Test {
protected:
    // A process of the program with its own data and runtime folders, its
    // boxes answered after `answerMs` with cancel.
    void Prepare(QProcess& process, const QString& program, int answerMs) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", data_.QPath());
        env.insert("XDG_RUNTIME_DIR", runtime_.QPath());
        env.insert("SPRACHBANK_LANGUAGE", "0");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZUPFARI_AUTOANSWER", QString("%1:2").arg(answerMs));
        process.setProcessEnvironment(env);
        process.setProgram(program);
    }
    QString Program() const { return QString::fromStdString(BinFolder()) + "ZupfariBasis"; }
    QString SessionLog() const {
        QFile file(data_.QPath() + "ZupfariDemo/session.log");
        return file.open(QIODevice::ReadOnly) ? QString(file.readAll()) : "<missing>";
    }

    TempFolder data_;
    TempFolder runtime_;
};

TEST_F(ProgramTest, SecondCopyIsRefusedAndTheFirstRunsOn) {
    QProcess first;
    Prepare(first, Program(), 600000);
    first.start();
    ASSERT_TRUE(first.waitForStarted());
    // The first copy is up once it has counted its start.
    for (int i = 0; i < 100 && SessionLog() != "1\r\n"; ++i)
        first.waitForFinished(100);
    ASSERT_EQ(SessionLog(), "1\r\n");

    QProcess second;
    Prepare(second, Program(), 0);
    second.start();
    ASSERT_TRUE(second.waitForFinished(20000));
    const QString report = QString::fromUtf8(second.readAllStandardError());
    testsupport::ScopedEnv german("SPRACHBANK_LANGUAGE", "0");
    EXPECT_TRUE(
        report.contains("ZUPFARI-BOX Zupfari Basis | " + platform::FromAnsi(DLL_GetErrStr(15))))
        << report.toStdString();
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(SessionLog(), "1\r\n"); // untouched by the second copy
    first.kill();
    first.waitForFinished(5000);
}

// Mirrors the program folder with links, the program file itself copied (its
// folder is where its content is looked for), one list file left out.
QString ProgramFolderWithoutWaitingList(const TempFolder& folder) {
    const QString bin = QString::fromStdString(BinFolder());
    for (const QFileInfo& entry :
         QDir(bin).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = folder.QPath() + entry.fileName();
        if (entry.fileName() == "ZupfariBasis")
            QFile::copy(entry.absoluteFilePath(), target);
        else if (entry.fileName() != "Listen")
            QFile::link(entry.absoluteFilePath(), target);
    }
    QDir().mkpath(folder.QPath() + "Listen");
    for (const QFileInfo& entry : QDir(bin + "Listen").entryInfoList(QDir::Files))
        if (entry.fileName() != "ListeWarten.ztl")
            QFile::link(entry.absoluteFilePath(), folder.QPath() + "Listen/" + entry.fileName());
    return folder.QPath() + "ZupfariBasis";
}

TEST_F(ProgramTest, MissingListFileEndsTheProgramAfterAchtung) {
    TempFolder folder;
    QProcess program;
    Prepare(program, ProgramFolderWithoutWaitingList(folder), 0);
    program.start();
    ASSERT_TRUE(program.waitForFinished(30000)); // start screen, then the box, then the end
    const QString report = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(report.contains("ZUPFARI-BOX Achtung! | Einige wichtige Dateien wurden nicht "
                                "gefunden! Das Programm wird beendet"))
        << report.toStdString();
    EXPECT_FALSE(report.contains(platform::FromAnsi(DLL_GetMessage(4))));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
}

} // namespace
