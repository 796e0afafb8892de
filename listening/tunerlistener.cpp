#include "listening/tunerlistener.h"

namespace listening {

MicrophoneTuner::MicrophoneTuner() = default;

MicrophoneTuner::~MicrophoneTuner() {
    microphone_.Stop();
}

std::vector<InputDevice> MicrophoneTuner::Inputs() {
    return InputDevices();
}

std::string MicrophoneTuner::Start(const std::string& inputId) {
    microphone_.Stop();
    const std::vector<InputDevice> inputs = InputDevices();
    const bool listed = !inputId.empty() && ChooseInput(inputs, inputId, {}) == inputId;
    const std::string chosen = listed ? inputId : ChooseInput(inputs, {}, ServerDefaultSource());
    {
        std::lock_guard lock(mutex_);
        analyzer_.reset();
        noInput_ = chosen.empty();
        running_ = !noInput_;
    }
    if (!chosen.empty())
        microphone_.Start(chosen, [this](const float* frames, std::size_t count, std::int64_t, int rate) {
            Consume(frames, count, rate);
        });
    return chosen;
}

void MicrophoneTuner::Stop() {
    microphone_.Stop();
    std::lock_guard lock(mutex_);
    running_ = false;
    noInput_ = false;
    analyzer_.reset();
}

void MicrophoneTuner::SetPaused(bool paused) {
    std::lock_guard lock(mutex_);
    if (paused_ == paused) return;
    paused_ = paused;
    if (paused_ && analyzer_) analyzer_->Reset();
}

void MicrophoneTuner::SetString(int string) {
    std::lock_guard lock(mutex_);
    string_ = string;
    if (analyzer_) analyzer_->SetString(string);
}

void MicrophoneTuner::Consume(const float* frames, std::size_t count, int sampleRate) {
    std::lock_guard lock(mutex_);
    if (paused_ || !running_) return;
    if (!analyzer_ || analyzer_->SampleRate() != sampleRate) {
        analyzer_ = std::make_unique<TuningAnalyzer>(sampleRate);
        analyzer_->SetString(string_);
    }
    analyzer_->Feed(frames, count);
}

TunerListening::Status MicrophoneTuner::CurrentStatus() const {
    {
        std::lock_guard lock(mutex_);
        if (noInput_) return Status::NoMicrophone;
        if (!running_) return Status::Off;
    }
    switch (microphone_.CurrentState()) {
    case Microphone::State::Off: return Status::Off;
    case Microphone::State::Starting: return Status::Starting;
    case Microphone::State::Failed: return Status::Failed;
    case Microphone::State::Lost: return Status::Lost;
    case Microphone::State::Silent: return Status::Silent;
    case Microphone::State::Running: break;
    }
    std::lock_guard lock(mutex_);
    return paused_ ? Status::Paused : Status::Listening;
}

TuningReading MicrophoneTuner::Latest() const {
    std::lock_guard lock(mutex_);
    return analyzer_ ? analyzer_->Latest() : TuningReading{};
}

} // namespace listening
