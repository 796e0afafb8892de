#pragma once
// What the tuner asks of listening: the inputs to choose from, starting and
// stopping, pausing while a reference tone sounds, the string to compare
// with, and the latest reading. MicrophoneTuner is the real one (the
// microphone feeding a TuningAnalyzer on the capture thread); tests put
// their own behind the same interface.

#include "listening/inputdevices.h"
#include "listening/microphone.h"
#include "listening/tuninganalyzer.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace listening {

class TunerListening {
public:
    enum class Status {
        Off,          // not listening
        Starting,     // the input is being opened
        Listening,
        Paused,       // a reference tone sounds
        NoMicrophone, // the server lists no input (or there is no server)
        Failed,       // the input could not be opened
        Lost,         // the input went away or stopped delivering
        Silent,       // the input delivers only exact zeros
    };

    virtual ~TunerListening() = default;
    // The inputs to choose from (asks the server again).
    virtual std::vector<InputDevice> Inputs() = 0;
    // Starts listening on `inputId`, or on the server's default input when
    // empty or not listed; the id actually used. NoMicrophone when none.
    virtual std::string Start(const std::string& inputId) = 0;
    virtual void Stop() = 0;
    // While paused nothing is analysed, and what was heard is forgotten.
    virtual void SetPaused(bool paused) = 0;
    virtual void SetString(int string) = 0;
    virtual Status CurrentStatus() const = 0;
    virtual TuningReading Latest() const = 0;
};

class MicrophoneTuner : public TunerListening {
public:
    MicrophoneTuner();
    ~MicrophoneTuner() override;

    std::vector<InputDevice> Inputs() override;
    std::string Start(const std::string& inputId) override;
    void Stop() override;
    void SetPaused(bool paused) override;
    void SetString(int string) override;
    Status CurrentStatus() const override;
    TuningReading Latest() const override;

private:
    void Consume(const float* frames, std::size_t count, int sampleRate);

    Microphone microphone_;
    mutable std::mutex mutex_; // guards everything below
    std::unique_ptr<TuningAnalyzer> analyzer_;
    int string_ = kAutoString;
    bool paused_ = false;
    bool noInput_ = false;
    bool running_ = false;
};

} // namespace listening
