#pragma once

// The transport's passes as the practice journal records them: a pass
// started with its lesson and level, taken up again after Pause, paused,
// played through or stopped. The journal may be closed (or not yet open);
// then nothing is recorded.

#include "journal/journal.h"
#include "playback/transport.h"

#include <memory>

namespace app {

class JournalPasses : public playback::TransportObserver {
public:
    explicit JournalPasses(const std::unique_ptr<journal::Journal>& journal) : journal_(journal) {}

    void PassStarted(const playback::PassInfo& pass) override;
    void PassPlayedThrough(const playback::PassInfo& pass) override;
    void PassPaused(const playback::PassInfo& pass, int exerciseBeat) override;
    void PassStopped(const playback::PassInfo& pass, int exerciseBeat) override;

    // True once after a pass was played through (the caller looks whether
    // the run ended with it).
    bool TakePlayedThrough();

private:
    const std::unique_ptr<journal::Journal>& journal_;
    bool playedThrough_ = false;
};

} // namespace app
