#include "journal/journal.h"

#include "journal/csvexport.h"
#include "journal/journalreader.h"
#include "journal/tempoladder.h"
#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"

#include <QDate>
#include <QStringList>
#include <future>

namespace journal {

namespace {

constexpr int kTickMs = 1000;
constexpr const char* kDayFormat = "yyyy-MM-dd";

// Sprachbank's numbers of the journal's messages.
constexpr int kNoticeTitle = 400;
constexpr int kCannotOpen = 401;
constexpr int kKeptAside = 402;
constexpr int kBusy = 403;
constexpr int kFull = 404;
constexpr int kNewer = 405;

QString Message(int number) {
    return platform::FromAnsi(DLL_GetMessage(number));
}

const char* kPracticeUpsert =
    "INSERT INTO practice (session_id, day, lesson, level, seconds, passes_started,"
    " passes_completed) VALUES (?, ?, ?, ?, ?, ?, ?)"
    " ON CONFLICT (session_id, day, lesson, level) DO UPDATE SET"
    " seconds = seconds + excluded.seconds,"
    " passes_started = passes_started + excluded.passes_started,"
    " passes_completed = passes_completed + excluded.passes_completed";

} // namespace

QString JournalTime(const QDateTime& time) {
    return time.toString("yyyy-MM-dd HH:mm:ss");
}

Journal::Journal(const QString& path, bool writable) : path_(path) {
    if (writable) {
        writer_ = std::make_unique<JournalWriter>(path);
        // The results the tempo ladder starts from, read while the course starts.
        auto scores = std::make_shared<std::promise<Scores>>();
        storedScoresFuture_ = scores->get_future().share();
        writer_->Run([scores](JournalDb* db) {
            scores->set_value(db != nullptr ? ReadRecentScores(db->Database(), kLadderPasses)
                                            : Scores{});
        });
    }
    tick_.setInterval(kTickMs);
    connect(&tick_, &QTimer::timeout, this, [this] { PracticeTick(); });
}

Journal::~Journal() {
    if (sessionOpen_) EndSession();
    writer_.reset();
}

void Journal::Post(Record record) {
    if (!writer_) return;
    if (!sessionOpen_ && sessionId_ == 0) StartSession();
    record.insert(record.begin(), TouchSession());
    writer_->Post(std::move(record));
}

// The session's row, made when missing (also in a journal begun anew after
// damage) and marked as active now.
Statement Journal::TouchSession() const {
    return {"INSERT INTO sessions (id, started, last_active) VALUES (?, ?, ?)"
            " ON CONFLICT (id) DO UPDATE SET last_active = excluded.last_active",
            {sessionId_, sessionStarted_, JournalTime(QDateTime::currentDateTime())}};
}

// ---- sessions ------------------------------------------------------------------------

void Journal::StartSession() {
    if (sessionOpen_) return;
    const QDateTime now = QDateTime::currentDateTime();
    sessionId_ = std::max(now.toMSecsSinceEpoch(), sessionId_ + 1);
    sessionStarted_ = JournalTime(now);
    sessionOpen_ = true;
    Post({});
}

void Journal::EndSession(int waitMs) {
    if (!sessionOpen_) return;
    if (passOpen_) PassEnded(false);
    Post({{"UPDATE sessions SET ended = ? WHERE id = ?",
           {JournalTime(QDateTime::currentDateTime()), sessionId_}}});
    sessionOpen_ = false;
    Flush(waitMs);
}

// ---- practice ------------------------------------------------------------------------

void Journal::PassStarted(int lesson, int level) {
    if (passOpen_) PassEnded(false);
    passOpen_ = true;
    lesson_ = lesson;
    level_ = level;
    WriteSeconds(0, 1, 0);
    StartClock();
}

void Journal::PracticePaused() {
    StopClock();
}

void Journal::PracticeResumed() {
    if (passOpen_) StartClock();
}

void Journal::PassEnded(bool completed) {
    if (!passOpen_) return;
    StopClock();
    passOpen_ = false;
    if (completed) WriteSeconds(0, 0, 1);
}

void Journal::StartClock() {
    if (tick_.isActive()) return;
    running_.start();
    countedMs_ = 0;
    tick_.start();
}

// Writes the time not yet written, to the nearest second.
void Journal::StopClock() {
    if (!tick_.isActive()) return;
    tick_.stop();
    const qint64 rest = running_.elapsed() - countedMs_;
    const int seconds = static_cast<int>((rest + 500) / 1000);
    if (seconds > 0) WriteSeconds(seconds, 0, 0);
}

void Journal::PracticeTick() {
    const int seconds = static_cast<int>((running_.elapsed() - countedMs_) / 1000);
    if (seconds <= 0) return;
    countedMs_ += seconds * 1000LL;
    WriteSeconds(seconds, 0, 0);
}

void Journal::WriteSeconds(int seconds, int started, int completed) {
    if (lesson_ < 0) return;
    Post({{kPracticeUpsert,
           {sessionId_, QDate::currentDate().toString(kDayFormat), lesson_, level_, seconds,
            started, completed}}});
}

// ---- quiz and play-along -----------------------------------------------------------

void Journal::QuizEvaluated(int lesson, bool passed, const std::vector<int>& answers) {
    QStringList ticked;
    for (int answer : answers) ticked << QString::number(answer);
    Post({{"INSERT INTO quiz_attempts (session_id, at, lesson, passed, answers)"
           " VALUES (?, ?, ?, ?, ?)",
           {sessionId_, JournalTime(QDateTime::currentDateTime()), lesson, passed ? 1 : 0,
            ticked.join(',')}}});
}

void Journal::PlayAlongChecked(int lesson, int level, int notesOnTime, int notes) {
    Post({{"INSERT INTO play_along (session_id, at, lesson, level, notes_on_time, notes)"
           " VALUES (?, ?, ?, ?, ?, ?)",
           {sessionId_, JournalTime(QDateTime::currentDateTime()), lesson, level, notesOnTime,
            notes}}});
    recentScores_[{lesson, level}].push_back({lesson, level, notesOnTime, notes});
}

void Journal::SetLadderOn(bool on) {
    if (on == ladderOn_) return;
    ladderOn_ = on;
    if (OnLadderChanged) OnLadderChanged(on);
}

bool Journal::TakeNextLevelOffer(int lesson, int level) {
    if (!ladderOn_) return false;
    if (!scoresLoaded_ && storedScoresFuture_.valid() &&
        storedScoresFuture_.wait_for(std::chrono::milliseconds(200)) == std::future_status::ready) {
        storedScores_ = storedScoresFuture_.get();
        scoresLoaded_ = true;
    }
    const std::pair key{lesson, level};
    std::vector<PlayAlongScore> results = storedScores_[key];
    const auto& recent = recentScores_[key];
    results.insert(results.end(), recent.begin(), recent.end());
    if (!NextLevelDue(results, level)) return false;
    storedScores_.erase(key);
    recentScores_.erase(key);
    return true;
}

// ---- reading ---------------------------------------------------------------------------

namespace {

// Runs `read` on the writer's thread (after every record so far) and waits
// for its answer; `fallback` when the journal cannot be read in time.
template <class Result, class Read>
Result AskWriter(JournalWriter* writer, const QString& path, int waitMs, Read read,
                 Result fallback) {
    if (writer == nullptr) {
        // Nothing is written (a CD-ROM): read what is there, if anything.
        JournalDb db(path, true);
        return db.Open() == Outcome::Done ? read(db.Database()) : fallback;
    }
    auto answer = std::make_shared<std::promise<Result>>();
    std::future<Result> future = answer->get_future();
    writer->Run([answer, read, fallback](JournalDb* db) {
        answer->set_value(db != nullptr ? read(db->Database()) : fallback);
    });
    if (future.wait_for(std::chrono::milliseconds(waitMs)) != std::future_status::ready)
        return fallback;
    return future.get();
}

} // namespace

JournalSummary Journal::Summary(int waitMs) {
    const QDate today = QDate::currentDate();
    JournalSummary empty;
    empty.Today = today;
    empty.MinutesPerDay.assign(kDaysShown, 0.0);
    return AskWriter<JournalSummary>(
        writer_.get(), path_, waitMs, [today](QSqlDatabase& db) { return ReadSummary(db, today); },
        empty);
}

std::vector<PracticeRecord> Journal::PracticeRecords(int waitMs) {
    return AskWriter<std::vector<PracticeRecord>>(
        writer_.get(), path_, waitMs, [](QSqlDatabase& db) { return ReadPracticeRecords(db); },
        {});
}

bool Journal::ExportCsv(const QString& csvPath, QString* error) {
    return WritePracticeCsv(PracticeRecords(), csvPath, error);
}

// ---- state ----------------------------------------------------------------------------------

bool Journal::Writing() const {
    return writer_ && writer_->State() == Outcome::Done;
}

bool Journal::Flush(int ms) {
    return !writer_ || writer_->Sync(ms);
}

std::optional<Notice> Journal::TakeNotice() {
    if (!writer_) return std::nullopt;
    const std::optional<Trouble> trouble = writer_->TakeTrouble();
    if (!trouble) return std::nullopt;
    const QString title = Message(kNoticeTitle);
    switch (trouble->Kind) {
    case Outcome::Damaged:
        return Notice{title, Message(kKeptAside).arg(trouble->Detail), trouble->Kind};
    case Outcome::Busy:
        return Notice{title, Message(kBusy), trouble->Kind};
    case Outcome::Full:
        return Notice{title, Message(kFull), trouble->Kind};
    case Outcome::NewerSchema:
        return Notice{title, Message(kNewer).arg(trouble->Detail), trouble->Kind};
    default:
        return Notice{title, Message(kCannotOpen).arg(trouble->Detail), trouble->Kind};
    }
}

} // namespace journal
