// The synthesizer's stream on the desktop's sound server.
//
// One thread runs a PulseAudio main loop of its own: it answers the server's
// requests for sound by rendering 512-frame periods, keeps the renderer's
// frame clock on the time the server says the next frame will be heard, corks
// and flushes the stream when the renderer has been quiet for a while, and
// uncorks it when another thread asks (pa_mainloop_wakeup is the only call
// made from outside the thread). Nothing of PulseAudio is used by two threads
// at once.

#include "mxmidi/realtime.h"
#include "mxmidi/synthoutput.h"
#include "mxmidi/toolkitclock.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <pthread.h>
#include <thread>

namespace mxmidi::detail {

namespace {

constexpr int kChannels = 2;
constexpr std::size_t kFrameBytes = kChannels * sizeof(std::int16_t);
constexpr std::size_t kPeriodBytes = kSynthPeriodFrames * kFrameBytes;
constexpr auto kConnectTimeout = std::chrono::seconds(2);
constexpr std::int64_t kTimingUpdateMicroseconds = 200000;
constexpr int kReportsBeforeGrowing = 8;
// A report older than this (a stalled server) says nothing of now.
constexpr std::int64_t kReportTooOldMicroseconds = 1000000;

std::int16_t ToSample(float value) {
    const float scaled = std::clamp(value, -1.0f, 1.0f) * 32767.0f;
    return static_cast<std::int16_t>(std::lrintf(scaled));
}

class PulseOutput : public SynthOutput {
public:
    explicit PulseOutput(SynthRenderer& renderer) : renderer_(renderer) {}

    ~PulseOutput() override {
        if (thread_.joinable()) {
            quit_.store(true);
            pa_mainloop_wakeup(loop_);
            thread_.join();
        }
        if (stream_) {
            pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
        }
        if (context_) {
            pa_context_disconnect(context_);
            pa_context_unref(context_);
        }
        if (loop_) pa_mainloop_free(loop_);
    }

    // Connects to the server and opens a corked stream on the calling
    // thread, then hands both to the stream's thread.
    bool Start() {
        loop_ = pa_mainloop_new();
        if (!loop_) return false;
        context_ = pa_context_new(pa_mainloop_get_api(loop_), "Zupfari Basis");
        if (!context_ ||
            pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        if (!IterateUntil([this] { return ContextSettled(); }) ||
            pa_context_get_state(context_) != PA_CONTEXT_READY)
            return false;
        if (!OpenStream()) return false;
        thread_ = std::thread([this] { Run(); });
        return true;
    }

    void Wake() override {
        wakeRequested_.store(true);
        pa_mainloop_wakeup(loop_);
    }

    std::uint32_t Latency() const override { return latency_.load(); }

    Counts Statistics() const override {
        return {wakes_.load(), sleeps_.load(), jumps_.load(), underruns_.load()};
    }

private:
    template <typename Done> bool IterateUntil(Done done) {
        const auto deadline = std::chrono::steady_clock::now() + kConnectTimeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            if (pa_mainloop_prepare(loop_, 50000) < 0 || pa_mainloop_poll(loop_) < 0 ||
                pa_mainloop_dispatch(loop_) < 0)
                return false;
        }
        return true;
    }

    bool ContextSettled() const {
        const pa_context_state_t state = pa_context_get_state(context_);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    }

    bool OpenStream() {
        const pa_sample_spec spec{PA_SAMPLE_S16NE, kSynthSampleRate, kChannels};
        stream_ = pa_stream_new(context_, "Zupfari Synth", &spec, nullptr);
        if (!stream_) return false;
        pa_buffer_attr attributes{};
        attributes.maxlength = static_cast<std::uint32_t>(-1);
        attributes.tlength = static_cast<std::uint32_t>(kSynthServerPeriods * kPeriodBytes);
        attributes.prebuf = static_cast<std::uint32_t>(-1);
        attributes.minreq = static_cast<std::uint32_t>(kPeriodBytes);
        attributes.fragsize = static_cast<std::uint32_t>(-1);
        const auto flags = static_cast<pa_stream_flags_t>(
            PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED);
        pa_stream_set_write_callback(stream_, &PulseOutput::OnWrite, this);
        pa_stream_set_underflow_callback(stream_, &PulseOutput::OnUnderflow, this);
        if (pa_stream_connect_playback(stream_, nullptr, &attributes, flags, nullptr, nullptr) < 0)
            return false;
        if (!IterateUntil([this] {
                const pa_stream_state_t state = pa_stream_get_state(stream_);
                return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
            }) ||
            pa_stream_get_state(stream_) != PA_STREAM_READY)
            return false;
        return true;
    }

    void Run() {
        pthread_setname_np(pthread_self(), "zupfari-synth");
        RaiseThreadPriority();
        while (!quit_.load()) {
            if (pa_mainloop_iterate(loop_, 1, nullptr) < 0) break;
            if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) ||
                !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)))
                break; // the server went away: the synthesizer stays silent
            if (wakeRequested_.exchange(false) && !awake_) WakeNow();
        }
        awake_ = false;
    }

    static void OnWrite(pa_stream*, std::size_t, void* self) {
        static_cast<PulseOutput*>(self)->Fill();
    }

    static void OnUnderflow(pa_stream*, void* self) {
        static_cast<PulseOutput*>(self)->underruns_.fetch_add(1);
    }

    // Renders as many whole periods as the stream has room for.
    void Fill() {
        if (!awake_) return;
        std::size_t writable = pa_stream_writable_size(stream_);
        while (awake_ && writable != static_cast<std::size_t>(-1) && writable >= kPeriodBytes) {
            KeepFrameClock();
            renderer_.Render(left_.data(), right_.data(), kSynthPeriodFrames);
            for (int i = 0; i < kSynthPeriodFrames; ++i) {
                pcm_[2 * i] = ToSample(left_[i]);
                pcm_[2 * i + 1] = ToSample(right_[i]);
            }
            pa_stream_write(stream_, pcm_.data(), kPeriodBytes, nullptr, 0, PA_SEEK_RELATIVE);
            writtenSinceWake_ += kSynthPeriodFrames;
            writable -= kPeriodBytes;
            if (renderer_.QuietFor(kSynthIdleMicroseconds)) SleepNow();
        }
    }

    // Where the next frame will be heard: by the server's last timing report,
    // or right after a wake, until its first report, the sink's latency
    // behind what was written since.
    void KeepFrameClock() {
        const auto now = static_cast<std::int64_t>(ClockNow());
        if (timingFresh_ && now - lastTimingRequest_ >= kTimingUpdateMicroseconds) {
            Drop(pa_stream_update_timing_info(stream_, nullptr, nullptr));
            lastTimingRequest_ = now;
        }
        std::int64_t heardNext = 0;
        if (timingFresh_ && HeardNextByReport(now, &heardNext)) {
            KeepLatencyAbove(heardNext - now);
        } else {
            const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
            const auto sink = timing ? static_cast<std::int64_t>(timing->sink_usec) : 0;
            heardNext = wokeAt_ + sink + FramesToMicroseconds(writtenSinceWake_);
        }
        if (needsAnchor_) {
            renderer_.Restart(heardNext - latency_.load());
            keeper_.Forget();
            needsAnchor_ = false;
            return;
        }
        renderer_.Shift(keeper_.Correct(heardNext, renderer_.NextFrameDue(), latency_.load()));
        jumps_.store(keeper_.Jumps());
    }

    // The report as the server made it, not libpulse's interpolation of it
    // (that smoothed clock wavers by up to half a millisecond over a few
    // seconds, and the frame clock would follow it): when the report was made,
    // the byte at the read index was to be heard after the sink's latency,
    // and every byte written since is heard after it. The report's age is
    // taken on the wall clock it was stamped with.
    bool HeardNextByReport(std::int64_t now, std::int64_t* heardNext) const {
        const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
        if (!timing || timing->read_index_corrupt || timing->write_index_corrupt) return false;
        const auto age = static_cast<std::int64_t>(pa_timeval_age(&timing->timestamp));
        if (age > kReportTooOldMicroseconds) return false;
        const std::int64_t unheard = timing->write_index - timing->read_index;
        if (unheard < 0) return false;
        *heardNext = now - age + static_cast<std::int64_t>(timing->sink_usec) +
                     FramesToMicroseconds(unheard / static_cast<std::int64_t>(kFrameBytes));
        return true;
    }

    // A server that keeps more ahead than it was asked to (three periods
    // when it asks for the next) would get messages after their block was
    // rendered: the latency grows to what it keeps, and the clock follows.
    void KeepLatencyAbove(std::int64_t ahead) {
        const std::int64_t needed = ahead + FramesToMicroseconds(kSynthPeriodFrames) +
                                    kSynthMarginMicroseconds;
        const std::int64_t tolerance = FramesToMicroseconds(kSynthBlockFrames);
        if (needed <= static_cast<std::int64_t>(latency_.load()) + tolerance) {
            aheadTooFar_ = 0;
            return;
        }
        if (++aheadTooFar_ < kReportsBeforeGrowing) return;
        aheadTooFar_ = 0;
        latency_.store(static_cast<std::uint32_t>(needed));
        needsAnchor_ = true;
    }

    void SleepNow() {
        if (!renderer_.Sleep()) return; // a message came meanwhile
        awake_ = false;
        sleeps_.fetch_add(1);
        Drop(pa_stream_cork(stream_, 1, nullptr, nullptr));
        // The silence still buffered would delay the next wake's sound.
        Drop(pa_stream_flush(stream_, nullptr, nullptr));
    }

    void WakeNow() {
        awake_ = true;
        needsAnchor_ = true;
        timingFresh_ = false;
        wokeAt_ = static_cast<std::int64_t>(ClockNow());
        writtenSinceWake_ = 0;
        wakes_.fetch_add(1);
        Drop(pa_stream_cork(stream_, 0, nullptr, nullptr));
        // The server answers in order: this report comes after the flush
        // and the uncork.
        Drop(pa_stream_update_timing_info(stream_, &PulseOutput::OnTimingReport, this));
        lastTimingRequest_ = wokeAt_;
        Fill();
    }

    static void OnTimingReport(pa_stream*, int success, void* self) {
        if (success) static_cast<PulseOutput*>(self)->timingFresh_ = true;
    }

    static void Drop(pa_operation* operation) {
        if (operation) pa_operation_unref(operation);
    }

    SynthRenderer& renderer_;
    std::atomic<std::uint32_t> latency_{kSynthLatencyMicroseconds};
    std::thread thread_;
    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::atomic<bool> quit_{false};
    std::atomic<bool> wakeRequested_{false};
    std::atomic<std::uint64_t> wakes_{0}, sleeps_{0}, jumps_{0}, underruns_{0};

    // The stream thread's own state.
    FrameClockKeeper keeper_;
    bool awake_ = false;
    bool needsAnchor_ = true;
    bool timingFresh_ = false;
    int aheadTooFar_ = 0;
    std::int64_t wokeAt_ = 0;
    std::int64_t writtenSinceWake_ = 0;
    std::int64_t lastTimingRequest_ = 0;
    std::array<float, kSynthPeriodFrames> left_{};
    std::array<float, kSynthPeriodFrames> right_{};
    std::array<std::int16_t, kSynthPeriodFrames * kChannels> pcm_{};
};

} // namespace

std::unique_ptr<SynthOutput> OpenPulseOutput(SynthRenderer& renderer) {
    auto output = std::make_unique<PulseOutput>(renderer);
    if (!output->Start()) return nullptr;
    return output;
}

} // namespace mxmidi::detail
