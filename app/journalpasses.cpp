#include "app/journalpasses.h"

namespace app {

void JournalPasses::PassStarted(const playback::PassInfo& pass) {
    if (!journal_) return;
    if (pass.Resumed)
        journal_->PracticeResumed();
    else
        journal_->PassStarted(pass.Lesson, pass.Level);
}

void JournalPasses::PassPlayedThrough(const playback::PassInfo&) {
    playedThrough_ = true;
    if (journal_) journal_->PassEnded(true);
}

void JournalPasses::PassPaused(const playback::PassInfo&, int) {
    if (journal_) journal_->PracticePaused();
}

void JournalPasses::PassStopped(const playback::PassInfo&, int) {
    if (journal_) journal_->PassEnded(false);
}

bool JournalPasses::TakePlayedThrough() {
    const bool played = playedThrough_;
    playedThrough_ = false;
    return played;
}

} // namespace app
