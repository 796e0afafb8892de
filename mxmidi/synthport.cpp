#include "mxmidi/synthport.h"
#include "mxmidi/outport.h"
#include "mxmidi/synthoutput.h"
#include "mxmidi/synthrenderer.h"
#include "mxmidi/testing.h"
#include "mxmidi/toolkitclock.h"

#include <QByteArray>
#include <QDebug>
#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace mxmidi::detail {
namespace {

constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

std::string SoundFontPath() {
    QByteArray named = qgetenv("ZUPFARI_SOUNDFONT");
    return named.isEmpty() ? kDefaultSoundFont : named.toStdString();
}

void QuietFluidLog() {
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
}

// What the tests' hooks see of the sound rendered under the manual clock.
struct SoundTap {
    std::mutex mutex;
    std::uint64_t frames = 0;
    float peak = 0.0f;
    bool capturing = false;
    mxmidi::testing::SynthCapture capture;

    void Block(std::int64_t due, const float* left, const float* right, int count) {
        std::lock_guard lock(mutex);
        frames += static_cast<std::uint64_t>(count);
        for (int i = 0; i < count; ++i)
            peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
        if (!capturing) return;
        std::vector<float>& samples = capture.samples;
        if (samples.empty()) {
            capture.firstDue = due;
        } else {
            // The frames a sleep left out are silence.
            const std::int64_t expected =
                capture.firstDue + FramesToMicroseconds(static_cast<std::int64_t>(samples.size()));
            if (due > expected) samples.resize(samples.size() + MicrosecondsToFrames(due - expected));
        }
        samples.insert(samples.end(), left, left + count);
    }
};

// Loads the samples of the instruments a piece is about to select, on a
// thread of its own, and keeps them (FluidSynth's pinned presets): the
// synthesizer loads samples only when an instrument is chosen, and without
// this the first program change of a piece would load them on the sound's
// thread. After each request it calls `done` (which wakes the sound).
class PresetPinner {
public:
    PresetPinner(fluid_synth_t* synth, int fontId) : synth_(synth), fontId_(fontId) {}

    void Request(const std::vector<MidiProgram>& programs, std::function<void()> done) {
        std::lock_guard lock(mutex_);
        std::vector<std::pair<int, int>> wanted;
        for (const MidiProgram& program : programs) {
            // The percussion channel plays the drum kits of bank 128.
            const int bank = (program.channel & 0x0F) == 9 ? kDrumBank : program.bank;
            const std::pair<int, int> preset{bank, program.program & 0x7F};
            if (pinned_.insert(preset).second) wanted.push_back(preset);
        }
        requests_.push_back({std::move(wanted), std::move(done)});
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
        wake_.notify_all();
    }

private:
    static constexpr int kDrumBank = 128;
    struct RequestItem {
        std::vector<std::pair<int, int>> presets;
        std::function<void()> done;
    };

    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return !requests_.empty(); });
            RequestItem request = std::move(requests_.front());
            requests_.erase(requests_.begin());
            lock.unlock();
            for (const auto& [bank, program] : request.presets) {
                // A bank the font lacks plays its program from bank 0.
                if (fluid_synth_pin_preset(synth_, fontId_, bank, program) != FLUID_OK &&
                    bank != 0 && bank != kDrumBank)
                    fluid_synth_pin_preset(synth_, fontId_, 0, program);
            }
            if (request.done) request.done();
            lock.lock();
        }
    }

    fluid_synth_t* synth_;
    int fontId_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::set<std::pair<int, int>> pinned_;
    std::vector<RequestItem> requests_;
    std::thread thread_; // runs as long as the process (the engine is never freed)
};

// Where the synthesizer's sound goes while outputs are open on it.
enum class Sink {
    None,   // no audio device: nothing is rendered, nobody would hear it
    Stream, // a sound server stream or an audio driver, on its own thread
    Manual, // the tests' manual clock: AdvanceClock renders
};

// The synthesizer of the process with its sound font, its renderer and its
// sound output while outputs are open on it. Made once and kept until the
// process ends.
class SynthEngine {
public:
    bool Load() {
        QuietFluidLog();
        settings_ = new_fluid_settings();
        if (!settings_) return false;
        fluid_settings_setnum(settings_, "synth.sample-rate", kSynthSampleRate);
        // Only the samples of the instruments in use are in memory: those a
        // piece selects (Prepare) and those a channel gets when it first
        // plays (the renderer), not the whole font, nor the piano that a
        // reset would put on every channel.
        fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
        synth_ = new_fluid_synth(settings_);
        if (!synth_) return false;
        std::string font = SoundFontPath();
        const int fontId = fluid_synth_sfload(synth_, font.c_str(), 0);
        if (fontId == FLUID_FAILED) {
            qWarning("MxMidi: cannot load the sound font %s", font.c_str());
            return false;
        }
        pinner_ = std::make_unique<PresetPinner>(synth_, fontId);
        renderer_ = std::make_unique<SynthRenderer>(synth_);
        renderer_->waker = [this] { Wake(); };
        return true;
    }

    // The first output on the synthesizer opens its sound, the last one
    // closed closes it. An open sound sleeps while nothing sounds.
    void PortOpened() {
        std::lock_guard lock(portsMutex_);
        if (openPorts_++ > 0) return;
        clockGeneration_ = ClockGeneration();
        if (ClockIsManual()) {
            renderer_->tap = [this](std::int64_t due, const float* l, const float* r, int n) {
                tap_.Block(due, l, r, n);
            };
            sink_ = Sink::Manual;
            return;
        }
        renderer_->tap = nullptr;
        output_ = OpenPulseOutput(*renderer_);
        if (!output_) output_ = OpenDriverOutput(*renderer_, settings_);
        sink_ = output_ ? Sink::Stream : Sink::None;
    }

    void PortClosed() {
        std::lock_guard lock(portsMutex_);
        if (--openPorts_ > 0) return;
        sink_ = Sink::None;
        output_.reset(); // its thread ends here
        // Notes left sounding must not come back when it opens again.
        renderer_->Reset();
        manualWake_.store(false);
    }

    void Send(std::uint64_t due, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        if (!Audible()) return;
        renderer_->Post(static_cast<std::int64_t>(due), status, data1, data2);
    }

    void SendSysEx(std::uint64_t due, const std::vector<std::uint8_t>& message) {
        if (!Audible()) return;
        renderer_->PostSysEx(static_cast<std::int64_t>(due), message);
    }

    // A piece is about to play: its instruments' samples are loaded, then
    // the sound wakes, in time for the piece's start.
    void Prepare(const std::vector<MidiProgram>& programs) {
        pinner_->Request(programs, [this] {
            // From the pinner's thread: the output may be closing meanwhile.
            std::lock_guard lock(portsMutex_);
            if (openPorts_ > 0 && Audible()) Wake();
        });
    }

    std::uint32_t Latency() const {
        return sink_ == Sink::Stream ? output_->Latency() : kSynthLatencyMicroseconds;
    }

    // Under the manual clock: renders every period whose frames are all due
    // by `now`, while the renderer is awake. Woken, its frames go on from a
    // latency before the moment of the wake, as with a stream that takes the
    // sound the moment it is asked for it.
    void RenderUpTo(std::uint64_t now) {
        std::lock_guard ports(portsMutex_);
        if (sink_ != Sink::Manual) return;
        FollowClockSwitch();
        if (!renderer_->Awake()) {
            if (!manualWake_.exchange(false)) return;
            renderer_->Restart(manualWakeAt_.load() -
                               static_cast<std::int64_t>(kSynthLatencyMicroseconds));
        }
        const auto until = static_cast<std::int64_t>(now);
        while (renderer_->Awake() &&
               renderer_->NextFrameDue() + FramesToMicroseconds(kSynthPeriodFrames) <= until) {
            renderer_->Render(left_, right_, kSynthPeriodFrames);
            if (renderer_->QuietFor(kSynthIdleMicroseconds)) renderer_->Sleep();
        }
    }

    mxmidi::testing::SynthOutput TakeOutput() {
        std::lock_guard lock(tap_.mutex);
        mxmidi::testing::SynthOutput output{tap_.frames, tap_.peak};
        tap_.frames = 0;
        tap_.peak = 0.0f;
        return output;
    }

    void StartCapture() {
        std::lock_guard lock(tap_.mutex);
        tap_.capturing = true;
        tap_.capture = {};
    }

    mxmidi::testing::SynthCapture TakeCapture() {
        std::lock_guard lock(tap_.mutex);
        tap_.capturing = false;
        return std::move(tap_.capture);
    }

    mxmidi::testing::SynthCounts Counts() {
        std::lock_guard lock(portsMutex_);
        mxmidi::testing::SynthCounts counts;
        counts.lateMessages = renderer_ ? renderer_->LateMessages() : 0;
        if (output_) {
            const SynthOutput::Counts stream = output_->Statistics();
            counts.wakes = stream.wakes;
            counts.sleeps = stream.sleeps;
            counts.jumps = stream.jumps;
            counts.underruns = stream.underruns;
        }
        counts.awake = renderer_ && renderer_->Awake();
        return counts;
    }

private:
    bool Audible() {
        if (sink_ == Sink::None) return false;
        if (sink_ == Sink::Manual) FollowClockSwitch();
        return true;
    }

    // Times from before a switch of the clocks mean nothing after it.
    void FollowClockSwitch() {
        const std::uint32_t generation = ClockGeneration();
        if (clockGeneration_.exchange(generation) == generation) return;
        renderer_->Reset();
        manualWake_.store(false);
    }

    void Wake() {
        if (sink_ == Sink::Manual) {
            manualWakeAt_.store(static_cast<std::int64_t>(ClockNow()));
            manualWake_.store(true);
        } else if (output_) {
            output_->Wake();
        }
    }

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    std::unique_ptr<PresetPinner> pinner_;
    std::unique_ptr<SynthRenderer> renderer_;

    std::mutex portsMutex_;
    int openPorts_ = 0;
    std::atomic<Sink> sink_{Sink::None};
    std::unique_ptr<SynthOutput> output_;

    std::atomic<std::uint32_t> clockGeneration_{0};
    std::atomic<bool> manualWake_{false};
    std::atomic<std::int64_t> manualWakeAt_{0};
    SoundTap tap_;
    float left_[kSynthPeriodFrames];
    float right_[kSynthPeriodFrames];
};

// Loads the synthesizer once, on a thread of its own. The loader is joined
// when the process ends, so a load still running then finishes first.
class SynthLoader {
public:
    ~SynthLoader() {
        if (thread_.joinable()) thread_.join();
    }

    void Start() {
        std::call_once(started_, [this] { thread_ = std::thread([this] { Load(); }); });
    }

    // The loaded synthesizer, or null when its sound font could not be loaded.
    SynthEngine* Wait() {
        Start();
        std::unique_lock lock(mutex_);
        loaded_.wait(lock, [this] { return done_; });
        return engine_;
    }

    // The synthesizer if it is loaded already; never waits.
    SynthEngine* IfLoaded() {
        std::lock_guard lock(mutex_);
        return done_ ? engine_ : nullptr;
    }

private:
    void Load() {
        // Never freed: outputs and the sound thread may use it until the end.
        auto* engine = new SynthEngine;
        bool ok = engine->Load();
        std::lock_guard lock(mutex_);
        engine_ = ok ? engine : nullptr;
        done_ = true;
        loaded_.notify_all();
    }

    std::once_flag started_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable loaded_;
    bool done_ = false;
    SynthEngine* engine_ = nullptr;
};

SynthLoader& TheLoader() {
    static SynthLoader loader;
    return loader;
}

// An output on the synthesizer: its messages go to the renderer with their
// due times.
class SynthPort : public OutPort {
public:
    explicit SynthPort(SynthEngine* engine) : engine_(engine) { engine_->PortOpened(); }
    ~SynthPort() override { engine_->PortClosed(); }

    void Send(std::uint64_t due, std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
              int) override {
        engine_->Send(due, status, data1, data2);
    }
    void SendSysEx(std::uint64_t due, const std::vector<std::uint8_t>& message) override {
        engine_->SendSysEx(due, message);
    }
    std::uint32_t LatencyMicroseconds() const override { return engine_->Latency(); }
    void Prepare(const std::vector<MidiProgram>& programs) override { engine_->Prepare(programs); }

private:
    SynthEngine* engine_;
};

} // namespace

void StartSynthLoading() {
    TheLoader().Start();
}

std::unique_ptr<OutPort> OpenSynthPort() {
    SynthEngine* engine = TheLoader().Wait();
    if (!engine) return nullptr;
    return std::make_unique<SynthPort>(engine);
}

void RenderSynthUpTo(std::uint64_t now) {
    if (SynthEngine* engine = TheLoader().IfLoaded()) engine->RenderUpTo(now);
}

} // namespace mxmidi::detail

namespace mxmidi::testing {

SynthOutput TakeSynthOutput() {
    detail::SynthEngine* engine = detail::TheLoader().IfLoaded();
    if (!engine) return {0, 0.0f};
    return engine->TakeOutput();
}

void StartSynthCapture() {
    if (detail::SynthEngine* engine = detail::TheLoader().Wait()) engine->StartCapture();
}

SynthCapture TakeSynthCapture() {
    detail::SynthEngine* engine = detail::TheLoader().IfLoaded();
    if (!engine) return {};
    return engine->TakeCapture();
}

SynthCounts GetSynthCounts() {
    detail::SynthEngine* engine = detail::TheLoader().IfLoaded();
    if (!engine) return {};
    return engine->Counts();
}

} // namespace mxmidi::testing
