#pragma once
// PlayAlongListener: the play-along check fed by the microphone while a pass
// plays. The capture thread hands it every block with the time of its first
// frame on the toolkit's clock; once the transport tells when the exercise
// file's time 0 (the first count-in click) is heard, each frame has its
// place in the file: its capture time, less the microphone's delay (the
// calibration, or the default), less that moment. The user-interface thread
// asks for the notes decided so far and ends the pass.

#include "listening/clickcalibration.h"
#include "listening/exercisepart.h"
#include "listening/microphone.h"
#include "listening/playalongcheck.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace listening {

class PlayAlongListener {
public:
    PlayAlongListener();
    ~PlayAlongListener();
    PlayAlongListener(const PlayAlongListener&) = delete;
    PlayAlongListener& operator=(const PlayAlongListener&) = delete;

    // Starts a pass: the microphone `inputId` (as ChooseInput chose it) is
    // opened and heard once the file's start is known. `calibratedDelay`
    // as the calibration measured it for this input; without one, the
    // delay the input stream reports of itself once open.
    void Begin(const std::string& inputId, const ExercisePart& part, int level,
               std::optional<std::int64_t> calibratedDelay);
    // The same without a microphone: the caller feeds Hear (tests, tools).
    void BeginWithoutMicrophone(const ExercisePart& part, int level, std::optional<std::int64_t> calibratedDelay);
    // The exercise file's time 0 is heard at `micros` (toolkit clock).
    // Only the first call of a pass counts.
    void SetFileStart(std::int64_t micros);
    // A block of the microphone: `count` mono frames at `rate`, the first
    // taken at `firstFrameMicros` (toolkit clock). Frames before the file's
    // start is known are dropped.
    void Hear(const float* frames, std::size_t count, std::int64_t firstFrameMicros, int rate);

    // The notes decided so far, in the order of the exercise.
    std::vector<NoteResult> Results() const;
    // Ends the pass and stops the microphone. With `decideRest` the notes
    // not yet decided are decided from what was heard (a pass played to
    // its end); the results.
    std::vector<NoteResult> End(bool decideRest);
    bool Listening() const;
    // The microphone's delay the pass's frames are placed with (known from
    // the first block heard).
    std::int64_t DelayInUse() const;
    Microphone::State InputState() const { return microphone_.CurrentState(); }

private:
    Microphone microphone_;
    mutable std::mutex mutex_; // guards everything below
    bool active_ = false;
    ExercisePart part_;
    int level_ = 1;
    std::optional<std::int64_t> calibrated_;
    std::int64_t delay_ = kDefaultMicrophoneDelayMicros;
    bool startKnown_ = false;
    std::int64_t fileStart_ = 0;
    std::unique_ptr<PlayAlongCheck> check_;
};

} // namespace listening
