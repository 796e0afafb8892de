#include "journal/journalwriter.h"

#include <chrono>

namespace journal {

JournalWriter::JournalWriter(QString path) : path_(std::move(path)) {
    thread_ = std::thread([this] { Loop(); });
}

JournalWriter::~JournalWriter() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void JournalWriter::Post(Record record) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(Item{std::move(record), {}});
        ++posted_;
    }
    wake_.notify_one();
}

void JournalWriter::Run(Job job) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(Item{{}, std::move(job)});
        ++posted_;
    }
    wake_.notify_one();
}

bool JournalWriter::WaitIdle(int ms) {
    std::unique_lock lock(mutex_);
    const unsigned long long target = posted_;
    return idle_.wait_for(lock, std::chrono::milliseconds(ms),
                          [&] { return handled_ >= target; });
}

void JournalWriter::RetryNow() {
    {
        std::lock_guard lock(mutex_);
        retryNow_ = true;
    }
    wake_.notify_one();
}

bool JournalWriter::Sync(int ms) {
    RetryNow();
    Run([](JournalDb*) {});
    return WaitIdle(ms);
}

Outcome JournalWriter::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

std::size_t JournalWriter::Waiting() const {
    std::lock_guard lock(mutex_);
    return waitingCount_;
}

std::optional<Trouble> JournalWriter::TakeTrouble() {
    std::lock_guard lock(mutex_);
    if (troubles_.empty()) return std::nullopt;
    Trouble trouble = troubles_.front();
    troubles_.pop_front();
    return trouble;
}

void JournalWriter::Report(Outcome kind, const QString& detail) {
    std::lock_guard lock(mutex_);
    if (!reported_.insert(kind).second) return;
    troubles_.push_back(Trouble{kind, detail});
}

// ---- the writer's thread -------------------------------------------------------

void JournalWriter::SetState(Outcome state) {
    current_ = state;
    std::lock_guard lock(mutex_);
    state_ = state;
    waitingCount_ = waiting_.size();
}

void JournalWriter::OpenFile() {
    const Outcome outcome = file_->Open();
    if (outcome == Outcome::Damaged) {
        SetState(ReplaceDamagedFile());
        return;
    }
    if (outcome != Outcome::Done) Report(outcome, path_);
    SetState(outcome);
}

// The damaged file goes aside, a new one begins.
Outcome JournalWriter::ReplaceDamagedFile() {
    file_->Close();
    const QString keptAs = JournalDb::KeepAside(path_);
    Report(Outcome::Damaged, keptAs.isEmpty() ? path_ : keptAs);
    if (keptAs.isEmpty()) return Outcome::Unwritable;
    const Outcome outcome = file_->Open();
    if (outcome != Outcome::Done) Report(outcome, path_);
    return outcome;
}

Outcome JournalWriter::WriteOne(const Record& record) {
    Outcome outcome = file_->Write(record);
    if (outcome == Outcome::Damaged) {
        outcome = ReplaceDamagedFile();
        if (outcome == Outcome::Done) outcome = file_->Write(record);
    }
    return outcome;
}

// A new record waits behind the ones before it and is written at once
// while the file takes writes.
void JournalWriter::Add(Record record) {
    if (current_ == Outcome::NewerSchema) return; // such a file is never written
    waiting_.push_back(std::move(record));
    if (waiting_.size() > kMaxWaiting) waiting_.pop_front();
    if (current_ == Outcome::Done)
        WriteWaiting();
    else
        SetState(current_);
}

void JournalWriter::WriteWaiting() {
    while (!waiting_.empty()) {
        const Outcome outcome = WriteOne(waiting_.front());
        if (outcome != Outcome::Done) {
            Report(outcome, path_);
            SetState(outcome);
            return;
        }
        waiting_.pop_front();
    }
    SetState(Outcome::Done);
}

void JournalWriter::Retry() {
    if (current_ == Outcome::NewerSchema) return;
    if (!file_->IsOpen()) OpenFile();
    if (file_->IsOpen()) WriteWaiting();
}

void JournalWriter::Loop() {
    // The connection lives and dies on this thread.
    file_ = std::make_unique<JournalDb>(path_);
    OpenFile();
    using Clock = std::chrono::steady_clock;
    auto nextRetry = Clock::now() + std::chrono::milliseconds(kRetryMs);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait_until(lock, nextRetry,
                         [&] { return stop_ || retryNow_ || !queue_.empty(); });
        const bool behind =
            !waiting_.empty() || (current_ != Outcome::Done && current_ != Outcome::NewerSchema);
        const bool retry = retryNow_ || stop_ || (behind && Clock::now() >= nextRetry);
        if (retry || !behind) nextRetry = Clock::now() + std::chrono::milliseconds(kRetryMs);
        retryNow_ = false;
        std::deque<Item> items;
        items.swap(queue_);
        const bool stopping = stop_;
        lock.unlock();
        if (retry) Retry();
        for (Item& item : items) {
            if (item.job)
                item.job(file_->IsOpen() ? file_.get() : nullptr);
            else
                Add(std::move(item.record));
        }
        lock.lock();
        handled_ += items.size();
        idle_.notify_all();
        if (stopping && queue_.empty()) break;
    }
    lock.unlock();
    file_.reset();
}

} // namespace journal
