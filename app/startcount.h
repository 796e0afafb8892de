#pragma once
// StartCounter: counts the program's starts in the first line of the start
// log ("session.log" in the learner's data folder). The log is read and
// written through the path it is given, so tests hand it a file of their
// own; a log that is a folder, unreadable or damaged counts as a first start
// and never ends the program.

#include <QStringList>
#include <string>

namespace app {

class StartCounter {
public:
    // `logPath` in the file system's spelling; `writable` is false when the
    // program runs from a CD-ROM (the count is then only worked out).
    StartCounter(std::string logPath, bool writable);

    // Reads the log, adds this start and saves the log (an error while saving
    // is of no consequence). Returns the number of starts, at least 1; a count
    // that has reached the largest integer stays there.
    int CountStart();

    // The log's lines after CountStart (line 0 holds the count).
    const QStringList& Lines() const { return lines_; }

    // The count after `previous` (the text of line 0): previous + 1, 1 when
    // the text is no number or below 1, the largest integer at most.
    static int NextCount(const QString& previous);

private:
    void ReadLog();
    void SaveLog() const;

    std::string logPath_;
    bool writable_;
    QStringList lines_;
};

} // namespace app
