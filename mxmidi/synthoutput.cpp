// The frame clock's correction, and the synthesizer's output through a
// FluidSynth audio driver where there is no sound server.

#include "mxmidi/synthoutput.h"
#include "mxmidi/toolkitclock.h"

#include <fluidsynth.h>

#include <atomic>
#include <cstdlib>

namespace mxmidi::detail {

namespace {
constexpr std::int64_t kJumpMicroseconds = 4000;
constexpr std::int64_t kAgreeMicroseconds = 2000;
constexpr int kReportsToJump = 3;
constexpr std::int64_t kSlideDivisor = 8;
} // namespace

std::int64_t FrameClockKeeper::Correct(std::int64_t heardNext, std::int64_t nextFrameDue,
                                       std::uint32_t latency) {
    const std::int64_t error = heardNext - (nextFrameDue + static_cast<std::int64_t>(latency));
    if (std::llabs(error) <= kJumpMicroseconds) {
        pending_ = 0;
        return error / kSlideDivisor;
    }
    const bool agrees = pending_ > 0 && std::llabs(error - pendingError_) <= kAgreeMicroseconds;
    pending_ = agrees ? pending_ + 1 : 1;
    pendingError_ = error;
    if (pending_ < kReportsToJump) return 0;
    pending_ = 0;
    ++jumps_;
    return error;
}

namespace {

constexpr int kDriverPeriods = 2;

// FluidSynth's own audio driver calling back for each period. The driver
// runs as long as the output is open; while the renderer sleeps the callback
// hands over the silence the driver has zeroed, without synthesizing. The
// driver says nothing of its timing: a period rendered now is taken to be
// heard behind the periods the driver buffers.
class DriverOutput : public SynthOutput {
public:
    explicit DriverOutput(SynthRenderer& renderer) : renderer_(renderer) {}
    ~DriverOutput() override {
        if (driver_) delete_fluid_audio_driver(driver_);
    }

    bool Start(fluid_settings_t* settings) {
        fluid_settings_setint(settings, "audio.period-size", kSynthPeriodFrames);
        fluid_settings_setint(settings, "audio.periods", kDriverPeriods);
        fluid_settings_setstr(settings, "audio.driver", "alsa");
        driver_ = new_fluid_audio_driver2(settings, &DriverOutput::Callback, this);
        return driver_ != nullptr;
    }

    void Wake() override { wakeRequested_.store(true); }
    std::uint32_t Latency() const override { return kSynthLatencyMicroseconds; }
    Counts Statistics() const override { return {wakes_.load(), sleeps_.load(), 0, 0}; }

private:
    static int Callback(void* self, int frames, int, float*[], int outputs, float* out[]) {
        auto* output = static_cast<DriverOutput*>(self);
        if (outputs < 2) return FLUID_OK;
        output->Render(out[0], out[1], frames);
        return FLUID_OK;
    }

    void Render(float* left, float* right, int frames) {
        const auto now = static_cast<std::int64_t>(ClockNow());
        const std::int64_t heardNext =
            now + FramesToMicroseconds(kDriverPeriods * kSynthPeriodFrames);
        if (!renderer_.Awake()) {
            if (!wakeRequested_.exchange(false)) return;
            renderer_.Restart(heardNext - static_cast<std::int64_t>(kSynthLatencyMicroseconds));
            keeper_.Forget();
            wakes_.fetch_add(1);
        } else {
            renderer_.Shift(
                keeper_.Correct(heardNext, renderer_.NextFrameDue(), kSynthLatencyMicroseconds));
        }
        // Whole blocks only: the rest of an odd period stays silent.
        renderer_.Render(left, right, frames - frames % kSynthBlockFrames);
        if (renderer_.QuietFor(kSynthIdleMicroseconds) && renderer_.Sleep()) sleeps_.fetch_add(1);
    }

    SynthRenderer& renderer_;
    FrameClockKeeper keeper_; // on the driver's thread
    fluid_audio_driver_t* driver_ = nullptr;
    std::atomic<bool> wakeRequested_{false};
    std::atomic<std::uint64_t> wakes_{0}, sleeps_{0};
};

} // namespace

std::unique_ptr<SynthOutput> OpenDriverOutput(SynthRenderer& renderer, fluid_settings_t* settings) {
    auto output = std::make_unique<DriverOutput>(renderer);
    if (!output->Start(settings)) return nullptr;
    return output;
}

} // namespace mxmidi::detail
