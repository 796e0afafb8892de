#include "listening/playalonglistener.h"

namespace listening {

PlayAlongListener::PlayAlongListener() = default;

PlayAlongListener::~PlayAlongListener() {
    microphone_.Stop();
}

void PlayAlongListener::BeginWithoutMicrophone(const ExercisePart& part, int level,
                                               std::optional<std::int64_t> calibratedDelay) {
    std::lock_guard lock(mutex_);
    active_ = true;
    part_ = part;
    level_ = level;
    calibrated_ = calibratedDelay;
    delay_ = calibratedDelay.value_or(kDefaultMicrophoneDelayMicros);
    startKnown_ = false;
    check_.reset();
}

void PlayAlongListener::Begin(const std::string& inputId, const ExercisePart& part, int level,
                              std::optional<std::int64_t> calibratedDelay) {
    microphone_.Stop();
    BeginWithoutMicrophone(part, level, calibratedDelay);
    microphone_.Start(inputId, [this](const float* frames, std::size_t count, std::int64_t first, int rate) {
        Hear(frames, count, first, rate);
    });
}

void PlayAlongListener::SetFileStart(std::int64_t micros) {
    std::lock_guard lock(mutex_);
    if (!active_ || startKnown_) return;
    startKnown_ = true;
    fileStart_ = micros;
}

void PlayAlongListener::Hear(const float* frames, std::size_t count, std::int64_t firstFrameMicros, int rate) {
    std::lock_guard lock(mutex_);
    if (!active_ || !startKnown_) return;
    if (!check_) {
        if (!calibrated_) delay_ = DefaultMicrophoneDelay(microphone_.ReportedLatencyMicros());
        check_ = std::make_unique<PlayAlongCheck>(part_, level_, rate, firstFrameMicros - delay_ - fileStart_);
    }
    check_->Feed(frames, count);
}

std::vector<NoteResult> PlayAlongListener::Results() const {
    std::lock_guard lock(mutex_);
    return check_ ? check_->Results() : std::vector<NoteResult>{};
}

std::vector<NoteResult> PlayAlongListener::End(bool decideRest) {
    microphone_.Stop();
    std::lock_guard lock(mutex_);
    active_ = false;
    std::vector<NoteResult> results;
    if (check_) {
        if (decideRest) check_->Finish();
        results = check_->Results();
    } else if (decideRest) {
        // Nothing was heard at all: every note is missed.
        for (std::size_t i = 0; i < part_.strikes.size(); ++i) {
            NoteResult missed;
            missed.strike = i;
            results.push_back(missed);
        }
    }
    check_.reset();
    return results;
}

std::int64_t PlayAlongListener::DelayInUse() const {
    std::lock_guard lock(mutex_);
    return delay_;
}

bool PlayAlongListener::Listening() const {
    std::lock_guard lock(mutex_);
    return active_;
}

} // namespace listening
