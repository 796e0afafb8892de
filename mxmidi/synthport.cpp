#include "mxmidi/synthport.h"
#include "mxmidi/outport.h"
#include "mxmidi/testing.h"
#include "mxmidi/toolkitclock.h"

#include <QByteArray>
#include <QDebug>
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace mxmidi::detail {
namespace {

constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";
constexpr int kRenderChunk = 512; // frames per write_float call, a multiple of 64

std::string SoundFontPath() {
    QByteArray named = qgetenv("ZUPFARI_SOUNDFONT");
    return named.isEmpty() ? kDefaultSoundFont : named.toStdString();
}

void QuietFluidLog() {
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
}

// The synthesizer instance with its sound output.
class SynthEngine {
public:
    ~SynthEngine() {
        StopPacing();
        if (driver_) delete_fluid_audio_driver(driver_);
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
    }

    bool Open() {
        QuietFluidLog();
        settings_ = new_fluid_settings();
        if (!settings_) return false;
        fluid_settings_setnum(settings_, "synth.sample-rate", kSynthSampleRate);
        synth_ = new_fluid_synth(settings_);
        if (!synth_) return false;
        std::string font = SoundFontPath();
        if (fluid_synth_sfload(synth_, font.c_str(), 1) == FLUID_FAILED) {
            qWarning("MxMidi: cannot load the sound font %s", font.c_str());
            return false;
        }
        if (!ClockIsManual()) driver_ = OpenAudioDriver();
        if (!driver_) StartPacing();
        return true;
    }

    fluid_synth_t* Synth() const { return synth_; }

    // Renders the frames that fell due up to `now` (pacing mode only).
    void RenderUpTo(std::uint64_t now) {
        std::lock_guard lock(renderMutex_);
        if (driver_) return;
        std::uint64_t due = DueFrames(now);
        if (now < baseTime_ || due > rendered_ + kSynthSampleRate) {
            // The clock jumped (another clock, a suspended machine): go on
            // from here instead of catching up.
            baseTime_ = now;
            baseFrames_ = rendered_;
            due = rendered_;
        }
        while (rendered_ < due) {
            int frames = static_cast<int>(std::min<std::uint64_t>(kRenderChunk, due - rendered_));
            RenderBlock(frames);
        }
    }

    mxmidi::testing::SynthOutput TakeOutput() {
        std::lock_guard lock(renderMutex_);
        mxmidi::testing::SynthOutput output{rendered_ - reportedFrames_, peak_};
        reportedFrames_ = rendered_;
        peak_ = 0.0f;
        return output;
    }

private:
    fluid_audio_driver_t* OpenAudioDriver() {
        for (const char* name : {"pulseaudio", "alsa"}) {
            fluid_settings_setstr(settings_, "audio.driver", name);
            if (fluid_audio_driver_t* driver = new_fluid_audio_driver(settings_, synth_))
                return driver;
        }
        return nullptr;
    }

    std::uint64_t DueFrames(std::uint64_t now) const {
        std::uint64_t elapsed = now > baseTime_ ? now - baseTime_ : 0;
        std::uint64_t due = baseFrames_ + elapsed * kSynthSampleRate / 1000000;
        return due - due % kSynthBlockFrames;
    }

    void RenderBlock(int frames) {
        fluid_synth_write_float(synth_, frames, left_, 0, 1, right_, 0, 1);
        for (int i = 0; i < frames; ++i)
            peak_ = std::max({peak_, std::fabs(left_[i]), std::fabs(right_[i])});
        rendered_ += static_cast<std::uint64_t>(frames);
    }

    void StartPacing() {
        baseTime_ = ClockNow();
        pacing_ = std::thread([this] { PaceLoop(); });
    }

    void StopPacing() {
        if (!pacing_.joinable()) return;
        {
            std::lock_guard lock(stopMutex_);
            stop_ = true;
        }
        stopWake_.notify_all();
        pacing_.join();
    }

    // Renders at real-time pace: wakes every render chunk's worth of time.
    void PaceLoop() {
        std::unique_lock lock(stopMutex_);
        while (!stop_) {
            std::uint64_t now = ClockNow();
            if (!ClockIsManual()) RenderUpTo(now);
            std::uint64_t next = now + 1000000ull * kRenderChunk / kSynthSampleRate;
            if (ClockIsManual())
                stopWake_.wait_for(lock, std::chrono::milliseconds(50));
            else
                stopWake_.wait_until(lock, SteadyTimePoint(next));
        }
    }

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;

    std::mutex renderMutex_;
    std::uint64_t baseTime_ = 0; // toolkit time at which baseFrames_ had been rendered
    std::uint64_t baseFrames_ = 0;
    std::uint64_t rendered_ = 0;
    std::uint64_t reportedFrames_ = 0;
    float peak_ = 0.0f;
    float left_[kRenderChunk];
    float right_[kRenderChunk];

    std::thread pacing_;
    std::mutex stopMutex_;
    std::condition_variable stopWake_;
    bool stop_ = false;
};

std::mutex engineMutex;
std::weak_ptr<SynthEngine> sharedEngine;

std::shared_ptr<SynthEngine> AcquireEngine() {
    std::lock_guard lock(engineMutex);
    if (std::shared_ptr<SynthEngine> engine = sharedEngine.lock()) return engine;
    auto engine = std::make_shared<SynthEngine>();
    if (!engine->Open()) return nullptr;
    sharedEngine = engine;
    return engine;
}

// An output on the synthesizer: MIDI messages become fluid_synth calls.
class SynthPort : public OutPort {
public:
    explicit SynthPort(std::shared_ptr<SynthEngine> engine) : engine_(std::move(engine)) {}
    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, int) override {
        fluid_synth_t* synth = engine_->Synth();
        int channel = status & 0x0F;
        switch (status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth, channel, data1);
            break;
        case 0x90:
            if (data2 == 0)
                fluid_synth_noteoff(synth, channel, data1);
            else
                fluid_synth_noteon(synth, channel, data1, data2);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth, channel, data1, data2);
            break;
        case 0xB0:
            fluid_synth_cc(synth, channel, data1, data2);
            break;
        case 0xC0:
            fluid_synth_program_change(synth, channel, data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth, channel, data1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7));
            break;
        default:
            if (status == 0xFF) fluid_synth_system_reset(synth);
            break;
        }
    }
    void SendSysEx(const std::vector<std::uint8_t>& message) override {
        if (message.size() < 2) return;
        // FluidSynth takes the bytes between F0 and F7.
        fluid_synth_sysex(engine_->Synth(), reinterpret_cast<const char*>(message.data() + 1),
                          static_cast<int>(message.size() - 2), nullptr, nullptr, nullptr, 0);
    }

private:
    std::shared_ptr<SynthEngine> engine_;
};

} // namespace

std::unique_ptr<OutPort> OpenSynthPort() {
    std::shared_ptr<SynthEngine> engine = AcquireEngine();
    if (!engine) return nullptr;
    return std::make_unique<SynthPort>(engine);
}

void RenderSynthUpTo(std::uint64_t now) {
    std::shared_ptr<SynthEngine> engine;
    {
        std::lock_guard lock(engineMutex);
        engine = sharedEngine.lock();
    }
    if (engine) engine->RenderUpTo(now);
}

} // namespace mxmidi::detail

mxmidi::testing::SynthOutput mxmidi::testing::TakeSynthOutput() {
    std::shared_ptr<detail::SynthEngine> engine;
    {
        std::lock_guard lock(detail::engineMutex);
        engine = detail::sharedEngine.lock();
    }
    if (!engine) return {0, 0.0f};
    return engine->TakeOutput();
}
