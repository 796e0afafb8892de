#pragma once
// JournalWriter: the journal file's own thread. The program hands it records
// as things happen and goes on at once; the thread writes each record in a
// transaction of its own. When the file is busy (locked by another process),
// the disk is full or the file cannot be written, records wait in memory and
// are tried again every few seconds; a damaged file is put aside and a new
// one begun. Reads for the progress window and the export run on the same
// thread, after everything posted before them.

#include "journal/journaldb.h"

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

namespace journal {

// A trouble of the journal file, reported once per kind.
struct Trouble {
    Outcome Kind = Outcome::Done;
    QString Detail; // the file, or the name a damaged file was kept under
};

class JournalWriter {
public:
    // A job on the writer's thread; `db` is null while the file is not open.
    using Job = std::function<void(JournalDb* db)>;

    static constexpr int kRetryMs = 3000;
    // Records kept while the file cannot be written; past this the oldest go.
    static constexpr std::size_t kMaxWaiting = 20000;

    // Starts the thread, which opens (or makes) the file at `path`.
    explicit JournalWriter(QString path);
    // Writes what is still to be written (one more try for records that
    // wait) and ends the thread.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Queues a record; returns at once.
    void Post(Record record);
    // Queues a job after every record posted so far.
    void Run(Job job);
    // Waits up to `ms` until everything posted so far was handled (written,
    // or kept waiting); false on time-out.
    bool WaitIdle(int ms);
    // Tries waiting records now instead of at the next retry.
    void RetryNow();
    // Tries waiting records now and waits up to `ms` until that and
    // everything posted so far was handled.
    bool Sync(int ms);

    // Done while the file is open and written; else what is in the way.
    Outcome State() const;
    // Records waiting to be written.
    std::size_t Waiting() const;
    // The next trouble not yet reported, once per kind.
    std::optional<Trouble> TakeTrouble();

private:
    struct Item {
        Record record;
        Job job;
    };

    // On the writer's thread.
    void Loop();
    void OpenFile();
    void Add(Record record);
    void Retry();
    void WriteWaiting();
    Outcome WriteOne(const Record& record);
    Outcome ReplaceDamagedFile();
    void Report(Outcome kind, const QString& detail);
    void SetState(Outcome state);

    const QString path_;
    mutable std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<Item> queue_;
    bool stop_ = false;
    bool retryNow_ = false;
    unsigned long long posted_ = 0, handled_ = 0;
    Outcome state_ = Outcome::Unwritable;
    std::size_t waitingCount_ = 0;
    std::deque<Trouble> troubles_;
    std::set<Outcome> reported_;

    // Only on the writer's thread.
    std::unique_ptr<JournalDb> file_;
    Outcome current_ = Outcome::Unwritable;
    std::deque<Record> waiting_;
    std::thread thread_;
};

} // namespace journal
