#include "tools/calibration.h"

#include "platform/core/cp1252.h"
#include "sprachbank/sprachbank.h"

#include <cmath>
#include <fstream>

namespace tools {

using listening::ClickSource;

namespace {

constexpr int kCaptionClicking = 707;     // "Einmessen: acht Klicks ..."
constexpr int kCaptionPlayAlong = 708;    // "... spiel bei jedem Klick eine leere Saite an"
constexpr int kCaptionCalibrated = 709;   // "Mikrofon eingemessen: %1 ms"
constexpr int kCaptionTooFew = 710;       // "Nur %1 von 8 ... es bleibt bei %2 ms"
constexpr int kCaptionNoMicrophone = 712; // "Das Mikrofon lässt sich nicht öffnen"

// A recording that began this long before the clicks keeps some quiet to
// measure the room's noise against.
constexpr std::int64_t kRecordAfterMicros = 300000;

QString Caption(int number) {
    return platform::FromAnsi(DLL_GetCaption(number));
}

int Milliseconds(std::int64_t micros) {
    return int(std::lround(double(micros) / 1000.0));
}

} // namespace

MicrophoneCalibration::MicrophoneCalibration(playback::ExerciseEngine& engine) : engine_(engine) {}

MicrophoneCalibration::~MicrophoneCalibration() {
    microphone_.Stop();
}

void MicrophoneCalibration::Begin(const std::string& inputId) {
    Cancel();
    input_ = inputId;
    source_ = ClickSource::Speakers;
    Tell(Caption(kCaptionClicking));
    Open();
}

void MicrophoneCalibration::Open() {
    {
        std::lock_guard lock(mutex_);
        recording_.clear();
        firstFrame_ = -1;
        rate_ = 0;
    }
    phase_ = Phase::Opening;
    if (WithoutMicrophone) return;
    microphone_.Start(input_, [this](const float* frames, std::size_t count, std::int64_t first, int rate) {
        Hear(frames, count, first, rate);
    });
}

void MicrophoneCalibration::Hear(const float* frames, std::size_t count, std::int64_t firstFrameMicros, int rate) {
    std::lock_guard lock(mutex_);
    if (phase_ == Phase::Idle) return;
    if (firstFrame_ < 0) {
        firstFrame_ = firstFrameMicros;
        rate_ = rate;
    }
    recording_.insert(recording_.end(), frames, frames + count);
}

void MicrophoneCalibration::Tick() {
    if (phase_ == Phase::Opening) {
        const listening::Microphone::State state = microphone_.CurrentState();
        if (!WithoutMicrophone &&
            (state == listening::Microphone::State::Failed || state == listening::Microphone::State::Lost)) {
            Tell(Caption(kCaptionNoMicrophone));
            Finish();
            return;
        }
        bool delivering = false;
        {
            std::lock_guard lock(mutex_);
            delivering = firstFrame_ >= 0;
        }
        if (delivering && !StartClicks()) Finish();
    } else if (phase_ == Phase::Clicking &&
               engine_.Clock() >= fileStart_ + listening::CalibrationLengthMicros() + kRecordAfterMicros) {
        Judge();
    }
}

// The click file goes to the engine as an exercise would (the transport
// loads its exercise again at its next Play).
bool MicrophoneCalibration::StartClicks() {
    const std::string path = folder_.filePath("clicks.mid").toStdString();
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << listening::CalibrationClickFile();
        if (!file) return false;
    }
    if (engine_.IsRunning()) engine_.Stop();
    if (engine_.LoadFile(path) != 1 || engine_.Start(0) != 1) return false;
    const long long due = engine_.BeatTime(0);
    fileStart_ = (due >= 0 ? due : engine_.Clock()) + engine_.OutputLatency();
    phase_ = Phase::Clicking;
    return true;
}

void MicrophoneCalibration::Judge() {
    engine_.Stop();
    microphone_.Stop();
    listening::CalibrationResult result;
    {
        std::lock_guard lock(mutex_);
        result = listening::FindClicks(recording_, rate_, firstFrame_ - fileStart_, source_);
    }
    if (result.Usable()) {
        Store(input_, result.delayMicros);
        Tell(Caption(kCaptionCalibrated).arg(Milliseconds(result.delayMicros)));
        Finish();
    } else if (source_ == ClickSource::Speakers) {
        // The speakers did not reach the microphone: the learner's strings will.
        source_ = ClickSource::Played;
        Tell(Caption(kCaptionPlayAlong));
        Open();
    } else {
        Tell(Caption(kCaptionTooFew).arg(result.found).arg(Milliseconds(CurrentDelay(input_))));
        Finish();
    }
}

void MicrophoneCalibration::Cancel(bool stopClicks) {
    if (stopClicks && phase_ == Phase::Clicking) engine_.Stop();
    Finish();
}

void MicrophoneCalibration::Finish() {
    microphone_.Stop();
    std::lock_guard lock(mutex_);
    phase_ = Phase::Idle;
    recording_.clear();
}

} // namespace tools
