#pragma once
// Microphone: captures one input of the desktop's sound server with Qt
// Multimedia (QAudioSource) on a worker thread of its own and hands every
// block, as mono float samples with the time of its first frame on the
// toolkit's clock, to a consumer on that thread.
//
// It never blocks its caller: Start only asks the worker to open the input,
// and State() tells how it went. An input that cannot be opened or fails
// while running is Failed or Lost; one that stops delivering for two seconds
// is Lost; one that delivers nothing but exact zeros for two seconds (a
// muted or dead device) is Silent, until a sound comes again.

#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class QThread;

namespace listening {

class CaptureWorker;

class Microphone {
public:
    enum class State { Off, Starting, Running, Failed, Lost, Silent };
    // frames, count, time of the first frame (µs, toolkit clock), sample rate.
    using Consumer = std::function<void(const float*, std::size_t, std::int64_t, int)>;

    Microphone();
    ~Microphone(); // stops and ends the worker thread
    Microphone(const Microphone&) = delete;
    Microphone& operator=(const Microphone&) = delete;

    // Opens the input with the server name `inputId` (as InputDevices lists
    // it) and feeds `consumer` from the worker thread. A running capture is
    // stopped first.
    void Start(const std::string& inputId, Consumer consumer);
    // Stops capturing; when it returns the consumer is no longer called.
    void Stop();

    State CurrentState() const { return state_.load(); }
    // The sample rate of the running capture (0 before the first block).
    int SampleRate() const { return rate_.load(); }
    // The input stream's own latency as it reports it once open: a
    // fragment, half the buffer it took (the server hands a fragment at a
    // time); 0 before that.
    std::int64_t ReportedLatencyMicros() const { return latency_.load(); }

    // How long the input may deliver nothing before it counts as lost, and
    // exact zeros before it counts as silent.
    static constexpr int kStallMs = 2000;

private:
    friend class CaptureWorker;
    std::atomic<State> state_{State::Off};
    std::atomic<int> rate_{0};
    std::atomic<std::int64_t> latency_{0};
    std::unique_ptr<QThread> thread_;
    CaptureWorker* worker_ = nullptr; // lives on thread_
};

} // namespace listening
