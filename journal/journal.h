#pragma once
// Journal: the practice journal as the program sees it. The program tells it
// what happens (the program starts and ends, a pass starts, pauses, goes on
// and ends, a quiz is evaluated, a pass is checked along the learner's
// playing) and it writes each as a record in the file journal.sqlite of the
// learner's data folder, on a thread of its own: a call costs the
// user-interface thread only the handing over.
//
// Practice time counts while an exercise plays (count-in included), for the
// lesson and level the pass started with, and is written every second, so
// that a killed program loses at most the second in progress; a pass counts
// as started when it starts and as completed when it has been played to its
// end.
//
// Never in the way: a journal that cannot be opened or written, or is
// damaged, changes nothing for the course; TakeNotice tells the program once
// what happened, and a damaged file is kept aside under a new name while a
// new one begins.
//
// Everything here runs on the user-interface thread.

#include "journal/journalwriter.h"
#include "journal/records.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace journal {

inline constexpr const char* kJournalFileName = "journal.sqlite";

// A message for the learner: a title and a body in the edition's language.
struct Notice {
    QString Title;
    QString Body;
    // What is in the way: Damaged, Busy, Full, Unwritable or NewerSchema.
    Outcome Kind = Outcome::Unwritable;
};

class Journal : public QObject {
public:
    // The journal at `path` (file-system spelling); opened on the writer's
    // thread. With `writable` false (a program on a CD-ROM) nothing is
    // written and no file is made.
    explicit Journal(const QString& path, bool writable = true);
    // Ends a session still open and writes what is left (briefly waiting).
    ~Journal() override;

    const QString& Path() const { return path_; }

    // ---- what the program tells ---------------------------------------------
    void StartSession();
    // Closes practice in progress and the session; waits up to `waitMs` for
    // the records to reach the file.
    void EndSession(int waitMs = 1000);
    // A pass of `lesson`'s exercise at `level` starts: practice time runs.
    void PassStarted(int lesson, int level);
    // The exercise is paused, and goes on again.
    void PracticePaused();
    void PracticeResumed();
    // The pass ended: played to its end (`completed`) or stopped before it.
    void PassEnded(bool completed);
    // A quiz was evaluated; `answers` is the ticked box of each question (0
    // for none).
    void QuizEvaluated(int lesson, bool passed, const std::vector<int>& answers);
    // A pass played to its end was checked along the learner's playing.
    void PlayAlongChecked(int lesson, int level, int notesOnTime, int notes);

    // ---- the tempo ladder -----------------------------------------------------
    bool LadderOn() const { return ladderOn_; }
    // Switches the ladder; OnLadderChanged hears of a change (the program
    // keeps the switch in its settings).
    void SetLadderOn(bool on);
    std::function<void(bool on)> OnLadderChanged;
    // With the ladder on: the next level is due for `lesson` at `level`
    // (see tempoladder.h). Asking counts as the offer: the results so far do
    // not count again.
    bool TakeNextLevelOffer(int lesson, int level);

    // ---- reading ------------------------------------------------------------------
    // The progress window's summary; empty when the journal cannot be read or
    // does not answer within `waitMs`.
    JournalSummary Summary(int waitMs = 1000);
    std::vector<PracticeRecord> PracticeRecords(int waitMs = 5000);
    // Writes the practice records as CSV (see csvexport.h).
    bool ExportCsv(const QString& csvPath, QString* error);

    // ---- state ----------------------------------------------------------------------
    // True while the journal's file takes records.
    bool Writing() const;
    // A trouble with the journal not yet told, in the edition's language
    // (each kind once).
    std::optional<Notice> TakeNotice();
    // Tries records that wait once more, and waits up to `ms` until that and
    // every record so far was handled (written, or waiting still).
    bool Flush(int ms);
    // The session's id (its start in ms since the epoch), 0 before StartSession.
    qint64 SessionId() const { return sessionId_; }

private:
    void PracticeTick();
    void StartClock();
    void StopClock();
    void WriteSeconds(int seconds, int started, int completed);
    Statement TouchSession() const;
    void Post(Record record);

    QString path_;
    std::unique_ptr<JournalWriter> writer_;
    qint64 sessionId_ = 0;
    QString sessionStarted_;
    bool sessionOpen_ = false;

    // The pass in progress.
    bool passOpen_ = false;
    int lesson_ = -1, level_ = 0;
    QTimer tick_;
    QElapsedTimer running_;
    qint64 countedMs_ = 0; // of running_'s time, already written

    bool ladderOn_ = false;
    // Play-along results per lesson and level since the last offer.
    using Scores = std::map<std::pair<int, int>, std::vector<PlayAlongScore>>;
    Scores recentScores_;
    // The latest results in the file when the program started (read on the
    // writer's thread).
    Scores storedScores_;
    std::shared_future<Scores> storedScoresFuture_;
    bool scoresLoaded_ = false;
};

// Local wall-clock time as the journal writes it.
QString JournalTime(const QDateTime& time);

} // namespace journal
