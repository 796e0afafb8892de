#pragma once
// zupfari-listen run as the learner's shell would run it: its exit code, its
// output lines and what it said on standard error.

#include "tests/support/testsupport.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace listentest {

struct ToolRun {
    int code = -1; // -1: it did not finish within a minute
    QStringList lines;
    QString err;
};

inline ToolRun Listen(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromStdString(testsupport::BinFolder() + "zupfari-listen"), arguments);
    ToolRun run;
    if (!process.waitForFinished(60000)) return run;
    run.code = process.exitCode();
    run.lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace listentest
