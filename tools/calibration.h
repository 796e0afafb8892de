#pragma once
// MicrophoneCalibration: the step behind "Einmessen" beside "Mitspielen
// prüfen". It plays eight clicks through the synthesizer, just as an
// exercise is heard, while the microphone records, and finds the clicks in
// the recording: how much later than their heard moment they turn up is the
// microphone's delay, stored for that input and taken off every frame of
// the passes checked with it. When fewer than six clicks are heard (the
// speakers too quiet for the microphone, or headphones on), it plays the
// clicks once more and the learner plays an open string on each.
//
// It lives beside the check rather than in the tuner because what it
// measures is the check's own path: the engine's time line and output
// latency, the speakers, the microphone, the frame clock.

#include "listening/clickcalibration.h"
#include "listening/microphone.h"
#include "playback/exerciseengine.h"

#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace tools {

class MicrophoneCalibration {
public:
    enum class Phase { Idle, Opening, Clicking };

    explicit MicrophoneCalibration(playback::ExerciseEngine& engine);
    ~MicrophoneCalibration();

    // Starts with the clicks through the speakers, on input `inputId`.
    void Begin(const std::string& inputId);
    // Called every few tens of milliseconds while not Idle: starts the
    // clicks once the microphone delivers, and judges the recording once
    // they have sounded.
    void Tick();
    // Gives up; the clicks are stopped unless the engine has been taken
    // over already (`stopClicks` false: the transport started a pass).
    void Cancel(bool stopClicks = true);
    Phase CurrentPhase() const { return phase_; }
    listening::ClickSource Source() const { return source_; }

    // A block of the microphone (from its thread; tests call it directly).
    void Hear(const float* frames, std::size_t count, std::int64_t firstFrameMicros, int rate);
    // Records without a microphone: the caller feeds Hear (tests).
    bool WithoutMicrophone = false;

    // What the learner is told, as it happens.
    std::function<void(const QString&)> Tell;
    // A delay measured for an input.
    std::function<void(const std::string&, std::int64_t)> Store;
    // The delay used so far for an input (told when nothing is measured).
    std::function<std::int64_t(const std::string&)> CurrentDelay;

private:
    void Open();
    bool StartClicks();
    void Judge();
    void Finish();

    playback::ExerciseEngine& engine_;
    listening::Microphone microphone_;
    QTemporaryDir folder_;
    std::atomic<Phase> phase_{Phase::Idle};
    listening::ClickSource source_ = listening::ClickSource::Speakers;
    std::string input_;
    std::int64_t fileStart_ = 0; // when the click file's time 0 is heard (toolkit clock)

    mutable std::mutex mutex_; // guards the recording
    std::vector<float> recording_;
    std::int64_t firstFrame_ = -1;
    int rate_ = 0;
};

} // namespace tools
